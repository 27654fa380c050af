// Showing the installer's dialog 101 modally and acting on it as its user,
// on the simulated machine or on Windows itself.
#pragma once

#include <functional>

#include "platform/win32.h"

namespace scratch {

// Shows dialog 101 with this dialog procedure and initialisation value, then
// runs `user` on it while it is shown (after WM_INITDIALOG, inside the modal
// loop). The user must end the dialog. Returns DialogBoxParamA's result.
INT_PTR ShowDialog(DLGPROC procedure, LPARAM initParam, const std::function<void(HWND dialog)> &user);

} // namespace scratch
