// A path in a folder that Windows names (its own folder, the system folder).
#pragma once

#include "fileops/join_path.h"
#include "platform/win32.h"

// The folder the query names, with name joined to it, in a kPathCapacity
// buffer. False when the query fails, names a folder too long for the
// buffer, or the path would be cut: then it names nothing usable.
bool PathInDirectory(UINT(WINAPI *query)(LPSTR, UINT), char *path, const char *name);
