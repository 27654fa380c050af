// How the user-interface calls behave on the installer's dialog 101, in the
// style of Wine's conformance tests. The same tests run against the
// simulated machine and, in the Windows build, against Windows itself (here:
// Wine), which is what lets the simulated dialog be trusted.
#include <cstdlib>
#include <string>
#include <vector>

#include "res/resource.h"
#include "support/dialog_user.h"
#include "support/scratch_machine.h"

namespace {

const DWORD kUntouched = 0xdeadbeef;
const int kNoSuchControl = 4242;
const int kScreenWidth = 1024; // the test display's

struct Message {
    UINT message;
    WPARAM wParam;
    LPARAM lParam;
};

// A dialog procedure that records what it gets and answers WM_INITDIALOG as
// the test says.
std::vector<Message> received;
INT_PTR initDialogResult = FALSE;
bool visibleDuringInit = false;

INT_PTR CALLBACK RecordingProc(HWND dialog, UINT message, WPARAM wParam, LPARAM lParam) {
    if (message != WM_INITDIALOG && message != WM_COMMAND) return FALSE;
    received.push_back({message, wParam, lParam});
    if (message == WM_INITDIALOG) {
        visibleDuringInit = IsWindowVisible(dialog) != FALSE;
        SetFocus(GetDlgItem(dialog, IDCANCEL));
        return initDialogResult;
    }
    return FALSE;
}

std::string Text(HWND window) {
    char text[256];
    GetWindowTextA(window, text, sizeof text);
    return text;
}

RECT Rect(HWND window) {
    RECT rect;
    GetWindowRect(window, &rect);
    return rect;
}

class DialogApiTest : public ScratchTest {
  protected:
    void SetUp() override {
        ScratchTest::SetUp();
        received.clear();
        initDialogResult = FALSE;
    }
    void TearDown() override {
        EXPECT_EQ(scratch::OpenHandleCount(), 0);
        ScratchTest::TearDown();
    }
};

TEST_F(DialogApiTest, InitDialogOffersTheFirstTabStopBeforeTheDialogIsShown) {
    struct Case {
        INT_PTR initResult;
        int focused; // the control with the focus once the dialog runs
    } cases[] = {{FALSE, IDCANCEL}, {TRUE, IDC_CHK_DRIVER}};
    for (const Case &c : cases) {
        received.clear();
        initDialogResult = c.initResult;
        visibleDuringInit = true;
        INT_PTR result = scratch::ShowDialog(RecordingProc, 0x1234, [&](HWND dialog) {
            EXPECT_TRUE(IsWindowVisible(dialog));
            ASSERT_FALSE(received.empty());
            EXPECT_EQ(received[0].message, static_cast<UINT>(WM_INITDIALOG));
            EXPECT_EQ(received[0].wParam, reinterpret_cast<WPARAM>(GetDlgItem(dialog, IDC_CHK_DRIVER)));
            EXPECT_EQ(received[0].lParam, 0x1234);
            EXPECT_EQ(GetFocus(), GetDlgItem(dialog, c.focused)) << c.initResult;
            EndDialog(dialog, 42);
        });
        EXPECT_EQ(result, 42);
        EXPECT_FALSE(visibleDuringInit);
    }
}

TEST_F(DialogApiTest, TemplateGivesCaptionsInWindows1250AndTheLayoutItsBehaviourNeeds) {
    scratch::ShowDialog(RecordingProc, 0, [](HWND dialog) {
        char text[128];
        // The template stores the group box's id -1 in 16 bits.
        EXPECT_EQ(GetDlgItemTextA(dialog, 0xFFFF, text, sizeof text), 21u);
        EXPECT_STREQ(text, "Instalowane składniki");
        EXPECT_EQ(Text(GetDlgItem(dialog, IDOK)), "In&staluj");
        EXPECT_EQ(Text(dialog), "") << "no caption in the template";
        EXPECT_FALSE(IsWindowVisible(GetDlgItem(dialog, IDC_CHK_IE)));
        EXPECT_FALSE(IsWindowEnabled(GetDlgItem(dialog, IDC_CHK_IE)));

        // Centred across the screen; the details panel is the lowest control,
        // so a window cut at its top edge shows every other one.
        RECT window = Rect(dialog);
        EXPECT_LE(std::abs(window.left + window.right - kScreenWidth), 1);
        LONG panelTop = Rect(GetDlgItem(dialog, IDC_DETAILS)).top;
        for (int id : {IDC_CHK_JAVA, IDC_STATUS_JAVA, IDOK, IDCANCEL})
            EXPECT_LT(Rect(GetDlgItem(dialog, id)).bottom, panelTop) << id;
        // The driver's label lies within the reader list's area.
        RECT label = Rect(GetDlgItem(dialog, IDC_STATUS_DRIVER));
        RECT list = Rect(GetDlgItem(dialog, IDC_READER_MODEL));
        EXPECT_GE(label.left, list.left);
        EXPECT_GE(label.top, list.top);
        EndDialog(dialog, 0);
    });
}

TEST_F(DialogApiTest, WindowCallsFailOnUnknownWindowsAndControls) {
    scratch::ShowDialog(RecordingProc, 0, [](HWND dialog) {
        // Windows sets ERROR_CONTROL_ID_NOT_FOUND here, Wine leaves the error
        // alone: only the simulation's own tests check it.
        EXPECT_EQ(GetDlgItem(dialog, kNoSuchControl), nullptr);
        EXPECT_FALSE(SetDlgItemTextA(dialog, kNoSuchControl, "x"));
        EXPECT_EQ(IsDlgButtonChecked(dialog, kNoSuchControl), static_cast<UINT>(BST_UNCHECKED));
        EXPECT_FALSE(EndDialog(GetDlgItem(dialog, IDOK), 0)) << "a control is not a dialog";
        EndDialog(dialog, 0);
    });
    HWND stale = nullptr;
    scratch::ShowDialog(RecordingProc, 0, [&](HWND dialog) {
        stale = dialog;
        EndDialog(dialog, 0);
    });
    char text[8] = "xxxxxxx";
    SetLastError(kUntouched);
    EXPECT_EQ(GetWindowTextA(stale, text, sizeof text), 0) << "the dialog is destroyed";
    EXPECT_EQ(GetLastError(), static_cast<DWORD>(ERROR_INVALID_WINDOW_HANDLE));
    EXPECT_STREQ(text, "");
    SetLastError(kUntouched);
    EXPECT_EQ(SetFocus(stale), nullptr);
    EXPECT_EQ(GetLastError(), static_cast<DWORD>(ERROR_INVALID_WINDOW_HANDLE));
}

TEST_F(DialogApiTest, TextIsCutToTheBufferAndAlwaysTerminated) {
    scratch::ShowDialog(RecordingProc, 0, [](HWND dialog) {
        char text[5];
        EXPECT_EQ(GetDlgItemTextA(dialog, IDCANCEL, text, sizeof text), 4u);
        EXPECT_STREQ(text, "&Zan");
        SetDlgItemTextA(dialog, IDC_STATUS_JAVA, "BŁĄD");
        EXPECT_EQ(GetDlgItemTextA(dialog, IDC_STATUS_JAVA, text, sizeof text), 4u);
        EXPECT_STREQ(text, "BŁĄD");
        EndDialog(dialog, 0);
    });
}

TEST_F(DialogApiTest, ShowEnableAndFocusReportThePreviousState) {
    scratch::ShowDialog(RecordingProc, 0, [](HWND dialog) {
        HWND ok = GetDlgItem(dialog, IDOK);
        HWND label = GetDlgItem(dialog, IDC_STATUS_DRIVER);
        EXPECT_TRUE(ShowWindow(label, SW_HIDE));
        EXPECT_FALSE(ShowWindow(label, SW_HIDE));
        EXPECT_FALSE(ShowWindow(label, SW_SHOW));
        EXPECT_TRUE(IsWindowVisible(label));

        EXPECT_EQ(SetFocus(ok), GetDlgItem(dialog, IDCANCEL));
        EXPECT_EQ(GetFocus(), ok);
        EXPECT_FALSE(EnableWindow(ok, FALSE));
        EXPECT_EQ(GetFocus(), nullptr) << "a disabled window loses the focus";
        EXPECT_EQ(SetFocus(ok), nullptr);
        EXPECT_EQ(GetFocus(), nullptr) << "and cannot take it";
        EXPECT_TRUE(EnableWindow(ok, TRUE));
        SetFocus(ok);
        EXPECT_TRUE(ShowWindow(ok, SW_HIDE));
        EXPECT_EQ(GetFocus(), GetDlgItem(dialog, IDC_CHK_DRIVER)) << "by way of the dialog, to its first tab stop";
        EndDialog(dialog, 0);
    });
}

TEST_F(DialogApiTest, ComboBoxKeepsItemsInOrderAndASelectionWithinThem) {
    scratch::ShowDialog(RecordingProc, 0, [](HWND dialog) {
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
        // -1 clears the selection. An index past the end fails too; whether
        // it clears the selection differs (Windows documents it does, Wine
        // keeps it), so only the simulation's own tests check that.
        EXPECT_EQ(SendMessageA(list, CB_SETCURSEL, 2, 0), CB_ERR);
        SendMessageA(list, CB_SETCURSEL, 1, 0);
        EXPECT_EQ(SendMessageA(list, CB_SETCURSEL, -1, 0), CB_ERR);
        EXPECT_EQ(SendMessageA(list, CB_GETCURSEL, 0, 0), CB_ERR);
        EndDialog(dialog, 0);
    });
}

TEST_F(DialogApiTest, ProgramsClickOnADisabledCheckBoxStillCounts) {
    scratch::ShowDialog(RecordingProc, 0, [](HWND dialog) {
        HWND box = GetDlgItem(dialog, IDC_CHK_DRIVER);
        EnableWindow(box, FALSE);
        received.clear();
        SendMessageA(box, BM_CLICK, 0, 0);
        EXPECT_EQ(IsDlgButtonChecked(dialog, IDC_CHK_DRIVER), static_cast<UINT>(BST_CHECKED));
        ASSERT_EQ(received.size(), 1u);
        EXPECT_EQ(received[0].wParam, MAKEWPARAM(IDC_CHK_DRIVER, BN_CLICKED));
        EXPECT_EQ(received[0].lParam, reinterpret_cast<LPARAM>(box));
        EndDialog(dialog, 0);
    });
}

TEST_F(DialogApiTest, UnknownTemplateFails) {
    SetLastError(kUntouched);
    EXPECT_EQ(DialogBoxParamA(nullptr, MAKEINTRESOURCEA(102), nullptr, RecordingProc, 0), -1);
    EXPECT_EQ(GetLastError(), static_cast<DWORD>(ERROR_RESOURCE_NAME_NOT_FOUND));
}

TEST_F(DialogApiTest, SystemCursorsAreSharedAndSetCursorReturnsThePreviousOne) {
    HCURSOR arrow = LoadCursorA(nullptr, IDC_ARROW);
    HCURSOR wait = LoadCursorA(nullptr, IDC_WAIT);
    ASSERT_NE(arrow, nullptr);
    ASSERT_NE(wait, nullptr);
    EXPECT_NE(arrow, wait);
    EXPECT_EQ(LoadCursorA(nullptr, IDC_WAIT), wait);
    HCURSOR before = SetCursor(wait);
    EXPECT_EQ(GetCursor(), wait);
    EXPECT_EQ(SetCursor(arrow), wait);
    EXPECT_EQ(SetCursor(before), arrow);
}

} // namespace
