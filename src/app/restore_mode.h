// The restore (/RESTORE): with the user at the screen, a prompt saying what
// will be undone and a message box with what was; unattended, no window and
// the exit code alone.
#pragma once

// Returns the exit code: kExitInteractive for a run at the screen, as an
// installation; unattended, kExitRestored when nothing of the installer's is
// left (nothing to undo included) and kExitFailed when something could not
// be undone (the log says what and why).
int RunRestore(bool unattended);
