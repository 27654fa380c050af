// Copying the files a wildcard pattern matches, and optionally its subfolders.
#pragma once

#include "fileops/copy_outcome.h"

// Copies every file that pattern (such as "ocf\*") matches into targetFolder,
// each through CopyFileGuarded with the compare flag clear. With recurse set,
// matching subfolders are created under the target and walked depth first
// with the same last pattern component. Stops at the first failure; when
// failingPath (kPathCapacity characters, may be null) is given it is emptied
// first and then receives the path that failed.
CopyOutcome CopyTree(const char *pattern, const char *targetFolder, int recurse, char *failingPath);
