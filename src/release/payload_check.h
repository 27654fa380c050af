// The distribution folder checked against the manifest before a mode changes
// anything: a file that is not the release's stops the run before it starts.
#pragma once

#include "fileops/join_path.h"

// Checks the package folders named (relative to the current directory, the
// distribution folder; "msie", "Drivers"): every manifest file in them must
// hash as the manifest says, and every file in them must be a manifest file.
// A manifest file that is missing is passed over: the step that needs it
// reports it, as it always did. Each file that differs, cannot be read or is
// not in the manifest is logged; false then, with the first one's path in
// firstOffender (kPathCapacity characters).
bool CheckPayloadFolders(const char *const *folders, int count, char *firstOffender);
