// The simulated user interface: the installer's modal dialog built from its
// template, its controls, the keyboard focus and the cursor.
#include <algorithm>
#include <cstring>
#include <map>

#include "platform/sim/sim_internal.h"
#include "platform/sim/sim_machine.h"
#include "res/dialog_controls.h"

namespace sim {
namespace {

// Styles the behaviour depends on; not used by the installer, so not in the
// declared subset.
const DWORD kVisible = 0x10000000;    // WS_VISIBLE
const DWORD kDisabled = 0x08000000;   // WS_DISABLED
const DWORD kTabStop = 0x00010000;    // WS_TABSTOP
const DWORD kButtonKind = 0x0000000F; // BS_TYPEMASK
const DWORD kAutoCheckBox = 0x00000003;
const DWORD kGroupBox = 0x00000007;

// MS Sans Serif 8 at 96 dpi averages 6 pixels wide and 13 high; a dialog
// unit is a quarter of the one and an eighth of the other.
const int kBaseUnitX = 6;
const int kBaseUnitY = 13;
const int kUnitsPerBaseX = 4;
const int kUnitsPerBaseY = 8;
// The classic theme's dialog frame and caption bar (SM_CXDLGFRAME, SM_CYCAPTION).
const int kFrameWidth = 3;
const int kCaptionHeight = 19;

// System cursors are shared: every LoadCursorA of one gives the same handle.
const ULONG_PTR kArrowCursorId = 32512;
const ULONG_PTR kWaitCursorId = 32514;
HCURSOR const kArrowCursor = reinterpret_cast<HCURSOR>(0x10003);
HCURSOR const kWaitCursor = reinterpret_cast<HCURSOR>(0x10007);

struct ControlTemplate {
    int id;
    WORD classAtom;
    const char *caption;
    int x, y, width, height;
    DWORD style;
};

#define SIM_CONTROL(id, classAtom, caption, x, y, width, height, style)                                                \
    {id, classAtom, caption, x, y, width, height, style},
const ControlTemplate kInstallerControls[] = {INSTALLER_DIALOG_CONTROLS(SIM_CONTROL)};
#undef SIM_CONTROL

struct Window {
    HWND dialog = nullptr; // the dialog a control lies in; null for a dialog
    int id = 0;
    WORD classAtom = 0;
    DWORD style = 0;
    std::string text;
    RECT rect{}; // a dialog's on the screen, a control's in its dialog's client area
    UINT check = BST_UNCHECKED;
    std::vector<std::string> items;
    int selection = CB_ERR;
};

struct Dialog {
    DLGPROC procedure = nullptr;
    std::vector<HWND> controls;
    bool ended = false;
    INT_PTR result = 0;
};

struct Screen {
    std::map<HWND, Window> windows;
    std::map<HWND, Dialog> dialogs;
    std::vector<DialogCall> calls;
    std::function<void(HWND)> user;
    HWND focus = nullptr;
    HCURSOR cursor = kArrowCursor;
    uintptr_t lastWindow = 0x10000;
};

Screen screen;

// Rounded to the nearest pixel, as MulDiv does.
int Pixels(int units, int baseUnit, int unitsPerBase) { return (units * baseUnit + unitsPerBase / 2) / unitsPerBase; }

Window *WindowOf(HWND hwnd) {
    auto it = screen.windows.find(hwnd);
    if (it != screen.windows.end()) return &it->second;
    lastError = ERROR_INVALID_WINDOW_HANDLE;
    return nullptr;
}

Dialog *FindDialog(HWND hwnd) {
    auto it = screen.dialogs.find(hwnd);
    return it == screen.dialogs.end() ? nullptr : &it->second;
}

// A control of the dialog by id. The template stores ids in 16 bits, so the
// statics' -1 is found as 0xFFFF.
HWND FindControl(HWND dialog, int id) {
    Dialog *found = FindDialog(dialog);
    if (!found) return nullptr;
    for (HWND control : found->controls)
        if (screen.windows[control].id == id) return control;
    return nullptr;
}

HWND AddWindow(const Window &window) {
    screen.lastWindow += 4;
    HWND hwnd = reinterpret_cast<HWND>(screen.lastWindow);
    screen.windows[hwnd] = window;
    return hwnd;
}

HWND CreateInstallerDialog(DLGPROC procedure) {
    int width = Pixels(INSTALLER_DIALOG_WIDTH, kBaseUnitX, kUnitsPerBaseX) + 2 * kFrameWidth;
    int height = Pixels(INSTALLER_DIALOG_HEIGHT, kBaseUnitY, kUnitsPerBaseY) + 2 * kFrameWidth + kCaptionHeight;
    Window window;
    window.style = INSTALLER_DIALOG_STYLE;
    // DS_CENTER
    window.rect.left = (kScreenWidth - width) / 2;
    window.rect.top = (kScreenHeight - height) / 2;
    window.rect.right = window.rect.left + width;
    window.rect.bottom = window.rect.top + height;
    HWND dialog = AddWindow(window);

    Dialog &created = screen.dialogs[dialog];
    created.procedure = procedure;
    for (const ControlTemplate &item : kInstallerControls) {
        Window control;
        control.dialog = dialog;
        control.id = static_cast<WORD>(item.id);
        control.classAtom = item.classAtom;
        control.style = item.style;
        control.text = item.caption;
        control.rect.left = Pixels(item.x, kBaseUnitX, kUnitsPerBaseX);
        control.rect.top = Pixels(item.y, kBaseUnitY, kUnitsPerBaseY);
        control.rect.right = control.rect.left + Pixels(item.width, kBaseUnitX, kUnitsPerBaseX);
        control.rect.bottom = control.rect.top + Pixels(item.height, kBaseUnitY, kUnitsPerBaseY);
        created.controls.push_back(AddWindow(control));
    }
    return dialog;
}

void DestroyDialog(HWND dialog) {
    for (HWND control : screen.dialogs[dialog].controls) {
        if (screen.focus == control) screen.focus = nullptr;
        screen.windows.erase(control);
    }
    if (screen.focus == dialog) screen.focus = nullptr;
    screen.windows.erase(dialog);
    screen.dialogs.erase(dialog);
}

// The control that WM_INITDIALOG offers the focus to: the first one the Tab
// key would reach.
HWND FirstTabStop(HWND dialog) {
    for (HWND control : screen.dialogs[dialog].controls) {
        DWORD style = screen.windows[control].style;
        if ((style & kTabStop) && (style & kVisible) && !(style & kDisabled)) return control;
    }
    return nullptr;
}

INT_PTR SendToDialog(HWND dialog, UINT message, WPARAM wParam, LPARAM lParam) {
    INT_PTR handled = screen.dialogs[dialog].procedure(dialog, message, wParam, lParam);
    // The default handling turns the close box into the Cancel command.
    if (!handled && message == WM_CLOSE)
        SendToDialog(dialog, WM_COMMAND, MAKEWPARAM(IDCANCEL, BN_CLICKED),
                     reinterpret_cast<LPARAM>(FindControl(dialog, IDCANCEL)));
    return handled;
}

void ClickButton(HWND button) {
    Window &window = screen.windows[button];
    DWORD kind = window.style & kButtonKind;
    if (kind == kGroupBox) return;
    /* result not examined: */ SetFocus(button);
    if (kind == kAutoCheckBox) window.check = window.check == BST_UNCHECKED ? BST_CHECKED : BST_UNCHECKED;
    SendToDialog(window.dialog, WM_COMMAND, MAKEWPARAM(window.id, BN_CLICKED), reinterpret_cast<LPARAM>(button));
}

LRESULT ComboBoxMessage(Window &combo, UINT message, WPARAM wParam, LPARAM lParam) {
    int index = static_cast<int>(wParam);
    bool listed = index >= 0 && index < static_cast<int>(combo.items.size());
    switch (message) {
    case CB_ADDSTRING: // no CBS_SORT: added at the end
        combo.items.push_back(reinterpret_cast<LPCSTR>(lParam));
        return static_cast<LRESULT>(combo.items.size() - 1);
    case CB_GETCOUNT: return static_cast<LRESULT>(combo.items.size());
    case CB_SETCURSEL: // an index outside the list clears the selection (Wine keeps it)
        combo.selection = listed ? index : CB_ERR;
        return combo.selection;
    case CB_GETCURSEL: return combo.selection;
    case CB_GETLBTEXTLEN: return listed ? static_cast<LRESULT>(combo.items[index].size()) : CB_ERR;
    case CB_GETLBTEXT: // the caller's buffer holds the item, as with Windows
        if (!listed) return CB_ERR;
        std::memcpy(reinterpret_cast<char *>(lParam), combo.items[index].c_str(), combo.items[index].size() + 1);
        return static_cast<LRESULT>(combo.items[index].size());
    }
    return 0;
}

// Whether the user can still act on the control: the dialog runs, and the
// control is shown and enabled.
HWND ReachableControl(HWND dialog, int id) {
    Dialog *found = FindDialog(dialog);
    if (!found || found->ended) return nullptr;
    HWND control = FindControl(dialog, id);
    if (!control || !IsWindowVisible(control) || !IsWindowEnabled(control)) return nullptr;
    return control;
}

bool DialogRuns(HWND dialog) {
    Dialog *found = FindDialog(dialog);
    return found && !found->ended;
}

} // namespace

void ResetDialogs() { screen = Screen{}; }

void SetDialogUser(const std::function<void(HWND dialog)> &user) { screen.user = user; }

const std::vector<DialogCall> &Dialogs() { return screen.calls; }

void Click(HWND dialog, int id) {
    if (HWND button = ReachableControl(dialog, id)) ClickButton(button);
}

void ChooseItem(HWND dialog, int id, int index) {
    HWND combo = ReachableControl(dialog, id);
    if (!combo) return;
    SendMessageA(combo, CB_SETCURSEL, static_cast<WPARAM>(index), 0);
    SendToDialog(dialog, WM_COMMAND, MAKEWPARAM(id, CBN_SELCHANGE), reinterpret_cast<LPARAM>(combo));
}

void PressEscape(HWND dialog) {
    if (DialogRuns(dialog))
        SendToDialog(dialog, WM_COMMAND, MAKEWPARAM(IDCANCEL, BN_CLICKED),
                     reinterpret_cast<LPARAM>(FindControl(dialog, IDCANCEL)));
}

void ClickCloseBox(HWND dialog) {
    if (DialogRuns(dialog)) SendMessageA(dialog, WM_CLOSE, 0, 0);
}

} // namespace sim

