// The command line of unattended deployment, the exit code a run gives, and
// what the program does before any step: a bad command line, /?, a log that
// cannot be opened and another installer already running.
#include <gtest/gtest.h>
#include <unistd.h>

#include <cstring>
#include <functional>
#include <string>
#include <vector>

#include "app/command_line.h"
#include "app/exit_codes.h"
#include "app/reader_models.h"
#include "app/single_instance.h"
#include "fake_install_steps.h"
#include "log/run_log.h"
#include "platform/sim/sim_machine.h"
#include "support/scratch_machine.h"
#include "trusted_payloads.h"

namespace {

const char kMutex[] = "Global\\SmartCardReaderInstaller.Running";
HINSTANCE const kInstance = reinterpret_cast<HINSTANCE>(0x400000);

struct Parsed {
    bool unattended;
    bool help;
    std::vector<InstallStep> chosen;
    int readerModel;
    std::string log;
    bool readerAuto;
};

const std::vector<InstallStep> kDefault = {kJavaPluginStep, kReaderDriverStep};

TEST(CommandLineTest, GoodCommandLinesGiveTheirChoices) {
    struct Case {
        const char *text;
        Parsed parsed;
    } cases[] = {
        {"", {false, false, kDefault, 0, "", false}},
        {"/S", {true, false, kDefault, 0, "", true}},
        {"-quiet", {true, false, kDefault, 0, "", true}},
        {"/READER=auto", {false, false, kDefault, 0, "", true}},
        {"/S /RESTORE", {true, false, kDefault, 0, "", false}},
        {"/s /components=JAVA /Reader=3 /log=C:\\Logi\\instalacja.log",
         {true, false, {kJavaPluginStep}, 2, "C:\\Logi\\instalacja.log", false}},
        {"/COMPONENTS=ns,ie,driver,java /READER=4",
         {false, false, {kIeStep, kNetscapeStep, kJavaPluginStep, kReaderDriverStep}, 3, "", false}},
        {"  /LOG=\"C:\\Moje logi\\a b.log\"\t/S  ", {true, false, kDefault, 0, "C:\\Moje logi\\a b.log", true}},
        {"\"/LOG=C:\\Moje logi\\a.log\"", {false, false, kDefault, 0, "C:\\Moje logi\\a.log", false}},
        {"/?", {false, true, kDefault, 0, "", false}},
        {"/S /HELP", {true, true, kDefault, 0, "", true}},
    };
    for (const Case &c : cases) {
        CommandLine line;
        char bad[kArgumentCapacity];
        ASSERT_EQ(ParseCommandLine(c.text, &line, bad), CommandLineStatus::Valid) << c.text << ": " << bad;
        EXPECT_EQ(line.unattended, c.parsed.unattended) << c.text;
        EXPECT_EQ(line.help, c.parsed.help) << c.text;
        std::vector<InstallStep> chosen;
        for (int step = kIeStep; step < kInstallStepCount; ++step)
            if (line.choices.chosen[step]) chosen.push_back(InstallStep(step));
        EXPECT_EQ(chosen, c.parsed.chosen) << c.text;
        EXPECT_EQ(line.choices.readerModel, c.parsed.readerModel) << c.text;
        EXPECT_EQ(line.logPath, c.parsed.log) << c.text;
        EXPECT_EQ(line.readerAuto, c.parsed.readerAuto) << c.text;
    }
}

TEST(CommandLineTest, ArgumentsFollowTheProgramName) {
    struct Case {
        const char *line; // as GetCommandLineA gives it
        const char *arguments;
    } cases[] = {
        {"installer.exe", ""},
        {"installer.exe /S", "/S"},
        {"installer.exe\t \t/S  /READER=2", "/S  /READER=2"},
        {"\"C:\\Program Files\\Czytnik\\installer.exe\" /LOG=\"C:\\a b.log\"", "/LOG=\"C:\\a b.log\""},
        {"\"C:\\Czytnik\\installer.exe\"", ""},
        {"C:\\\"Moje pliki\"\\installer.exe /S", "/S"},
        {"C:\\Użytkownik\\Pobrane\\installer.exe /S", "/S"},
        {"\"C:\\no closing quote\\installer.exe /S", ""},
        {"", ""},
    };
    for (const Case &c : cases) {
        std::string line = c.line;
        EXPECT_STREQ(ArgumentsAfterProgramName(&line[0]), c.arguments) << c.line;
    }
}

TEST(CommandLineTest, BadCommandLinesNameTheFirstBadArgument) {
    const std::string longArgument = "/LOG=C:\\" + std::string(300, 'x');
    struct Case {
        std::string text;
        std::string bad;
        bool unattended; // a /S anywhere still keeps every window away
    } cases[] = {
        {"/X", "/X", false},
        {"/S /s", "/s", true},
        {"/quiet /S", "/S", true},
        {"/READER=2 /READER=2", "/READER=2", false},
        {"/COMPONENTS=", "/COMPONENTS=", false},
        {"/COMPONENTS=java,", "/COMPONENTS=java,", false},
        {"/COMPONENTS=java;driver", "/COMPONENTS=java;driver", false},
        {"/COMPONENTS=javaa /S", "/COMPONENTS=javaa", true},
        {"/READER=0", "/READER=0", false},
        {"/READER=5", "/READER=5", false},
        {"/READER=1x", "/READER=1x", false},
        {"/READER=autom", "/READER=autom", false},
        {"/READER", "/READER", false},
        {"/LOG=", "/LOG=", false},
        {"/S=1", "/S=1", false},
        {"--silent C:\\elsewhere", "--silent", false},
        {"\"D:\\a b\" /q", "D:\\a b", false},
        {longArgument, longArgument.substr(0, kArgumentCapacity - 1), false},
        {"/RESTORE /READER=2", "/RESTORE", false},
        {"/S /COMPONENTS=java /restore", "/RESTORE", true},
        {"/RESTORE /Restore", "/Restore", false},
        {"/S /CHECK /RESTORE", "/CHECK", true},
        {"/CHECK /READER=2", "/CHECK", false},
    };
    for (const Case &c : cases) {
        CommandLine line;
        char bad[kArgumentCapacity];
        EXPECT_EQ(ParseCommandLine(c.text.c_str(), &line, bad), CommandLineStatus::Invalid) << c.text;
        EXPECT_EQ(bad, c.bad) << c.text;
        EXPECT_EQ(line.unattended, c.unattended) << c.text;
    }
}

RunOutcome Outcome(std::vector<std::pair<InstallStep, int>> results) {
    RunOutcome outcome;
    StartRunOutcome(&outcome);
    outcome.results[kOldOcfStep] = kOldOcfRemoved;
    for (const auto &result : results) outcome.results[result.first] = result.second;
    return outcome;
}

TEST(ExitCodeTest, RestartNeededOnlyWhenEveryChosenStepSucceeded) {
    InstallChoices everything = DefaultChoices();
    everything.chosen[kIeStep] = everything.chosen[kNetscapeStep] = true;
    InstallChoices none = {};
    struct Case {
        const char *name;
        InstallChoices choices;
        RunOutcome outcome;
        int exitCode;
    } cases[] = {
        {"default run succeeded", DefaultChoices(), Outcome({{kJavaPluginStep, kStepOk}, {kReaderDriverStep, kStepOk}}),
         kExitRestartNeeded},
        {"a GEMPLUS reader already there", DefaultChoices(),
         Outcome({{kJavaPluginStep, kStepOk}, {kReaderDriverStep, kStepWarning}}), kExitRestartNeeded},
        {"Java Plug-in warned", DefaultChoices(),
         Outcome({{kJavaPluginStep, kStepWarning}, {kReaderDriverStep, kStepOk}}), kExitFailed},
        {"driver failed", DefaultChoices(), Outcome({{kJavaPluginStep, kStepOk}, {kReaderDriverStep, kStepError}}),
         kExitFailed},
        {"stale archive not removed", DefaultChoices(),
         Outcome({{kOldOcfStep, kOldOcfNotRemoved}, {kJavaPluginStep, kStepOk}, {kReaderDriverStep, kStepOk}}),
         kExitFailed},
        {"stopped: the driver never ran", DefaultChoices(), Outcome({{kJavaPluginStep, kStepAborted}}), kExitFailed},
        {"Netscape not found", everything,
         Outcome({{kIeStep, kStepOk},
                  {kNetscapeStep, kStepWarning},
                  {kJavaPluginStep, kStepOk},
                  {kReaderDriverStep, kStepOk}}),
         kExitFailed},
        {"nothing chosen", none, Outcome({}), kExitRestartNeeded},
    };
    for (const Case &c : cases) EXPECT_EQ(UnattendedExitCode(c.choices, c.outcome), c.exitCode) << c.name;
}

class SingleInstanceTest : public ScratchTest {};

TEST_F(SingleInstanceTest, OneInstallerAtATime) {
    struct Case {
        const char *name;
        bool held;
        bool otherUser;
        bool claimed;
    } cases[] = {
        {"no other installer", false, false, true},
        {"another installer of this user", true, false, false},
        {"another user's installer", true, true, false},
    };
    for (const Case &c : cases) {
        scratch::Stop();
        scratch::Start();
        if (c.held) sim::HoldMutex(kMutex, c.otherUser);
        HANDLE claim = ClaimSingleInstance();
        EXPECT_EQ(claim != nullptr, c.claimed) << c.name;
        if (claim) {
            EXPECT_EQ(ClaimSingleInstance(), nullptr) << c.name << ": a second claim of this machine";
        }
        ReleaseSingleInstance(claim);
        EXPECT_EQ(sim::OpenHandles(), 0) << c.name;
    }
}

// What the program does before any step, as the user at the screen sees it.
class EntryTest : public ScratchTest {
  protected:
    void SetUp() override {
        ScratchTest::SetUp();
        fake::Reset();
        UseStepEntries(fake::kSteps);
    }
    void TearDown() override {
        UseStepEntries(nullptr);
        UseManifest(nullptr);
        EXPECT_EQ(sim::OpenHandles(), 0);
        ScratchTest::TearDown();
    }
};

TEST_F(EntryTest, NothingRunsWhenTheCommandLineOrTheLogOrAnotherInstallerSaysNo) {
    struct Case {
        const char *arguments;
        bool anotherRunning;
        int exitCode;
        std::string boxStart; // empty: no message box at all
    } cases[] = {
        {"/READER=9", false, kExitBadCommandLine, "Nieprawidłowy argument wiersza poleceń: /READER=9\n\nUżycie: "},
        {"/READER=9 /S", false, kExitBadCommandLine, ""},
        {"/?", false, kExitInteractive, "Użycie: installer.exe [/S]"},
        {"/LOG=C:\\Windows", false, kExitFailed, "Nie można otworzyć pliku dziennika: C:\\Windows (błąd 5)"},
        {"/S /LOG=C:\\Windows", false, kExitFailed, ""},
        {"", true, kExitAnotherRunning, "Instalator jest już uruchomiony na tym komputerze."},
        {"/S", true, kExitAnotherRunning, ""},
    };
    for (const auto &c : cases) {
        scratch::Stop();
        scratch::Start();
        fake::Reset();
        if (c.anotherRunning) sim::HoldMutex(kMutex, false);
        EXPECT_EQ(WinMain(kInstance, nullptr, const_cast<LPSTR>(c.arguments), SW_SHOW), c.exitCode) << c.arguments;
        EXPECT_TRUE(fake::calls.empty()) << c.arguments;
        EXPECT_TRUE(sim::Dialogs().empty()) << c.arguments;
        if (c.boxStart.empty()) {
            EXPECT_TRUE(sim::MessageBoxes().empty()) << c.arguments;
        } else {
            ASSERT_EQ(sim::MessageBoxes().size(), 1u) << c.arguments;
            EXPECT_EQ(sim::MessageBoxes()[0].text.rfind(c.boxStart, 0), 0u) << sim::MessageBoxes()[0].text;
        }
    }
}

// The log's lines, stamped with the machine's clock (2026-12-07 12:00:00 UTC).
TEST_F(EntryTest, UnattendedRunLogsItsStepsReportAndExitCode) {
    static const PayloadManifest release = {
        nullptr, 0, {0xab, 0xcd}, "https://bank.example.pl/-, http://bank.example.pl/-"};
    UseManifest(&release);
    sim::MakeFile("C:\\Logi\\run.log", "earlier run\r\n");
    fake::scripts[kJavaPluginStep] = {kStepWarning, "Niepełna"};
    EXPECT_EQ(WinMain(kInstance, nullptr, const_cast<LPSTR>("/S /LOG=C:\\Logi\\run.log"), SW_SHOW), kExitFailed);
    EXPECT_EQ(sim::ReadFile("C:\\Logi\\run.log"),
              "earlier run\r\n"
              "2026-12-07T12:00:00Z start: version 1.4, command line: /S /LOG=C:\\Logi\\run.log\r\n"
              "2026-12-07T12:00:00Z computer: WINSTACJA, account: Administrator (administrator)\r\n"
              "2026-12-07T12:00:00Z Windows 6.1 (build 7601), 32-bit\r\n"
              "2026-12-07T12:00:00Z distribution folder: C:\\work\r\n"
              "2026-12-07T12:00:00Z manifest: SHA-256 abcd" +
                  std::string(60, '0') +
                  ", 0 files\r\n"
                  "2026-12-07T12:00:00Z card sites: https://bank.example.pl/-, http://bank.example.pl/-\r\n"
                  "2026-12-07T12:00:00Z reader model chosen for this Windows: 1, GemPC(Twin,Tokens)-Win7/XP/Vista/2000-32bit\r\n"
                  "2026-12-07T12:00:00Z record: run 1 in C:\\Program Files\\SmartCardReaderSupport\r\n"
                  "2026-12-07T12:00:00Z installer kept: C:\\Program Files\\SmartCardReaderSupport\\installer.exe\r\n"
              "2026-12-07T12:00:00Z step old-ocf: no stale archive left (1)\r\n"
              "2026-12-07T12:00:00Z step java: warning (3)\r\n"
              "2026-12-07T12:00:00Z step driver: OK (0)\r\n"
              "2026-12-07T12:00:00Z report: Instalacja sterownika czytnika kart: OK\r\n"
              "2026-12-07T12:00:00Z report: Instalacja komponent\xC3\xB3w dla Sun Java Plug-in: UWAGA - "
              "Niepe\xC5\x82na\r\n"
              "2026-12-07T12:00:00Z exit code 1603\r\n");
    EXPECT_TRUE(sim::MessageBoxes().empty());
}

// Where the log lands, and the logs that are refused: the installer runs with
// the highest rights, the log's folder may be writable by anyone.
TEST_F(EntryTest, LogPathIsResolvedFromTheStartFolderCreatedAndRefusedWhenNotAPlainFile) {
    const char kTarget[] = "C:\\Windows\\System32\\config.txt";
    const std::string kRefused = "Plik dziennika C:\\Temp\\run.log nie jest zwykłym plikiem";
    auto hardLink = [&] { ASSERT_EQ(link(sim::HostPath(kTarget).c_str(), sim::HostPath("C:\\Temp\\run.log").c_str()), 0); };
    auto symbolicLink = [&] {
        ASSERT_EQ(symlink(sim::HostPath(kTarget).c_str(), sim::HostPath("C:\\Temp\\run.log").c_str()), 0);
    };
    struct Case {
        const char *name;
        std::function<void()> setUp;
        const char *arguments;
        int exitCode;
        const char *log; // where the log lands; nullptr: nowhere
        std::string boxStart;
    } cases[] = {
        {"plain file", [] { sim::MakeFile("C:\\Temp\\run.log", "earlier\r\n"); }, "/S /LOG=C:\\Temp\\run.log",
         kExitRestartNeeded, "C:\\Temp\\run.log", ""},
        {"missing folders", [] {}, "/S /LOG=C:\\Nowe\\Logi\\run.log", kExitRestartNeeded, "C:\\Nowe\\Logi\\run.log", ""},
        {"relative, started elsewhere",
         [] {
             sim::MakeDirs("C:\\start");
             SetCurrentDirectoryA("C:\\start");
         },
         "/S /LOG=logs\\run.log", kExitRestartNeeded, "C:\\start\\logs\\run.log", ""},
        {"hard link", hardLink, "/S /LOG=C:\\Temp\\run.log", kExitFailed, nullptr, ""},
        {"hard link, interactive", hardLink, "/LOG=C:\\Temp\\run.log", kExitFailed, nullptr, kRefused},
        {"reparse point", symbolicLink, "/S /LOG=C:\\Temp\\run.log", kExitFailed, nullptr, ""},
        {"reparse point, interactive", symbolicLink, "/LOG=C:\\Temp\\run.log", kExitFailed, nullptr, kRefused},
    };
    for (const Case &c : cases) {
        scratch::Stop();
        scratch::Start();
        fake::Reset();
        sim::MakeFile(kTarget, "secret\r\n");
        sim::MakeDirs("C:\\Temp");
        sim::SetExecutablePath("C:\\dist\\installer.exe");
        sim::MakeFile("C:\\dist\\installer.exe", "MZ the installer");
        c.setUp();
        EXPECT_EQ(WinMain(kInstance, nullptr, const_cast<LPSTR>(c.arguments), SW_SHOW), c.exitCode) << c.name;
        EXPECT_EQ(sim::ReadFile(kTarget), "secret\r\n") << c.name;
        EXPECT_EQ(fake::calls.empty(), c.log == nullptr) << c.name;
        if (c.log) {
            const std::string log = sim::ReadFile(c.log);
            EXPECT_NE(log.find("Z distribution folder: C:\\dist\r\n"), std::string::npos) << c.name << log;
            EXPECT_NE(log.find("Z exit code 3010\r\n"), std::string::npos) << c.name << log;
        }
        if (c.boxStart.empty()) {
            EXPECT_TRUE(sim::MessageBoxes().empty()) << c.name;
        } else {
            ASSERT_EQ(sim::MessageBoxes().size(), 1u) << c.name;
            EXPECT_EQ(sim::MessageBoxes()[0].text.rfind(c.boxStart, 0), 0u) << sim::MessageBoxes()[0].text;
        }
    }
}


// The distribution folder's files against the release's manifest: a changed,
// extra or unreadable one in a chosen step's folder stops the run before any
// step; a missing one is left to its step. The restore checks the folders it
// compares with, before its prompt.
TEST_F(EntryTest, PayloadThatIsNotTheReleasesStopsTheRunBeforeAnyChange) {
    const char *const kAll = "/S /COMPONENTS=driver,java,ie,ns /LOG=C:\\run.log";
    const char *const kRelease[] = {"sun\\ocf1.2.jar",    "sun\\java.policy",        "msie\\ocfpcsc1.dll",
                                    "msie\\ocf\\a.class", "msie\\ocf\\sub\\b.class", "ns\\jars\\ocf.jar",
                                    "Drivers\\twin.bat",  "Drivers\\twin64.bat"};
    const std::string differs = "payload differs from the release's: ";
    const std::string stranger = "payload not in the release: ";
    struct Case {
        const char *arguments;
        // After the manifest is made: ~ changes the file, + adds it, - removes
        // it (a folder: moves it away), ! holds it open without sharing.
        std::vector<std::string> edits;
        int exitCode;
        std::vector<std::string> logged; // after the time stamp; each must be in the log
        std::string box;                 // the start of the one message box; empty: none
    } cases[] = {
        {kAll, {}, kExitRestartNeeded, {}, ""},
        {kAll, {"~sun\\java.policy"}, kExitFailed, {differs + "sun\\java.policy"}, ""},
        {kAll, {"~msie\\ocf\\sub\\b.class"}, kExitFailed, {differs + "msie\\ocf\\sub\\b.class"}, ""},
        {kAll, {"~ns\\jars\\ocf.jar"}, kExitFailed, {differs + "ns\\jars\\ocf.jar"}, ""},
        {kAll, {"~Drivers\\twin64.bat"}, kExitFailed, {differs + "Drivers\\twin64.bat"}, ""},
        {kAll, {"+sun\\Other.class"}, kExitFailed, {stranger + "sun\\Other.class"}, ""},
        {kAll, {"+msie\\ocf\\sub\\c.class"}, kExitFailed, {stranger + "msie\\ocf\\sub\\c.class"}, ""},
        {kAll, {"+ns\\jars\\extra.jar"}, kExitFailed, {stranger + "ns\\jars\\extra.jar"}, ""},
        {kAll, {"+Drivers\\setup.exe"}, kExitFailed, {stranger + "Drivers\\setup.exe"}, ""},
        {kAll,
         {"!Drivers\\twin.bat"},
         kExitFailed,
         {"payload not read (error 32), so not checked: Drivers\\twin.bat"},
         ""},
        {kAll,
         {"~sun\\ocf1.2.jar", "+Drivers\\setup.exe"},
         kExitFailed,
         {differs + "sun\\ocf1.2.jar", stranger + "Drivers\\setup.exe"},
         ""},
        // Missing files and folders are the steps' to report.
        {kAll,
         {"-sun\\ocf1.2.jar", "-msie\\ocf\\sub\\b.class", "-Drivers\\twin.bat", "-ns"},
         kExitRestartNeeded,
         {},
         ""},
        // Only the chosen steps' folders count.
        {"/S /COMPONENTS=java,driver", {"~msie\\ocf\\a.class", "+ns\\jars\\x.jar"}, kExitRestartNeeded, {}, ""},
        {"/S /COMPONENTS=ie", {"~sun\\java.policy"}, kExitRestartNeeded, {}, ""},
        {"/S /COMPONENTS=java", {"~sun\\java.policy"}, kExitFailed, {}, ""},
        {"/S /RESTORE /LOG=C:\\run.log",
         {"~ns\\jars\\ocf.jar"},
         kExitFailed,
         {"restore not started: ns\\jars\\ocf.jar is not the release's file; nothing was changed"},
         ""},
        {"/RESTORE",
         {"+msie\\ocf\\x.class", "+ns\\jars\\y.jar"},
         kExitInteractive,
         {},
         "Plik msie\\ocf\\x.class w folderze instalatora nie należy do tego wydania albo został zmieniony.\n"},
        // The driver installers are not the restore's.
        {"/S /RESTORE /LOG=C:\\run.log", {"~Drivers\\twin.bat"}, kExitRestored, {"restore: 0 restored"}, ""},
    };
    for (const auto &c : cases) {
        scratch::Stop();
        scratch::Start();
        fake::Reset();
        sim::MakeDirs("C:\\home");
        SetEnvironmentVariableA("USERPROFILE", "C:\\home");
        for (const char *path : kRelease) scratch::MakeFile(path, path);
        trusted::TrustPayloadsAsTheyAre();
        for (const std::string &edit : c.edits) {
            const std::string path = edit.substr(1);
            if (edit[0] == '~' || edit[0] == '+') scratch::MakeFile(path, "not the release's");
            if (edit[0] == '-' && !DeleteFileA(path.c_str())) MoveFileA(path.c_str(), (path + "-gone").c_str());
            if (edit[0] == '!') scratch::HoldOpen(path);
        }
        const std::string name = std::string(c.arguments) + (c.edits.empty() ? "" : " " + c.edits[0]);

        EXPECT_EQ(WinMain(kInstance, nullptr, const_cast<LPSTR>(c.arguments), SW_SHOW), c.exitCode) << name;
        if (std::strstr(c.arguments, "/RESTORE") == nullptr) {
            EXPECT_EQ(fake::calls.empty(), c.exitCode == kExitFailed) << name;
        }
        const std::string log = sim::Exists("C:\\run.log") ? sim::ReadFile("C:\\run.log") : "";
        for (const std::string &line : c.logged)
            EXPECT_NE(log.find("Z " + line), std::string::npos) << name << "\n" << log;
        if (c.box.empty()) {
            EXPECT_TRUE(sim::MessageBoxes().empty()) << name;
        } else {
            ASSERT_EQ(sim::MessageBoxes().size(), 1u) << name;
            EXPECT_EQ(sim::MessageBoxes()[0].text.rfind(c.box, 0), 0u) << sim::MessageBoxes()[0].text;
        }
    }
}

// The folder of the executable, whatever the current directory, and no
// library from the current directory where Windows can keep it out.
TEST_F(EntryTest, EveryRunEntersTheInstallersFolder) {
    struct Case {
        const char *name;
        std::string executable;
        bool hasSetDllDirectory;
        int exitCode;
        std::string folder; // the current directory after the run
        std::vector<std::string> dllDirectories;
    } cases[] = {
        {"in a folder", "C:\\dist\\installer.exe", true, kExitRestartNeeded, "C:\\dist", {""}},
        {"at a drive's root", "C:\\installer.exe", true, kExitRestartNeeded, "C:\\", {""}},
        {"Windows 2000", "C:\\dist\\installer.exe", false, kExitRestartNeeded, "C:\\dist", {}},
        {"path of 259 characters", "C:\\dist\\" + std::string(247, 'i') + ".exe", true, kExitRestartNeeded, "C:\\dist",
         {""}},
        // Its folder is entered, but no file of that length can be copied to keep it.
        {"path of 260 characters", "C:\\dist\\" + std::string(248, 'i') + ".exe", true, kExitFailed, "C:\\dist",
         {""}},
        {"path of 261 characters, cut", "C:\\dist\\" + std::string(249, 'i') + ".exe", true, kExitFailed, "C:\\work",
         {""}},
        {"folder gone", "C:\\gone\\installer.exe", true, kExitFailed, "C:\\work", {""}},
    };
    for (const Case &c : cases) {
        scratch::Stop();
        scratch::Start();
        fake::Reset();
        sim::MakeDirs("C:\\dist");
        sim::SetExecutablePath(c.executable);
        if (c.folder != "C:\\work") sim::MakeFile(c.executable, "MZ the installer");
        sim::RunningSystem system;
        system.hasSetDllDirectory = c.hasSetDllDirectory;
        sim::SetRunningSystem(system);
        EXPECT_EQ(WinMain(kInstance, nullptr, const_cast<LPSTR>("/S /LOG=C:\\run.log"), SW_SHOW), c.exitCode) << c.name;
        EXPECT_EQ(fake::calls.empty(), c.exitCode == kExitFailed) << c.name;
        char current[MAX_PATH + 1] = "";
        GetCurrentDirectoryA(sizeof current, current);
        EXPECT_EQ(current, c.folder) << c.name;
        EXPECT_EQ(sim::DllDirectories(), c.dllDirectories) << c.name;
        if (c.folder == "C:\\work") {
            EXPECT_NE(sim::ReadFile("C:\\run.log").find(" folderu instalatora (b"),
                      std::string::npos)
                << c.name;
        }
    }
}

// /READER=auto, the default under /S: the model for the running Windows.
TEST_F(EntryTest, UnattendedRunPicksTheReaderModelOfTheRunningWindows) {
    struct Case {
        DWORD major, minor;
        bool wow64;
        bool hasIsWow64Process;
        int model; // a row of ReaderModelTable
    } cases[] = {
        {5, 0, false, false, 0}, {5, 1, true, false, 0}, {6, 1, false, true, 0}, {6, 1, true, true, 1},
        {6, 2, false, true, 2},  {6, 2, true, true, 3},  {10, 0, true, true, 3},
    };
    for (const Case &c : cases) {
        scratch::Stop();
        scratch::Start();
        fake::Reset();
        sim::RunningSystem system;
        system.major = c.major;
        system.minor = c.minor;
        system.wow64 = c.wow64;
        system.hasIsWow64Process = c.hasIsWow64Process;
        sim::SetRunningSystem(system);
        EXPECT_EQ(WinMain(kInstance, nullptr, const_cast<LPSTR>("/S /COMPONENTS=driver /LOG=C:\\run.log"), SW_SHOW),
                  kExitRestartNeeded);
        ASSERT_EQ(fake::calls.size(), 2u) << c.major << "." << c.minor;
        EXPECT_EQ(fake::calls[1].driverCode, ReaderModelTable[c.model].driverCode) << c.major << "." << c.minor;
        const std::string named = std::string("Z reader model chosen for this Windows: ") +
                                  std::to_string(c.model + 1) + ", " + ReaderModelTable[c.model].displayName + "\r\n";
        EXPECT_NE(sim::ReadFile("C:\\run.log").find(named), std::string::npos) << named;
    }
}

// The next file opened takes the closed log's handle value, as on Windows.
TEST_F(EntryTest, ClosedLogWritesNothingMoreEvenIfClosedTwice) {
    DWORD error = ERROR_SUCCESS;
    ASSERT_EQ(OpenRunLog("C:\\work\\run.log", &error), LogOpening::Opened);
    CloseRunLog();
    HANDLE other =
        CreateFileA("C:\\work\\other.txt", FILE_APPEND_DATA, 0, nullptr, OPEN_ALWAYS, FILE_ATTRIBUTE_NORMAL, nullptr);
    LogEvent("after the close");
    CloseRunLog();
    EXPECT_EQ(sim::ReadFile("C:\\work\\run.log") + sim::ReadFile("C:\\work\\other.txt"), "");
    EXPECT_TRUE(CloseHandle(other)) << "the second close took another file's handle";
}

} // namespace
