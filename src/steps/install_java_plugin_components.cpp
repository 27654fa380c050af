// Installs the OCF files into every Java runtime registered under
// SOFTWARE\JavaSoft, runs CopyPolicyFile through a runtime's java.exe, and
// copies the PC/SC bridge library into the system directory and the last JRE.
#include "fileops/bounded_text.h"
#include "fileops/copy_file_guarded.h"
#include "fileops/file_comparison.h"
#include "fileops/join_path.h"
#include "log/run_log.h"
#include "platform/win32.h"
#include "record/run_record.h"
#include "steps/install_steps.h"
#include "steps/java_entry.h"
#include "steps/registered_runtimes.h"
#include "steps/step_message.h"

namespace {

const char kPackageFolder[] = "sun";

const char kArchiveFile[] = "ocf1.2.jar";
const char kPropertiesFile[] = "opencard.properties";
const char kPolicyFile[] = "java.policy";
const char kLibraryFile[] = "ocfpcsc1.dll";

const char kHomeVariable[] = "USERPROFILE";
// What CopyPolicyFile places in the user's home, from which package file.
struct HomeFile {
    const char *packageFile;
    const char *name;
};
const HomeFile kHomeFiles[] = {{kPolicyFile, ".java.policy"}, {kPropertiesFile, ".opencard.properties"}};

const char kMessageJavaNotDetected[] =
    "Nie wykryto instalacji środowiska JRE/JDK lub aplikacja nie była uruchamiona z prawami administratora";
const char kMessageNothingInstalled[] = "Nie zainstalowano sterowników OCF dla żadnego środowiska JRE/JDK";
const char kMessagePartlyInstalled[] =
    "Niepełna instalacja sterowników OCF dla środowiska JRE/JDK; kod operacji: VM%dOL%dOP%dJP%d";
const char kMessageLibraryNotCopied[] = "Błąd kopiowania biblioteki obsługi czytników PC/SC: ocfpcsc1.dll";

enum class StepStatus { None, PackageIncomplete, JavaNotDetected };

// What one run has done so far; the first four name the parts of the
// message of a partial installation.
struct JavaRun {
    int VM = 0; // entries whose home was read
    int OL = 0; // ocf1.2.jar copied
    int OP = 0; // opencard.properties copied
    int JP = 0; // CopyPolicyFile commands that succeeded, and java.policy copied
    int libraryCount = 0;
    bool aborted = false;
    char lastJreLibrary[kPathCapacity] = ""; // empty: no JRE yet, or the last one's cannot be named
    // The package folder, CopyPolicyFile's class path; empty: not named. Set
    // before the walk (an initialiser here would cost the file a data section).
    char classFolder[kPathCapacity];
};

// Counts a watched copy that succeeded, and stops the run on Abort.
void Tally(CopyOutcome outcome, int &counter, JavaRun &run) {
    if (outcome == kCopyAborted)
        run.aborted = true;
    else if (outcome == kCopyDone)
        ++counter;
}

// A target that cannot be named whole is never copied to: the copy fails.
CopyOutcome CopyInto(const char *file, const char *target) {
    if (target[0] == '\0') return kCopyCannotInspect;
    return CopyFileGuarded(file, target, 0);
}

bool CommandSucceeds(const JavaRuntime &runtime, const char *command) {
    if (command[0] == '\0') {
        LogEvent("command not run, it cannot be formed from the home and the package folder: %s", runtime.home);
        return false;
    }
    int status = RunCommand(command);
    LogEvent("command %s: exit status %d", command, status);
    return status == 0;
}

// OpenFile's existence test is not used: it holds at most 128 characters of
// a path and calls a longer backup missing, so a second run would overwrite
// the runtime's original policy in the backup.
bool FileExists(const char *backup) {
    DWORD attributes = GetFileAttributesA(backup);
    return attributes != INVALID_FILE_ATTRIBUTES && !(attributes & FILE_ATTRIBUTE_DIRECTORY);
}

// Only a policy known to be missing may be replaced without a backup.
bool PolicyMissing(const char *policy) {
    if (GetFileAttributesA(policy) != INVALID_FILE_ATTRIBUTES) return false;
    DWORD error = GetLastError();
    return error == ERROR_FILE_NOT_FOUND || error == ERROR_PATH_NOT_FOUND;
}

// The backup is made under a name of its own and takes the backup's name
// only once it holds the whole policy, so that a backup that exists is
// always whole: a run stopped half-way through the copy (or a copy that ran
// out of room and was kept in the conflict prompt) leaves no backup, and the
// next run does not take a part of the policy for all of it.
bool MakeBackup(const RuntimeFiles &files, JavaRun &run) {
    if (!RecordBackup(files.policy, files.policyBackup)) return false;
    CopyOutcome outcome = CopyFileGuarded(files.policy, files.partialBackup, 0);
    if (outcome == kCopyAborted) {
        run.aborted = true;
        return false;
    }
    DWORD error = ERROR_SUCCESS;
    bool made = outcome == kCopyDone && CompareFiles(files.partialBackup, files.policy, &error) == Comparison::Same &&
                MoveFileA(files.partialBackup, files.policyBackup);
    if (made)
        LogEvent("backup made: %s", files.policyBackup);
    else
        /* result not examined, it may not exist: */ DeleteFileA(files.partialBackup);
    return made;
}

// Where the runtime has no policy, the package's is copied under the partial
// name and renamed once whole: a run stopped half-way leaves no cut policy
// that the next run would take for the runtime's own and back up. Without a
// partial name (too long) it is copied straight.
CopyOutcome InstallMissingPolicy(const RuntimeFiles &files) {
    if (files.partialBackup[0] == '\0') return CopyFileGuarded(kPolicyFile, files.policy, 0);
    CopyOutcome outcome = CopyFileGuarded(kPolicyFile, files.partialBackup, 0);
    if (outcome != kCopyDone) return outcome;
    DWORD error = ERROR_SUCCESS;
    if (CompareFiles(files.partialBackup, kPolicyFile, &error) == Comparison::Same &&
        WitnessCopy(kPolicyFile, files.policy) && MoveFileA(files.partialBackup, files.policy))
        return kCopyDone;
    /* result not examined: */ DeleteFileA(files.partialBackup);
    return kCopyCannotInspect;
}

// Backs up the runtime's own policy once, then copies the package's over it.
// A policy without a backup is never replaced: when the backup cannot be
// named or made, the runtime keeps its policy and the copy counts as failed.
void InstallPolicy(const RuntimeFiles &files, JavaRun &run) {
    const char *policy = files.policy;
    if (policy[0] == '\0') return;
    if (files.policyBackup[0] == '\0') {
        if (!PolicyMissing(policy)) {
            LogEvent("policy kept, its backup cannot be named: %s", policy);
            return;
        }
    } else if (FileExists(files.policyBackup)) {
        LogEvent("backup found, kept: %s", files.policyBackup);
    } else if (!MakeBackup(files, run)) {
        if (run.aborted) return;
        if (!PolicyMissing(policy)) {
            LogEvent("policy kept, no backup could be made: %s", policy);
            return;
        }
    }
    Tally(PolicyMissing(policy) ? InstallMissingPolicy(files) : CopyFileGuarded(kPolicyFile, policy, 0), run.JP, run);
}

// CopyPolicyFile places the package's files in the user's home and keeps a
// file of that name once as <name>.ocf-bak: both are recorded before the
// commands run. A home that cannot be named is left to the commands, which
// fail there themselves.
bool RecordHomeFiles() {
    char home[kPathCapacity];
    DWORD length = GetEnvironmentVariableA(kHomeVariable, home, sizeof home);
    if (length == 0 || length >= sizeof home) return true;
    for (const HomeFile &file : kHomeFiles) {
        char target[kPathCapacity];
        char backup[kPathCapacity];
        if (!CopyText(target, sizeof target, home) || !JoinPath(target, file.name) ||
            !FormatText(backup, sizeof backup, "%s.ocf-bak", target))
            continue;
        if (FileExists(target) && !FileExists(backup) && !RecordBackup(target, backup)) return false;
        if (!RecordPlacedFile(file.packageFile, target)) return false;
    }
    return true;
}

// Everything the runtime may receive (and the home, with the first runtime)
// is recorded in one write before any of it is copied; each copy then finds
// its item already there.
bool RecordAhead(const JavaRuntime &runtime, const RuntimeFiles &files, bool withHome) {
    BeginRecordBatch();
    bool recorded = RecordRuntime(runtime.home);
    if (recorded && files.archive[0] != '\0') recorded = RecordPlacedFile(kArchiveFile, files.archive);
    if (recorded && files.properties[0] != '\0') recorded = RecordPlacedFile(kPropertiesFile, files.properties);
    if (recorded && files.policy[0] != '\0') recorded = RecordPlacedFile(kPolicyFile, files.policy);
    if (recorded && files.partialBackup[0] != '\0' && !FileExists(files.policyBackup)) {
        // The backup is made under the partial name first; a runtime without
        // a policy gets the package's that way.
        bool ownPolicy = FileExists(files.policy);
        recorded = ownPolicy ? RecordBackup(files.policy, files.policyBackup) &&
                                   RecordPlacedFile(files.policy, files.partialBackup)
                             : RecordPlacedFile(kPolicyFile, files.partialBackup);
    }
    if (recorded && withHome) recorded = RecordHomeFiles();
    return EndRecordBatch() && recorded;
}

bool InstallIntoRuntime(const JavaRuntime &runtime, void *context) {
    JavaRun &run = *static_cast<JavaRun *>(context);
    RuntimeFiles files;
    FormRuntimeFiles(runtime, run.classFolder, &files);
    ++run.VM;
    if (!RecordAhead(runtime, files, run.JP == 0)) return true; // nothing placed where the record cannot follow
    if (runtime.kind == RuntimeKind::Jre)
        /* always fits, the buffers are alike: */ CopyText(run.lastJreLibrary, sizeof run.lastJreLibrary,
                                                           files.library);
    Tally(CopyInto(kArchiveFile, files.archive), run.OL, run);
    if (run.aborted) return false;
    Tally(CopyInto(kPropertiesFile, files.properties), run.OP, run);
    if (run.aborted) return false;
    // CopyPolicyFile works on the user's home, which every runtime shares:
    // its commands run only until this run has counted anything in JP, so
    // normally in the first entry alone.
    if (run.JP == 0 && RecordHomeFiles()) {
        if (CommandSucceeds(runtime, files.policyCommand)) ++run.JP;
        if (CommandSucceeds(runtime, files.propertiesCommand)) ++run.JP;
    }
    InstallPolicy(files, run);
    return !run.aborted;
}

// The library goes into the system directory and into the last JRE found.
// A system directory too long to name the library in is treated like a
// failed query: neither copy is made.
void CopyLibrary(JavaRun &run) {
    char systemLibrary[kPathCapacity];
    UINT length = GetSystemDirectoryA(systemLibrary, kPathCapacity);
    if (length == 0 || length >= kPathCapacity) return;
    // An identical library already there may be in use: it is kept without asking.
    if (JoinPath(systemLibrary, kLibraryFile))
        Tally(CopyFileGuarded(kLibraryFile, systemLibrary, 1), run.libraryCount, run);
    // Made even after an Abort above, and not watched: its outcome changes nothing.
    if (run.lastJreLibrary[0] != '\0') /* outcome not used: */
        CopyFileGuarded(kLibraryFile, run.lastJreLibrary, 0);
}

StepResult Decide(StepStatus status, const JavaRun &run, char *message, int capacity) {
    if (run.aborted) {
        WriteStepMessage(message, capacity, kMessageAborted);
        return kStepAborted;
    }
    if (status == StepStatus::PackageIncomplete) {
        WriteStepMessage(message, capacity, kMessageIncompleteInstaller);
        return kStepError;
    }
    if (status == StepStatus::JavaNotDetected) {
        WriteStepMessage(message, capacity, kMessageJavaNotDetected);
        return kStepWarning;
    }
    if (run.VM == 0) {
        WriteStepMessage(message, capacity, kMessageNothingInstalled);
        return kStepError;
    }
    if (run.OL < run.VM || run.OP < run.VM || run.JP < run.VM) {
        FormatStepMessage(message, capacity, kMessagePartlyInstalled, run.VM, run.OL, run.OP, run.JP);
        return kStepWarning;
    }
    if (run.libraryCount == 0) {
        WriteStepMessage(message, capacity, kMessageLibraryNotCopied);
        return kStepError;
    }
    return kStepOk;
}

} // namespace

StepResult InstallJavaPluginComponents(char *message, int capacity) {
    JavaRun run;
    StepStatus status = StepStatus::None;
    if (!SetCurrentDirectoryA(kPackageFolder)) {
        status = StepStatus::PackageIncomplete;
    } else {
        DWORD length = GetCurrentDirectoryA(sizeof run.classFolder, run.classFolder);
        if (length == 0 || length >= sizeof run.classFolder) run.classFolder[0] = '\0';
        if (!WalkRegisteredRuntimes(InstallIntoRuntime, &run).listFound) status = StepStatus::JavaNotDetected;
        if (!run.aborted) CopyLibrary(run);
        /* result not examined: */ SetCurrentDirectoryA("..");
    }
    return Decide(status, run, message, capacity);
}