INT_PTR DialogBoxParamA(HINSTANCE instance, LPCSTR templateName, HWND owner, DLGPROC dialogProc, LPARAM initParam) {
    if (owner && !sim::WindowOf(owner)) return 0;
    if (reinterpret_cast<ULONG_PTR>(templateName) != IDD_INSTALLER || !dialogProc) {
        SetLastError(ERROR_RESOURCE_NAME_NOT_FOUND);
        return -1;
    }
    HWND dialog = sim::CreateInstallerDialog(dialogProc);
    size_t call = sim::screen.calls.size();
    sim::screen.calls.push_back({instance, owner, initParam, false, 0});
    HWND firstTabStop = sim::FirstTabStop(dialog);
    if (dialogProc(dialog, WM_INITDIALOG, reinterpret_cast<WPARAM>(firstTabStop), initParam))
        /* result not examined: */ SetFocus(firstTabStop);

    sim::screen.windows[dialog].style |= sim::kVisible;
    std::function<void(HWND)> user = sim::screen.user;
    if (!sim::screen.dialogs[dialog].ended && user) user(dialog);

    const sim::Dialog &ended = sim::screen.dialogs[dialog];
    sim::screen.calls[call].ended = ended.ended;
    sim::screen.calls[call].result = ended.result;
    INT_PTR result = ended.ended ? ended.result : -1;
    sim::DestroyDialog(dialog);
    return result;
}

