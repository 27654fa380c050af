#include "app/running_windows.h"

namespace {

const char kKernel32[] = "kernel32.dll";
const char kIsWow64ProcessName[] = "IsWow64Process";
// A 64-bit program runs only on 64-bit Windows.
#ifdef _WIN64
const bool kSixtyFourBitProgram = true;
#else
const bool kSixtyFourBitProgram = false;
#endif

// Looked up at run time: Windows 2000 and XP before SP2 lack it (and run
// only 32-bit).
typedef BOOL(WINAPI *IsWow64ProcessFunction)(HANDLE process, BOOL *wow64);

bool RunsUnderWow64() {
    HMODULE kernel32 = GetModuleHandleA(kKernel32);
    FARPROC procedure = kernel32 ? GetProcAddress(kernel32, kIsWow64ProcessName) : nullptr;
    if (!procedure) return false;
    // Through void (*)(): FARPROC's own signature is not the procedure's.
    IsWow64ProcessFunction isWow64Process =
        reinterpret_cast<IsWow64ProcessFunction>(reinterpret_cast<void (*)()>(procedure));
    BOOL wow64 = FALSE;
    return isWow64Process(GetCurrentProcess(), &wow64) && wow64;
}

} // namespace

RunningWindows QueryRunningWindows() {
    RunningWindows running = {};
    OSVERSIONINFOA version = {};
    version.dwOSVersionInfoSize = sizeof version;
    if (GetVersionExA(&version)) {
        running.major = version.dwMajorVersion;
        running.minor = version.dwMinorVersion;
        running.build = version.dwBuildNumber;
    }
    running.sixtyFourBit = kSixtyFourBitProgram || RunsUnderWow64();
    return running;
}
