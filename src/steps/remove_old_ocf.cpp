// Removes the OCF archive that earlier OCF environments left in the system
// directory; an absent archive is the normal case.
#include "fileops/join_path.h"
#include "log/run_log.h"
#include "platform/win32.h"
#include "steps/install_steps.h"
#include "steps/step_message.h"

int RemoveOldOcf(char *message, int capacity) {
    char path[kPathCapacity];
    UINT length = GetSystemDirectoryA(path, sizeof path);
    // A directory too long for the buffer cannot be named here: treated as
    // undetermined, like a failed query, rather than deleting a cut name.
    if (length == 0 || length >= sizeof path) return kOldOcfRemoved;
    if (!JoinPath(path, "ocf1.2.jar")) return kOldOcfRemoved;
    if (DeleteFileA(path)) {
        LogEvent("removed: %s", path);
        return kOldOcfRemoved;
    }
    DWORD error = GetLastError();
    if (error == ERROR_FILE_NOT_FOUND) return kOldOcfRemoved;
    LogEvent("not removed (error %lu): %s", static_cast<unsigned long>(error), path);
    WriteStepMessage(message, capacity, "Błąd kasowania pliku ocf1.2.jar w katalogu systemowym");
    return kOldOcfNotRemoved;
}
