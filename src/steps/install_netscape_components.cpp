// Installs the OpenCard Framework for the current user's Netscape 4.x: the
// package's jars tree into the browser's Java classes folder, the PC/SC
// bridge library into its Java bin folder, and the properties file into
// every user profile.
#include "fileops/bounded_text.h"
#include "fileops/copy_file_guarded.h"
#include "fileops/copy_tree.h"
#include "platform/win32.h"
#include "steps/install_steps.h"
#include "steps/netscape_registry.h"
#include "steps/step_message.h"

namespace {

const char kPackageFolder[] = "ns";
const char kTreePattern[] = "jars\\*";
const char kLibrary[] = "ocfpcsc1.dll";
const char kProperties[] = "opencard.properties";
const char kMessageNoBrowser[] = "Nie wykryto zainstalownej przeglądarki Netscape 4.x";
const char kMessageNoProfile[] =
    "Nie skopiowano pliku opencard.properties do żadnego z profilów użytkowników przeglądarki Netscape";
const char kMessageSomeProfiles[] = "Niepełna kopia pliku opencard.properties dla profilów użytkowników "
                                    "przeglądarki Netscape; kod operacji: OP%dPF%d";

enum class Outcome { None, BrowserNotFound, CopyError, ProfilesIncomplete };

struct Run {
    Outcome outcome = Outcome::None;
    bool aborted = false;
    int profilesFound = 0;  // PF
    int profilesCopied = 0; // OP
    CopyOutcome lastCopy = kCopyDone;
    char failingPath[kPathCapacity] = "";
};

void CopyIntoProfiles(const NetscapePaths &paths, Run &run) {
    WIN32_FIND_DATAA entry;
    HANDLE search = FindFirstFileA(paths.profilesPattern, &entry);
    bool listedAll = true;
    if (search != INVALID_HANDLE_VALUE) {
        do {
            if (!IsProfileFolder(entry)) continue;
            ++run.profilesFound;
            char target[kPathCapacity];
            // A path that would be cut names some other file: that profile counts as not copied.
            CopyOutcome copied = ProfilePropertiesFile(target, paths, entry.cFileName)
                                     ? CopyFileGuarded(kProperties, target, 0)
                                     : kCopyCannotInspect;
            if (copied == kCopyAborted) {
                run.aborted = true;
                break;
            }
            if (copied == kCopyDone) ++run.profilesCopied;
        } while (FindNextFileA(search, &entry));
        // A search that ends in an error may have left profiles unvisited.
        listedAll = run.aborted || GetLastError() == ERROR_NO_MORE_FILES;
        FindClose(search);
    }
    if (run.profilesFound <= 0 || run.profilesCopied < run.profilesFound || !listedAll)
        run.outcome = Outcome::ProfilesIncomplete;
}

void InstallIntoBrowser(const NetscapePaths &paths, Run &run) {
    run.lastCopy = CopyTree(kTreePattern, paths.classesFolder, 1, run.failingPath);
    if (run.lastCopy == kCopyAborted) {
        run.aborted = true;
        return;
    }
    if (run.lastCopy != kCopyDone) {
        run.outcome = Outcome::CopyError;
        return;
    }

    run.lastCopy = CopyFileGuarded(kLibrary, paths.libraryFile, 0);
    if (run.lastCopy == kCopyAborted) {
        run.aborted = true;
        return;
    }
    if (run.lastCopy != kCopyDone) {
        CopyText(run.failingPath, sizeof run.failingPath, kLibrary);
        run.outcome = Outcome::CopyError;
        return;
    }

    CopyIntoProfiles(paths, run);
}

// Finds the browser in the current user's registry and installs into it.
void InstallForCurrentUser(Run &run) {
    NetscapePaths paths;
    if (FindInstalledNetscape(&paths))
        InstallIntoBrowser(paths, run);
    else
        run.outcome = Outcome::BrowserNotFound;
}

StepResult Decide(const Run &run, char *message, int capacity) {
    if (run.aborted) {
        WriteStepMessage(message, capacity, kMessageAborted);
        return kStepAborted;
    }
    switch (run.outcome) {
    case Outcome::BrowserNotFound: WriteStepMessage(message, capacity, kMessageNoBrowser); return kStepWarning;
    case Outcome::CopyError:
        FormatStepMessage(message, capacity, kMessageCopyFailed, run.lastCopy, run.failingPath);
        return kStepError;
    case Outcome::ProfilesIncomplete:
        if (run.profilesFound <= 0) {
            WriteStepMessage(message, capacity, kMessageNoProfile);
            return kStepError;
        }
        FormatStepMessage(message, capacity, kMessageSomeProfiles, run.profilesCopied, run.profilesFound);
        return kStepWarning;
    case Outcome::None: break;
    }
    return kStepOk;
}

} // namespace

StepResult InstallNetscapeComponents(char *message, int capacity) {
    if (!SetCurrentDirectoryA(kPackageFolder)) {
        WriteStepMessage(message, capacity, kMessageIncompleteInstaller);
        return kStepError;
    }
    Run run;
    InstallForCurrentUser(run);
    /* result not examined: */ SetCurrentDirectoryA("..");
    return Decide(run, message, capacity);
}
