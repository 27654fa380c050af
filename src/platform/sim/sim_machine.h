// Control of the simulated Windows machine: how a test sets up the machine,
// injects faults, scripts the user's answers and checks what was left open.
// The installer itself never includes this header.
#pragma once

#include <cstdint>
#include <functional>
#include <optional>
#include <string>
#include <vector>

#include "platform/sim/sim_win32.h"

namespace sim {

// --- Machine -----------------------------------------------------------------

// Starts a fresh machine whose drive C: is the existing host folder hostRoot.
// Everything else is forgotten: attributes, faults, registry, scripts,
// handles, memory blocks, the PC/SC service, recorded process starts and
// the environment (empty).
// The Windows directory is C:\Windows, the system directory
// C:\Windows\System32 (both created), and the current directory is C:\.
void Reset(const std::string &hostRoot);

// The host path that a Windows path resolves to: existing components with
// their case on disk, missing ones as written. Empty for an invalid path.
std::string HostPath(const std::string &windowsPath);

// Sets what GetWindowsDirectoryA / GetSystemDirectoryA report; nullptr makes
// the query fail (return 0). The folder is not created.
void SetWindowsDirectory(const char *path);
void SetSystemDirectory(const char *path);

// Test conveniences over the host folder. MakeFile creates missing parent
// folders; attributes start as Windows gives a new file (archive).
void MakeDirs(const std::string &windowsPath);
void MakeFile(const std::string &windowsPath, const std::string &content);
std::string ReadFile(const std::string &windowsPath);
bool Exists(const std::string &windowsPath);

// What GetSystemTime reports, as a FILETIME value; after Reset,
// 2026-12-07 12:00:00 UTC. The clock does not move by itself.
void SetSystemTime(uint64_t fileTime);

// Last-write time as a FILETIME value (100 ns since 1601-01-01, UTC).
void SetLastWriteTime(const std::string &windowsPath, uint64_t fileTime);
uint64_t LastWriteTime(const std::string &windowsPath);
// A FILETIME value for a UTC calendar time, to write tests in calendar terms.
uint64_t FileTimeOf(int year, int month, int day, int hour, int minute, int second);

// Renames that MoveFileExA with MOVEFILE_DELAY_UNTIL_REBOOT left for the next
// start of Windows: (existing, new) with new empty for a deletion.
const std::vector<std::pair<std::string, std::string>> &PendingRenames();
// Carries out the pending renames, as Windows does when it starts again.
void Restart();

// --- Fault injection ---------------------------------------------------------

// The file is held open by another program without any sharing: opening,
// copying onto or deleting it fails with ERROR_SHARING_VIOLATION.
void LockFile(const std::string &windowsPath);
// The same, once this program has opened the file for reading `opens` more
// times: another program (a virus scanner, a browser) takes it between two reads.
void LockFileAfterOpens(const std::string &windowsPath, int opens);
// A search of this folder cannot start, failing with the given error.
void FailSearchStart(const std::string &folder, DWORD error);
// A search of this folder returns `entries` entries ("." and ".." included)
// and then ends with the given error instead of ERROR_NO_MORE_FILES.
void FailSearchAfter(const std::string &folder, int entries, DWORD error);
// Creating this folder fails with the given error.
void FailCreateDirectory(const std::string &path, DWORD error);
// Every copy onto this target writes the first half of its source over it
// and then fails with the given error, as on a disk that runs full.
void FailCopyHalfWay(const std::string &target, DWORD error);
// The machine stops (is switched off, or the program killed) after this many
// more changes to its files: copies, deletions, renames, attribute changes,
// folder creations and writes. The change in progress then is cut off (a copy
// leaves the first half of its source over its target) and every change
// from then on fails with ERROR_NOT_READY, so the files stay as the stop
// left them. A count below 0 lets the machine run on again, as after a restart.
void StopChangesAfter(int changes);
// Whether the machine has stopped since StopChangesAfter.
bool Stopped();

// --- Message boxes -----------------------------------------------------------

struct MessageBoxCall {
    HWND owner;
    std::string text;
    std::string caption;
    UINT flags;
};

// Answers given in order to the next message boxes. When no answer is left,
// MessageBoxA fails and returns 0.
void QueueMessageBoxAnswers(const std::vector<int> &next);
const std::vector<MessageBoxCall> &MessageBoxes();

// --- Commands ----------------------------------------------------------------

// A command given to RunCommand and the current directory it would start in.
struct CommandCall {
    std::string command;
    std::string currentDirectory;
};

// The handler gives the exit status of every command; without one, every
// command returns -1, as when no command interpreter can be started.
void SetCommandHandler(const std::function<int(const CommandCall &)> &exitStatus);
const std::vector<CommandCall> &Commands();

// --- Dialogs -----------------------------------------------------------------
//
// DialogBoxParamA builds template 101, the installer's dialog and the one the
// machine knows, from the same control table as the resource script: dialog
// units become pixels with the base units of MS Sans Serif 8 at 96 dpi, the
// window gets a classic caption and dialog frame and is centred on the
// screen. It sends WM_INITDIALOG, shows the dialog and hands it to the
// user. The dialog is destroyed when the user returns.

constexpr int kScreenWidth = 1024;
constexpr int kScreenHeight = 768;

struct DialogCall {
    HINSTANCE instance;
    HWND owner;
    LPARAM initParam;
    bool ended;     // EndDialog was called (known once the dialog is gone)
    INT_PTR result; // EndDialog's result
};

// The user of the next dialogs, who acts on the dialog and ends it. Without
// one, or when the user leaves without EndDialog having been called,
// DialogBoxParamA returns -1 and records the call as not ended.
void SetDialogUser(const std::function<void(HWND dialog)> &user);
const std::vector<DialogCall> &Dialogs();

// The user's own actions. None has an effect after EndDialog, and the mouse
// has none on a hidden or disabled control.
// A mouse click on a button: the button takes the focus, an automatic check
// box changes its mark, and the dialog gets WM_COMMAND with BN_CLICKED.
void Click(HWND dialog, int id);
// Picking an item of a drop-down list: it is selected and the dialog gets
// WM_COMMAND with CBN_SELCHANGE.
void ChooseItem(HWND dialog, int id, int index);
// The Escape key, and the window's close box: the dialog gets WM_COMMAND
// IDCANCEL (the close box by way of WM_CLOSE and the default handling),
// whatever state the Cancel button is in.
void PressEscape(HWND dialog);
void ClickCloseBox(HWND dialog);

// --- Registry ----------------------------------------------------------------

// Adds keys and values from .reg text (the regedit format: [key] lines,
// "name"="text", @="text", dword:, hex:, hex(n):, [-key] and "name"=-).
// Strings are taken as Windows-1250 bytes and stored with their terminator.
void LoadRegistry(const std::string &regText);
// Stores a value's bytes exactly as given, e.g. a string without terminator.
void SetRegistryValue(const std::string &keyPath, const std::string &name, DWORD type, const std::string &bytes);
// The key and everything below it refuse write access, as HKEY_LOCAL_MACHINE
// does to a user without administrator rights (KEY_ALL_ACCESS is refused).
void DenyFullAccess(const std::string &keyPath);

// --- PC/SC smart-card service and memory blocks -------------------------------

// What LoadLibraryA("winscard.dll") and its SCardListReadersA give. After
// Reset the library is present and lists no readers
// (SCARD_E_NO_READERS_AVAILABLE), as on a machine without a reader.
struct PcscService {
    bool libraryPresent = true;     // false: LoadLibraryA fails, ERROR_MOD_NOT_FOUND
    bool listReadersPresent = true; // false: GetProcAddress fails, ERROR_PROC_NOT_FOUND
    // The reader multi-string, final NUL included; empty: no readers.
    std::string readerList;
    // Forced results of a size query (no buffer) and of a fetch (with a
    // buffer); SCARD_S_SUCCESS: the service answers from readerList.
    LONG sizeQueryResult = SCARD_S_SUCCESS;
    LONG fetchResult = SCARD_S_SUCCESS;
    // A misbehaving service: the size query reports this length instead of
    // the list's, or the fetch reports this count instead of what it wrote.
    // The fetch never writes more than the length it was given.
    std::optional<DWORD> sizeReported;
    std::optional<DWORD> fetchReported;
};
void SetPcscService(const PcscService &script);

// One call of SCardListReadersA as the caller made it.
struct ReaderQuery {
    ULONG_PTR context;
    bool allGroups;  // reader groups null
    bool withBuffer; // a reader buffer was given (a fetch, not a size query)
    DWORD lengthIn;  // the length passed in (meaningful for a fetch)
};
const std::vector<ReaderQuery> &ReaderQueries();
// The names LoadLibraryA was asked for, in order, as given.
const std::vector<std::string> &LibraryLoads();

// Every following GlobalAlloc fails with ERROR_NOT_ENOUGH_MEMORY.
void RefuseMemoryBlocks();

// --- Processes ---------------------------------------------------------------

// One call of CreateProcessA; a null string argument is an empty optional.
struct ProcessStart {
    std::optional<std::string> applicationName;
    std::optional<std::string> commandLine;
    bool processAttributes; // non-null security attributes were given
    bool threadAttributes;
    BOOL inheritHandles;
    DWORD creationFlags;
    bool environment;                            // a non-null environment was given
    std::optional<std::string> currentDirectory; // as passed
    std::string runsIn;                          // the folder the program starts in (full Windows path)
    DWORD startupInfoSize;                       // the record's cb field
    bool startupInfoRestZero;                    // every byte after cb is zero
    bool started;
};
const std::vector<ProcessStart> &ProcessStarts();

// How every process started from now on ends: with this exit code, or, when
// empty, never (WaitForSingleObject then answers WAIT_TIMEOUT at once, for
// any time given). After Reset: with 0.
void SetProcessExitCode(std::optional<DWORD> exitCode);
// The times given to WaitForSingleObject on process handles, in order.
const std::vector<DWORD> &ProcessWaits();

// Every following CreateProcessA fails with this error, whether the program
// exists or not; 0 returns to the normal rule (a start succeeds when the
// application file exists).
void FailProcessStarts(DWORD error);

// --- The running system -----------------------------------------------------

// What the machine says about itself. After Reset: Windows 7 SP1 32-bit
// (6.1.7601), both optional kernel32 functions present, computer WINSTACJA,
// account Administrator, a member of Administrators, and the executable
// named as lying in the current directory (see ExecutablePath).
struct RunningSystem {
    DWORD major = 6;
    DWORD minor = 1;
    DWORD build = 7601;
    bool wow64 = false;               // a 32-bit program on 64-bit Windows
    bool hasIsWow64Process = true;    // false: before XP SP2, as on Windows 2000
    bool hasSetDllDirectory = true;   // false: before XP SP1
    std::string computer = "WINSTACJA";
    std::string user = "Administrator";
    bool administrator = true;
};
void SetRunningSystem(const RunningSystem &system);

// What GetModuleFileNameA(nullptr) reports. Empty (after Reset): the
// current directory's installer.exe, as when started from its own folder.
void SetExecutablePath(const std::string &windowsPath);

// The folders given to SetDllDirectoryA, in order.
const std::vector<std::string> &DllDirectories();

// --- Named kernel objects ----------------------------------------------------

// A mutex of this name already exists, held by another program: CreateMutexA
// opens it and reports ERROR_ALREADY_EXISTS. With denied set, it belongs to
// another user and opening it fails with ERROR_ACCESS_DENIED.
void HoldMutex(const std::string &name, bool denied);

// --- Handles -----------------------------------------------------------------

enum class HandleKind { File, Search, Key, Library, Block, Process, Thread, Mutex, Sid };

// How many handles of a kind are open now (opened and not yet closed).
int OpenHandles(HandleKind kind);
// All open handles of every kind, for "nothing left behind" checks.
int OpenHandles();

// Bookkeeping shared by the simulation's parts: a handle value for a new
// object (the last closed one's, as Windows reuses them), its kind, and its
// release. Release returns false for a handle that is not open as that kind.
HANDLE NewHandle(HandleKind kind);
bool IsOpen(HANDLE handle, HandleKind kind);
bool ReleaseHandle(HANDLE handle, HandleKind kind);
void TrackHandle(HANDLE handle, HandleKind kind);

} // namespace sim
