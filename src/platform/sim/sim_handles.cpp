// Handle values, their kinds and the last error of the simulated machine.
#include <map>
#include <vector>

#include "platform/sim/sim_internal.h"
#include "platform/sim/sim_machine.h"

namespace sim {
namespace {

std::map<HANDLE, HandleKind> openHandles;
uintptr_t nextHandleValue = 0x100;
// Values of closed handles, the last closed on top: like Windows, the
// machine gives a closed handle's value to the next object opened, so that a
// program still using a closed handle reaches someone else's file.
std::vector<HANDLE> closedValues;

// Named mutexes: how many handles of this program name each, and those that
// other programs hold (true: another user's, which this one may not open).
std::map<HANDLE, std::string> mutexNames;
std::map<std::string, bool> heldElsewhere;

int HandlesNaming(const std::string &name) {
    int count = 0;
    for (const auto &entry : mutexNames)
        if (entry.second == name) ++count;
    return count;
}

} // namespace

DWORD lastError = 0;

void ResetHandles() {
    openHandles.clear();
    closedValues.clear();
    mutexNames.clear();
    heldElsewhere.clear();
    nextHandleValue = 0x100;
    lastError = 0;
}

HANDLE NewHandle(HandleKind kind) {
    HANDLE handle;
    if (closedValues.empty()) {
        // Multiples of four, like kernel handles, and never INVALID_HANDLE_VALUE.
        nextHandleValue += 4;
        handle = reinterpret_cast<HANDLE>(nextHandleValue);
    } else {
        handle = closedValues.back();
        closedValues.pop_back();
    }
    openHandles[handle] = kind;
    return handle;
}

void HoldMutex(const std::string &name, bool denied) { heldElsewhere[name] = denied; }

void TrackHandle(HANDLE handle, HandleKind kind) { openHandles[handle] = kind; }

bool IsOpen(HANDLE handle, HandleKind kind) {
    auto it = openHandles.find(handle);
    return it != openHandles.end() && it->second == kind;
}

bool ReleaseHandle(HANDLE handle, HandleKind kind) {
    if (!IsOpen(handle, kind)) return false;
    openHandles.erase(handle);
    // A memory block is the host's address, not a value of this table.
    if (kind != HandleKind::Block) closedValues.push_back(handle);
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
    ResetEnvironment();
    ResetSystem();
}

} // namespace sim

DWORD GetLastError() { return sim::lastError; }

void SetLastError(DWORD error) { sim::lastError = error; }

HANDLE CreateMutexA(LPSECURITY_ATTRIBUTES, BOOL, LPCSTR name) {
    // Unnamed mutexes and initial ownership are not modelled: the installer uses neither.
    std::string key = name ? name : "";
    auto held = sim::heldElsewhere.find(key);
    if (held != sim::heldElsewhere.end() && held->second) {
        SetLastError(ERROR_ACCESS_DENIED);
        return nullptr;
    }
    bool exists = held != sim::heldElsewhere.end() || sim::HandlesNaming(key) > 0;
    HANDLE handle = sim::NewHandle(sim::HandleKind::Mutex);
    sim::mutexNames[handle] = key;
    SetLastError(exists ? ERROR_ALREADY_EXISTS : ERROR_SUCCESS);
    return handle;
}

BOOL CloseHandle(HANDLE handle) {
    if (sim::IsOpen(handle, sim::HandleKind::File)) {
        sim::CloseFileHandle(handle);
        return TRUE;
    }
    if (sim::ReleaseHandle(handle, sim::HandleKind::Process) || sim::ReleaseHandle(handle, sim::HandleKind::Thread))
        return TRUE;
    if (sim::ReleaseHandle(handle, sim::HandleKind::Mutex)) {
        sim::mutexNames.erase(handle);
        return TRUE;
    }
    SetLastError(ERROR_INVALID_HANDLE);
    return FALSE;
}
