// Process creation on the simulated machine: nothing runs; each start is
// recorded, and succeeds when the program file exists (or fails as scripted),
// giving counted process and thread handles.
#include <cstring>
#include <vector>

#include "platform/sim/sim_internal.h"
#include "platform/sim/sim_machine.h"

namespace sim {
namespace {

const DWORD kErrorCallNotImplemented = 120;
const DWORD kFirstProcessId = 0x400;

std::vector<ProcessStart> starts;
std::vector<DWORD> waits;
std::optional<DWORD> exitCode = 0;
DWORD scriptedError = 0;
DWORD nextId = kFirstProcessId;

std::optional<std::string> TextOrNone(const char *text) {
    return text ? std::optional<std::string>(text) : std::nullopt;
}

bool RestIsZero(const STARTUPINFOA &info) {
    const BYTE *bytes = reinterpret_cast<const BYTE *>(&info);
    for (size_t i = sizeof info.cb; i < sizeof info; ++i)
        if (bytes[i] != 0) return false;
    return true;
}

// The error of a start as Windows would give it; 0 when it would succeed.
DWORD StartError(LPCSTR applicationName, LPCSTR currentDirectory, const std::string &runsIn) {
    if (scriptedError) return scriptedError;
    if (currentDirectory && runsIn.empty()) return ERROR_DIRECTORY;
    return ProgramFileError(applicationName);
}

} // namespace

void ResetProcesses() {
    starts.clear();
    waits.clear();
    exitCode = 0;
    scriptedError = 0;
    nextId = kFirstProcessId;
}

const std::vector<ProcessStart> &ProcessStarts() { return starts; }

void FailProcessStarts(DWORD error) { scriptedError = error; }

void SetProcessExitCode(std::optional<DWORD> code) { exitCode = code; }

const std::vector<DWORD> &ProcessWaits() { return waits; }

} // namespace sim

BOOL CreateProcessA(LPCSTR applicationName, LPSTR commandLine, LPSECURITY_ATTRIBUTES processAttributes,
                    LPSECURITY_ATTRIBUTES threadAttributes, BOOL inheritHandles, DWORD creationFlags,
                    LPVOID environment, LPCSTR currentDirectory, STARTUPINFOA *startupInfo,
                    PROCESS_INFORMATION *processInformation) {
    if (!startupInfo || !processInformation || (!applicationName && !commandLine))
        return SetLastError(ERROR_INVALID_PARAMETER), FALSE;
    // Finding the program from the command line (the search path) is not
    // modelled: the installer always names the program.
    if (!applicationName) return SetLastError(sim::kErrorCallNotImplemented), FALSE;

    sim::ProcessStart start;
    start.applicationName = sim::TextOrNone(applicationName);
    start.commandLine = sim::TextOrNone(commandLine);
    start.processAttributes = processAttributes != nullptr;
    start.threadAttributes = threadAttributes != nullptr;
    start.inheritHandles = inheritHandles;
    start.creationFlags = creationFlags;
    start.environment = environment != nullptr;
    start.currentDirectory = sim::TextOrNone(currentDirectory);
    start.runsIn = currentDirectory ? sim::FullFolderPath(currentDirectory) : sim::CurrentDirectory();
    start.startupInfoSize = startupInfo->cb;
    start.startupInfoRestZero = sim::RestIsZero(*startupInfo);
    DWORD error = sim::StartError(applicationName, currentDirectory, start.runsIn);
    start.started = error == 0;
    sim::starts.push_back(start);
    if (error) return SetLastError(error), FALSE;

    processInformation->hProcess = sim::NewHandle(sim::HandleKind::Process);
    processInformation->hThread = sim::NewHandle(sim::HandleKind::Thread);
    processInformation->dwProcessId = sim::nextId;
    processInformation->dwThreadId = sim::nextId + 4;
    sim::nextId += 8;
    return TRUE;
}

// Only process handles are waited for; a process that ends has ended by the
// time anyone looks, one that never ends times out at once.
DWORD WaitForSingleObject(HANDLE handle, DWORD milliseconds) {
    if (!sim::IsOpen(handle, sim::HandleKind::Process)) return SetLastError(ERROR_INVALID_HANDLE), WAIT_FAILED;
    sim::waits.push_back(milliseconds);
    return sim::exitCode ? WAIT_OBJECT_0 : WAIT_TIMEOUT;
}

BOOL GetExitCodeProcess(HANDLE process, LPDWORD exitCode) {
    const DWORD kStillActive = 259;
    if (!sim::IsOpen(process, sim::HandleKind::Process) || !exitCode) return SetLastError(ERROR_INVALID_HANDLE), FALSE;
    *exitCode = sim::exitCode.value_or(kStillActive);
    return TRUE;
}
