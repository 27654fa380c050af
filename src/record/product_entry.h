// The product's entry in Programs and Features (the Uninstall key, in the
// registry view the running program writes: Wow6432Node for the 32-bit
// program on 64-bit Windows).
#pragma once

#include "platform/win32.h"

extern const char kProductEntryKey[];

// Writes every value of the entry; the kept copy of the installer is what
// removes the product. False with the registry's status in error.
bool WriteProductEntry(const char *folder, const char *keptInstaller, DWORD estimatedSizeKb, LONG *error);

// Removes the entry; true when it is gone (or was never there).
bool RemoveProductEntry(LONG *error);

// Whether the entry is there (the check reads, and opens nothing for writing).
bool ProductEntryExists();
