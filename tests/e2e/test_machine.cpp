#include "test_machine.h"

#include <gtest/gtest.h>

#include <cstdlib>

#include "support/win_files.h"

namespace e2e {

const char kRoot[] = "C:\\e2e";
const char kDriverLog[] = "C:\\e2e\\driver.log";
const char kUninstallKey[] = "SOFTWARE\\Microsoft\\Windows\\CurrentVersion\\Uninstall\\SmartCardReaderSupport";

namespace {

const DWORD kTerminateWaitMs = 5000;
const char kJavaSoftKey[] = "SOFTWARE\\JavaSoft";
const char kNetscapeKey[] = "Software\\Netscape";
const char *const kSystemFiles[] = {"ocf1.2.jar", "ocfpcsc1.dll"};

// The distribution folder the build made, named by the test's environment
// as a host path (Wine maps the host's / to Z:). Empty without it: "Z:"
// alone would be the host's whole file system.
std::string BuiltDistribution() {
    const char *hostPath = std::getenv("E2E_DISTRIBUTION");
    if (!hostPath || hostPath[0] != '/' || hostPath[1] == '\0') return "";
    std::string path = std::string("Z:") + hostPath;
    for (char &c : path)
        if (c == '/') c = '\\';
    return path;
}

void DeleteKeyTree(HKEY root, const char *path) {
    HKEY key;
    if (RegOpenKeyExA(root, path, 0, KEY_ALL_ACCESS, &key) != ERROR_SUCCESS) return;
    char name[MAX_PATH + 1];
    while (RegEnumKeyA(key, 0, name, sizeof name) == ERROR_SUCCESS) {
        std::string child = std::string(path) + "\\" + name;
        DeleteKeyTree(root, child.c_str());
    }
    RegCloseKey(key);
    RegDeleteKeyA(root, path);
}

void MakeFolders(const std::string &path) {
    for (size_t end = path.find('\\', 3); end != std::string::npos; end = path.find('\\', end + 1))
        CreateDirectoryA(path.substr(0, end).c_str(), nullptr);
    CreateDirectoryA(path.c_str(), nullptr);
}

} // namespace

std::string SystemDirectory() {
    char path[MAX_PATH + 1] = "";
    GetSystemDirectoryA(path, sizeof path);
    return path;
}

std::string ProductFolder() {
    char folder[MAX_PATH + 1] = "";
    HKEY key;
    if (RegOpenKeyExA(HKEY_LOCAL_MACHINE, "SOFTWARE\\Microsoft\\Windows\\CurrentVersion", 0, KEY_QUERY_VALUE, &key) ==
        ERROR_SUCCESS) {
        DWORD size = sizeof folder - 1;
        RegQueryValueExA(key, "ProgramFilesDir", nullptr, nullptr, reinterpret_cast<BYTE *>(folder), &size);
        RegCloseKey(key);
    }
    return std::string(folder) + "\\SmartCardReaderSupport";
}

std::string UninstallValue(const char *name) {
    char value[2 * MAX_PATH] = "";
    HKEY key;
    if (RegOpenKeyExA(HKEY_LOCAL_MACHINE, kUninstallKey, 0, KEY_QUERY_VALUE, &key) != ERROR_SUCCESS) return "";
    DWORD size = sizeof value - 1;
    RegQueryValueExA(key, name, nullptr, nullptr, reinterpret_cast<BYTE *>(value), &size);
    RegCloseKey(key);
    return value;
}

DWORD RunCommandLine(const std::string &commandLine, const std::string &folder, DWORD timeoutMs) {
    std::string text = commandLine;
    STARTUPINFOA startup = {};
    startup.cb = sizeof startup;
    PROCESS_INFORMATION process = {};
    if (!CreateProcessA(nullptr, &text[0], nullptr, nullptr, FALSE, 0, nullptr, folder.c_str(), &startup, &process))
        return static_cast<DWORD>(-1);
    DWORD exitCode = static_cast<DWORD>(-1);
    if (WaitForSingleObject(process.hProcess, timeoutMs) == WAIT_OBJECT_0)
        GetExitCodeProcess(process.hProcess, &exitCode);
    else
        TerminateProcess(process.hProcess, 1);
    CloseHandle(process.hThread);
    CloseHandle(process.hProcess);
    return exitCode;
}

std::string UserProfile() {
    const char *profile = std::getenv("USERPROFILE");
    return profile ? profile : "";
}

void FreshMachine() {
    RemoveTree(kRoot);
    CreateDirectoryA(kRoot, nullptr);
    RemoveJavaSoftKey();
    DeleteKeyTree(HKEY_CURRENT_USER, kNetscapeKey);
    DeleteKeyTree(HKEY_LOCAL_MACHINE, kUninstallKey);
    RemoveTree(ProductFolder());
    for (const char *name : kSystemFiles) {
        std::string path = SystemDirectory() + "\\" + name;
        SetFileAttributesA(path.c_str(), FILE_ATTRIBUTE_NORMAL);
        DeleteFileA(path.c_str());
    }
    for (const char *name :
         {".java.policy", ".opencard.properties", ".java.policy.ocf-bak", ".opencard.properties.ocf-bak"})
        DeleteFileA((UserProfile() + "\\" + name).c_str());
}

void MakeRuntime(const std::string &home, bool jdk) {
    std::string runtime = jdk ? home + "\\jre" : home;
    MakeFolders(runtime + "\\lib\\ext");
    MakeFolders(runtime + "\\lib\\security");
    MakeFolders(home + "\\bin");
    WriteFile(runtime + "\\lib\\security\\java.policy", "// the runtime's own policy\n");
    CopyFileA(STAND_IN_FOLDER "\\java.exe", (home + "\\bin\\java.exe").c_str(), FALSE);
}

std::string JavaCalls(const std::string &home) { return ReadFile(home + "\\bin\\calls.log"); }

void RegisterRuntime(const char *list, const char *entry, const std::string &home) {
    std::string path = std::string(kJavaSoftKey) + "\\" + list + "\\" + entry;
    HKEY key;
    if (RegCreateKeyExA(HKEY_LOCAL_MACHINE, path.c_str(), 0, nullptr, 0, KEY_ALL_ACCESS, nullptr, &key, nullptr) !=
        ERROR_SUCCESS)
        return;
    RegSetValueExA(key, "JavaHome", 0, REG_SZ, reinterpret_cast<const BYTE *>(home.c_str()),
                   static_cast<DWORD>(home.size() + 1));
    RegCloseKey(key);
}

void RemoveJavaSoftKey() { DeleteKeyTree(HKEY_LOCAL_MACHINE, kJavaSoftKey); }

std::string PrepareDistribution() {
    std::string distribution = std::string(kRoot) + "\\dist";
    const std::string built = BuiltDistribution();
    if (built.empty()) {
        ADD_FAILURE() << "E2E_DISTRIBUTION must name the built distribution folder (a host path)";
        return distribution;
    }
    winfiles::CopyTree(built, distribution);
    // The installer loads the PC/SC library from the system directory only.
    CopyFileA(STAND_IN_FOLDER "\\winscard.dll", (SystemDirectory() + "\\winscard.dll").c_str(), FALSE);
    // The build's placeholder driver installers note their start in
    // STANDIN_DRIVER_LOG and end with STANDIN_DRIVER_EXIT when it is set.
    return distribution;
}

void WriteFile(const std::string &path, const std::string &content) { winfiles::Write(path, content); }

std::string ReadFile(const std::string &path) { return winfiles::Read(path); }

bool Exists(const std::string &path) { return GetFileAttributesA(path.c_str()) != INVALID_FILE_ATTRIBUTES; }

void RemoveTree(const std::string &path) { winfiles::RemoveTree(path); }

InstallerProcess::InstallerProcess(const std::string &distribution, const std::string &readers,
                                   const std::string &arguments, const std::string &startIn) {
    // The child inherits these. (Wine takes WINEDLLOVERRIDES=winscard=n, which
    // loads the stand-in in the system directory rather than its own, only
    // from the host environment the test program was started in.)
    SetEnvironmentVariableA("STANDIN_READERS", readers.c_str());
    SetEnvironmentVariableA("STANDIN_DRIVER_LOG", kDriverLog);
    std::string program = distribution + "\\" + INSTALLER_FILE_NAME;
    std::string commandLine = "\"" + program + "\" " + arguments;
    STARTUPINFOA startup = {};
    startup.cb = sizeof startup;
    const std::string folder = startIn.empty() ? distribution : startIn;
    if (!CreateProcessA(program.c_str(), &commandLine[0], nullptr, nullptr, FALSE, 0, nullptr, folder.c_str(),
                        &startup, &process_))
        process_ = {};
}

InstallerProcess::~InstallerProcess() {
    if (!process_.hProcess) return;
    if (WaitForSingleObject(process_.hProcess, 0) == WAIT_TIMEOUT) {
        TerminateProcess(process_.hProcess, 1);
        WaitForSingleObject(process_.hProcess, kTerminateWaitMs);
    }
    CloseHandle(process_.hThread);
    CloseHandle(process_.hProcess);
}

bool InstallerProcess::WaitForExit(DWORD *exitCode, DWORD timeoutMs) {
    if (!process_.hProcess || WaitForSingleObject(process_.hProcess, timeoutMs) != WAIT_OBJECT_0) return false;
    return GetExitCodeProcess(process_.hProcess, exitCode) != FALSE;
}

} // namespace e2e
