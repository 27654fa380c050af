// Handle values, their kinds and the last error of the simulated machine.
#include <map>

#include "platform/sim/sim_internal.h"
#include "platform/sim/sim_machine.h"

namespace sim {
namespace {

std::map<HANDLE, HandleKind> openHandles;
uintptr_t nextHandleValue = 0x100;

} // namespace

DWORD lastError = 0;

void ResetHandles() {
    openHandles.clear();
    nextHandleValue = 0x100;
    lastError = 0;
}

HANDLE NewHandle(HandleKind kind) {
    // Multiples of four, like kernel handles, and never INVALID_HANDLE_VALUE.
    nextHandleValue += 4;
    HANDLE handle = reinterpret_cast<HANDLE>(nextHandleValue);
    openHandles[handle] = kind;
    return handle;
}

void TrackHandle(HANDLE handle, HandleKind kind) { openHandles[handle] = kind; }

bool IsOpen(HANDLE handle, HandleKind kind) {
    auto it = openHandles.find(handle);
    return it != openHandles.end() && it->second == kind;
}

bool ReleaseHandle(HANDLE handle, HandleKind kind) {
    if (!IsOpen(handle, kind)) return false;
    openHandles.erase(handle);
    return true;
}

int OpenHandles(HandleKind kind) {
    int count = 0;
    for (const auto &entry : openHandles)
        if (entry.second == kind) ++count;
    return count;
}

int OpenHandles() { return static_cast<int>(openHandles.size()); }

void Reset(const std::string &hostRoot) {
    ResetHandles();
    ResetFiles(hostRoot);
    ResetMessageBoxes();
    ResetRegistry();
    ResetCommands();
    ResetDialogs();
    ResetMemory();
    ResetPcsc();
    ResetProcesses();
}

} // namespace sim

DWORD GetLastError() { return sim::lastError; }

void SetLastError(DWORD error) { sim::lastError = error; }

BOOL CloseHandle(HANDLE handle) {
    if (sim::IsOpen(handle, sim::HandleKind::File)) {
        sim::CloseFileHandle(handle);
        return TRUE;
    }
    if (sim::ReleaseHandle(handle, sim::HandleKind::Process) || sim::ReleaseHandle(handle, sim::HandleKind::Thread))
        return TRUE;
    SetLastError(ERROR_INVALID_HANDLE);
    return FALSE;
}
