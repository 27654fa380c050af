// Installs the OpenCard Framework for Internet Explorer's Java: the package's
// ocf tree into the Windows directory's java\lib, then the PC/SC bridge
// library into the system directory.
#include "fileops/bounded_text.h"
#include "fileops/copy_file_guarded.h"
#include "fileops/copy_tree.h"
#include "fileops/directory_path.h"
#include "platform/win32.h"
#include "steps/install_steps.h"
#include "steps/step_message.h"

namespace {

const char kPackageFolder[] = "msie";
const char kTreePattern[] = "ocf\\*";
const char kJavaLibFolder[] = "java\\lib";
const char kLibrary[] = "ocfpcsc1.dll";
const char kMessageNoDirectory[] = "Błąd ustalenia katalogu systemowego";

enum class Failure { None, DirectoryNotDetermined, CopyFailed, Aborted };

struct Outcome {
    Failure failure;
    CopyOutcome code; // the failed copy's outcome, for CopyFailed
};

Outcome CopyComponents(char *failingPath) {
    char path[kPathCapacity];
    if (!PathInDirectory(GetWindowsDirectoryA, path, kJavaLibFolder))
        return {Failure::DirectoryNotDetermined, kCopyDone};
    // Only the last level is created: without a java folder the tree copy
    // fails at its first entry and reports that.
    /* result not examined: */ CreateDirectoryA(path, nullptr);
    CopyOutcome copied = CopyTree(kTreePattern, path, 1, failingPath);
    if (copied == kCopyAborted) return {Failure::Aborted, copied};
    if (copied != kCopyDone) return {Failure::CopyFailed, copied};

    if (!PathInDirectory(GetSystemDirectoryA, path, kLibrary)) return {Failure::DirectoryNotDetermined, kCopyDone};
    // Compared: an identical library already in place, perhaps in use and so
    // not replaceable, is accepted without asking.
    copied = CopyFileGuarded(kLibrary, path, 1);
    if (copied == kCopyAborted) return {Failure::Aborted, copied};
    if (copied != kCopyDone) {
        CopyText(failingPath, kPathCapacity, kLibrary);
        return {Failure::CopyFailed, copied};
    }
    return {Failure::None, kCopyDone};
}

} // namespace

StepResult InstallIeComponents(char *message, int capacity) {
    if (!SetCurrentDirectoryA(kPackageFolder)) {
        WriteStepMessage(message, capacity, kMessageIncompleteInstaller);
        return kStepError;
    }
    char failingPath[kPathCapacity] = "";
    Outcome outcome = CopyComponents(failingPath);
    /* result not examined: */ SetCurrentDirectoryA("..");

    switch (outcome.failure) {
    case Failure::Aborted: WriteStepMessage(message, capacity, kMessageAborted); return kStepAborted;
    case Failure::DirectoryNotDetermined: WriteStepMessage(message, capacity, kMessageNoDirectory); return kStepError;
    case Failure::CopyFailed:
        FormatStepMessage(message, capacity, kMessageCopyFailed, outcome.code, failingPath);
        return kStepError;
    case Failure::None: break;
    }
    return kStepOk;
}
