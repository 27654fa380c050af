// The dialog's user on the simulated machine: the machine hands the shown
// dialog to the user itself.
#include "platform/sim/sim_machine.h"
#include "res/resource.h"
#include "support/dialog_user.h"

namespace scratch {

INT_PTR ShowDialog(DLGPROC procedure, LPARAM initParam, const std::function<void(HWND dialog)> &user) {
    sim::SetDialogUser(user);
    INT_PTR result = DialogBoxParamA(nullptr, MAKEINTRESOURCEA(IDD_INSTALLER), nullptr, procedure, initParam);
    sim::SetDialogUser(nullptr);
    return result;
}

} // namespace scratch
