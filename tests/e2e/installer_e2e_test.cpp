// The installer executable end to end, under Wine: started in a copy of the
// distribution folder, driven through its windows like a user, and judged by
// what it shows and what it leaves on the machine.
#include <gtest/gtest.h>

#include <string>

#include "installer_window.h"
#include "resource.h"
#include "test_machine.h"

namespace e2e {
namespace {

const char kWelcomeCaption[] = "Instalator czytnika kart mikropr. dla przeglądarek internetowych";
const char kWelcomeText[] =
    "Za chwilę rozpocznie się instalacja i konfiguracja środowiska obsługi czytnika kart mikroprocesorowych,\n"
    "dla współpracy z przeglądarkami internetowymi: MS Internet Explorer i tych pracujących\n"
    "na bazie silnika Sun Java Plug-in (m.in. przeglądarki: Mozilla, Netscape 7.x, Opera)\n\n"
    "Instalator spróbuje samodzielnie wykryć przeglądarki zainstalowane na tym komputerze i dokonać dla nich\n"
    "konfiguracji odpowiedniego środowiska. Dlatego też należy mieć już zainstalowane przeglądarki internetowe,\n"
    "które mają współpracować z czytnikiem kart, lub gdy ich nie ma, opuścić ten instalator, zainstalować "
    "wymagane\n"
    "przeglądarki i uruchomić go ponownie.\n\n"
    "Czy chcesz kontynuować instalacje ?";
const char kDialogCaption[] = "Instalator czytnika kart mikroproc. [v1.4]";
const char kPromptCaption[] = "Problem kopiowania pliku";
const char kNoticeCaption[] = "Info";
const char kNoticeText[] = "Dla poprawnego zakończenia instalacji konieczne jest zrestartowanie komputera.";
const char kDetailsClosed[] = "&Szczegóły >>";
const char kDetailsOpen[] = "&Szczegóły <<";
const char kJreHome[] = "C:\\e2e\\Java\\jre6";
const char kJre[] = "Java Runtime Environment";

class InstallerEndToEndTest : public ::testing::Test {
  protected:
    void SetUp() override {
        FreshMachine();
        distribution = PrepareDistribution();
        ASSERT_TRUE(Exists(distribution + "\\" + INSTALLER_FILE_NAME)) << "no distribution folder at E2E_DISTRIBUTION";
    }
    void TearDown() override { FreshMachine(); }

    void AddJre() {
        MakeRuntime(kJreHome, false);
        RegisterRuntime(kJre, "1.6.0_45", kJreHome);
    }

    // Starts the installer and answers Yes; the main dialog, or nullptr.
    HWND OpenDialog(InstallerProcess &installer) {
        EXPECT_TRUE(installer.started());
        HWND welcome = WaitForWindow(installer.id(), kWelcomeCaption);
        if (!welcome) return nullptr;
        Click(welcome, IDYES);
        return WaitForWindow(installer.id(), kDialogCaption);
    }

    bool WaitForRunEnd(HWND dialog) {
        return WaitUntil([&] { return ItemText(dialog, IDOK) == kDetailsClosed; });
    }

    // Closes the dialog after a run: the restart notice, then the exit code 0.
    void CloseAfterRun(InstallerProcess &installer, HWND dialog) {
        Click(dialog, IDCANCEL);
        HWND notice = WaitForWindow(installer.id(), kNoticeCaption);
        ASSERT_NE(notice, nullptr) << "no restart notice";
        EXPECT_EQ(MessageText(notice), kNoticeText);
        Click(notice, IDOK);
        DWORD exitCode = 1;
        ASSERT_TRUE(installer.WaitForExit(&exitCode, kWaitMs));
        EXPECT_EQ(exitCode, 0u);
    }

