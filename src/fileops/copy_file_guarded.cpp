#include "fileops/copy_file_guarded.h"

#include <cstring>

#include "fileops/conflict_prompt.h"
#include "fileops/join_path.h"
#include "log/run_log.h"
#include "platform/win32.h"

namespace {

CopyWitness copyWitness = nullptr;

HANDLE OpenForInspection(const char *path) {
    return CreateFileA(path, GENERIC_READ, FILE_SHARE_READ, nullptr, OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL, nullptr);
}

bool SameSizeAndTime(const BY_HANDLE_FILE_INFORMATION &a, const BY_HANDLE_FILE_INFORMATION &b) {
    return a.ftLastWriteTime.dwLowDateTime == b.ftLastWriteTime.dwLowDateTime &&
           a.ftLastWriteTime.dwHighDateTime == b.ftLastWriteTime.dwHighDateTime && a.nFileSizeHigh == b.nFileSizeHigh &&
           a.nFileSizeLow == b.nFileSizeLow;
}

PromptedFile Describe(const char *path, const BY_HANDLE_FILE_INFORMATION &info) {
    PromptedFile file = {path, info.nFileSizeLow, {}};
    /* result not needed: */ FileTimeToSystemTime(&info.ftLastWriteTime, &file.lastWrite);
    return file;
}

void CloseIfOpen(HANDLE file) {
    if (file != INVALID_HANDLE_VALUE) CloseHandle(file);
}

// The log names a source given relative to a package folder in full.
void LogCopy(const char *event, const char *source, const char *target, DWORD error) {
    if (!RunLogOpen()) return;
    char folder[kPathCapacity] = "";
    bool relative = source[0] != '\\' && !(source[0] != '\0' && source[1] == ':');
    if (relative) {
        DWORD length = GetCurrentDirectoryA(sizeof folder, folder);
        if (length == 0 || length >= sizeof folder) folder[0] = '\0';
    }
    const char *separator = folder[0] && folder[std::strlen(folder) - 1] != '\\' ? "\\" : "";
    if (error)
        LogEvent("%s (error %lu): %s%s%s -> %s", event, static_cast<unsigned long>(error), folder, separator, source,
                 target);
    else
        LogEvent("%s: %s%s%s -> %s", event, folder, separator, source, target);
}

} // namespace

void WatchCopies(CopyWitness witness) { copyWitness = witness; }

bool WitnessCopy(const char *source, const char *target) { return !copyWitness || copyWitness(source, target); }

CopyOutcome CopyFileGuarded(const char *source, const char *target, int compare) {
    if (!WitnessCopy(source, target)) {
        LogCopy("not copied, it cannot be recorded", source, target, GetLastError());
        return kCopyCannotInspect;
    }
    for (;;) {
        if (CopyFileA(source, target, FALSE)) {
            // The copy takes the source's attributes; the installed file must
            // stay writable. Writing attributes costs about as much as copying
            // a small file, so it is done only when there is a flag to clear.
            DWORD attributes = GetFileAttributesA(target);
            if (attributes != INVALID_FILE_ATTRIBUTES && (attributes & FILE_ATTRIBUTE_READONLY))
                SetFileAttributesA(target, attributes & ~static_cast<DWORD>(FILE_ATTRIBUTE_READONLY));
            LogCopy("copied", source, target, 0);
            return kCopyDone;
        }
        DWORD copyError = GetLastError();

        BY_HANDLE_FILE_INFORMATION sourceInfo = {};
        BY_HANDLE_FILE_INFORMATION targetInfo = {};
        HANDLE sourceFile = OpenForInspection(source);
        HANDLE targetFile = OpenForInspection(target);
        CopyOutcome outcome = kCopyDone;
        bool retry = false;
        if (sourceFile == INVALID_HANDLE_VALUE || targetFile == INVALID_HANDLE_VALUE ||
            !GetFileInformationByHandle(sourceFile, &sourceInfo) ||
            !GetFileInformationByHandle(targetFile, &targetInfo)) {
            outcome = kCopyCannotInspect;
            LogCopy("copy failed", source, target, copyError);
        } else if (compare && SameSizeAndTime(sourceInfo, targetInfo)) {
            LogCopy("kept, same size and time as the source", source, target, copyError);
        } else {
            int answer = AskAboutConflict(Describe(source, sourceInfo), Describe(target, targetInfo));
            if (answer == IDABORT) {
                outcome = kCopyAborted;
                LogCopy("copy aborted by the user", source, target, copyError);
            } else if (answer == IDRETRY) {
                retry = true;
                LogCopy("copy retried by the user", source, target, copyError);
            } else if (answer == kConflictNotAsked) {
                // Nobody can say the target may stay: it does, and the copy counts as failed.
                outcome = kCopyCannotInspect;
                LogCopy("copy failed, target kept without asking", source, target, copyError);
            } else {
                LogCopy("target kept by the user", source, target, copyError);
            }
        }
        CloseIfOpen(sourceFile);
        CloseIfOpen(targetFile);
        if (!retry) return outcome;

        // Only after our own handles are closed can the target be deleted.
        SetFileAttributesA(target, targetInfo.dwFileAttributes & ~static_cast<DWORD>(FILE_ATTRIBUTE_READONLY));
        /* result not examined: */ DeleteFileA(target);
    }
}