BOOL EndDialog(HWND dialog, INT_PTR result) {
    if (!sim::WindowOf(dialog)) return FALSE;
    sim::Dialog *found = sim::FindDialog(dialog);
    if (!found) return FALSE; // a control, not a dialog: no error, as with Wine
    found->ended = true;
    found->result = result;
    return TRUE;
}

HWND GetDlgItem(HWND dialog, int id) {
    if (!sim::WindowOf(dialog)) return nullptr;
    HWND control = sim::FindControl(dialog, id);
    if (!control) SetLastError(ERROR_CONTROL_ID_NOT_FOUND);
    return control;
}

HWND SetFocus(HWND window) {
    HWND previous = sim::screen.focus;
    if (window) {
        sim::Window *found = sim::WindowOf(window);
        if (!found) return nullptr;
        // A disabled window cannot take the focus, nor can the controls of a
        // disabled dialog.
        if ((found->style & sim::kDisabled) || (found->dialog && !IsWindowEnabled(found->dialog))) return nullptr;
    }
    sim::screen.focus = window;
    return previous;
}

HWND GetFocus() { return sim::screen.focus; }

BOOL SetWindowTextA(HWND window, LPCSTR text) {
    sim::Window *found = sim::WindowOf(window);
    if (!found) return FALSE;
    found->text = text ? text : "";
    return TRUE;
}

int GetWindowTextA(HWND window, LPSTR text, int size) {
    sim::Window *found = sim::WindowOf(window);
    if (size <= 0) return 0;
    if (!found) {
        text[0] = '\0';
        return 0;
    }
    size_t length = std::min(found->text.size(), static_cast<size_t>(size - 1));
    std::memcpy(text, found->text.data(), length);
    text[length] = '\0';
    return static_cast<int>(length);
}

BOOL SetDlgItemTextA(HWND dialog, int id, LPCSTR text) {
    HWND control = GetDlgItem(dialog, id);
    return control ? SetWindowTextA(control, text) : FALSE;
}

