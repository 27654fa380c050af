// Installs the OCF files into every Java runtime registered under
// SOFTWARE\JavaSoft, runs CopyPolicyFile through a runtime's java.exe, and
// copies the PC/SC bridge library into the system directory and the last JRE.
#include "fileops/bounded_text.h"
#include "fileops/copy_file_guarded.h"
#include "fileops/join_path.h"
#include "log/run_log.h"
#include "platform/win32.h"
#include "steps/install_steps.h"
#include "steps/java_entry.h"
#include "steps/step_message.h"

namespace {

const char kPackageFolder[] = "sun";
const char kJavaSoftKey[] = "SOFTWARE\\JavaSoft";
const char kJreListKey[] = "Java Runtime Environment";
const char kJdkListKey[] = "Java Development Kit";
const char kJavaHomeValue[] = "JavaHome";

const char kArchiveFile[] = "ocf1.2.jar";
const char kPropertiesFile[] = "opencard.properties";
const char kPolicyFile[] = "java.policy";
const char kLibraryFile[] = "ocfpcsc1.dll";
const char kLastJreLibraryTarget[] = "lib\\ext\\ocfpcsc1.dll";

const char kPolicyCommand[] = "bin\\java.exe\" CopyPolicyFile .java.policy";
const char kPropertiesCommand[] = "bin\\java.exe\" CopyPolicyFile .opencard.properties";

const char kMessageJavaNotDetected[] =
    "Nie wykryto instalacji środowiska JRE/JDK lub aplikacja nie była uruchamiona z prawami administratora";
const char kMessageNothingInstalled[] = "Nie zainstalowano sterowników OCF dla żadnego środowiska JRE/JDK";
const char kMessagePartlyInstalled[] =
    "Niepełna instalacja sterowników OCF dla środowiska JRE/JDK; kod operacji: VM%dOL%dOP%dJP%d";
const char kMessageLibraryNotCopied[] = "Błąd kopiowania biblioteki obsługi czytników PC/SC: ocfpcsc1.dll";

// Where a runtime keeps the installed files; a JDK keeps its runtime in jre.
struct RuntimeLayout {
    bool isJre;
    const char *archiveTarget;
    const char *propertiesTarget;
    const char *policyTarget;
};
const RuntimeLayout kJreLayout = {true, "lib\\ext\\ocf1.2.jar", "lib\\opencard.properties",
                                  "lib\\security\\java.policy"};
const RuntimeLayout kJdkLayout = {false, "jre\\lib\\ext\\ocf1.2.jar", "jre\\lib\\opencard.properties",
                                  "jre\\lib\\security\\java.policy"};

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
    char lastJreHome[kEntryCapacity] = ""; // an entry text, as the entry buffer; empty: no JRE yet
};

// Counts a watched copy that succeeded, and stops the run on Abort.
void Tally(CopyOutcome outcome, int &counter, JavaRun &run) {
    if (outcome == kCopyAborted)
        run.aborted = true;
    else if (outcome == kCopyDone)
        ++counter;
}

// A target that cannot be named whole is never copied to: the copy fails.
CopyOutcome CopyIntoEntry(const char *file, const char *entry, const char *target) {
    char path[kPathCapacity];
    if (!FormEntryPath(path, entry, target)) return kCopyCannotInspect;
    return CopyFileGuarded(file, path, 0);
}

bool CommandSucceeds(const char *entry, const char *commandComponent) {
    char command[kPathCapacity];
    if (!FormEntryCommand(command, entry, commandComponent)) {
        LogEvent("command not run, its path cannot be formed: %s%s", entry, commandComponent);
        return false;
    }
    int status = RunCommand(command);
    LogEvent("command %s: exit status %d", command, status);
    return status == 0;
}

// OpenFile's existence test is not used: it holds at most 128 characters of
// a path and calls a longer backup missing, so a second run would overwrite
// the runtime's original policy in the backup.
bool BackupExists(const char *backup) {
    DWORD attributes = GetFileAttributesA(backup);
    return attributes != INVALID_FILE_ATTRIBUTES && !(attributes & FILE_ATTRIBUTE_DIRECTORY);
}

// Only a policy known to be missing may be replaced without a backup.
bool PolicyMissing(const char *policy) {
    if (GetFileAttributesA(policy) != INVALID_FILE_ATTRIBUTES) return false;
    DWORD error = GetLastError();
    return error == ERROR_FILE_NOT_FOUND || error == ERROR_PATH_NOT_FOUND;
}

