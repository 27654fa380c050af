#include "steps/netscape_paths.h"

#include <cstring>

#include "fileops/bounded_text.h"

namespace {

// base, then component joined to it; false when either had to be cut.
bool BuildPath(char *path, const char *base, const char *component) {
    return CopyText(path, kPathCapacity, base) && JoinPath(path, component);
}

} // namespace

bool FindNetscapePaths(const char *value, size_t size, NetscapePaths *paths) {
    // A value that fills its buffer without a terminator is longer than any path.
    size_t length = BoundedLength(value, size);
    if (length > static_cast<size_t>(kLongestPath)) return false;
    while (length > 0 && value[length - 1] == '\\') --length;

    size_t folderEnd = length;
    while (folderEnd > 0 && value[folderEnd - 1] != '\\') --folderEnd;
    if (folderEnd == 0) return false;

    char installDirectory[kPathCapacity];
    std::memcpy(installDirectory, value, length);
    installDirectory[length] = '\0';
    char holdingFolder[kPathCapacity];
    std::memcpy(holdingFolder, value, folderEnd);
    holdingFolder[folderEnd] = '\0';

    NetscapePaths found;
    if (!BuildPath(found.classesFolder, installDirectory, "Program\\java\\classes") ||
        !BuildPath(found.libraryFile, installDirectory, "Program\\java\\bin\\ocfpcsc1.dll") ||
        !BuildPath(found.profilesFolder, holdingFolder, "Users") ||
        !BuildPath(found.profilesPattern, found.profilesFolder, "*"))
        return false;
    // cppcheck-suppress uninitvar ; every field was filled above, or the function returned
    *paths = found;
    return true;
}

bool ProfilePropertiesFile(char *path, const NetscapePaths &paths, const char *profile) {
    return BuildPath(path, paths.profilesFolder, profile) && JoinPath(path, ".opencard.properties");
}
