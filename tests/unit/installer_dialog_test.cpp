// The main dialog on the simulated machine, driven as its user would, with
// scripted install steps.
#include <gtest/gtest.h>

#include <functional>
#include <string>
#include <vector>

#include "app/installer_dialog.h"
#include "fake_install_steps.h"
#include "platform/sim/sim_machine.h"
#include "res/resource.h"
#include "support/scratch_machine.h"
#include "trusted_payloads.h"

namespace {

const char kCaption[] = "Instalator czytnika kart mikroproc. [v1.4]";
const char kNotice[] = "Dla poprawnego zakończenia instalacji konieczne jest zrestartowanie komputera.";
const char kDriver[] = "Instalacja sterownika czytnika kart: ";
const char kJava[] = "Instalacja komponentów dla Sun Java Plug-in: ";
const char kEnd[] = "\r\n\r\n";
const char *const kModels[] = {"GemPC(Twin,Tokens)-Win7/XP/Vista/2000-32bit",
                               "GemPC(Twin,Tokens)-Win7/XP/Vista/2000-64bit", "GemPC(Twin,Tokens-Win8-32bit",
                               "GemPC(Twin,Tokens)-Win8-64bit"};

// The simulated screen: a 561 x 439 pixel window (370 x 255 dialog units with
// frame and caption) centred on 1024 x 768; the details panel's top edge lies
// 266 pixels below the window's.
const RECT kFullWindow = {231, 164, 792, 603};
const int kCollapsedHeight = 266;
const int kFullHeight = 439;

std::string Text(HWND window) {
    char text[4096];
    GetWindowTextA(window, text, sizeof text);
    return text;
}

std::string Text(HWND dialog, int id) { return Text(GetDlgItem(dialog, id)); }

RECT Rect(HWND window) {
    RECT rect;
    GetWindowRect(window, &rect);
    return rect;
}

bool Visible(HWND dialog, int id) { return IsWindowVisible(GetDlgItem(dialog, id)) != FALSE; }
bool Enabled(HWND dialog, int id) { return IsWindowEnabled(GetDlgItem(dialog, id)) != FALSE; }

class InstallerDialogTest : public ScratchTest {
  protected:
    void SetUp() override {
        ScratchTest::SetUp();
        fake::Reset();
        UseStepEntries(fake::kSteps);
    }
    void TearDown() override {
        UseStepEntries(nullptr);
        UseManifest(nullptr);
        EXPECT_EQ(sim::OpenHandles(), 0);
        ScratchTest::TearDown();
    }

    // A fresh machine and fresh steps for the next case of a table.
    void Restart() {
        scratch::Stop();
        scratch::Start();
        fake::Reset();
    }

    // Runs the dialog as WinMain does, with this user; the dialog must end
    // with result 0.
    void RunDialog(const std::function<void(HWND)> &user) {
        sim::SetDialogUser(user);
        EXPECT_EQ(DialogBoxParamA(nullptr, MAKEINTRESOURCEA(IDD_INSTALLER), nullptr, InstallerDialogProc, 0), 0);
        ASSERT_EQ(sim::Dialogs().size(), 1u);
        EXPECT_TRUE(sim::Dialogs()[0].ended);
    }

