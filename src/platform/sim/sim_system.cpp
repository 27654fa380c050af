// The running system of the simulated machine: its version and bitness, the
// computer and the account, the executable's own path, kernel32's optional
// procedures, and the administrators' group.
#include <cstring>
#include <string>
#include <vector>

#include "platform/sim/sim_internal.h"
#include "platform/sim/sim_machine.h"

namespace sim {
namespace {

const char kKernel32[] = "KERNEL32.DLL";
const char kExecutableName[] = "installer.exe";
// The pseudo handle Windows gives for the current process.
HANDLE const kCurrentProcess = reinterpret_cast<HANDLE>(static_cast<LONG_PTR>(-1));
// Any value that is no handle of another kind: the simulation never follows it.
HMODULE const kKernel32Module = reinterpret_cast<HMODULE>(static_cast<ULONG_PTR>(0x7C800000));

RunningSystem running;
std::string executablePath;
std::vector<std::string> dllDirectories;

bool SameIgnoringCase(const char *a, const char *b) {
    for (; *a && *b; ++a, ++b) {
        char x = *a >= 'a' && *a <= 'z' ? static_cast<char>(*a - 'a' + 'A') : *a;
        if (x != *b) return false;
    }
    return *a == *b;
}

// The answer of GetComputerNameA and GetUserNameA: the name and its
// terminator when they fit, otherwise ERROR_BUFFER_OVERFLOW / ERROR_INSUFFICIENT_BUFFER
// with the size needed.
BOOL CopyName(const std::string &name, LPSTR buffer, LPDWORD size, DWORD tooSmall, bool sizeCountsTerminator) {
    if (!size) return SetLastError(ERROR_INVALID_PARAMETER), FALSE;
    if (!buffer || *size <= name.size()) {
        *size = static_cast<DWORD>(name.size() + 1);
        return SetLastError(tooSmall), FALSE;
    }
    std::memcpy(buffer, name.c_str(), name.size() + 1);
    *size = static_cast<DWORD>(name.size() + (sizeCountsTerminator ? 1 : 0));
    return TRUE;
}

BOOL WINAPI SetDllDirectoryProcedure(LPCSTR path) {
    dllDirectories.push_back(path ? path : "(null)");
    return TRUE;
}

BOOL WINAPI IsWow64ProcessProcedure(HANDLE process, BOOL *wow64) {
    if (process != kCurrentProcess || !wow64) return SetLastError(ERROR_INVALID_HANDLE), FALSE;
    *wow64 = running.wow64 ? TRUE : FALSE;
    return TRUE;
}

template <typename Procedure> FARPROC AsFarProc(Procedure procedure) {
    // The caller converts it back to the procedure's own type before calling.
    return reinterpret_cast<FARPROC>(reinterpret_cast<void (*)()>(procedure));
}

} // namespace

void ResetSystem() {
    running = RunningSystem();
    executablePath.clear();
    dllDirectories.clear();
}

void SetRunningSystem(const RunningSystem &system) { running = system; }

void SetExecutablePath(const std::string &windowsPath) { executablePath = windowsPath; }

const std::vector<std::string> &DllDirectories() { return dllDirectories; }

HMODULE Kernel32Module() { return kKernel32Module; }

FARPROC Kernel32Procedure(const char *name) {
    if (running.hasSetDllDirectory && std::strcmp(name, "SetDllDirectoryA") == 0)
        return AsFarProc(&SetDllDirectoryProcedure);
    if (running.hasIsWow64Process && std::strcmp(name, "IsWow64Process") == 0)
        return AsFarProc(&IsWow64ProcessProcedure);
    return nullptr;
}

} // namespace sim

HANDLE GetCurrentProcess() { return sim::kCurrentProcess; }

HMODULE GetModuleHandleA(LPCSTR moduleName) {
    if (moduleName && sim::SameIgnoringCase(moduleName, sim::kKernel32)) return sim::kKernel32Module;
    return SetLastError(ERROR_MOD_NOT_FOUND), nullptr;
}

// As Windows XP and later: a path cut to the buffer, unterminated when it
// fills it, and the size returned with ERROR_INSUFFICIENT_BUFFER.
DWORD GetModuleFileNameA(HMODULE module, LPSTR fileName, DWORD size) {
    if (module) return SetLastError(ERROR_MOD_NOT_FOUND), 0;
    std::string path = sim::executablePath;
    if (path.empty()) {
        path = sim::CurrentDirectory();
        if (path.back() != '\\') path += '\\';
        path += sim::kExecutableName;
    }
    if (size == 0) return SetLastError(ERROR_INSUFFICIENT_BUFFER), 0;
    if (path.size() >= size) {
        std::memcpy(fileName, path.data(), size);
        SetLastError(ERROR_INSUFFICIENT_BUFFER);
        return size;
    }
    std::memcpy(fileName, path.c_str(), path.size() + 1);
    SetLastError(ERROR_SUCCESS);
    return static_cast<DWORD>(path.size());
}

BOOL GetVersionExA(OSVERSIONINFOA *versionInformation) {
    if (!versionInformation || versionInformation->dwOSVersionInfoSize != sizeof *versionInformation)
        return SetLastError(ERROR_INSUFFICIENT_BUFFER), FALSE;
    versionInformation->dwMajorVersion = sim::running.major;
    versionInformation->dwMinorVersion = sim::running.minor;
    versionInformation->dwBuildNumber = sim::running.build;
    versionInformation->dwPlatformId = VER_PLATFORM_WIN32_NT;
    versionInformation->szCSDVersion[0] = '\0';
    return TRUE;
}

BOOL GetComputerNameA(LPSTR buffer, LPDWORD size) {
    const DWORD kErrorBufferOverflow = 111;
    return sim::CopyName(sim::running.computer, buffer, size, kErrorBufferOverflow, false);
}

BOOL GetUserNameA(LPSTR buffer, LPDWORD size) {
    return sim::CopyName(sim::running.user, buffer, size, ERROR_INSUFFICIENT_BUFFER, true);
}

BOOL AllocateAndInitializeSid(SID_IDENTIFIER_AUTHORITY *authority, BYTE subAuthorityCount, DWORD subAuthority0,
                              DWORD subAuthority1, DWORD, DWORD, DWORD, DWORD, DWORD, DWORD, PSID *sid) {
    // Only the administrators' group is modelled.
    const SID_IDENTIFIER_AUTHORITY nt = SECURITY_NT_AUTHORITY;
    if (!authority || !sid || std::memcmp(authority, &nt, sizeof nt) != 0 || subAuthorityCount != 2 ||
        subAuthority0 != SECURITY_BUILTIN_DOMAIN_RID || subAuthority1 != DOMAIN_ALIAS_RID_ADMINS)
        return SetLastError(ERROR_INVALID_PARAMETER), FALSE;
    *sid = sim::NewHandle(sim::HandleKind::Sid);
    return TRUE;
}

BOOL CheckTokenMembership(HANDLE token, PSID sid, BOOL *isMember) {
    if (token || !isMember || !sim::IsOpen(sid, sim::HandleKind::Sid))
        return SetLastError(ERROR_INVALID_PARAMETER), FALSE;
    *isMember = sim::running.administrator ? TRUE : FALSE;
    return TRUE;
}

void *FreeSid(PSID sid) {
    // Windows returns null on success, the SID on failure.
    return sim::ReleaseHandle(sid, sim::HandleKind::Sid) ? nullptr : sid;
}
