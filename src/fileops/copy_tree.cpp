#include "fileops/copy_tree.h"

#include "fileops/bounded_text.h"
#include "fileops/copy_file_guarded.h"
#include "fileops/tree_paths.h"
#include "platform/win32.h"

namespace {

void Record(char *failingPath, const char *path) {
    if (failingPath) CopyText(failingPath, kPathCapacity, path);
}

CopyOutcome CopyFolderEntry(const TreePattern &pattern, const char *targetFolder, const char *name, char *failingPath) {
    char targetSubfolder[kPathCapacity];
    if (!EntryPath(targetSubfolder, targetFolder, name)) {
        Record(failingPath, targetSubfolder);
        return kCopyFolderNotCreated;
    }
    if (!CreateDirectoryA(targetSubfolder, nullptr) && GetLastError() != ERROR_ALREADY_EXISTS) {
        Record(failingPath, targetSubfolder);
        return kCopyFolderNotCreated;
    }
    char subfolderPattern[kPathCapacity];
    // A cut pattern would search some other folder: count it as a search that cannot start.
    if (!SubfolderPattern(subfolderPattern, pattern, name)) {
        if (failingPath) failingPath[0] = '\0';
        return kCopySearchFailed;
    }
    return CopyTree(subfolderPattern, targetSubfolder, 1, failingPath);
}

CopyOutcome CopyFileEntry(const TreePattern &pattern, const char *targetFolder, const char *name, char *failingPath) {
    char sourceFile[kPathCapacity];
    char targetFile[kPathCapacity];
    bool sourceWhole = EntryPath(sourceFile, pattern.directoryPart, name);
    bool targetWhole = EntryPath(targetFile, targetFolder, name);
    CopyOutcome outcome = sourceWhole && targetWhole ? CopyFileGuarded(sourceFile, targetFile, 0) : kCopyCannotInspect;
    if (outcome != kCopyDone) Record(failingPath, sourceFile);
    return outcome;
}

} // namespace

CopyOutcome CopyTree(const char *pattern, const char *targetFolder, int recurse, char *failingPath) {
    if (failingPath) failingPath[0] = '\0';

    // The last component is the wildcard used again in every subfolder. A
    // pattern whose folder cannot be named whole would search some other one.
    TreePattern split;
    if (!SplitTreePattern(pattern, &split)) return kCopySearchFailed;

    WIN32_FIND_DATAA entry;
    HANDLE search = FindFirstFileA(pattern, &entry);
    if (search == INVALID_HANDLE_VALUE) return kCopySearchFailed;

    CopyOutcome outcome = kCopyDone;
    do {
        if (IsDotEntry(entry.cFileName)) continue;
        if (entry.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY) {
            if (!recurse) continue;
            outcome = CopyFolderEntry(split, targetFolder, entry.cFileName, failingPath);
        } else {
            outcome = CopyFileEntry(split, targetFolder, entry.cFileName, failingPath);
        }
    } while (outcome == kCopyDone && FindNextFileA(search, &entry));

    if (outcome == kCopyDone && GetLastError() != ERROR_NO_MORE_FILES) outcome = kCopySearchFailed;
    FindClose(search);
    return outcome;
}
