#include "fileops/copy_tree.h"

#include <cstring>

#include "fileops/bounded_text.h"
#include "fileops/copy_file_guarded.h"
#include "fileops/join_path.h"
#include "platform/win32.h"

namespace {

// base, then name joined to it; false when either had to be cut, since a cut
// path names some other file or folder.
bool BuildPath(char *path, const char *base, const char *name) {
    bool whole = CopyText(path, kPathCapacity, base);
    return JoinPath(path, name) && whole;
}

void Record(char *failingPath, const char *path) {
    if (failingPath) CopyText(failingPath, kPathCapacity, path);
}

bool IsDotEntry(const char *name) { return std::strcmp(name, ".") == 0 || std::strcmp(name, "..") == 0; }

CopyOutcome CopyFolderEntry(const char *directoryPart, const char *lastComponent, const char *targetFolder,
                            const char *name, char *failingPath) {
    char targetSubfolder[kPathCapacity];
    if (!BuildPath(targetSubfolder, targetFolder, name)) {
        Record(failingPath, targetSubfolder);
        return kCopyFolderNotCreated;
    }
    if (!CreateDirectoryA(targetSubfolder, nullptr) && GetLastError() != ERROR_ALREADY_EXISTS) {
        Record(failingPath, targetSubfolder);
        return kCopyFolderNotCreated;
    }
    char subfolderPattern[kPathCapacity];
    // A cut pattern would search some other folder: count it as a search that cannot start.
    if (!BuildPath(subfolderPattern, directoryPart, name) || !JoinPath(subfolderPattern, lastComponent)) {
        if (failingPath) failingPath[0] = '\0';
        return kCopySearchFailed;
    }
    return CopyTree(subfolderPattern, targetSubfolder, 1, failingPath);
}

CopyOutcome CopyFileEntry(const char *directoryPart, const char *targetFolder, const char *name, char *failingPath) {
    char sourceFile[kPathCapacity];
    char targetFile[kPathCapacity];
    bool sourceWhole = BuildPath(sourceFile, directoryPart, name);
    bool targetWhole = BuildPath(targetFile, targetFolder, name);
    CopyOutcome outcome = sourceWhole && targetWhole ? CopyFileGuarded(sourceFile, targetFile, 0) : kCopyCannotInspect;
    if (outcome != kCopyDone) Record(failingPath, sourceFile);
    return outcome;
}

} // namespace

CopyOutcome CopyTree(const char *pattern, const char *targetFolder, int recurse, char *failingPath) {
    if (failingPath) failingPath[0] = '\0';

    WIN32_FIND_DATAA entry;
    HANDLE search = FindFirstFileA(pattern, &entry);
    if (search == INVALID_HANDLE_VALUE) return kCopySearchFailed;

    // The pattern's directory part keeps its final backslash; the last
    // component is the wildcard used again in every subfolder.
    const char *lastComponent = std::strrchr(pattern, '\\');
    lastComponent = lastComponent ? lastComponent + 1 : pattern;
    char directoryPart[kPathCapacity];
    CopyText(directoryPart, sizeof directoryPart, pattern);
    size_t directoryLength = static_cast<size_t>(lastComponent - pattern);
    if (directoryLength < sizeof directoryPart) directoryPart[directoryLength] = '\0';

    CopyOutcome outcome = kCopyDone;
    do {
        if (IsDotEntry(entry.cFileName)) continue;
        if (entry.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY) {
            if (!recurse) continue;
            outcome = CopyFolderEntry(directoryPart, lastComponent, targetFolder, entry.cFileName, failingPath);
        } else {
            outcome = CopyFileEntry(directoryPart, targetFolder, entry.cFileName, failingPath);
        }
    } while (outcome == kCopyDone && FindNextFileA(search, &entry));

    if (outcome == kCopyDone && GetLastError() != ERROR_NO_MORE_FILES) outcome = kCopySearchFailed;
    FindClose(search);
    return outcome;
}
