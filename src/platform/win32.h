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

// Runs a command line through the command interpreter (the C runtime's
// system), exactly as written, and returns its exit status; -1 when it could
// not be started (no interpreter, or a line too long for one).
int RunCommand(const char *command);
