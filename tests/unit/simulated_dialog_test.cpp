// The simulated dialog and user interface calls, checked the way Wine's
// conformance tests check Windows: the last error is primed before a call,
// then the result and the error are both examined.
#include <gtest/gtest.h>

#include <functional>
#include <string>
#include <vector>

#include "platform/sim/sim_machine.h"
#include "res/resource.h"
#include "support/scratch_machine.h"

namespace {

const DWORD kUntouched = 0xdeadbeef;
HWND const kNoSuchWindow = reinterpret_cast<HWND>(0x7777);

struct Message {
    UINT message;
    WPARAM wParam;
    LPARAM lParam;
};

// A dialog procedure that records what it gets and answers WM_INITDIALOG as
// the test says.
std::vector<Message> received;
INT_PTR initDialogResult = FALSE;
std::function<void(HWND)> onInit;

INT_PTR CALLBACK RecordingProc(HWND dialog, UINT message, WPARAM wParam, LPARAM lParam) {
    received.push_back({message, wParam, lParam});
    if (message == WM_INITDIALOG) {
        if (onInit) onInit(dialog);
        return initDialogResult;
    }
    return FALSE;
}

std::vector<WORD> CommandsReceived() {
    std::vector<WORD> commands;
    for (const Message &m : received)
        if (m.message == WM_COMMAND) commands.push_back(LOWORD(m.wParam));
    return commands;
}

class SimulatedDialogTest : public ScratchTest {
  protected:
    void SetUp() override {
        ScratchTest::SetUp();
        received.clear();
        initDialogResult = FALSE;
        onInit = nullptr;
    }
    void TearDown() override {
        EXPECT_EQ(sim::OpenHandles(), 0);
        ScratchTest::TearDown();
    }

