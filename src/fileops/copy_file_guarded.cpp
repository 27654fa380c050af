#include "fileops/copy_file_guarded.h"

#include "fileops/conflict_prompt.h"
#include "platform/win32.h"

namespace {

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

} // namespace

CopyOutcome CopyFileGuarded(const char *source, const char *target, int compare) {
    for (;;) {
        if (CopyFileA(source, target, FALSE)) {
            // The copy takes the source's attributes; the installed file must
            // stay writable. Writing attributes costs about as much as copying
            // a small file, so it is done only when there is a flag to clear.
            DWORD attributes = GetFileAttributesA(target);
            if (attributes != INVALID_FILE_ATTRIBUTES && (attributes & FILE_ATTRIBUTE_READONLY))
                SetFileAttributesA(target, attributes & ~static_cast<DWORD>(FILE_ATTRIBUTE_READONLY));
            return kCopyDone;
        }

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
        } else if (!(compare && SameSizeAndTime(sourceInfo, targetInfo))) {
            int answer = AskAboutConflict(Describe(source, sourceInfo), Describe(target, targetInfo));
            if (answer == IDABORT)
                outcome = kCopyAborted;
            else if (answer == IDRETRY)
                retry = true;
        }
        CloseIfOpen(sourceFile);
        CloseIfOpen(targetFile);
        if (!retry) return outcome;

        // Only after our own handles are closed can the target be deleted.
        SetFileAttributesA(target, targetInfo.dwFileAttributes & ~static_cast<DWORD>(FILE_ATTRIBUTE_READONLY));
        /* result not examined: */ DeleteFileA(target);
    }
}
