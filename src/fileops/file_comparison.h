// Comparing two files byte for byte: whether a backup holds the whole file,
// and whether a file is the one the installer put there.
#pragma once

#include "platform/win32.h"

enum class Comparison { Same, Different, Unreadable };

// Unreadable when either file cannot be opened or read (missing, a folder,
// held open by another program); error then says why.
Comparison CompareFiles(const char *first, const char *second, DWORD *error);
