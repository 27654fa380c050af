// The executable's entry point, in place of MinGW's C run-time start-up code,
// which was a fifth of the file and did nothing the installer needs:
// msvcrt.dll sets itself up when Windows loads it, the installer throws
// nothing and has no thread-local data, and every global of it is
// constant-initialised, which the link checks (no_constructors.ld.in).
#include "app/command_line.h"
#include "platform/win32.h"

// The name the linker looks for in a program for the GUI subsystem.
extern "C" void WinMainCRTStartup() {
    // WinMain reads neither a previous instance nor the show state: the
    // dialog takes the one its starter asked for from Windows itself.
    int exitCode =
        WinMain(GetModuleHandleA(nullptr), nullptr, ArgumentsAfterProgramName(GetCommandLineA()), SW_SHOWDEFAULT);
    ExitProcess(static_cast<UINT>(exitCode));
}
