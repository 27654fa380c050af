// The main dialog: component and reader choice, the installation run, its
// status labels and details report, and the details toggle.
#pragma once

#include "app/install_steps.h"
#include "platform/win32.h"

INT_PTR CALLBACK InstallerDialogProc(HWND dialog, UINT message, WPARAM wParam, LPARAM lParam);

// The install steps as the Install command reaches them.
struct InstallStepTable {
    int (*removeOldOcf)(char *message, int capacity);
    StepResult (*installIeComponents)(char *message, int capacity);
    StepResult (*installNetscapeComponents)(char *message, int capacity);
    StepResult (*installJavaPluginComponents)(char *message, int capacity);
    StepResult (*installReaderDriver)(int driverCode, char *message, int capacity);
};

// The real entry points, which the dialog uses unless told otherwise.
extern const InstallStepTable kInstallSteps;

// Makes the dialog run these steps from now on (tests give each step the
// result they need).
void UseInstallSteps(const InstallStepTable &table);
