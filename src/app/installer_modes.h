// The two ways a run is made: with the user at the screen, or unattended.
// Both run the same steps through RunInstallation.
#pragma once

#include "app/install_run.h"
#include "platform/win32.h"

// The caption of every message box of the installer's own (the welcome
// prompt, the restore's prompt and report, the command line's notices).
extern const char kInstallerCaption[];

// Tells the user at the screen that a file of the distribution folder is not
// the release's, so nothing was done.
void TellPayloadRefused(HWND owner, const char *file);

// The welcome prompt, then the main dialog, opened with these choices or,
// for nullptr, with its defaults. Returns the exit code (kExitInteractive).
int RunInteractive(HINSTANCE instance, const InstallChoices *preset);

// The run at once, with no window of any kind; every conflict keeps its
// target and counts as a failed copy, and the driver installer is waited
// for. Returns the exit code.
int RunUnattended(const InstallChoices &choices);
