// The restore end to end, under Wine: the real installer.exe installs
// unattended on a machine like the demo machine, then /S /RESTORE must give
// the machine back as it was, but for what the restore leaves by design, and
// a second restore must find nothing left to do.
#include <gtest/gtest.h>

#include <map>
#include <string>

#include "installer_window.h"
#include "test_machine.h"

namespace e2e {
namespace {

const char kJreHome[] = "C:\\e2e\\Java\\jre1.8.0_401";
const char kJdkHome[] = "C:\\e2e\\Java\\jdk1.8.0_401";
const char kLogFolder[] = "C:\\e2e\\logs";
const char kUserPolicy[] = "// the user's own policy\r\n";
const DWORD kExitRestartNeeded = 3010;
// What the stand-in java.exe notes of its own runs, beside itself.
const char kStandInRecord[] = "calls.log";

// Every file below folder with its content (the stand-in's record left out).
void AddTree(const std::string &folder, std::map<std::string, std::string> &files) {
    WIN32_FIND_DATAA entry;
    HANDLE search = FindFirstFileA((folder + "\\*").c_str(), &entry);
    if (search == INVALID_HANDLE_VALUE) return;
    do {
        std::string name = entry.cFileName;
        std::string path = folder + "\\" + name;
        if (name == "." || name == ".." || name == kStandInRecord) continue;
        if (entry.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY)
            AddTree(path, files);
        else
            files[path] = ReadFile(path);
    } while (FindNextFileA(search, &entry));
    FindClose(search);
}

// The files of a folder itself, not of its subfolders; with contents, or
// with sizes alone for a large folder (the system directory).
void AddFolder(const std::string &folder, bool contents, std::map<std::string, std::string> &files) {
    WIN32_FIND_DATAA entry;
    HANDLE search = FindFirstFileA((folder + "\\*").c_str(), &entry);
    if (search == INVALID_HANDLE_VALUE) return;
    do {
        if (entry.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY) continue;
        std::string path = folder + "\\" + entry.cFileName;
        files[path] = contents ? ReadFile(path) : std::to_string(entry.nFileSizeLow);
    } while (FindNextFileA(search, &entry));
    FindClose(search);
}

// Everything the installation and the restore may touch: the runtimes, the
// user's profile and the system directory.
std::map<std::string, std::string> Snapshot() {
    std::map<std::string, std::string> files;
    AddTree("C:\\e2e\\Java", files);
    AddFolder(UserProfile(), true, files);
    AddFolder(SystemDirectory(), false, files);
    return files;
}

class RestoreEndToEndTest : public ::testing::Test {
  protected:
    void SetUp() override {
        FreshMachine();
        distribution = PrepareDistribution();
        ASSERT_TRUE(Exists(distribution + "\\" + INSTALLER_FILE_NAME)) << "no distribution folder at E2E_DISTRIBUTION";
        CreateDirectoryA(kLogFolder, nullptr);
    }
    void TearDown() override { FreshMachine(); }

    // Runs the installer unattended and returns its exit code.
    DWORD Run(const std::string &arguments) {
        InstallerProcess installer(distribution, "", arguments);
        EXPECT_TRUE(installer.started()) << arguments;
        DWORD exitCode = 0;
        EXPECT_TRUE(installer.WaitForExit(&exitCode, kWaitMs)) << arguments;
        return exitCode;
    }