UINT GetDlgItemTextA(HWND dialog, int id, LPSTR text, int size) {
    HWND control = GetDlgItem(dialog, id);
    if (!control) {
        if (size > 0) text[0] = '\0';
        return 0;
    }
    return static_cast<UINT>(GetWindowTextA(control, text, size));
}

BOOL GetWindowRect(HWND window, RECT *rect) {
    sim::Window *found = sim::WindowOf(window);
    if (!found) return FALSE;
    *rect = found->rect;
    if (found->dialog) {
        // A control's rectangle follows its dialog's client area.
        const RECT &dialog = sim::screen.windows[found->dialog].rect;
        LONG left = dialog.left + sim::kFrameWidth;
        LONG top = dialog.top + sim::kFrameWidth + sim::kCaptionHeight;
        rect->left += left;
        rect->right += left;
        rect->top += top;
        rect->bottom += top;
    }
    return TRUE;
}

BOOL MoveWindow(HWND window, int x, int y, int width, int height, BOOL) {
    sim::Window *found = sim::WindowOf(window);
    if (!found) return FALSE;
    found->rect = {x, y, x + width, y + height};
    return TRUE;
}

// Succeeds even without the control, as with Wine; GetDlgItem's error stays.
BOOL CheckDlgButton(HWND dialog, int id, UINT check) {
    if (HWND control = GetDlgItem(dialog, id)) sim::screen.windows[control].check = check;
    return TRUE;
}

UINT IsDlgButtonChecked(HWND dialog, int id) {
    HWND control = GetDlgItem(dialog, id);
    return control ? sim::screen.windows[control].check : BST_UNCHECKED;
}

BOOL ShowWindow(HWND window, int command) {
    sim::Window *found = sim::WindowOf(window);
    if (!found) return FALSE;
    BOOL wasVisible = (found->style & sim::kVisible) ? TRUE : FALSE;
    if (command == SW_HIDE) {
        found->style &= ~sim::kVisible;
        // The focus goes to the dialog, which hands it on to its first tab
        // stop.
        if (sim::screen.focus == window) {
            HWND next = sim::FirstTabStop(found->dialog);
            sim::screen.focus = next ? next : found->dialog;
        }
    } else {
        found->style |= sim::kVisible;
    }
    return wasVisible;
}

BOOL IsWindowVisible(HWND window) {
    sim::Window *found = sim::WindowOf(window);
    if (!found || !(found->style & sim::kVisible)) return FALSE;
    return found->dialog ? IsWindowVisible(found->dialog) : TRUE;
}

BOOL EnableWindow(HWND window, BOOL enable) {
    sim::Window *found = sim::WindowOf(window);
    if (!found) return FALSE;
    BOOL wasDisabled = (found->style & sim::kDisabled) ? TRUE : FALSE;
    if (enable) {
        found->style &= ~sim::kDisabled;
    } else {
        found->style |= sim::kDisabled;
        if (sim::screen.focus == window) sim::screen.focus = nullptr;
    }
    return wasDisabled;
}

BOOL IsWindowEnabled(HWND window) {
    sim::Window *found = sim::WindowOf(window);
    return found && !(found->style & sim::kDisabled) ? TRUE : FALSE;
}

LRESULT SendMessageA(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
    sim::Window *found = sim::WindowOf(window);
    if (!found) return 0;
    if (sim::FindDialog(window)) return sim::SendToDialog(window, message, wParam, lParam);
    if (found->classAtom == CONTROL_CLASS_COMBOBOX) return sim::ComboBoxMessage(*found, message, wParam, lParam);
    if (found->classAtom == CONTROL_CLASS_BUTTON && message == BM_CLICK) sim::ClickButton(window);
    return 0;
}

HCURSOR LoadCursorA(HINSTANCE instance, LPCSTR cursorName) {
    // The installer carries no cursors of its own.
    if (instance) {
        SetLastError(ERROR_RESOURCE_TYPE_NOT_FOUND);
        return nullptr;
    }
    ULONG_PTR id = reinterpret_cast<ULONG_PTR>(cursorName);
    if (id == sim::kArrowCursorId) return sim::kArrowCursor;
    if (id == sim::kWaitCursorId) return sim::kWaitCursor;
    SetLastError(ERROR_RESOURCE_NAME_NOT_FOUND);
    return nullptr;
}

HCURSOR SetCursor(HCURSOR cursor) {
    HCURSOR previous = sim::screen.cursor;
    sim::screen.cursor = cursor;
    return previous;
}

HCURSOR GetCursor() { return sim::screen.cursor; }
