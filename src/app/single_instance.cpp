#include "app/single_instance.h"

namespace {

// "Global\" reaches every session; Windows 2000 without Terminal Services
// ignores the prefix and has only the one namespace.
const char kMutexName[] = "Global\\SmartCardReaderInstaller.Running";

} // namespace

HANDLE ClaimSingleInstance() {
    HANDLE mutex = CreateMutexA(nullptr, FALSE, kMutexName);
    // Another user's installer holds it too when opening it is denied.
    if (!mutex) return nullptr;
    if (GetLastError() == ERROR_ALREADY_EXISTS) {
        /* result not examined: */ CloseHandle(mutex);
        return nullptr;
    }
    return mutex;
}

void ReleaseSingleInstance(HANDLE claim) {
    if (claim) /* result not examined: */
        CloseHandle(claim);
}