    std::string distribution;
};

TEST_F(RestoreEndToEndTest, InstallThenRestoreGivesTheMachineBackAndASecondRestoreDoesNothing) {
    // The demo machine: a JRE and a JDK with policies of their own, a stale
    // OCF archive in the system directory; and a policy of the user's own.
    MakeRuntime(kJreHome, false);
    RegisterRuntime("Java Runtime Environment", "1.8.0_401", kJreHome);
    MakeRuntime(kJdkHome, true);
    RegisterRuntime("Java Development Kit", "1.8.0_401", kJdkHome);
    const std::string systemDirectory = SystemDirectory();
    WriteFile(systemDirectory + "\\ocf1.2.jar", "a stale OCF archive left by an earlier installation\r\n");
    const std::string userPolicy = UserProfile() + "\\.java.policy";
    WriteFile(userPolicy, kUserPolicy);
    const std::map<std::string, std::string> before = Snapshot();

    const std::string installLog = std::string(kLogFolder) + "\\install.log";
    ASSERT_EQ(Run("/S /LOG=" + installLog), kExitRestartNeeded) << ReadFile(installLog);
    const std::string jrePolicy = std::string(kJreHome) + "\\lib\\security\\java.policy";
    const std::string jdkPolicy = std::string(kJdkHome) + "\\jre\\lib\\security\\java.policy";
    ASSERT_TRUE(Exists(jrePolicy + ".ocf-bak"));
    ASSERT_TRUE(Exists(userPolicy + ".ocf-bak"));

    const std::string restoreLog = std::string(kLogFolder) + "\\restore.log";
    EXPECT_EQ(Run("/S /RESTORE /LOG=\"" + restoreLog + "\""), 0u) << ReadFile(restoreLog);
    // What stays by design: the library other programs may load, and the
    // stale archive, which is not brought back.
    std::map<std::string, std::string> expected = before;
    const std::string systemLibrary = systemDirectory + "\\ocfpcsc1.dll";
    expected[systemLibrary] = std::to_string(ReadFile(distribution + "\\sun\\ocfpcsc1.dll").size());
    expected.erase(systemDirectory + "\\ocf1.2.jar");
    const std::map<std::string, std::string> after = Snapshot();
    EXPECT_EQ(after, expected);

    const std::string log = ReadFile(restoreLog);
    for (const std::string &line :
         {"restored from its backup: " + jrePolicy, "restored from its backup: " + jdkPolicy,
          "restored from its backup: " + userPolicy, "removed: " + std::string(kJreHome) + "\\lib\\ext\\ocf1.2.jar",
          "removed: " + std::string(kJreHome) + "\\lib\\ext\\ocfpcsc1.dll",
          "removed: " + std::string(kJdkHome) + "\\jre\\lib\\opencard.properties",
          "removed: " + UserProfile() + "\\.opencard.properties", "kept, other programs may load it: " + systemLibrary,
          std::string("exit code 0")})
        EXPECT_NE(log.find(line + "\r\n"), std::string::npos) << line << "\n" << log;

    EXPECT_EQ(Run("/S /RESTORE /LOG=" + restoreLog), 0u) << "a second restore";
    EXPECT_EQ(Snapshot(), after) << "the second restore changed something";
}

// What an administrator and Programs and Features do: install, check, break
// a runtime, check again, then uninstall with the entry's quiet command from
// another folder after the distribution folder is gone.
TEST_F(RestoreEndToEndTest, CheckAndQuietUninstallFromTheKeptCopy) {
    MakeRuntime(kJreHome, false);
    RegisterRuntime("Java Runtime Environment", "1.8.0_401", kJreHome);
    const std::string userPolicy = UserProfile() + "\\.java.policy";
    WriteFile(userPolicy, kUserPolicy);
    const std::map<std::string, std::string> before = Snapshot();
    const std::string log = std::string(kLogFolder) + "\\run.log";
    ASSERT_EQ(Run("/S /LOG=" + log), kExitRestartNeeded) << ReadFile(log);
    const std::string kept = ProductFolder() + "\\installer.exe";
    EXPECT_TRUE(Exists(kept));
    EXPECT_TRUE(Exists(ProductFolder() + "\\record.txt"));
    EXPECT_EQ(UninstallValue("QuietUninstallString"), "\"" + kept + "\" /S /RESTORE");
    EXPECT_EQ(UninstallValue("DisplayVersion"), "1.4");

    EXPECT_EQ(Run("/S /CHECK /LOG=" + log), 0u) << ReadFile(log);
    const std::string archive = std::string(kJreHome) + "\\lib\\ext\\ocf1.2.jar";
    DeleteFileA(archive.c_str());
    EXPECT_EQ(Run("/S /CHECK /LOG=" + log), 1u);
    EXPECT_NE(ReadFile(log).find("check: missing: " + archive + "\r\n"), std::string::npos) << ReadFile(log);

    RemoveTree(distribution);
    const std::string restoreLog = std::string(kLogFolder) + "\\restore.log";
    EXPECT_EQ(RunCommandLine(UninstallValue("QuietUninstallString") + " /LOG=" + restoreLog, kLogFolder, kWaitMs), 0u)
        << ReadFile(restoreLog);
    std::map<std::string, std::string> expected = before;
    const std::string systemLibrary = SystemDirectory() + "\\ocfpcsc1.dll";
    expected[systemLibrary] = Snapshot()[systemLibrary]; // it stays, others may load it
    EXPECT_EQ(Snapshot(), expected) << ReadFile(restoreLog);
    EXPECT_EQ(UninstallValue("DisplayName"), "") << "the entry is gone";
    EXPECT_FALSE(Exists(ProductFolder() + "\\record.txt"));

    distribution = PrepareDistribution();
    EXPECT_EQ(Run("/S /CHECK"), 1u) << "after the restore";
}

} // namespace
} // namespace e2e