    INT_PTR Show(const std::function<void(HWND)> &user, LPARAM initParam = 0) {
        sim::SetDialogUser(user);
        return DialogBoxParamA(nullptr, MAKEINTRESOURCEA(IDD_INSTALLER), nullptr, RecordingProc, initParam);
    }
};

TEST_F(SimulatedDialogTest, TemplateBecomesPixelsOnACentredWindow) {
    Show([](HWND dialog) {
        RECT rect;
        ASSERT_TRUE(GetWindowRect(dialog, &rect));
        // 370 x 255 units at 6 x 13 base units: 555 x 414 client pixels, plus
        // a 3-pixel frame and a 19-pixel caption, centred on 1024 x 768.
        EXPECT_EQ(rect.left, 231);
        EXPECT_EQ(rect.top, 164);
        EXPECT_EQ(rect.right, 792);
        EXPECT_EQ(rect.bottom, 603);
        struct Case {
            int id;
            RECT screen;
        } cases[] = {
            {IDC_CHK_DRIVER, {234 + 12, 186 + 78, 234 + 12 + 158, 186 + 78 + 24}},
            {IDC_READER_MODEL, {234 + 149, 186 + 81, 234 + 149 + 317, 186 + 81 + 98}},
            {IDC_DETAILS, {234 + 8, 186 + 244, 234 + 8 + 473, 186 + 244 + 163}},
        };
        for (const Case &c : cases) {
            ASSERT_TRUE(GetWindowRect(GetDlgItem(dialog, c.id), &rect));
            EXPECT_EQ(rect.left, c.screen.left) << c.id;
            EXPECT_EQ(rect.top, c.screen.top) << c.id;
            EXPECT_EQ(rect.right, c.screen.right) << c.id;
            EXPECT_EQ(rect.bottom, c.screen.bottom) << c.id;
        }
        // Controls move with their dialog.
        MoveWindow(dialog, 0, 0, 100, 100, TRUE);
        GetWindowRect(GetDlgItem(dialog, IDC_DETAILS), &rect);
        EXPECT_EQ(rect.left, 3 + 8);
        EXPECT_EQ(rect.top, 3 + 19 + 244);

        char text[128];
        EXPECT_EQ(GetDlgItemTextA(dialog, IDC_CHK_JAVA, text, sizeof text), 31u);
        EXPECT_STREQ(text, "Komponenty dla Sun Java Plug-in");
        EXPECT_FALSE(IsWindowVisible(GetDlgItem(dialog, IDC_CHK_IE)));
        EXPECT_FALSE(IsWindowEnabled(GetDlgItem(dialog, IDC_CHK_IE)));
        EndDialog(dialog, 0);
    });
}

TEST_F(SimulatedDialogTest, DialogNeverEndedOrWithAnUnknownOwnerFails) {
    EXPECT_EQ(Show([](HWND) {}), -1);
    ASSERT_EQ(sim::Dialogs().size(), 1u);
    EXPECT_FALSE(sim::Dialogs()[0].ended);

    SetLastError(kUntouched);
    EXPECT_EQ(DialogBoxParamA(nullptr, MAKEINTRESOURCEA(IDD_INSTALLER), kNoSuchWindow, RecordingProc, 0), 0);
    EXPECT_EQ(GetLastError(), static_cast<DWORD>(ERROR_INVALID_WINDOW_HANDLE));
    EXPECT_EQ(sim::Dialogs().size(), 1u);
}

// Where Windows and Wine differ, the simulation follows Windows.
TEST_F(SimulatedDialogTest, FailuresThatWineReportsDifferently) {
    Show([](HWND dialog) {
        SetLastError(kUntouched);
        EXPECT_EQ(GetDlgItem(dialog, 4242), nullptr);
        EXPECT_EQ(GetLastError(), static_cast<DWORD>(ERROR_CONTROL_ID_NOT_FOUND));

        HWND list = GetDlgItem(dialog, IDC_READER_MODEL);
        SendMessageA(list, CB_ADDSTRING, 0, reinterpret_cast<LPARAM>("a"));
        SendMessageA(list, CB_SETCURSEL, 0, 0);
        EXPECT_EQ(SendMessageA(list, CB_SETCURSEL, 1, 0), CB_ERR);
        EXPECT_EQ(SendMessageA(list, CB_GETCURSEL, 0, 0), CB_ERR) << "an index past the end clears the selection";
        EndDialog(dialog, 0);
    });
}

TEST_F(SimulatedDialogTest, UserChoosingAListItemIsNotified) {
    Show([](HWND dialog) {
        HWND list = GetDlgItem(dialog, IDC_READER_MODEL);
        SendMessageA(list, CB_ADDSTRING, 0, reinterpret_cast<LPARAM>("a"));
        sim::ChooseItem(dialog, IDC_READER_MODEL, 0);
        EXPECT_EQ(SendMessageA(list, CB_GETCURSEL, 0, 0), 0);
        ASSERT_FALSE(received.empty());
        EXPECT_EQ(received.back().wParam, MAKEWPARAM(IDC_READER_MODEL, CBN_SELCHANGE));
        EXPECT_EQ(received.back().lParam, reinterpret_cast<LPARAM>(list));
        EndDialog(dialog, 0);
    });
}

TEST_F(SimulatedDialogTest, UserReachesOnlyShownEnabledControlsOfARunningDialog) {
    Show([](HWND dialog) {
        HWND box = GetDlgItem(dialog, IDC_CHK_DRIVER);
        sim::Click(dialog, IDC_CHK_DRIVER);
        EXPECT_EQ(IsDlgButtonChecked(dialog, IDC_CHK_DRIVER), static_cast<UINT>(BST_CHECKED));
        EXPECT_EQ(GetFocus(), box);
        EXPECT_EQ(received.back().wParam, MAKEWPARAM(IDC_CHK_DRIVER, BN_CLICKED));
        EXPECT_EQ(received.back().lParam, reinterpret_cast<LPARAM>(box));
        sim::Click(dialog, IDC_CHK_DRIVER);
        EXPECT_EQ(IsDlgButtonChecked(dialog, IDC_CHK_DRIVER), static_cast<UINT>(BST_UNCHECKED));

        received.clear();
        sim::Click(dialog, IDC_CHK_IE); // created hidden and disabled
        EnableWindow(box, FALSE);
        sim::Click(dialog, IDC_CHK_DRIVER);
        ShowWindow(GetDlgItem(dialog, IDOK), SW_HIDE);
        sim::Click(dialog, IDOK);
        EXPECT_TRUE(received.empty());
        EXPECT_EQ(IsDlgButtonChecked(dialog, IDC_CHK_IE), static_cast<UINT>(BST_UNCHECKED));

        // A program's BM_CLICK is not the mouse: it reaches a disabled button.
        SendMessageA(box, BM_CLICK, 0, 0);
        EXPECT_EQ(IsDlgButtonChecked(dialog, IDC_CHK_DRIVER), static_cast<UINT>(BST_CHECKED));
        EXPECT_EQ(CommandsReceived(), std::vector<WORD>{IDC_CHK_DRIVER});

        // Escape and the close box cancel even with the Cancel button disabled.
        received.clear();
        EnableWindow(GetDlgItem(dialog, IDCANCEL), FALSE);
        sim::PressEscape(dialog);
        sim::ClickCloseBox(dialog);
        EXPECT_EQ(CommandsReceived(), (std::vector<WORD>{IDCANCEL, IDCANCEL}));
        EXPECT_EQ(received[1].message, static_cast<UINT>(WM_CLOSE));

        EndDialog(dialog, 0);
        received.clear();
        sim::PressEscape(dialog);
        sim::ClickCloseBox(dialog);
        EnableWindow(GetDlgItem(dialog, IDCANCEL), TRUE);
        sim::Click(dialog, IDCANCEL);
        EXPECT_TRUE(received.empty()) << "an ended dialog takes no more input";
    });
}

TEST_F(SimulatedDialogTest, CursorStartsAsTheArrowAndOnlySystemCursorsLoad) {
    EXPECT_EQ(GetCursor(), LoadCursorA(nullptr, IDC_ARROW));

    SetLastError(kUntouched);
    EXPECT_EQ(LoadCursorA(reinterpret_cast<HINSTANCE>(0x400000), IDC_WAIT), nullptr);
    EXPECT_EQ(GetLastError(), static_cast<DWORD>(ERROR_RESOURCE_TYPE_NOT_FOUND));
    SetLastError(kUntouched);
    EXPECT_EQ(LoadCursorA(nullptr, MAKEINTRESOURCEA(1)), nullptr);
    EXPECT_EQ(GetLastError(), static_cast<DWORD>(ERROR_RESOURCE_NAME_NOT_FOUND));
}

} // namespace
