#include "fileops/bounded_text.h"
#include "fileops/join_path.h"
#include "restore/restore_file.h"
#include "restore/restore_parts.h"

namespace {

const char kHomeVariable[] = "USERPROFILE";
const char kHomeNamed[] = "%USERPROFILE%";

// What CopyPolicyFile put into the user's home, from which package file; it
// keeps a file already there once as <name>.ocf-bak.
struct HomeFile {
    const char *name;
    const char *installedFrom;
};
const HomeFile kHomeFiles[] = {
    {".java.policy", "sun\\java.policy"},
    {".opencard.properties", "sun\\opencard.properties"},
};

} // namespace

void RestoreUserHome(RestoreReport *report) {
    char home[kPathCapacity];
    DWORD length = GetEnvironmentVariableA(kHomeVariable, home, sizeof home);
    if (length == 0 || length >= sizeof home) {
        NoteRestore(report, RestoreNote::NotSearched, kHomeNamed,
                    length == 0 ? GetLastError() : static_cast<DWORD>(ERROR_INSUFFICIENT_BUFFER));
        return;
    }
    for (const HomeFile &file : kHomeFiles) {
        char target[kPathCapacity];
        if (!CopyText(target, sizeof target, home) || !JoinPath(target, file.name)) continue;
        // A backup that cannot be named is taken for none; without a name
        // for the partial copy, nothing is put back.
        char backup[kPathCapacity];
        char partial[kPathCapacity];
        if (!FormatText(backup, sizeof backup, "%s.ocf-bak", target)) backup[0] = '\0';
        if (!FormatText(partial, sizeof partial, "%s.ocf-new", target)) partial[0] = '\0';
        // A file of the user's own without a backup was never the installer's.
        RestoreFromBackup(target, backup, partial, file.installedFrom, RestoreNote::LeftAlone, report);
    }
}
