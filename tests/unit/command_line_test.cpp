// The command line of unattended deployment, the exit code a run gives, and
// what the program does before any step: a bad command line, /?, a log that
// cannot be opened and another installer already running.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "app/command_line.h"
#include "app/exit_codes.h"
#include "app/single_instance.h"
#include "fake_install_steps.h"
#include "log/run_log.h"
#include "platform/sim/sim_machine.h"
#include "support/scratch_machine.h"

namespace {

const char kMutex[] = "Global\\SmartCardReaderInstaller.Running";
HINSTANCE const kInstance = reinterpret_cast<HINSTANCE>(0x400000);

struct Parsed {
    bool unattended;
    bool help;
    std::vector<InstallStep> chosen;
    int readerModel;
    std::string log;
};

const std::vector<InstallStep> kDefault = {kJavaPluginStep, kReaderDriverStep};

TEST(CommandLineTest, GoodCommandLinesGiveTheirChoices) {
    struct Case {
        const char *text;
        Parsed parsed;
    } cases[] = {
        {"", {false, false, kDefault, 0, ""}},
        {"/S", {true, false, kDefault, 0, ""}},
        {"-quiet", {true, false, kDefault, 0, ""}},
        {"/s /components=JAVA /Reader=3 /log=C:\\Logi\\instalacja.log",
         {true, false, {kJavaPluginStep}, 2, "C:\\Logi\\instalacja.log"}},
        {"/COMPONENTS=ns,ie,driver,java /READER=4",
         {false, false, {kIeStep, kNetscapeStep, kJavaPluginStep, kReaderDriverStep}, 3, ""}},
        {"  /LOG=\"C:\\Moje logi\\a b.log\"\t/S  ", {true, false, kDefault, 0, "C:\\Moje logi\\a b.log"}},
        {"\"/LOG=C:\\Moje logi\\a.log\"", {false, false, kDefault, 0, "C:\\Moje logi\\a.log"}},
        {"/?", {false, true, kDefault, 0, ""}},
        {"/S /HELP", {true, true, kDefault, 0, ""}},
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
        {"/LOG=C:\\brak\\a.log", false, kExitFailed, "Nie można otworzyć pliku dziennika: C:\\brak\\a.log (błąd 3)"},
        {"/S /LOG=C:\\brak\\a.log", false, kExitFailed, ""},
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
    sim::MakeFile("C:\\Logi\\run.log", "earlier run\r\n");
    fake::scripts[kJavaPluginStep] = {kStepWarning, "Niepełna"};
    EXPECT_EQ(WinMain(kInstance, nullptr, const_cast<LPSTR>("/S /LOG=C:\\Logi\\run.log"), SW_SHOW), kExitFailed);
    EXPECT_EQ(sim::ReadFile("C:\\Logi\\run.log"),
              "earlier run\r\n"
              "2026-12-07T12:00:00Z start: version 1.4, command line: /S /LOG=C:\\Logi\\run.log\r\n"
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

// The next file opened takes the closed log's handle value, as on Windows.
TEST_F(EntryTest, ClosedLogWritesNothingMoreEvenIfClosedTwice) {
    ASSERT_TRUE(OpenRunLog("C:\\work\\run.log"));
    CloseRunLog();
    HANDLE other =
        CreateFileA("C:\\work\\other.txt", FILE_APPEND_DATA, 0, nullptr, OPEN_ALWAYS, FILE_ATTRIBUTE_NORMAL, nullptr);
    LogEvent("after the close");
    CloseRunLog();
    EXPECT_EQ(sim::ReadFile("C:\\work\\run.log") + sim::ReadFile("C:\\work\\other.txt"), "");
    EXPECT_TRUE(CloseHandle(other)) << "the second close took another file's handle";
}

} // namespace
