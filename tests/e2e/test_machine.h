// The Windows machine an end-to-end test runs on (the test's own Wine prefix):
// a fresh distribution folder, registered Java runtimes with stand-in
// java.exe programs, files in the system directory, and the installer process.
#pragma once

#include <windows.h>

#include <string>
#include <vector>

namespace e2e {

// Everything a test makes lives under this folder, removed before each test.
extern const char kRoot[];
// Where the stand-in driver installers note that they were started.
extern const char kDriverLog[];

// Clears what earlier tests left: the root folder, the JavaSoft and Netscape
// keys, the installer's files in the system directory, and its record and
// product entry.
void FreshMachine();

std::string SystemDirectory();
std::string UserProfile();
// Where the installer keeps its record and its copy of itself, and the key of
// its entry in Programs and Features.
std::string ProductFolder();
extern const char kUninstallKey[];
// A text value of the product's entry; empty when there is none.
std::string UninstallValue(const char *name);
// Runs a command line as Programs and Features would, from folder; returns
// its exit code, or -1 when it did not start or end in time.
DWORD RunCommandLine(const std::string &commandLine, const std::string &folder, DWORD timeoutMs);

// A runtime home with lib\ext, lib\security\java.policy (the runtime's own)
// and bin\java.exe (the stand-in); under jre\ for a JDK.
void MakeRuntime(const std::string &home, bool jdk);
// What the stand-in java.exe of a home logged: "directory|argument|..." lines.
std::string JavaCalls(const std::string &home);
// An entry under SOFTWARE\JavaSoft\<list>\<entry> with its JavaHome.
void RegisterRuntime(const char *list, const char *entry, const std::string &home);
void RemoveJavaSoftKey();

// The built distribution folder (E2E_DISTRIBUTION; a failure without it)
// copied to <kRoot>\dist, and the stand-in winscard.dll put into the system
// directory; returns the copy's path.
std::string PrepareDistribution();

void WriteFile(const std::string &path, const std::string &content);
std::string ReadFile(const std::string &path);
bool Exists(const std::string &path);
void RemoveTree(const std::string &path);

// The installer, started in the distribution folder (or in startIn) with these arguments.
// Its environment names the readers the stand-in PC/SC service lists.
// Whatever happens, the process is ended by its own id when this object goes.
class InstallerProcess {
  public:
    InstallerProcess(const std::string &distribution, const std::string &readers, const std::string &arguments = "",
                     const std::string &startIn = "");
    ~InstallerProcess();
    InstallerProcess(const InstallerProcess &) = delete;
    InstallerProcess &operator=(const InstallerProcess &) = delete;

    bool started() const { return process_.hProcess != nullptr; }
    DWORD id() const { return process_.dwProcessId; }
    // True when the process ended within the time, with its exit code.
    bool WaitForExit(DWORD *exitCode, DWORD timeoutMs);

  private:
    PROCESS_INFORMATION process_ = {};
};

} // namespace e2e
