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

TEST_F(SimulatedDialogTest, InitDialogOffersTheFirstTabStopAndShowsTheDialogAfterwards) {
    struct Case {
        INT_PTR initResult;
        bool focusOnFirstTabStop;
    } cases[] = {{FALSE, false}, {TRUE, true}};
    for (const Case &c : cases) {
        received.clear();
        initDialogResult = c.initResult;
        bool visibleDuringInit = true;
        onInit = [&](HWND dialog) {
            visibleDuringInit = IsWindowVisible(dialog) != FALSE;
            SetFocus(GetDlgItem(dialog, IDCANCEL));
        };
        EXPECT_EQ(Show(
                      [&](HWND dialog) {
                          EXPECT_TRUE(IsWindowVisible(dialog));
                          HWND first = GetDlgItem(dialog, IDC_CHK_DRIVER);
                          ASSERT_EQ(received.size(), 1u);
                          EXPECT_EQ(received[0].wParam, reinterpret_cast<WPARAM>(first));
                          EXPECT_EQ(received[0].lParam, 0x1234);
                          EXPECT_EQ(GetFocus(), c.focusOnFirstTabStop ? first : GetDlgItem(dialog, IDCANCEL));
                          EndDialog(dialog, 42);
                      },
                      0x1234),
                  42);
        EXPECT_FALSE(visibleDuringInit);
        EXPECT_EQ(GetFocus(), nullptr) << "the dialog is gone";
    }
}

TEST_F(SimulatedDialogTest, DialogThatIsNeverEndedOrCannotBeFoundFails) {
    EXPECT_EQ(Show([](HWND) {}), -1);
    ASSERT_EQ(sim::Dialogs().size(), 1u);
    EXPECT_FALSE(sim::Dialogs()[0].ended);

    SetLastError(kUntouched);
    EXPECT_EQ(DialogBoxParamA(nullptr, MAKEINTRESOURCEA(102), nullptr, RecordingProc, 0), -1);
    EXPECT_EQ(GetLastError(), static_cast<DWORD>(ERROR_RESOURCE_NAME_NOT_FOUND));
    SetLastError(kUntouched);
    EXPECT_EQ(DialogBoxParamA(nullptr, MAKEINTRESOURCEA(IDD_INSTALLER), kNoSuchWindow, RecordingProc, 0), 0);
    EXPECT_EQ(GetLastError(), static_cast<DWORD>(ERROR_INVALID_WINDOW_HANDLE));
    EXPECT_EQ(sim::Dialogs().size(), 1u);
}

TEST_F(SimulatedDialogTest, WindowCallsFailOnUnknownWindowsAndControls) {
    Show([](HWND dialog) {
        char text[8] = "xxxxxxx";
        SetLastError(kUntouched);
        EXPECT_EQ(GetWindowTextA(kNoSuchWindow, text, sizeof text), 0);
        EXPECT_EQ(GetLastError(), static_cast<DWORD>(ERROR_INVALID_WINDOW_HANDLE));
        EXPECT_STREQ(text, "");

        SetLastError(kUntouched);
        EXPECT_EQ(GetDlgItem(dialog, 4242), nullptr);
        EXPECT_EQ(GetLastError(), static_cast<DWORD>(ERROR_CONTROL_ID_NOT_FOUND));
        SetLastError(kUntouched);
        EXPECT_FALSE(SetDlgItemTextA(dialog, 4242, "x"));
        EXPECT_EQ(GetLastError(), static_cast<DWORD>(ERROR_CONTROL_ID_NOT_FOUND));
        SetLastError(kUntouched);
        EXPECT_FALSE(CheckDlgButton(dialog, 4242, BST_CHECKED));
        EXPECT_EQ(GetLastError(), static_cast<DWORD>(ERROR_CONTROL_ID_NOT_FOUND));

        SetLastError(kUntouched);
        EXPECT_FALSE(EndDialog(GetDlgItem(dialog, IDOK), 0)) << "a control is not a dialog";
        EXPECT_EQ(GetLastError(), static_cast<DWORD>(ERROR_INVALID_WINDOW_HANDLE));
        SetLastError(kUntouched);
        EXPECT_EQ(SetFocus(kNoSuchWindow), nullptr);
        EXPECT_EQ(GetLastError(), static_cast<DWORD>(ERROR_INVALID_WINDOW_HANDLE));

        // Text is cut to the buffer, always terminated.
        EXPECT_EQ(GetDlgItemTextA(dialog, IDCANCEL, text, 5), 4u);
        EXPECT_STREQ(text, "&Zan");
        EndDialog(dialog, 0);
    });
}

