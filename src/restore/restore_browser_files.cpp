#include "fileops/directory_path.h"
#include "restore/restore_file.h"
#include "restore/restore_parts.h"
#include "steps/netscape_registry.h"

namespace {

const char kIeFolder[] = "java\\lib";
const char kIeTree[] = "msie\\ocf\\*";
const char kNetscapeTree[] = "ns\\jars\\*";
const char kNetscapeLibrary[] = "ns\\ocfpcsc1.dll";
const char kNetscapeProperties[] = "ns\\opencard.properties";

void RestoreProfiles(const NetscapePaths &paths, RestoreReport *report) {
    WIN32_FIND_DATAA entry;
    HANDLE search = FindFirstFileA(paths.profilesPattern, &entry);
    if (search == INVALID_HANDLE_VALUE) return;
    do {
        char target[kPathCapacity];
        if (IsProfileFolder(entry) && ProfilePropertiesFile(target, paths, entry.cFileName))
            RemoveIfInstallers(target, kNetscapeProperties, RestoreNote::KeptChanged, report);
    } while (FindNextFileA(search, &entry));
    DWORD error = GetLastError();
    if (error != ERROR_NO_MORE_FILES) NoteRestore(report, RestoreNote::NotSearched, paths.profilesPattern, error);
    /* result not examined: */ FindClose(search);
}

} // namespace

void RestoreIeFiles(RestoreReport *report) {
    char folder[kPathCapacity];
    // Without the folder the installation copied nothing there.
    if (PathInDirectory(GetWindowsDirectoryA, folder, kIeFolder) && IsFolder(folder))
        RemoveTreeCopies(kIeTree, folder, report);
}

void RestoreNetscapeFiles(RestoreReport *report) {
    NetscapePaths paths;
    if (!FindInstalledNetscape(&paths)) return;
    if (IsFolder(paths.classesFolder)) RemoveTreeCopies(kNetscapeTree, paths.classesFolder, report);
    RemoveIfInstallers(paths.libraryFile, kNetscapeLibrary, RestoreNote::KeptChanged, report);
    RestoreProfiles(paths, report);
}
