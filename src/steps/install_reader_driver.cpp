// Starts the driver installer of the chosen reader model from the Drivers
// package, unless the smart-card service already lists a GEMPLUS reader.
#include "fileops/directory_path.h"
#include "log/run_log.h"
#include "platform/win32.h"
#include "steps/install_steps.h"
#include "steps/reader_family_scan.h"
#include "steps/step_message.h"

namespace {

const char kPcscLibrary[] = "winscard.dll";
const char kListReadersName[] = "SCardListReadersA";
const char kDriversFolder[] = "Drivers";
const char kDistributionFolder[] = "..";

const char kMessageFamilyPresent[] = "Wykryto już zainstalowany w systemie czytnik rodziny GEMPLUS";
const char kMessageInvalidReader[] = "Nieprawidłowy typ czytnika";
const char kMessageStartFailed[] = "Błąd uruchomienia zewn. sterownika: Drivers\\%s";
const char kMessageDriverFailed[] = "Instalator sterownika Drivers\\%s zakończył się błędem (kod %lu)";
const char kMessageDriverTimedOut[] = "Instalator sterownika Drivers\\%s nie zakończył pracy w ciągu %lu minut";
const unsigned long kMillisecondsPerMinute = 60000;

bool awaitInstaller = false;

// SCardListReadersA, looked up at run time so that the installer also runs
// where no smart-card service is installed.
typedef LONG(WINAPI *ListReadersFunction)(ULONG_PTR context, LPCSTR groups, LPSTR readers, LPDWORD readersLength);

// The driver installer of each driverCode; null where the code has none.
const char *const kDriverFiles[] = {"twin.bat", "410.exe", "twin64.bat", nullptr, "twin8.bat", "twin8_64.bat"};
const int kDriverFileCount = sizeof kDriverFiles / sizeof kDriverFiles[0];

const char *DriverFileFor(int driverCode) {
    return driverCode >= 0 && driverCode < kDriverFileCount ? kDriverFiles[driverCode] : nullptr;
}

// Each name of the service's list, read only within the length given.
void LogReaders(const char *list, DWORD length) {
    for (DWORD at = 0; at < length && list[at] != '\0';) {
        DWORD end = at;
        while (end < length && list[end] != '\0') ++end;
        LogEvent("PC/SC reader: %.*s", static_cast<int>(end - at), list + at);
        at = end + 1;
    }
}

// Asks the service for every reader it knows (no context is needed for
// that) and scans the names. A failure only means no reader is listed.
bool ServiceListsReaderFamily(ListReadersFunction listReaders) {
    DWORD length = 0;
    LONG status = listReaders(0, nullptr, nullptr, &length);
    if (status != SCARD_S_SUCCESS) {
        LogEvent("PC/SC readers: none listed (0x%08lX)", static_cast<unsigned long>(status));
        return false;
    }
    HGLOBAL block = GlobalAlloc(GMEM_FIXED, length);
    if (!block) return false;
    const DWORD blockSize = length;
    bool listed = false;
    status = listReaders(0, nullptr, static_cast<LPSTR>(block), &length);
    if (status == SCARD_S_SUCCESS) {
        LogReaders(static_cast<const char *>(block), length < blockSize ? length : blockSize);
        listed = ListsReaderFamily(static_cast<const char *>(block), length, blockSize);
    } else {
        LogEvent("PC/SC readers: none listed (0x%08lX)", static_cast<unsigned long>(status));
    }
    /* result not examined: */ GlobalFree(block);
    return listed;
}

bool ReaderFamilyListed() {
    // By its full path: Windows would look in the program's folder first,
    // where anyone who could write there could put a library of that name.
    char path[kPathCapacity];
    if (!PathInDirectory(GetSystemDirectoryA, path, kPcscLibrary)) {
        LogEvent("PC/SC readers: none, the system directory cannot be named for %s", kPcscLibrary);
        return false;
    }
    HMODULE library = LoadLibraryA(path);
    if (!library) {
        LogEvent("PC/SC readers: none, %s not loaded (error %lu)", path, static_cast<unsigned long>(GetLastError()));
        return false;
    }
    bool listed = false;
    FARPROC procedure = GetProcAddress(library, kListReadersName);
    if (procedure) {
        // Through void (*)(): FARPROC's own signature is not the procedure's.
        ListReadersFunction listReaders =
            reinterpret_cast<ListReadersFunction>(reinterpret_cast<void (*)()>(procedure));
        listed = ServiceListsReaderFamily(listReaders);
    }
    /* result not examined: */ FreeLibrary(library);
    return listed;
}

// Waits for the started installer; its failure, or its running past the
// limit (it is left running), is the step's error.
StepResult AwaitInstaller(HANDLE process, const char *file, char *message, int capacity) {
    DWORD waited = WaitForSingleObject(process, kDriverInstallerWaitMs);
    if (waited == WAIT_TIMEOUT) {
        LogEvent("driver installer still running after %lu minutes, no longer waited for: %s\\%s",
                 kDriverInstallerWaitMs / kMillisecondsPerMinute, kDriversFolder, file);
        FormatStepMessage(message, capacity, kMessageDriverTimedOut, file,
                          kDriverInstallerWaitMs / kMillisecondsPerMinute);
        return kStepError;
    }
    DWORD exitCode = 0;
    if (waited != WAIT_OBJECT_0 || !GetExitCodeProcess(process, &exitCode)) {
        DWORD error = GetLastError();
        LogEvent("driver installer not awaited (error %lu): %s\\%s", static_cast<unsigned long>(error),
                 kDriversFolder, file);
        FormatStepMessage(message, capacity, kMessageDriverFailed, file, static_cast<unsigned long>(error));
        return kStepError;
    }
    LogEvent("driver installer ended: %s\\%s: exit status %lu", kDriversFolder, file,
             static_cast<unsigned long>(exitCode));
    if (exitCode == 0) return kStepOk;
    FormatStepMessage(message, capacity, kMessageDriverFailed, file, static_cast<unsigned long>(exitCode));
    return kStepError;
}

// Starts the driver installer from the current directory (the package
// folder); unless awaited, it runs on by itself.
StepResult StartDriverInstaller(int driverCode, char *message, int capacity) {
    const char *file = DriverFileFor(driverCode);
    if (!file) {
        WriteStepMessage(message, capacity, kMessageInvalidReader);
        return kStepError;
    }
    STARTUPINFOA startup = {};
    startup.cb = sizeof startup;
    PROCESS_INFORMATION process = {};
    if (!CreateProcessA(file, nullptr, nullptr, nullptr, FALSE, 0, nullptr, nullptr, &startup, &process)) {
        LogEvent("driver installer not started (error %lu): %s\\%s", static_cast<unsigned long>(GetLastError()),
                 kDriversFolder, file);
        FormatStepMessage(message, capacity, kMessageStartFailed, file);
        return kStepError;
    }
    LogEvent("driver installer started: %s\\%s", kDriversFolder, file);
    StepResult result = awaitInstaller ? AwaitInstaller(process.hProcess, file, message, capacity) : kStepOk;
    /* result not examined: */ CloseHandle(process.hThread);
    /* result not examined: */ CloseHandle(process.hProcess);
    return result;
}

} // namespace

void AwaitDriverInstaller(bool await) { awaitInstaller = await; }

StepResult InstallReaderDriver(int driverCode, char *message, int capacity) {
    if (ReaderFamilyListed()) {
        LogEvent("a GEMPLUS reader is known, no driver installer started");
        WriteStepMessage(message, capacity, kMessageFamilyPresent);
        return kStepWarning;
    }
    if (!SetCurrentDirectoryA(kDriversFolder)) {
        WriteStepMessage(message, capacity, kMessageIncompleteInstaller);
        return kStepError;
    }
    StepResult result = StartDriverInstaller(driverCode, message, capacity);
    /* result not examined: */ SetCurrentDirectoryA(kDistributionFolder);
    return result;
}
