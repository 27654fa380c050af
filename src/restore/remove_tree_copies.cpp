#include "fileops/tree_paths.h"
#include "restore/restore_file.h"
#include "restore/restore_parts.h"

namespace {

// Paths that cannot be formed whole were never copied to: they are passed over.
void RemoveEntryCopy(const TreePattern &pattern, const char *targetFolder, const WIN32_FIND_DATAA &entry,
                     RestoreReport *report) {
    char target[kPathCapacity];
    if (!EntryPath(target, targetFolder, entry.cFileName)) return;
    if (entry.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY) {
        char subfolderPattern[kPathCapacity];
        if (IsFolder(target) && SubfolderPattern(subfolderPattern, pattern, entry.cFileName))
            RemoveTreeCopies(subfolderPattern, target, report);
        return;
    }
    char source[kPathCapacity];
    if (EntryPath(source, pattern.directoryPart, entry.cFileName))
        RemoveIfInstallers(target, source, RestoreNote::KeptChanged, report);
}

} // namespace

void RemoveTreeCopies(const char *pattern, const char *targetFolder, RestoreReport *report) {
    TreePattern split;
    if (!SplitTreePattern(pattern, &split)) return;
    WIN32_FIND_DATAA entry;
    HANDLE search = FindFirstFileA(pattern, &entry);
    // Without the package's tree nothing can be compared.
    if (search == INVALID_HANDLE_VALUE) {
        NoteRestore(report, RestoreNote::NotSearched, pattern, GetLastError());
        return;
    }
    do {
        if (!IsDotEntry(entry.cFileName)) RemoveEntryCopy(split, targetFolder, entry, report);
    } while (FindNextFileA(search, &entry));
    DWORD error = GetLastError();
    if (error != ERROR_NO_MORE_FILES) NoteRestore(report, RestoreNote::NotSearched, pattern, error);
    /* result not examined: */ FindClose(search);
}
