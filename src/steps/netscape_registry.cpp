#include "steps/netscape_registry.h"

#include "fileops/tree_paths.h"

namespace {

const char kBrowserKey[] = "Software\\Netscape\\Netscape Navigator\\Main";
const char kInstallDirectoryValue[] = "Install Directory";

} // namespace

bool FindInstalledNetscape(NetscapePaths *paths) {
    HKEY key;
    if (RegOpenKeyExA(HKEY_CURRENT_USER, kBrowserKey, 0, KEY_ALL_ACCESS, &key) != ERROR_SUCCESS) return false;
    char value[kPathCapacity] = "";
    DWORD size = sizeof value;
    // The value may come back unterminated; only the bytes the query reported are read.
    bool found = RegQueryValueExA(key, kInstallDirectoryValue, nullptr, nullptr, reinterpret_cast<LPBYTE>(value),
                                  &size) == ERROR_SUCCESS &&
                 size <= sizeof value && FindNetscapePaths(value, size, paths);
    /* result not examined: */ RegCloseKey(key);
    return found;
}

bool IsProfileFolder(const WIN32_FIND_DATAA &entry) {
    return !IsDotEntry(entry.cFileName) && entry.dwFileAttributes == FILE_ATTRIBUTE_DIRECTORY;
}
