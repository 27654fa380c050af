// The entry point: the welcome prompt decides whether the dialog opens.
#include <gtest/gtest.h>

#include <cstring>
#include <filesystem>
#include <fstream>
#include <map>
#include <sstream>
#include <string>
#include <vector>

#include "fake_install_steps.h"
#include "platform/sim/sim_machine.h"
#include "res/resource.h"
#include "support/scratch_machine.h"

namespace {

const char kWelcomeCaption[] = "Instalator czytnika kart mikropr. dla przeglądarek internetowych";
const char kWelcomeText[] =
    "Za chwilę rozpocznie się instalacja i konfiguracja środowiska obsługi czytnika kart mikroprocesorowych,\n"
    "dla współpracy z przeglądarkami internetowymi: MS Internet Explorer i tych pracujących\n"
    "na bazie silnika Sun Java Plug-in (m.in. przeglądarki: Mozilla, Netscape 7.x, Opera)\n"
    "\n"
    "Instalator spróbuje samodzielnie wykryć przeglądarki zainstalowane na tym komputerze i dokonać dla nich\n"
    "konfiguracji odpowiedniego środowiska. Dlatego też należy mieć już zainstalowane przeglądarki internetowe,\n"
    "które mają współpracować z czytnikiem kart, lub gdy ich nie ma, opuścić ten instalator, zainstalować wymagane\n"
    "przeglądarki i uruchomić go ponownie.\n"
    "\n"
    "Czy chcesz kontynuować instalacje ?";

HINSTANCE const kInstance = reinterpret_cast<HINSTANCE>(0x400000);

// Every file and folder of the simulated drive with its content.
std::map<std::string, std::string> DriveContents() {
    std::map<std::string, std::string> contents;
    for (const auto &entry : std::filesystem::recursive_directory_iterator(sim::HostPath("C:\\"))) {
        std::ostringstream content;
        if (entry.is_regular_file()) content << std::ifstream(entry.path(), std::ios::binary).rdbuf();
        contents[entry.path().string()] = content.str();
    }
    return contents;
}

class WelcomePromptTest : public ScratchTest {
  protected:
    void SetUp() override {
        ScratchTest::SetUp();
        fake::Reset();
        UseStepEntries(fake::kSteps);
        sim::MakeFile("C:\\Windows\\System32\\ocf1.2.jar", "stale");
    }
    void TearDown() override {
        UseStepEntries(nullptr);
        EXPECT_EQ(sim::OpenHandles(), 0);
        ScratchTest::TearDown();
    }
};

TEST_F(WelcomePromptTest, AskedWithoutOwnerAndWithYesAndNoOnly) {
    EXPECT_EQ(std::strlen(kWelcomeText), 672u);
    sim::QueueMessageBoxAnswers({IDNO});
    WinMain(kInstance, nullptr, const_cast<LPSTR>(""), SW_SHOW);
    ASSERT_EQ(sim::MessageBoxes().size(), 1u);
    const sim::MessageBoxCall &prompt = sim::MessageBoxes()[0];
    EXPECT_EQ(prompt.owner, nullptr);
    EXPECT_EQ(prompt.caption, kWelcomeCaption);
    EXPECT_EQ(prompt.text, kWelcomeText);
    EXPECT_EQ(prompt.flags, static_cast<UINT>(MB_YESNO));
}

TEST_F(WelcomePromptTest, AnythingButYesEndsWithoutTouchingTheMachine) {
    // No, the box failing to show, and answers it cannot give.
    for (int answer : {IDNO, 0, IDOK, IDCANCEL}) {
        std::map<std::string, std::string> before = DriveContents();
        sim::QueueMessageBoxAnswers({answer});
        EXPECT_EQ(WinMain(kInstance, nullptr, const_cast<LPSTR>(""), SW_SHOW), 0) << answer;
        EXPECT_TRUE(sim::Dialogs().empty()) << answer;
        EXPECT_TRUE(fake::calls.empty()) << answer;
        EXPECT_EQ(DriveContents(), before) << answer;
    }
}

TEST_F(WelcomePromptTest, YesOpensTheDialogWithoutOwnerAndWithItsDefaults) {
    for (const char *arguments : {"", "  \t "}) {
        scratch::Stop();
        scratch::Start();
        sim::QueueMessageBoxAnswers({IDYES});
        HWND opened = nullptr;
        sim::SetDialogUser([&](HWND dialog) {
            opened = dialog;
            EXPECT_TRUE(IsDlgButtonChecked(dialog, IDC_CHK_JAVA)) << arguments;
            sim::Click(dialog, IDCANCEL);
        });
        EXPECT_EQ(WinMain(kInstance, nullptr, const_cast<LPSTR>(arguments), SW_HIDE), 0) << arguments;
        ASSERT_EQ(sim::Dialogs().size(), 1u) << arguments;
        EXPECT_NE(opened, nullptr);
        EXPECT_EQ(sim::Dialogs()[0].instance, kInstance) << arguments;
        EXPECT_EQ(sim::Dialogs()[0].owner, nullptr) << arguments;
        EXPECT_EQ(sim::Dialogs()[0].initParam, 0) << arguments;
        EXPECT_TRUE(sim::Dialogs()[0].ended) << arguments;
    }
}

TEST_F(WelcomePromptTest, CommandLineChoicesArePresetForTheUserToConfirm) {
    sim::QueueMessageBoxAnswers({IDYES, IDOK});
    sim::SetDialogUser([](HWND dialog) {
        EXPECT_EQ(IsDlgButtonChecked(dialog, IDC_CHK_DRIVER), static_cast<UINT>(BST_UNCHECKED));
        EXPECT_EQ(IsDlgButtonChecked(dialog, IDC_CHK_JAVA), static_cast<UINT>(BST_CHECKED));
        EXPECT_EQ(IsDlgButtonChecked(dialog, IDC_CHK_NETSCAPE), static_cast<UINT>(BST_CHECKED));
        EXPECT_EQ(SendMessageA(GetDlgItem(dialog, IDC_READER_MODEL), CB_GETCURSEL, 0, 0), 1);
        sim::Click(dialog, IDC_CHK_DRIVER);
        sim::Click(dialog, IDOK);
        sim::Click(dialog, IDCANCEL);
    });
    EXPECT_EQ(WinMain(kInstance, nullptr, const_cast<LPSTR>("/COMPONENTS=java,ns /READER=2"), SW_SHOW), 0);
    EXPECT_EQ(fake::StepsCalled(),
              (std::vector<InstallStep>{kOldOcfStep, kNetscapeStep, kJavaPluginStep, kReaderDriverStep}));
    EXPECT_EQ(fake::calls.back().driverCode, 2);
}

TEST_F(WelcomePromptTest, ExitCodeIsZeroWhateverHappenedInTheDialog) {
    struct Case {
        const char *name;
        std::function<void(HWND)> user;
    } cases[] = {
        {"installed and closed",
         [](HWND dialog) {
             sim::Click(dialog, IDOK);
             sim::Click(dialog, IDCANCEL);
         }},
        {"ended with another result", [](HWND dialog) { EndDialog(dialog, 7); }},
        {"dialog never ended", [](HWND) {}},
    };
    fake::scripts[kReaderDriverStep] = {kStepError, "x"};
    for (const Case &c : cases) {
        scratch::Stop();
        scratch::Start();
        sim::QueueMessageBoxAnswers({IDYES, IDOK});
        sim::SetDialogUser(c.user);
        EXPECT_EQ(WinMain(kInstance, nullptr, const_cast<LPSTR>(""), SW_SHOW), 0) << c.name;
        EXPECT_EQ(sim::Dialogs().size(), 1u) << c.name;
    }
}

} // namespace
