// The one header through which the installer reaches Windows.
//
// The Windows build gets the real <windows.h>. The Linux build gets the same
// names for exactly the subset the installer uses, implemented by the
// simulated machine in sim/, so the core compiles unchanged against both.
#pragma once

#ifdef _WIN32
#include <windows.h>
#else
#include "platform/sim/sim_win32.h"
#endif

// Runs a command text through the command interpreter (the C runtime's
// system) and returns its exit status; -1 when no interpreter could start.
int RunCommand(const char *command);
