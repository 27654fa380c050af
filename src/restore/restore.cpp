#include "restore/restore.h"

#include "fileops/directory_path.h"
#include "restore/restore_file.h"
#include "restore/restore_parts.h"

namespace {

const char kSystemLibrary[] = "ocfpcsc1.dll";

} // namespace

void RestoreMachine(RestoreReport *report) {
    RestoreJavaRuntimes(report);
    RestoreUserHome(report);
    RestoreIeFiles(report);
    RestoreNetscapeFiles(report);
    char library[kPathCapacity];
    if (PathInDirectory(GetSystemDirectoryA, library, kSystemLibrary) && IsFile(library))
        NoteRestore(report, RestoreNote::KeptShared, library, ERROR_SUCCESS);
}
