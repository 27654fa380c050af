#include "app/distribution_folder.h"

#include <cstring>

#include "platform/win32.h"

namespace {

const char kKernel32[] = "kernel32.dll";
const char kSetDllDirectoryName[] = "SetDllDirectoryA";
const char kNoFolder[] = "";

// Looked up at run time: Windows 2000 and XP before SP1 lack it.
typedef BOOL(WINAPI *SetDllDirectoryFunction)(LPCSTR path);

void LeaveCurrentDirectoryOutOfLibrarySearch() {
    HMODULE kernel32 = GetModuleHandleA(kKernel32);
    FARPROC procedure = kernel32 ? GetProcAddress(kernel32, kSetDllDirectoryName) : nullptr;
    if (!procedure) return;
    // Through void (*)(): FARPROC's own signature is not the procedure's.
    SetDllDirectoryFunction setDllDirectory =
        reinterpret_cast<SetDllDirectoryFunction>(reinterpret_cast<void (*)()>(procedure));
    /* result not examined, the search stays as Windows has it: */ setDllDirectory(kNoFolder);
}

// The folder part of the executable's path; ERROR_SUCCESS or why it has none.
DWORD CutToFolder(char *path, DWORD length) {
    if (length == 0) return GetLastError();
    // A path that fills the buffer was cut (and may be unterminated).
    if (length >= static_cast<DWORD>(kPathCapacity)) return ERROR_FILENAME_EXCED_RANGE;
    char *lastSeparator = std::strrchr(path, '\\');
    if (!lastSeparator) return ERROR_PATH_NOT_FOUND;
    // A drive's root keeps its backslash ("C:\").
    bool root = lastSeparator > path && lastSeparator[-1] == ':';
    lastSeparator[root ? 1 : 0] = '\0';
    return ERROR_SUCCESS;
}

} // namespace

DWORD EnterDistributionFolder(char *folder) {
    LeaveCurrentDirectoryOutOfLibrarySearch();
    DWORD error = CutToFolder(folder, GetModuleFileNameA(nullptr, folder, kPathCapacity));
    if (error == ERROR_SUCCESS && !SetCurrentDirectoryA(folder)) error = GetLastError();
    if (error != ERROR_SUCCESS) folder[0] = '\0';
    return error;
}
