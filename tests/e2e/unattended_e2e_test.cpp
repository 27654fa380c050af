// The installer deployed unattended, under Wine: started with a command line,
// judged by its exit code, its log, the windows it never shows and what it
// leaves on the machine.
#include <gtest/gtest.h>

#include <regex>
#include <string>

#include "installer_window.h"
#include "test_machine.h"

namespace e2e {
namespace {

const char kJreHome[] = "C:\\e2e\\Java\\jre6";
const char kJre[] = "Java Runtime Environment";
const char kLog[] = "C:\\e2e\\instalacja.log";
const char kWelcomeCaption[] = "Instalator czytnika kart mikropr. dla przeglądarek internetowych";

struct Windows {
    DWORD processId;
    std::string seen; // captions of the visible top-level windows found
};

BOOL CALLBACK NoteVisibleWindow(HWND window, LPARAM lParam) {
    Windows *windows = reinterpret_cast<Windows *>(lParam);
    DWORD owner = 0;
    GetWindowThreadProcessId(window, &owner);
    if (owner == windows->processId && IsWindowVisible(window)) windows->seen += "[" + WindowText(window) + "]";
    return TRUE;
}

// The driver installer that /READER=auto picks on this Windows: the test
// program has the installer's bitness and, like it, no manifest.
std::string AutoDriverFile() {
    OSVERSIONINFOA version = {};
    version.dwOSVersionInfoSize = sizeof version;
    GetVersionExA(&version);
    bool windows8 = version.dwMajorVersion > 6 || (version.dwMajorVersion == 6 && version.dwMinorVersion >= 2);
    BOOL wow64 = FALSE;
    IsWow64Process(GetCurrentProcess(), &wow64);
    bool sixtyFourBit = sizeof(void *) == 8 || wow64;
    return std::string(windows8 ? "twin8" : "twin") + (sixtyFourBit ? (windows8 ? "_64" : "64") : "") + ".bat";
}

class UnattendedTest : public ::testing::Test {
  protected:
    void SetUp() override {
        FreshMachine();
        distribution = PrepareDistribution();
    }
    void TearDown() override { FreshMachine(); }

    void AddJre() {
        MakeRuntime(kJreHome, false);
        RegisterRuntime(kJre, "1.6.0_45", kJreHome);
    }

    // Runs the installer to its end, looking at its top-level windows all the
    // while; returns its exit code, and the windows it showed in `shown`.
    DWORD RunToEnd(const std::string &arguments, std::string *shown, const std::string &readers = "") {
        InstallerProcess installer(distribution, readers, arguments);
        EXPECT_TRUE(installer.started());
        Windows windows = {installer.id(), ""};
        DWORD exitCode = 0;
        bool ended = WaitUntil(
            [&] {
                EnumWindows(NoteVisibleWindow, reinterpret_cast<LPARAM>(&windows));
                return installer.WaitForExit(&exitCode, 0);
            },
            kWaitMs, 1);
        EXPECT_TRUE(ended) << arguments;
        *shown = windows.seen;
        return exitCode;
    }

