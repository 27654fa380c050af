// What the parts of the simulated machine share with each other.
#pragma once

#include <cstdint>
#include <string>

#include "platform/sim/sim_win32.h"

namespace sim {

// Each part forgets its state; Reset calls them all.
void ResetHandles();
void ResetFiles(const std::string &hostRoot);
void ResetMessageBoxes();
void ResetRegistry();
void ResetCommands();
void ResetDialogs();
void ResetMemory();
void ResetPcsc();
void ResetProcesses();
void ResetEnvironment();
void ResetSystem();

// The pseudo module handle of kernel32.dll, and its procedures that a
// program looks up (null for one the running system lacks).
HMODULE Kernel32Module();
FARPROC Kernel32Procedure(const char *name);

// Closes a handle that CreateFileA returned.
void CloseFileHandle(HANDLE handle);

// For CreateProcessA: 0 when the path names an existing file, otherwise the
// error Windows gives for it.
DWORD ProgramFileError(const char *path);
// The full Windows path of an existing folder; empty when the path names none.
std::string FullFolderPath(const char *path);

// The current directory as the machine's parts see it (a Windows path).
const std::string &CurrentDirectory();

// What GetSystemTime reports, as a FILETIME value.
uint64_t CurrentSystemTime();

// The last error of the calling thread (the machine has one thread).
extern DWORD lastError;

} // namespace sim
