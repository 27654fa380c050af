// The dialog's user on Windows. A modal dialog is shown only once its message
// queue first runs empty, so the user acts from a timer (timer messages come
// only when nothing else is waiting) as soon as the dialog is visible.
#include <windows.h>

#include "res/resource.h"
#include "support/dialog_user.h"

namespace scratch {
namespace {

const UINT_PTR kUserTimer = 0x5345;
const UINT kUserTimerIntervalMs = 20;

DLGPROC testProcedure = nullptr;
std::function<void(HWND)> dialogUser;

INT_PTR CALLBACK UserProcedure(HWND dialog, UINT message, WPARAM wParam, LPARAM lParam) {
    if (message == WM_TIMER && wParam == kUserTimer) {
        if (IsWindowVisible(dialog)) {
            KillTimer(dialog, kUserTimer);
            dialogUser(dialog);
        }
        return TRUE;
    }
    INT_PTR result = testProcedure(dialog, message, wParam, lParam);
    if (message == WM_INITDIALOG) SetTimer(dialog, kUserTimer, kUserTimerIntervalMs, nullptr);
    return result;
}

} // namespace

INT_PTR ShowDialog(DLGPROC procedure, LPARAM initParam, const std::function<void(HWND dialog)> &user) {
    testProcedure = procedure;
    dialogUser = user;
    INT_PTR result =
        DialogBoxParamA(GetModuleHandleA(nullptr), MAKEINTRESOURCEA(IDD_INSTALLER), nullptr, UserProcedure, initParam);
    dialogUser = nullptr;
    return result;
}

} // namespace scratch