    // Presses Install and hands the finished dialog to `after`, then closes.
    void Install(const std::function<void(HWND)> &before, const std::function<void(HWND)> &after) {
        RunDialog([&](HWND dialog) {
            if (before) before(dialog);
            sim::Click(dialog, IDOK);
            after(dialog);
            sim::Click(dialog, IDCANCEL);
        });
    }
};

TEST_F(InstallerDialogTest, OpensCollapsedWithTheDefaultChoices) {
    RunDialog([](HWND dialog) {
        EXPECT_EQ(Text(dialog), kCaption);
        RECT window = Rect(dialog);
        EXPECT_EQ(window.left, kFullWindow.left);
        EXPECT_EQ(window.top, kFullWindow.top);
        EXPECT_EQ(window.right, kFullWindow.right);
        EXPECT_EQ(window.bottom - window.top, kCollapsedHeight);
        EXPECT_EQ(window.bottom, Rect(GetDlgItem(dialog, IDC_DETAILS)).top);

        EXPECT_EQ(IsDlgButtonChecked(dialog, IDC_CHK_DRIVER), static_cast<UINT>(BST_CHECKED));
        EXPECT_EQ(IsDlgButtonChecked(dialog, IDC_CHK_JAVA), static_cast<UINT>(BST_CHECKED));
        for (int id : {IDC_CHK_IE, IDC_CHK_NETSCAPE}) {
            EXPECT_EQ(IsDlgButtonChecked(dialog, id), static_cast<UINT>(BST_UNCHECKED)) << id;
            EXPECT_FALSE(Visible(dialog, id)) << id;
            EXPECT_FALSE(Enabled(dialog, id)) << id;
        }
        for (int id : {IDC_CHK_DRIVER, IDC_CHK_JAVA, IDC_READER_MODEL, IDOK, IDCANCEL}) {
            EXPECT_TRUE(Visible(dialog, id)) << id;
            EXPECT_TRUE(Enabled(dialog, id)) << id;
        }
        EXPECT_FALSE(Visible(dialog, IDC_STATUS_DRIVER));
        for (int id : {IDC_STATUS_DRIVER, IDC_STATUS_IE, IDC_STATUS_NETSCAPE, IDC_STATUS_JAVA, IDC_DETAILS})
            EXPECT_EQ(Text(dialog, id), "") << id;

        HWND readerList = GetDlgItem(dialog, IDC_READER_MODEL);
        ASSERT_EQ(SendMessageA(readerList, CB_GETCOUNT, 0, 0), 4);
        for (int i = 0; i < 4; ++i) {
            char name[128];
            SendMessageA(readerList, CB_GETLBTEXT, i, reinterpret_cast<LPARAM>(name));
            EXPECT_STREQ(name, kModels[i]);
        }
        EXPECT_EQ(SendMessageA(readerList, CB_GETCURSEL, 0, 0), 0);

        EXPECT_EQ(GetFocus(), GetDlgItem(dialog, IDOK));
        EXPECT_EQ(Text(dialog, IDOK), "In&staluj");
        EXPECT_EQ(Text(dialog, IDCANCEL), "&Zaniechaj");
        sim::Click(dialog, IDCANCEL);
    });
    EXPECT_TRUE(fake::calls.empty());
}

TEST_F(InstallerDialogTest, CancelBeforeTheRunClosesWithoutTheNotice) {
    struct Case {
        const char *name;
        void (*cancel)(HWND);
    } cases[] = {
        {"Cancel button", [](HWND dialog) { sim::Click(dialog, IDCANCEL); }},
        {"Escape", sim::PressEscape},
        {"close box", sim::ClickCloseBox},
    };
    for (const Case &c : cases) {
        Restart();
        RunDialog(c.cancel);
        EXPECT_EQ(sim::Dialogs()[0].result, 0) << c.name;
        EXPECT_TRUE(sim::MessageBoxes().empty()) << c.name;
        EXPECT_TRUE(fake::calls.empty()) << c.name;
    }
}

TEST_F(InstallerDialogTest, DefaultRunReportsDriverBeforeJavaPlugin) {
    fake::scripts[kJavaPluginStep] = {kStepWarning, "M"};
    Install(nullptr, [](HWND dialog) {
        EXPECT_EQ(Text(dialog, IDC_DETAILS), std::string(kDriver) + "OK" + kEnd + kJava + "UWAGA - M" + kEnd);
        EXPECT_EQ(Text(dialog, IDC_STATUS_DRIVER), "OK");
        EXPECT_EQ(Text(dialog, IDC_STATUS_JAVA), "UWAGA");
        EXPECT_EQ(Text(dialog, IDC_STATUS_IE), "");
        EXPECT_EQ(Text(dialog, IDC_STATUS_NETSCAPE), "");
    });
    EXPECT_EQ(fake::StepsCalled(), (std::vector<InstallStep>{kOldOcfStep, kJavaPluginStep, kReaderDriverStep}));
    for (const fake::StepCall &call : fake::calls) EXPECT_EQ(call.capacity, kStepMessageCapacity);
    EXPECT_EQ(fake::calls.back().driverCode, 0);
}

TEST_F(InstallerDialogTest, EachResultShowsOnItsLabelAndInTheReport) {
    struct Case {
        int result;
        const char *label;
        const char *report; // after the heading
    } cases[] = {
        {kStepOk, "OK", "OK"},
        {kStepError, "BŁĄD", "BŁĄD - wiadomość"},
        {kStepWarning, "UWAGA", "UWAGA - wiadomość"},
        {9, "UWAGA", "UWAGA - wiadomość"},
    };
    for (const Case &c : cases) {
        Restart();
        // A message is there for every result; on success it is not read.
        fake::scripts[kReaderDriverStep] = {c.result, "wiadomość"};
        fake::scripts[kJavaPluginStep] = {c.result, "wiadomość"};
        Install(nullptr, [&](HWND dialog) {
            EXPECT_EQ(Text(dialog, IDC_DETAILS), std::string(kDriver) + c.report + kEnd + kJava + c.report + kEnd)
                << c.result;
            EXPECT_EQ(Text(dialog, IDC_STATUS_DRIVER), c.label) << c.result;
            EXPECT_EQ(Text(dialog, IDC_STATUS_JAVA), c.label) << c.result;
        });
    }
}

// Results that differ from step to step, so that labels swapped between two
// steps show: every pair of steps differs in one of the cases.
TEST_F(InstallerDialogTest, EachStepShowsItsResultOnItsOwnLabel) {
    struct Case {
        int driver, ie, netscape, java;
    } cases[] = {
        {kStepOk, kStepError, kStepWarning, kStepOk},
        {kStepError, kStepOk, kStepOk, kStepWarning},
    };
    auto label = [](int result) { return result == kStepOk ? "OK" : result == kStepError ? "BŁĄD" : "UWAGA"; };
    for (const Case &c : cases) {
        Restart();
        fake::scripts[kReaderDriverStep] = {c.driver, "d"};
        fake::scripts[kIeStep] = {c.ie, "i"};
        fake::scripts[kNetscapeStep] = {c.netscape, "n"};
        fake::scripts[kJavaPluginStep] = {c.java, "j"};
        Install(
            [](HWND dialog) {
                CheckDlgButton(dialog, IDC_CHK_IE, BST_CHECKED);
                CheckDlgButton(dialog, IDC_CHK_NETSCAPE, BST_CHECKED);
            },
            [&](HWND dialog) {
                EXPECT_EQ(Text(dialog, IDC_STATUS_DRIVER), label(c.driver));
                EXPECT_EQ(Text(dialog, IDC_STATUS_IE), label(c.ie));
                EXPECT_EQ(Text(dialog, IDC_STATUS_NETSCAPE), label(c.netscape));
                EXPECT_EQ(Text(dialog, IDC_STATUS_JAVA), label(c.java));
            });
    }
}

TEST_F(InstallerDialogTest, FailedOldOcfRemovalLeadsTheReportAndTheRunGoesOn) {
    fake::scripts[kOldOcfStep] = {kOldOcfNotRemoved, "Błąd kasowania pliku ocf1.2.jar w katalogu systemowym"};
    Install(nullptr, [](HWND dialog) {
        EXPECT_EQ(Text(dialog, IDC_DETAILS), std::string("Detekcja/deinstalacja poprzedniego środowiska OCF: BŁĄD - ") +
                                                 "Błąd kasowania pliku ocf1.2.jar w katalogu systemowym" + kEnd +
                                                 kDriver + "OK" + kEnd + kJava + "OK" + kEnd);
    });
    EXPECT_EQ(fake::StepsCalled(), (std::vector<InstallStep>{kOldOcfStep, kJavaPluginStep, kReaderDriverStep}));
}

// The Internet Explorer and Netscape boxes are never shown to the user, but
// the run handles them; the test checks them directly.
TEST_F(InstallerDialogTest, AbortInAComponentStepStopsTheLaterSteps) {
    struct Case {
        InstallStep aborting;
        std::vector<InstallStep> called;
        std::string report;
    } cases[] = {
        {kIeStep, {kOldOcfStep, kIeStep}, ""},
        {kNetscapeStep,
         {kOldOcfStep, kIeStep, kNetscapeStep},
         std::string("Instalacja komponentów dla MS Internet Explorera: OK") + kEnd},
        {kJavaPluginStep,
         {kOldOcfStep, kIeStep, kNetscapeStep, kJavaPluginStep},
         std::string("Instalacja komponentów dla MS Internet Explorera: OK") + kEnd +
             "Instalacja komponentów dla Netscape 4.x: OK" + kEnd},
    };
    for (const Case &c : cases) {
        Restart();
        fake::scripts[c.aborting] = {kStepAborted, "Przerwa na życzenie użytkownika"};
        Install(
            [](HWND dialog) {
                CheckDlgButton(dialog, IDC_CHK_IE, BST_CHECKED);
                CheckDlgButton(dialog, IDC_CHK_NETSCAPE, BST_CHECKED);
            },
            [&](HWND dialog) {
                EXPECT_EQ(Text(dialog, IDC_DETAILS), c.report) << c.aborting;
                EXPECT_EQ(Text(dialog, IDC_STATUS_DRIVER), "") << c.aborting;
                EXPECT_TRUE(Visible(dialog, IDC_STATUS_DRIVER)) << c.aborting;
                EXPECT_EQ(Text(dialog, IDC_STATUS_JAVA), "") << c.aborting;
                EXPECT_EQ(Text(dialog, IDOK), "&Szczegóły >>") << c.aborting;
            });
        EXPECT_EQ(fake::StepsCalled(), c.called) << c.aborting;
        // The notice follows every run, stopped ones too.
        EXPECT_EQ(sim::MessageBoxes().size(), 1u) << c.aborting;
    }
}

TEST_F(InstallerDialogTest, AllComponentsRunInOrderAndReportDriverFirst) {
    Install(
        [](HWND dialog) {
            CheckDlgButton(dialog, IDC_CHK_IE, BST_CHECKED);
            CheckDlgButton(dialog, IDC_CHK_NETSCAPE, BST_CHECKED);
        },
        [](HWND dialog) {
            EXPECT_EQ(Text(dialog, IDC_DETAILS),
                      std::string(kDriver) + "OK" + kEnd + "Instalacja komponentów dla MS Internet Explorera: OK" +
                          kEnd + "Instalacja komponentów dla Netscape 4.x: OK" + kEnd + kJava + "OK" + kEnd);
            for (int id : {IDC_STATUS_DRIVER, IDC_STATUS_IE, IDC_STATUS_NETSCAPE, IDC_STATUS_JAVA})
                EXPECT_EQ(Text(dialog, id), "OK") << id;
        });
    EXPECT_EQ(fake::StepsCalled(),
              (std::vector<InstallStep>{kOldOcfStep, kIeStep, kNetscapeStep, kJavaPluginStep, kReaderDriverStep}));
}

TEST_F(InstallerDialogTest, BothBoxesClearedRunsOnlyOldOcfRemovalAndStillGivesTheNotice) {
    RunDialog([](HWND dialog) {
        sim::Click(dialog, IDC_CHK_DRIVER);
        sim::Click(dialog, IDC_CHK_JAVA);
        sim::Click(dialog, IDOK);
        EXPECT_EQ(Text(dialog, IDC_DETAILS), "");
        for (int id : {IDC_STATUS_DRIVER, IDC_STATUS_IE, IDC_STATUS_NETSCAPE, IDC_STATUS_JAVA})
            EXPECT_EQ(Text(dialog, id), "") << id;
        EXPECT_EQ(Text(dialog, IDCANCEL), "&Zamknij");
        sim::Click(dialog, IDCANCEL);
    });
    EXPECT_EQ(fake::StepsCalled(), std::vector<InstallStep>{kOldOcfStep});
    ASSERT_EQ(sim::MessageBoxes().size(), 1u);
    const sim::MessageBoxCall &notice = sim::MessageBoxes()[0];
    EXPECT_NE(notice.owner, nullptr);
    EXPECT_EQ(notice.text, kNotice);
    EXPECT_EQ(notice.caption, "Info");
    EXPECT_EQ(notice.flags, static_cast<UINT>(MB_OK));
    EXPECT_EQ(sim::Dialogs()[0].result, 0);
}

// A file that is not the release's: the dialog's owned message box names it,
// no step runs, and each chosen step shows the error as after a failed run.
TEST_F(InstallerDialogTest, PayloadNotTheReleasesIsNamedAndNothingRuns) {
    scratch::MakeFile("sun\\java.policy", "grant { /* package */ };");
    trusted::TrustPayloadsAsTheyAre();
    scratch::MakeFile("sun\\java.policy", "grant { permission java.security.AllPermission; };");
    Install(nullptr, [](HWND dialog) {
        ASSERT_EQ(sim::MessageBoxes().size(), 1u);
        EXPECT_EQ(sim::MessageBoxes()[0].owner, dialog);
        EXPECT_EQ(sim::MessageBoxes()[0].text.rfind("Plik sun\\java.policy w folderze instalatora", 0), 0u);
        EXPECT_EQ(sim::MessageBoxes()[0].flags, static_cast<UINT>(MB_OK | MB_ICONERROR));
        for (int id : {IDC_STATUS_DRIVER, IDC_STATUS_JAVA}) EXPECT_EQ(Text(dialog, id), "BŁĄD") << id;
    });
    EXPECT_TRUE(fake::calls.empty());
}

TEST_F(InstallerDialogTest, NoticeIsOwnedByTheDialogWhicheverWayItCloses) {
    for (void (*close)(HWND) : {sim::PressEscape, sim::ClickCloseBox}) {
        Restart();
        HWND shown = nullptr;
        Install(nullptr, [&](HWND dialog) {
            shown = dialog;
            close(dialog);
        });
        ASSERT_EQ(sim::MessageBoxes().size(), 1u);
        EXPECT_EQ(sim::MessageBoxes()[0].owner, shown);
        EXPECT_EQ(sim::MessageBoxes()[0].text, kNotice);
    }
}

TEST_F(InstallerDialogTest, ReaderModelChoosesTheDriverCode) {
    const int codes[] = {0, 2, 4, 5};
    for (int model = 0; model < 4; ++model) {
        Restart();
        Install([&](HWND dialog) { sim::ChooseItem(dialog, IDC_READER_MODEL, model); }, [](HWND) {});
        ASSERT_EQ(fake::calls.back().step, kReaderDriverStep);
        EXPECT_EQ(fake::calls.back().driverCode, codes[model]) << model;
    }
}

TEST_F(InstallerDialogTest, ReaderModelOutsideTheTableIsADriverErrorWithoutTheStep) {
    // No selection at all, and an item beyond the table's four.
    for (int selected : {-1, 4}) {
        Restart();
        Install(
            [&](HWND dialog) {
                HWND readerList = GetDlgItem(dialog, IDC_READER_MODEL);
                SendMessageA(readerList, CB_ADDSTRING, 0, reinterpret_cast<LPARAM>("Inny czytnik"));
                SendMessageA(readerList, CB_SETCURSEL, selected, 0);
            },
            [&](HWND dialog) {
                EXPECT_EQ(Text(dialog, IDC_DETAILS), std::string(kDriver) +
                                                         "BŁĄD - Wybór czytnika kart spoza dostępnej listy" + kEnd +
                                                         kJava + "OK" + kEnd)
                    << selected;
                EXPECT_EQ(Text(dialog, IDC_STATUS_DRIVER), "BŁĄD") << selected;
            });
        EXPECT_EQ(fake::StepsCalled(), (std::vector<InstallStep>{kOldOcfStep, kJavaPluginStep})) << selected;
    }
}

TEST_F(InstallerDialogTest, StepsRunUnderTheWaitCursorWhichIsThenUndone) {
    HCURSOR before = LoadCursorA(nullptr, IDC_ARROW);
    Install([&](HWND) { SetCursor(nullptr); },
            [&](HWND) { EXPECT_EQ(GetCursor(), nullptr) << "the cursor it replaced"; });
    HCURSOR wait = LoadCursorA(nullptr, IDC_WAIT);
    ASSERT_NE(wait, before);
    ASSERT_FALSE(fake::calls.empty());
    for (const fake::StepCall &call : fake::calls) EXPECT_EQ(call.cursor, wait) << call.step;
}

TEST_F(InstallerDialogTest, ToggleAlternatesHeightAndCaptionKeepingLeftTopAndWidth) {
    Install(nullptr, [](HWND dialog) {
        EXPECT_EQ(Text(dialog, IDOK), "&Szczegóły >>");
        EXPECT_EQ(Text(dialog, IDCANCEL), "&Zamknij");
        EXPECT_EQ(Rect(dialog).bottom - Rect(dialog).top, kCollapsedHeight);

        // The user has moved the window since it opened.
        MoveWindow(dialog, 40, 30, kFullWindow.right - kFullWindow.left, kCollapsedHeight, TRUE);
        const int heights[] = {kFullHeight, kCollapsedHeight, kFullHeight, kCollapsedHeight};
        const char *captions[] = {"&Szczegóły <<", "&Szczegóły >>", "&Szczegóły <<", "&Szczegóły >>"};
        for (int press = 0; press < 4; ++press) {
            sim::Click(dialog, IDOK);
            RECT window = Rect(dialog);
            EXPECT_EQ(window.left, 40) << press;
            EXPECT_EQ(window.top, 30) << press;
            EXPECT_EQ(window.right - window.left, kFullWindow.right - kFullWindow.left) << press;
            EXPECT_EQ(window.bottom - window.top, heights[press]) << press;
            EXPECT_EQ(Text(dialog, IDOK), captions[press]) << press;
            EXPECT_EQ(Text(dialog, IDCANCEL), "&Zamknij") << press;
        }
        // Closed with the details shown.
        sim::Click(dialog, IDOK);
    });
    EXPECT_EQ(fake::calls.size(), 3u) << "one run only";
    EXPECT_EQ(sim::MessageBoxes().size(), 1u) << "the restart notice";
}

TEST_F(InstallerDialogTest, ChoicesAreFrozenAfterTheRun) {
    Install(
        [](HWND dialog) {
            sim::Click(dialog, IDC_CHK_JAVA);
            sim::ChooseItem(dialog, IDC_READER_MODEL, 3);
        },
        [](HWND dialog) {
            for (int id : {IDC_CHK_DRIVER, IDC_CHK_IE, IDC_CHK_NETSCAPE, IDC_CHK_JAVA})
                EXPECT_FALSE(Enabled(dialog, id)) << id;
            EXPECT_EQ(IsDlgButtonChecked(dialog, IDC_CHK_DRIVER), static_cast<UINT>(BST_CHECKED));
            EXPECT_EQ(IsDlgButtonChecked(dialog, IDC_CHK_JAVA), static_cast<UINT>(BST_UNCHECKED));
            sim::Click(dialog, IDC_CHK_DRIVER);
            EXPECT_EQ(IsDlgButtonChecked(dialog, IDC_CHK_DRIVER), static_cast<UINT>(BST_CHECKED));
            EXPECT_FALSE(Visible(dialog, IDC_READER_MODEL));
            EXPECT_TRUE(Visible(dialog, IDC_STATUS_DRIVER));
            EXPECT_EQ(Text(dialog, IDC_STATUS_DRIVER), "OK");
        });
    EXPECT_EQ(fake::StepsCalled(), (std::vector<InstallStep>{kOldOcfStep, kReaderDriverStep}));
    EXPECT_EQ(fake::calls.back().driverCode, 5);
}

// A step's conflict prompt has no owner, so the dialog's commands arrive while
// it is open: Install must not start a nested run, Cancel, Escape or the
// close box must not end the dialog under the running step, and the choices
// stay as the run was started with.
TEST_F(InstallerDialogTest, CommandsDuringTheRunAreIgnored) {
    HWND running = nullptr;
    fake::actingStep = kJavaPluginStep;
    fake::userDuringStep = [&] {
        for (int id : {IDC_CHK_DRIVER, IDC_CHK_JAVA, IDC_READER_MODEL}) EXPECT_FALSE(Enabled(running, id)) << id;
        sim::ChooseItem(running, IDC_READER_MODEL, 3);
        SendMessageA(GetDlgItem(running, IDC_READER_MODEL), CB_SETCURSEL, 3, 0);
        CheckDlgButton(running, IDC_CHK_DRIVER, BST_UNCHECKED);
        sim::Click(running, IDOK);
        SendMessageA(running, WM_COMMAND, MAKEWPARAM(IDOK, BN_CLICKED), 0);
        sim::Click(running, IDCANCEL);
        sim::PressEscape(running);
        sim::ClickCloseBox(running);
    };
    RunDialog([&](HWND dialog) {
        running = dialog;
        sim::Click(dialog, IDOK);
        EXPECT_EQ(Text(dialog, IDOK), "&Szczegóły >>");
        EXPECT_EQ(Rect(dialog).bottom - Rect(dialog).top, kCollapsedHeight);
        EXPECT_TRUE(sim::MessageBoxes().empty());
        sim::Click(dialog, IDCANCEL);
    });
    EXPECT_EQ(fake::StepsCalled(), (std::vector<InstallStep>{kOldOcfStep, kJavaPluginStep, kReaderDriverStep}));
    EXPECT_EQ(fake::calls.back().driverCode, 0) << "the model chosen when Install was pressed";
    EXPECT_EQ(sim::MessageBoxes().size(), 1u) << "the notice, once, at the real close";
}

} // namespace