TEST_F(SimulatedDialogTest, ShowEnableAndFocusReportThePreviousState) {
    Show([](HWND dialog) {
        HWND ok = GetDlgItem(dialog, IDOK);
        HWND label = GetDlgItem(dialog, IDC_STATUS_DRIVER);
        EXPECT_TRUE(ShowWindow(label, SW_HIDE));
        EXPECT_FALSE(ShowWindow(label, SW_HIDE));
        EXPECT_FALSE(ShowWindow(label, SW_SHOW));
        EXPECT_TRUE(IsWindowVisible(label));

        EXPECT_EQ(SetFocus(ok), nullptr);
        EXPECT_EQ(GetFocus(), ok);
        EXPECT_FALSE(EnableWindow(ok, FALSE));
        EXPECT_EQ(GetFocus(), nullptr) << "a disabled window loses the focus";
        EXPECT_EQ(SetFocus(ok), nullptr);
        EXPECT_EQ(GetFocus(), nullptr) << "and cannot take it";
        EXPECT_TRUE(EnableWindow(ok, TRUE));
        EXPECT_EQ(SetFocus(ok), nullptr);
        EXPECT_TRUE(ShowWindow(ok, SW_HIDE));
        EXPECT_EQ(GetFocus(), dialog) << "a hidden control gives the focus to its dialog";
        EndDialog(dialog, 0);
    });
}

TEST_F(SimulatedDialogTest, ComboBoxKeepsItemsInOrderAndASelectionWithinThem) {
    Show([](HWND dialog) {
        HWND list = GetDlgItem(dialog, IDC_READER_MODEL);
        EXPECT_EQ(SendMessageA(list, CB_GETCURSEL, 0, 0), CB_ERR);
        EXPECT_EQ(SendMessageA(list, CB_ADDSTRING, 0, reinterpret_cast<LPARAM>("b")), 0);
        EXPECT_EQ(SendMessageA(list, CB_ADDSTRING, 0, reinterpret_cast<LPARAM>("a")), 1);
        EXPECT_EQ(SendMessageA(list, CB_GETCOUNT, 0, 0), 2);
        EXPECT_EQ(SendMessageA(list, CB_SETCURSEL, 1, 0), 1);
        EXPECT_EQ(SendMessageA(list, CB_GETCURSEL, 0, 0), 1);
        char text[8];
        EXPECT_EQ(SendMessageA(list, CB_GETLBTEXTLEN, 1, 0), 1);
        EXPECT_EQ(SendMessageA(list, CB_GETLBTEXT, 1, reinterpret_cast<LPARAM>(text)), 1);
        EXPECT_STREQ(text, "a");
        EXPECT_EQ(SendMessageA(list, CB_GETLBTEXT, 2, reinterpret_cast<LPARAM>(text)), CB_ERR);
        // Out of range or -1: no selection.
        for (int index : {2, -1}) {
            SendMessageA(list, CB_SETCURSEL, 1, 0);
            EXPECT_EQ(SendMessageA(list, CB_SETCURSEL, index, 0), CB_ERR) << index;
            EXPECT_EQ(SendMessageA(list, CB_GETCURSEL, 0, 0), CB_ERR) << index;
        }
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

TEST_F(SimulatedDialogTest, SystemCursorsAreSharedAndSetCursorReturnsThePreviousOne) {
    HCURSOR arrow = LoadCursorA(nullptr, IDC_ARROW);
    HCURSOR wait = LoadCursorA(nullptr, IDC_WAIT);
    ASSERT_NE(arrow, nullptr);
    ASSERT_NE(wait, nullptr);
    EXPECT_NE(arrow, wait);
    EXPECT_EQ(LoadCursorA(nullptr, IDC_WAIT), wait);
    EXPECT_EQ(GetCursor(), arrow);
    EXPECT_EQ(SetCursor(wait), arrow);
    EXPECT_EQ(SetCursor(nullptr), wait);
    EXPECT_EQ(GetCursor(), nullptr);

    SetLastError(kUntouched);
    EXPECT_EQ(LoadCursorA(reinterpret_cast<HINSTANCE>(0x400000), IDC_WAIT), nullptr);
    EXPECT_EQ(GetLastError(), static_cast<DWORD>(ERROR_RESOURCE_TYPE_NOT_FOUND));
    SetLastError(kUntouched);
    EXPECT_EQ(LoadCursorA(nullptr, MAKEINTRESOURCEA(1)), nullptr);
    EXPECT_EQ(GetLastError(), static_cast<DWORD>(ERROR_RESOURCE_NAME_NOT_FOUND));
}

} // namespace
