// The process's exit codes, as the Windows Installer gives them, so that
// deployment tools read them without being taught.
#pragma once

#include "app/install_run.h"

constexpr int kExitInteractive = 0;       // an interactive run, whatever it did; also /?
constexpr int kExitRestored = 0;          // a restore left nothing of the installer's behind
constexpr int kExitFailed = 1603;         // a chosen step failed or warned, or the run was stopped
constexpr int kExitAnotherRunning = 1618; // another installer is running; nothing was done
constexpr int kExitBadCommandLine = 1639; // nothing was done
constexpr int kExitRestartNeeded = 3010;  // every chosen step succeeded; a restart completes it

// The exit code of an unattended run of these choices.
int UnattendedExitCode(const InstallChoices &choices, const RunOutcome &outcome);