// Backs up the runtime's own policy once, then copies the package's over it.
// A policy without a backup is never replaced: when the backup cannot be
// named or made, the runtime keeps its policy and the copy counts as failed.
void InstallPolicy(const char *entry, const RuntimeLayout &layout, JavaRun &run) {
    char policy[kPathCapacity];
    if (!FormEntryPath(policy, entry, layout.policyTarget)) return;
    char backup[kBackupNameCapacity];
    if (!FormBackupName(backup, policy)) {
        if (!PolicyMissing(policy)) {
            LogEvent("policy kept, its backup cannot be named: %s", policy);
            return;
        }
    } else if (BackupExists(backup)) {
        LogEvent("backup found, kept: %s", backup);
    } else {
        CopyOutcome outcome = CopyFileGuarded(policy, backup, 0);
        if (outcome == kCopyAborted) {
            run.aborted = true;
            return;
        }
        if (outcome == kCopyDone) LogEvent("backup made: %s", backup);
        if (outcome != kCopyDone && !PolicyMissing(policy)) {
            LogEvent("policy kept, no backup could be made: %s", policy);
            return;
        }
    }
    Tally(CopyFileGuarded(kPolicyFile, policy, 0), run.JP, run);
}

void InstallIntoEntry(const char *entry, const RuntimeLayout &layout, JavaRun &run) {
    ++run.VM;
    if (layout.isJre) {
        /* always fits, the buffers are alike: */ CopyText(run.lastJreHome, kEntryCapacity, entry);
    }
    Tally(CopyIntoEntry(kArchiveFile, entry, layout.archiveTarget), run.OL, run);
    if (run.aborted) return;
    Tally(CopyIntoEntry(kPropertiesFile, entry, layout.propertiesTarget), run.OP, run);
    if (run.aborted) return;
    // CopyPolicyFile works on the user's home, which every runtime shares:
    // its commands run only until this run has counted anything in JP, so
    // normally in the first entry alone.
    if (run.JP == 0) {
        if (CommandSucceeds(entry, kPolicyCommand)) ++run.JP;
        if (CommandSucceeds(entry, kPropertiesCommand)) ++run.JP;
    }
    InstallPolicy(entry, layout, run);
}

// Reads the home behind the entry's quote; false when it cannot be used.
bool ReadEntryText(HKEY entryKey, char *entry) {
    entry[0] = kEntryQuote;
    DWORD size = kHomeReadCapacity;
    if (RegQueryValueExA(entryKey, kJavaHomeValue, nullptr, nullptr, reinterpret_cast<LPBYTE>(entry + 1), &size) !=
        ERROR_SUCCESS)
        return false;
    return EndEntryText(entry, size);
}

void InstallIntoEntries(HKEY list, const RuntimeLayout &layout, JavaRun &run) {
    char entry[kEntryCapacity];
    for (DWORD index = 0; !run.aborted; ++index) {
        if (RegEnumKeyA(list, index, entry, kEntryCapacity) != ERROR_SUCCESS) return;
        HKEY entryKey;
        if (RegOpenKeyExA(list, entry, 0, KEY_ALL_ACCESS, &entryKey) != ERROR_SUCCESS) continue;
        if (ReadEntryText(entryKey, entry)) InstallIntoEntry(entry, layout, run);
        /* result not examined: */ RegCloseKey(entryKey);
    }
}

// Every JRE entry, then every JDK entry, each list in enumeration order.
// Every key is opened for full access: a user without administrator rights
// cannot open them and is told so. Returns false when no list was found.
bool InstallIntoRegisteredRuntimes(JavaRun &run) {
    HKEY javaSoft;
    if (RegOpenKeyExA(HKEY_LOCAL_MACHINE, kJavaSoftKey, 0, KEY_ALL_ACCESS, &javaSoft) != ERROR_SUCCESS) return false;
    HKEY jreList;
    HKEY jdkList;
    bool jreListOpen = RegOpenKeyExA(javaSoft, kJreListKey, 0, KEY_ALL_ACCESS, &jreList) == ERROR_SUCCESS;
    bool jdkListOpen = RegOpenKeyExA(javaSoft, kJdkListKey, 0, KEY_ALL_ACCESS, &jdkList) == ERROR_SUCCESS;
    if (jreListOpen) {
        InstallIntoEntries(jreList, kJreLayout, run);
        /* result not examined: */ RegCloseKey(jreList);
    }
    if (jdkListOpen) {
        InstallIntoEntries(jdkList, kJdkLayout, run);
        /* result not examined: */ RegCloseKey(jdkList);
    }
    /* result not examined: */ RegCloseKey(javaSoft);
    return jreListOpen || jdkListOpen;
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
    char jreLibrary[kPathCapacity];
    if (run.lastJreHome[0] != '\0' && FormEntryPath(jreLibrary, run.lastJreHome, kLastJreLibraryTarget))
        /* outcome not used: */ CopyFileGuarded(kLibraryFile, jreLibrary, 0);
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
        if (!InstallIntoRegisteredRuntimes(run)) status = StepStatus::JavaNotDetected;
        if (!run.aborted) CopyLibrary(run);
        /* result not examined: */ SetCurrentDirectoryA("..");
    }
    return Decide(status, run, message, capacity);
}
