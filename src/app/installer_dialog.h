// The main dialog: component and reader choice, the installation run, its
// status labels and details report, and the details toggle.
#pragma once

#include "app/install_run.h"
#include "platform/win32.h"

// The dialog's initialisation value (DialogBoxParamA's last argument): a
// pointer to the InstallChoices it opens with, or 0 for DefaultChoices().
INT_PTR CALLBACK InstallerDialogProc(HWND dialog, UINT message, WPARAM wParam, LPARAM lParam);