    std::string distribution;
};

TEST_F(UnattendedTest, DefaultRunInstallsWithoutAnyWindowAndLogsEveryEvent) {
    AddJre();
    std::string stale = SystemDirectory() + "\\ocf1.2.jar";
    WriteFile(stale, "stale archive");
    std::string sun = distribution + "\\sun";
    std::string home = kJreHome;
    std::string arguments = std::string("/S /LOG=") + kLog;

    std::string shown;
    EXPECT_EQ(RunToEnd(arguments, &shown, "Other Reader 0"), 3010u);
    EXPECT_EQ(shown, "") << "no window of any kind";

    // What the interactive default run leaves, too.
    EXPECT_FALSE(Exists(stale));
    EXPECT_EQ(ReadFile(home + "\\lib\\ext\\ocf1.2.jar"), ReadFile(sun + "\\ocf1.2.jar"));
    EXPECT_EQ(ReadFile(home + "\\lib\\security\\java.policy"), ReadFile(sun + "\\java.policy"));
    EXPECT_EQ(ReadFile(home + "\\lib\\security\\java.policy.ocf-bak"), "// the runtime's own policy\n");
    EXPECT_EQ(ReadFile(home + "\\lib\\ext\\ocfpcsc1.dll"), ReadFile(sun + "\\ocfpcsc1.dll"));
    EXPECT_EQ(JavaCalls(home),
              sun + "|-classpath|" + sun + "|CopyPolicyFile|.java.policy\r\n" + sun + "|-classpath|" + sun +
                  "|CopyPolicyFile|.opencard.properties\r\n");
    EXPECT_EQ(ReadFile(kDriverLog), AutoDriverFile() + " in " + distribution + "\\Drivers\r\n") << "awaited";

    std::string log = ReadFile(kLog);
    std::regex line("\\d{4}-\\d\\d-\\d\\dT\\d\\d:\\d\\d:\\d\\dZ [^\r\n]+\r\n");
    std::string rest = std::regex_replace(log, line, "");
    EXPECT_EQ(rest, "") << "every line stamped with its UTC time:\n" << log;
    for (const std::string &event : {
             std::string("Z start: version 1.4, command line: ") + arguments + "\r\n",
             "Z removed: " + stale + "\r\n",
             "Z copied: " + sun + "\\ocf1.2.jar -> " + home + "\\lib\\ext\\ocf1.2.jar\r\n",
             "Z backup made: " + home + "\\lib\\security\\java.policy.ocf-bak\r\n",
             "Z command \"" + home + "\\bin\\java.exe\" -classpath \"" + sun + "\" CopyPolicyFile .java.policy: exit status 0\r\n",
             std::string("Z PC/SC reader: Other Reader 0\r\n"),
             "Z driver installer started: Drivers\\" + AutoDriverFile() + "\r\n",
             "Z driver installer ended: Drivers\\" + AutoDriverFile() + ": exit status 0\r\n",
             std::string("Z step java: OK (0)\r\n"),
             // The report's text, in UTF-8.
             std::string("Z report: Instalacja komponent\xC3\xB3w dla Sun Java Plug-in: OK\r\n"),
         })
        EXPECT_NE(log.find(event), std::string::npos) << event << "\nin:\n" << log;
    const std::string last = "Z exit code 3010\r\n";
    EXPECT_EQ(log.substr(log.size() - last.size()), last) << "the exit code ends the log:\n" << log;

    // A second run appends to the same log and finds the backup.
    EXPECT_EQ(RunToEnd(arguments + " /COMPONENTS=java", &shown), 3010u);
    std::string again = ReadFile(kLog);
    EXPECT_EQ(again.rfind(log, 0), 0u);
    EXPECT_NE(again.find("Z backup found, kept: " + home + "\\lib\\security\\java.policy.ocf-bak\r\n", log.size()),
              std::string::npos);
}

// Started from another folder (a shortcut, a deployment tool) with a relative
// log, a winscard.dll planted beside the installer (a zip unpacked into
// Downloads) and a machine-wide CLASSPATH without the installer's class: the
// run is the same, the log lands where it was started, only the system's
// library is loaded, and CopyPolicyFile comes from the package.
TEST_F(UnattendedTest, AnotherStartFolderAPlantedLibraryAndAClassPathChangeNothing) {
    AddJre();
    std::string stale = SystemDirectory() + "\\ocf1.2.jar";
    WriteFile(stale, "stale archive");
    ASSERT_TRUE(CopyFileA(STAND_IN_FOLDER "\\winscard.dll", (distribution + "\\winscard.dll").c_str(), FALSE));
    const std::string loads = std::string(kRoot) + "\\winscard-loads.txt";
    SetEnvironmentVariableA("STANDIN_WINSCARD_LOG", loads.c_str());
    SetEnvironmentVariableA("CLASSPATH", kRoot);
    InstallerProcess installer(distribution, "", "/S /LOG=instalacja.log", kRoot);
    DWORD exitCode = 0;
    EXPECT_TRUE(installer.WaitForExit(&exitCode, kWaitMs));
    SetEnvironmentVariableA("STANDIN_WINSCARD_LOG", nullptr);
    SetEnvironmentVariableA("CLASSPATH", nullptr);
    EXPECT_EQ(exitCode, 3010u);
    EXPECT_NE(JavaCalls(kJreHome).find("|-classpath|" + distribution + "\\sun|CopyPolicyFile|"), std::string::npos);
    EXPECT_EQ(ReadFile(UserProfile() + "\\.java.policy"), ReadFile(distribution + "\\sun\\java.policy"))
        << "CopyPolicyFile ran";
    EXPECT_FALSE(Exists(stale));
    EXPECT_EQ(ReadFile(std::string(kJreHome) + "\\lib\\ext\\ocf1.2.jar"), ReadFile(distribution + "\\sun\\ocf1.2.jar"));
    std::string log = ReadFile(std::string(kRoot) + "\\instalacja.log");
    EXPECT_NE(log.find("Z distribution folder: " + distribution + "\r\n"), std::string::npos) << log;
    EXPECT_NE(log.find("Z exit code 3010\r\n"), std::string::npos) << log;
    EXPECT_EQ(ReadFile(loads), SystemDirectory() + "\\winscard.dll\n");
}

TEST_F(UnattendedTest, FailingDriverInstallerIsAwaitedAndFailsTheRun) {
    SetEnvironmentVariableA("STANDIN_DRIVER_EXIT", "1");
    std::string shown;
    EXPECT_EQ(RunToEnd(std::string("/S /COMPONENTS=driver /LOG=") + kLog, &shown), 1603u);
    SetEnvironmentVariableA("STANDIN_DRIVER_EXIT", nullptr);
    EXPECT_EQ(shown, "");
    std::string log = ReadFile(kLog);
    EXPECT_NE(log.find("Z driver installer ended: Drivers\\" + AutoDriverFile() + ": exit status 1\r\n"),
              std::string::npos)
        << log;
    EXPECT_NE(log.find("Z step driver: error (1)\r\n"), std::string::npos) << log;
}

// A grant appended to the package's policy after the build: nothing is done.
TEST_F(UnattendedTest, ChangedPolicyStopsTheRunBeforeAnyChange) {
    AddJre();
    std::string stale = SystemDirectory() + "\\ocf1.2.jar";
    WriteFile(stale, "stale archive");
    std::string policy = distribution + "\\sun\\java.policy";
    WriteFile(policy, ReadFile(policy) + "grant { permission java.security.AllPermission; };\r\n");

    std::string shown;
    EXPECT_EQ(RunToEnd(std::string("/S /LOG=") + kLog, &shown), 1603u);
    EXPECT_EQ(shown, "");
    EXPECT_EQ(ReadFile(stale), "stale archive");
    EXPECT_FALSE(Exists(std::string(kJreHome) + "\\lib\\security\\java.policy.ocf-bak"));
    EXPECT_NE(ReadFile(kLog).find("Z payload differs from the release's: sun\\java.policy\r\n"), std::string::npos)
        << ReadFile(kLog);
}

TEST_F(UnattendedTest, NoJavaRuntimeFailsTheRunAndTheLogSaysWhy) {
    std::string shown;
    EXPECT_EQ(RunToEnd(std::string("/S /COMPONENTS=java /LOG=") + kLog, &shown), 1603u);
    EXPECT_EQ(shown, "");
    std::string log = ReadFile(kLog);
    EXPECT_NE(log.find("Z step java: warning (3)\r\n"), std::string::npos) << log;
    EXPECT_NE(log.find("Z report: Instalacja komponent\xC3\xB3w dla Sun Java Plug-in: UWAGA - Nie wykryto instalacji "
                       "\xC5\x9Brodowiska JRE/JDK lub aplikacja nie by\xC5\x82" "a uruchamiona z prawami "
                       "administratora\r\n"),
              std::string::npos)
        << log;
    EXPECT_FALSE(Exists(kDriverLog)) << "the driver was not chosen";
}

TEST_F(UnattendedTest, ConflictKeepsTheTargetWithoutAskingAndFailsTheRun) {
    AddJre();
    std::string target = std::string(kJreHome) + "\\lib\\ext\\ocf1.2.jar";
    WriteFile(target, "older archive");
    SetFileAttributesA(target.c_str(), FILE_ATTRIBUTE_READONLY);

    std::string shown;
    EXPECT_EQ(RunToEnd(std::string("/S /LOG=") + kLog, &shown), 1603u);
    EXPECT_EQ(shown, "") << "no conflict prompt";
    EXPECT_EQ(ReadFile(target), "older archive");
    std::string log = ReadFile(kLog);
    EXPECT_NE(log.find("Z copy failed, target kept without asking (error 5): "), std::string::npos) << log;
    EXPECT_NE(log.find("-> " + target + "\r\n"), std::string::npos) << log;
    SetFileAttributesA(target.c_str(), FILE_ATTRIBUTE_NORMAL);
}

TEST_F(UnattendedTest, BadSwitchChangesNothing) {
    AddJre();
    std::string stale = SystemDirectory() + "\\ocf1.2.jar";
    WriteFile(stale, "stale archive");
    std::string shown;
    EXPECT_EQ(RunToEnd("/S /READER=7", &shown), 1639u);
    EXPECT_EQ(shown, "");
    EXPECT_EQ(ReadFile(stale), "stale archive");
    EXPECT_FALSE(Exists(std::string(kJreHome) + "\\lib\\ext\\ocf1.2.jar"));
    EXPECT_EQ(JavaCalls(kJreHome), "");
}

TEST_F(UnattendedTest, SecondInstallerWhileOneRunsDoesNothing) {
    AddJre();
    std::string stale = SystemDirectory() + "\\ocf1.2.jar";
    WriteFile(stale, "stale archive");
    // The first one waits at its welcome prompt.
    InstallerProcess first(distribution, "");
    ASSERT_NE(WaitForWindow(first.id(), kWelcomeCaption), nullptr);

    std::string shown;
    EXPECT_EQ(RunToEnd(std::string("/S /LOG=") + kLog, &shown), 1618u);
    EXPECT_EQ(shown, "");
    EXPECT_EQ(ReadFile(stale), "stale archive");
    EXPECT_FALSE(Exists(std::string(kJreHome) + "\\lib\\ext\\ocf1.2.jar"));
    std::string log = ReadFile(kLog);
    EXPECT_NE(log.find("Z another installer is running on this computer; nothing was done\r\n"), std::string::npos)
        << log;
    EXPECT_NE(log.find("Z exit code 1618\r\n"), std::string::npos) << log;
}

} // namespace
} // namespace e2e
