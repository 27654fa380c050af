// Where a Netscape 4.x installation takes the files the installer adds,
// worked out from its "Install Directory" registry value.
#pragma once

#include <cstddef>

#include "fileops/join_path.h"

// D is the install directory, P the folder that holds it (with its final
// backslash): profiles live beside the browser, in P\Users.
struct NetscapePaths {
    char classesFolder[kPathCapacity];   // D\Program\java\classes
    char libraryFile[kPathCapacity];     // D\Program\java\bin\ocfpcsc1.dll
    char profilesFolder[kPathCapacity];  // P\Users
    char profilesPattern[kPathCapacity]; // P\Users\*
};

// value holds the size bytes that the registry returned, terminated or not;
// its type is not examined. Backslashes at the end of the value are dropped.
// Returns false, filling nothing, when the value names no install directory
// that these paths can be built from: it is empty, holds no backslash (no
// folder holds it, as for a drive root), is longer than a path, or one of
// the paths would have to be cut.
bool FindNetscapePaths(const char *value, size_t size, NetscapePaths *paths);

// profilesFolder\profile\.opencard.properties into a kPathCapacity buffer;
// false when it would have to be cut.
bool ProfilePropertiesFile(char *path, const NetscapePaths &paths, const char *profile);
