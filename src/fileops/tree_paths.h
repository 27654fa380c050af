// The paths a tree copy builds for the entries of one folder, each in a
// kPathCapacity buffer and each refused rather than cut, since a cut path
// names some other file or folder.
#pragma once

#include "fileops/join_path.h"

// A wildcard pattern such as "ocf\*", split at its last backslash.
struct TreePattern {
    char directoryPart[kPathCapacity]; // up to and including the last backslash; empty when there is none
    const char *lastComponent;         // the rest, within the pattern; used again in every subfolder
};

// Splits pattern; false when its directory part is longer than a path.
bool SplitTreePattern(const char *pattern, TreePattern *split);

// base joined with an entry's name: a file's source (the directory part and
// the name) or any entry's target (the target folder and the name).
bool EntryPath(char *path, const char *base, const char *name);

// The pattern that walks the subfolder name: directory part, name, last component.
bool SubfolderPattern(char *path, const TreePattern &pattern, const char *name);

// The entries "." and ".." that a search lists in every folder but a root.
bool IsDotEntry(const char *name);
