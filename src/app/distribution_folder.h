// The distribution folder is the one that holds the running installer: a
// shortcut or a deployment tool may start it from anywhere, and every step
// finds its package folders relative to the current directory.
#pragma once

#include "fileops/join_path.h"
#include "platform/win32.h"

// Makes the executable's folder the current directory, and takes the
// current directory out of the search for libraries where Windows can
// (SetDllDirectoryA, XP SP1 and later), so that no DLL placed beside the
// installer is loaded. `folder` (kPathCapacity bytes) receives the folder's
// path. Returns ERROR_SUCCESS, or the Windows error code of why the folder
// cannot be named whole or entered.
DWORD EnterDistributionFolder(char *folder);
