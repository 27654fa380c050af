// The check (/CHECK): whether this PC is set up as this release would set it
// up, for the chosen components. It only reads: no lock, no record written,
// no distribution folder needed beyond the expected hashes' source.
#pragma once

#include "app/install_run.h"

constexpr int kExitSetUp = 0;
constexpr int kExitNotSetUp = 1;

// Logs every runtime or file that is missing or differs, and every runtime
// registered after the last installation; with the user at the screen, a
// message box lists them. Returns kExitSetUp or kExitNotSetUp.
int RunCheck(const InstallChoices &choices, bool unattended);
