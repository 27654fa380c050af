#include "release/payload_check.h"

#include <cstring>

#include "fileops/bounded_text.h"
#include "fileops/sha256.h"
#include "fileops/tree_paths.h"
#include "log/run_log.h"
#include "release/payload_manifest.h"

namespace {

struct CheckState {
    char *firstOffender;
    bool intact;
};

void Refuse(CheckState *state, const char *path) {
    if (state->intact) CopyText(state->firstOffender, kPathCapacity, path);
    state->intact = false;
}

void CheckManifestFile(const ManifestEntry &entry, CheckState *state) {
    unsigned char digest[kSha256Size];
    DWORD error = 0;
    if (!HashFile(entry.relativePath, digest, &error)) {
        if (error == ERROR_FILE_NOT_FOUND || error == ERROR_PATH_NOT_FOUND) return;
        LogEvent("payload not read (error %lu), so not checked: %s", static_cast<unsigned long>(error),
                 entry.relativePath);
        Refuse(state, entry.relativePath);
        return;
    }
    if (std::memcmp(digest, entry.sha256, kSha256Size) != 0) {
        LogEvent("payload differs from the release's: %s", entry.relativePath);
        Refuse(state, entry.relativePath);
    }
}

// Every file below the folder must be one the manifest names.
void CheckNoStrangers(const char *folder, CheckState *state) {
    char pattern[kPathCapacity];
    if (!CopyText(pattern, sizeof pattern, folder) || !JoinPath(pattern, "*")) {
        LogEvent("payload folder not searched, its path is too long: %s", folder);
        Refuse(state, folder);
        return;
    }
    WIN32_FIND_DATAA entry;
    HANDLE search = FindFirstFileA(pattern, &entry);
    if (search == INVALID_HANDLE_VALUE) {
        DWORD error = GetLastError();
        // A folder shipped without a package: the step that needs it says so.
        if (error == ERROR_FILE_NOT_FOUND || error == ERROR_PATH_NOT_FOUND) return;
        LogEvent("payload folder not searched (error %lu): %s", static_cast<unsigned long>(error), folder);
        Refuse(state, folder);
        return;
    }
    do {
        if (IsDotEntry(entry.cFileName)) continue;
        char path[kPathCapacity];
        if (!CopyText(path, sizeof path, folder) || !JoinPath(path, entry.cFileName)) {
            LogEvent("payload not in the release, its path is too long: %s\\%s", folder, entry.cFileName);
            Refuse(state, folder);
        } else if (entry.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY) {
            CheckNoStrangers(path, state);
        } else if (!FindManifestEntry(path)) {
            LogEvent("payload not in the release: %s", path);
            Refuse(state, path);
        }
    } while (FindNextFileA(search, &entry));
    DWORD error = GetLastError();
    if (error != ERROR_NO_MORE_FILES) {
        LogEvent("payload folder not searched to its end (error %lu): %s", static_cast<unsigned long>(error), folder);
        Refuse(state, folder);
    }
    /* result not examined: */ FindClose(search);
}

} // namespace

bool CheckPayloadFolders(const char *const *folders, int count, char *firstOffender) {
    CheckState state = {firstOffender, true};
    firstOffender[0] = '\0';
    const PayloadManifest &manifest = ActiveManifest();
    for (int i = 0; i < count; ++i) {
        for (int j = 0; j < manifest.count; ++j)
            if (IsInFolder(manifest.entries[j].relativePath, folders[i]))
                CheckManifestFile(manifest.entries[j], &state);
        CheckNoStrangers(folders[i], &state);
    }
    return state.intact;
}