    std::string distribution;
};

TEST_F(InstallerEndToEndTest, DecliningTheWelcomePromptChangesNothing) {
    AddJre();
    std::string stale = SystemDirectory() + "\\ocf1.2.jar";
    WriteFile(stale, "stale archive");

    InstallerProcess installer(distribution, "");
    HWND welcome = WaitForWindow(installer.id(), kWelcomeCaption);
    ASSERT_NE(welcome, nullptr);
    EXPECT_EQ(MessageText(welcome), kWelcomeText);
    Click(welcome, IDNO);
    DWORD exitCode = 1;
    ASSERT_TRUE(installer.WaitForExit(&exitCode, kWaitMs));

    EXPECT_EQ(exitCode, 0u);
    EXPECT_EQ(ReadFile(stale), "stale archive");
    EXPECT_FALSE(Exists(std::string(kJreHome) + "\\lib\\ext\\ocf1.2.jar"));
    EXPECT_EQ(JavaCalls(kJreHome), "");
    EXPECT_FALSE(Exists(kDriverLog));
}

TEST_F(InstallerEndToEndTest, DialogStartsCollapsedWithTheDefaultChoices) {
    InstallerProcess installer(distribution, "");
    HWND dialog = OpenDialog(installer);
    ASSERT_NE(dialog, nullptr);

    EXPECT_TRUE(IsChecked(dialog, IDC_CHK_DRIVER));
    EXPECT_TRUE(IsChecked(dialog, IDC_CHK_JAVA));
    for (int hidden : {IDC_CHK_IE, IDC_CHK_NETSCAPE}) {
        EXPECT_FALSE(IsItemVisible(dialog, hidden)) << hidden;
        EXPECT_FALSE(IsItemEnabled(dialog, hidden)) << hidden;
        EXPECT_FALSE(IsChecked(dialog, hidden)) << hidden;
    }
    EXPECT_FALSE(IsItemVisible(dialog, IDC_STATUS_DRIVER));
    EXPECT_EQ(ComboItems(dialog, IDC_READER_MODEL), "GemPC(Twin,Tokens)-Win7/XP/Vista/2000-32bit\n"
                                                    "GemPC(Twin,Tokens)-Win7/XP/Vista/2000-64bit\n"
                                                    "GemPC(Twin,Tokens-Win8-32bit\n"
                                                    "GemPC(Twin,Tokens)-Win8-64bit\n");
    EXPECT_EQ(ComboSelection(dialog, IDC_READER_MODEL), 0);
    EXPECT_EQ(ItemText(dialog, IDOK), "In&staluj");
    EXPECT_EQ(ItemText(dialog, IDCANCEL), "&Zaniechaj");
    RECT window = WindowRectangle(dialog);
    RECT details = WindowRectangle(GetDlgItem(dialog, IDC_DETAILS));
    EXPECT_EQ(window.bottom, details.top) << "collapsed to the top of the details panel";

    Click(dialog, IDCANCEL);
    DWORD exitCode = 1;
    ASSERT_TRUE(installer.WaitForExit(&exitCode, kWaitMs)) << "closed without a restart notice";
    EXPECT_EQ(exitCode, 0u);
}

TEST_F(InstallerEndToEndTest, DefaultRunInstallsIntoTheRuntimeAndStartsTheDriver) {
    AddJre();
    std::string stale = SystemDirectory() + "\\ocf1.2.jar";
    WriteFile(stale, "stale archive");
    std::string sun = distribution + "\\sun";

    InstallerProcess installer(distribution, "");
    HWND dialog = OpenDialog(installer);
    ASSERT_NE(dialog, nullptr);
    RECT collapsed = WindowRectangle(dialog);
    Click(dialog, IDOK);
    ASSERT_TRUE(WaitForRunEnd(dialog));

    std::string home = kJreHome;
    EXPECT_FALSE(Exists(stale)) << "the stale archive is removed";
    EXPECT_EQ(ReadFile(home + "\\lib\\ext\\ocf1.2.jar"), ReadFile(sun + "\\ocf1.2.jar"));
    EXPECT_EQ(ReadFile(home + "\\lib\\opencard.properties"), ReadFile(sun + "\\opencard.properties"));
    EXPECT_EQ(ReadFile(home + "\\lib\\security\\java.policy"), ReadFile(sun + "\\java.policy"));
    EXPECT_EQ(ReadFile(home + "\\lib\\security\\java.policy.ocf-bak"), "// the runtime's own policy\n");
    EXPECT_EQ(ReadFile(SystemDirectory() + "\\ocfpcsc1.dll"), ReadFile(sun + "\\ocfpcsc1.dll"));
    EXPECT_EQ(ReadFile(home + "\\lib\\ext\\ocfpcsc1.dll"), ReadFile(sun + "\\ocfpcsc1.dll"));
    EXPECT_EQ(JavaCalls(home),
              sun + "|-classpath|" + sun + "|CopyPolicyFile|.java.policy\r\n" + sun + "|-classpath|" + sun +
                  "|CopyPolicyFile|.opencard.properties\r\n");
    EXPECT_EQ(ReadFile(UserProfile() + "\\.java.policy"), ReadFile(sun + "\\java.policy"));
    EXPECT_TRUE(WaitUntil([] { return !ReadFile(kDriverLog).empty(); })) << "twin.bat was not started";
    EXPECT_EQ(ReadFile(kDriverLog), "twin.bat in " + distribution + "\\Drivers\r\n");

    EXPECT_EQ(ItemText(dialog, IDC_STATUS_DRIVER), "OK");
    EXPECT_EQ(ItemText(dialog, IDC_STATUS_JAVA), "OK");
    EXPECT_EQ(ItemText(dialog, IDC_DETAILS), "Instalacja sterownika czytnika kart: OK\r\n\r\n"
                                             "Instalacja komponentów dla Sun Java Plug-in: OK\r\n\r\n");
    EXPECT_EQ(ItemText(dialog, IDCANCEL), "&Zamknij");
    for (int box : {IDC_CHK_DRIVER, IDC_CHK_IE, IDC_CHK_NETSCAPE, IDC_CHK_JAVA})
        EXPECT_FALSE(IsItemEnabled(dialog, box)) << box;
    EXPECT_TRUE(IsChecked(dialog, IDC_CHK_DRIVER)) << "choices keep their marks";
    EXPECT_FALSE(IsItemVisible(dialog, IDC_READER_MODEL));
    EXPECT_TRUE(IsItemVisible(dialog, IDC_STATUS_DRIVER));

    Click(dialog, IDOK);
    ASSERT_TRUE(WaitUntil([&] { return ItemText(dialog, IDOK) == kDetailsOpen; }));
    RECT full = WindowRectangle(dialog);
    EXPECT_GT(full.bottom - full.top, collapsed.bottom - collapsed.top);
    EXPECT_EQ(full.left, collapsed.left);
    EXPECT_EQ(full.top, collapsed.top);
    EXPECT_EQ(full.right, collapsed.right);
    Click(dialog, IDOK);
    ASSERT_TRUE(WaitForRunEnd(dialog));
    RECT again = WindowRectangle(dialog);
    EXPECT_EQ(again.bottom, collapsed.bottom);

    CloseAfterRun(installer, dialog);
}

TEST_F(InstallerEndToEndTest, GemplusReaderAlreadyKnownStartsNoDriver) {
    AddJre();
    InstallerProcess installer(distribution, "Other Reader 0|Gemplus USB SmartCard Reader 0");
    HWND dialog = OpenDialog(installer);
    ASSERT_NE(dialog, nullptr);
    Click(dialog, IDOK);
    ASSERT_TRUE(WaitForRunEnd(dialog));

    EXPECT_EQ(ItemText(dialog, IDC_STATUS_DRIVER), "UWAGA");
    EXPECT_EQ(ItemText(dialog, IDC_DETAILS),
              "Instalacja sterownika czytnika kart: UWAGA - Wykryto już zainstalowany w systemie czytnik rodziny "
              "GEMPLUS\r\n\r\n"
              "Instalacja komponentów dla Sun Java Plug-in: OK\r\n\r\n");
    Sleep(1000);
    EXPECT_FALSE(Exists(kDriverLog));
    CloseAfterRun(installer, dialog);
}

TEST_F(InstallerEndToEndTest, WithoutJavaSoftKeyOnlyTheLibraryIsInstalled) {
    InstallerProcess installer(distribution, "");
    HWND dialog = OpenDialog(installer);
    ASSERT_NE(dialog, nullptr);
    Click(dialog, IDOK);
    ASSERT_TRUE(WaitForRunEnd(dialog));

    EXPECT_EQ(ItemText(dialog, IDC_STATUS_JAVA), "UWAGA");
    EXPECT_NE(ItemText(dialog, IDC_DETAILS)
                  .find("Instalacja komponentów dla Sun Java Plug-in: UWAGA - Nie wykryto instalacji środowiska "
                        "JRE/JDK lub aplikacja nie była uruchamiona z prawami administratora\r\n\r\n"),
              std::string::npos);
    EXPECT_TRUE(Exists(SystemDirectory() + "\\ocfpcsc1.dll"));
    CloseAfterRun(installer, dialog);
}

TEST_F(InstallerEndToEndTest, MissingDriversFolderIsReported) {
    AddJre();
    RemoveTree(distribution + "\\Drivers");
    InstallerProcess installer(distribution, "");
    HWND dialog = OpenDialog(installer);
    ASSERT_NE(dialog, nullptr);
    Click(dialog, IDOK);
    ASSERT_TRUE(WaitForRunEnd(dialog));

    EXPECT_EQ(ItemText(dialog, IDC_STATUS_DRIVER), "BŁĄD");
    EXPECT_EQ(ItemText(dialog, IDC_DETAILS), "Instalacja sterownika czytnika kart: BŁĄD - Instalator jest niekompletny"
                                             "\r\n\r\n"
                                             "Instalacja komponentów dla Sun Java Plug-in: OK\r\n\r\n");
    CloseAfterRun(installer, dialog);
}

struct ConflictCase {
    const char *name;
    int answer;
    const char *javaLabel;
    bool replaced;
    bool driverStarted;
};

void PrintTo(const ConflictCase &c, std::ostream *out) { *out << c.name; }

class ReadOnlyTargetTest : public InstallerEndToEndTest, public ::testing::WithParamInterface<ConflictCase> {};

TEST_P(ReadOnlyTargetTest, ConflictPromptAnswerDecidesTheRun) {
    const ConflictCase &c = GetParam();
    AddJre();
    std::string target = std::string(kJreHome) + "\\lib\\ext\\ocf1.2.jar";
    WriteFile(target, "older archive");
    SetFileAttributesA(target.c_str(), FILE_ATTRIBUTE_READONLY);

    InstallerProcess installer(distribution, "");
    HWND dialog = OpenDialog(installer);
    ASSERT_NE(dialog, nullptr);
    Click(dialog, IDOK);
    HWND prompt = WaitForWindow(installer.id(), kPromptCaption);
    ASSERT_NE(prompt, nullptr);
    std::string text = MessageText(prompt);
    EXPECT_EQ(text.rfind("Wykryto problem przy próbie skopiowania pliku do katalogu docelowego.\n"
                         "Podany plik już istnieje.\n\nInformacje o plikach:\n\nŹRÓDŁOWY\nNazwa: ocf1.2.jar\nRozmiar: ",
                         0),
              0u)
        << text;
    EXPECT_NE(text.find("\n\nDOCELOWY\nNazwa: " + target + "\nRozmiar: 13\nData modyfikacji: "), std::string::npos)
        << text;
    Click(prompt, c.answer);
    ASSERT_TRUE(WaitForRunEnd(dialog));

    EXPECT_EQ(ItemText(dialog, IDC_STATUS_JAVA), c.javaLabel);
    EXPECT_EQ(ReadFile(target) != "older archive", c.replaced);
    Sleep(1000);
    EXPECT_EQ(Exists(kDriverLog), c.driverStarted);
    SetFileAttributesA(target.c_str(), FILE_ATTRIBUTE_NORMAL);
    CloseAfterRun(installer, dialog);
}

INSTANTIATE_TEST_SUITE_P(Answers, ReadOnlyTargetTest,
                         ::testing::Values(ConflictCase{"Abort", IDABORT, "", false, false},
                                           ConflictCase{"Retry", IDRETRY, "OK", true, true},
                                           ConflictCase{"Ignore", IDIGNORE, "OK", false, true}),
                         [](const ::testing::TestParamInfo<ConflictCase> &info) { return info.param.name; });

} // namespace
} // namespace e2e
