#include "restore/restore_file.h"
#include "restore/restore_parts.h"
#include "steps/registered_runtimes.h"

namespace {

const char kJavaSoftKey[] = "HKEY_LOCAL_MACHINE\\SOFTWARE\\JavaSoft";
const char kInstalledArchive[] = "sun\\ocf1.2.jar";
const char kInstalledProperties[] = "sun\\opencard.properties";
const char kInstalledPolicy[] = "sun\\java.policy";
const char kInstalledLibrary[] = "sun\\ocfpcsc1.dll";
// The restore runs no command.
const char kNoCommands[] = "";

bool RestoreRuntime(const JavaRuntime &runtime, void *context) {
    RestoreReport *report = static_cast<RestoreReport *>(context);
    RuntimeFiles files;
    FormRuntimeFiles(runtime, kNoCommands, &files);
    // A policy without a backup that differs from the installer's is the
    // runtime's own: installation never replaces one without a backup.
    RestoreFromBackup(files.policy, files.policyBackup, files.partialBackup, kInstalledPolicy, RestoreNote::LeftAlone,
                      report);
    RemoveIfInstallers(files.archive, kInstalledArchive, RestoreNote::KeptChanged, report);
    RemoveIfInstallers(files.properties, kInstalledProperties, RestoreNote::KeptChanged, report);
    // Installation puts the library into the last JRE it found, which need
    // not be the last one now: every JRE is looked at.
    if (runtime.kind == RuntimeKind::Jre)
        RemoveIfInstallers(files.library, kInstalledLibrary, RestoreNote::KeptChanged, report);
    return true;
}

} // namespace

void RestoreJavaRuntimes(RestoreReport *report) {
    RuntimeWalk walk = WalkRegisteredRuntimes(RestoreRuntime, report);
    // A user without administrator rights cannot open the keys: runtimes
    // may still hold what an installation put there.
    if (walk.keysRefused > 0) NoteRestore(report, RestoreNote::NotSearched, kJavaSoftKey, walk.refusal);
}
