// The Java Plug-in step over layouts of registry, runtimes and package: its
// result and message, the commands it runs, the files it installs and keeps,
// and what an Abort leaves. Every run must end in the distribution folder
// with every key closed.
#include <cstring>
#include <functional>
#include <string>
#include <vector>

#include "java_machine.h"
#include "platform/sim/sim_machine.h"
#include "steps/install_steps.h"
#include "support/scratch_machine.h"

namespace {

using namespace java_machine;

const char kInTheWay[] = "an older file";

const char kNotDetected[] =
    "Nie wykryto instalacji środowiska JRE/JDK lub aplikacja nie była uruchamiona z prawami administratora";
const char kNothingInstalled[] = "Nie zainstalowano sterowników OCF dla żadnego środowiska JRE/JDK";
const char kLibraryNotCopied[] = "Błąd kopiowania biblioteki obsługi czytników PC/SC: ocfpcsc1.dll";

std::string PartlyInstalled(int vm, int ol, int op, int jp) {
    return "Niepełna instalacja sterowników OCF dla środowiska JRE/JDK; kod operacji: VM" + std::to_string(vm) + "OL" +
           std::to_string(ol) + "OP" + std::to_string(op) + "JP" + std::to_string(jp);
}

std::string Command(const std::string &home, const char *argument) {
    return "\"" + home + "\\bin\\java.exe\" -classpath \"C:\\work\\sun\" CopyPolicyFile " + argument;
}

std::vector<std::string> BothCommands(const std::string &home) {
    return {Command(home, ".java.policy"), Command(home, ".opencard.properties")};
}

std::vector<std::string> Join(std::vector<std::string> first, const std::vector<std::string> &second) {
    first.insert(first.end(), second.begin(), second.end());
    return first;
}

std::vector<std::string> CommandsRun() {
    std::vector<std::string> texts;
    for (const sim::CommandCall &call : sim::Commands()) texts.push_back(call.command);
    return texts;
}

void CommandsExit(int status) {
    sim::SetCommandHandler([status](const sim::CommandCall &) { return status; });
}

// A read-only file where the step copies to: the copy brings the conflict prompt.
void MakeConflict(const std::string &target) {
    sim::MakeFile(target, kInTheWay);
    SetFileAttributesA(target.c_str(), FILE_ATTRIBUTE_READONLY);
}

// A home of exactly `length` characters, in folders of legal length.
std::string LongHome(size_t length) {
    std::string home = "C:\\Java";
    while (length - home.size() > 50) home += "\\" + std::string(40, 'd');
    return home + "\\" + std::string(length - home.size() - 1, 'e');
}

class InstallJavaPluginComponentsTest : public ScratchTest {
  protected:
    void TearDown() override {
        EXPECT_EQ(sim::OpenHandles(), 0) << "a key or file was left open";
        ScratchTest::TearDown();
    }

    // A fresh machine, the distribution folder as current directory.
    void StartOver() {
        scratch::Stop();
        scratch::Start();
    }

    // Runs the step and checks what every run keeps, whatever its result.
    StepResult Run() {
        std::memset(message, '#', sizeof message);
        StepResult result = InstallJavaPluginComponents(message, sizeof message);
        char current[MAX_PATH + 1] = "";
        GetCurrentDirectoryA(sizeof current, current);
        EXPECT_STREQ(current, kDistribution) << "back in the distribution folder";
        EXPECT_EQ(sim::OpenHandles(), 0) << "every key closed";
        for (const sim::CommandCall &call : sim::Commands()) EXPECT_EQ(call.currentDirectory, kPackage);
        return result;
    }

    bool MessageUntouched() const {
        for (char c : message)
            if (c != '#') return false;
        return true;
    }

    // The message written, or "" when the buffer was left as it was.
    std::string Written() const { return MessageUntouched() ? "" : std::string(message); }

    char message[kStepMessageCapacity];
};

TEST_F(InstallJavaPluginComponentsTest, ResultAndMessageFollowTheLayout) {
    struct Case {
        const char *name;
        std::function<void()> arrange;
        StepResult result;
        std::string message; // "": the buffer is left untouched
    } cases[] = {
        {"no package folder", [] { AddJre("1.6.0", kJre6); }, kStepError, kMessageIncompleteInstaller},
        {"no JavaSoft key", [] { MakePackage(); }, kStepWarning, kNotDetected},
        {"no administrator rights",
         [] {
             MakePackage();
             AddJre("1.6.0", kJre6);
             sim::DenyFullAccess("HKEY_LOCAL_MACHINE\\SOFTWARE\\JavaSoft");
         },
         kStepWarning, kNotDetected},
        {"JavaSoft key without either list",
         [] {
             MakePackage();
             sim::LoadRegistry("[HKEY_LOCAL_MACHINE\\SOFTWARE\\JavaSoft\\Java Plug-in\\1.6.0]\n");
         },
         kStepWarning, kNotDetected},
        {"not detected, whatever became of the library",
         [] {
             MakePackage();
             sim::SetSystemDirectory(nullptr);
         },
         kStepWarning, kNotDetected},
        {"lists without entries",
         [] {
             MakePackage();
             sim::LoadRegistry("[HKEY_LOCAL_MACHINE\\SOFTWARE\\JavaSoft\\Java Runtime Environment]\n"
                               "[HKEY_LOCAL_MACHINE\\SOFTWARE\\JavaSoft\\Java Development Kit]\n");
         },
         kStepError, kNothingInstalled},
        {"no entry with a usable JavaHome, library copied",
         [] {
             MakePackage();
             MakeRuntime(kJre6);
             sim::LoadRegistry("[" + EntryKey(kJreList, "1.6.0") + "]\n\"RuntimeLib\"=\"x\"\n");
             sim::SetRegistryValue(EntryKey(kJreList, "1.7.0"), "JavaHome", REG_SZ, std::string(300, 'j') + '\0');
             sim::SetRegistryValue(EntryKey(kJdkList, "1.6.0"), "JavaHome", REG_SZ, std::string(1, '\0'));
         },
         kStepError, kNothingInstalled},
        {"one complete JRE",
         [] {
             MakePackage();
             AddJre("1.6.0_45", kJre6);
             CommandsExit(0);
         },
         kStepOk, ""},
        {"only a JDK list",
         [] {
             MakePackage();
             AddJdk("1.6.0_45", kJdk6);
             CommandsExit(0);
         },
         kStepOk, ""},
        {"commands failing, policy copied",
         [] {
             MakePackage();
             AddJre("1.6.0_45", kJre6);
             CommandsExit(1);
         },
         kStepOk, ""},
        {"a JRE, and a JDK without its jre folder",
         [] {
             MakePackage();
             AddJre("1.6.0_45", kJre6);
             Register(kJdkList, "1.6.0_45", kJdk6);
             sim::MakeDirs(std::string(kJdk6) + "\\bin");
             CommandsExit(0);
         },
         kStepWarning, PartlyInstalled(2, 1, 1, 3)},
        {"two entries whose policy copies fail after the commands succeeded",
         [] {
             MakePackage();
             sim::MakeDirs(In(kJre6, "lib\\ext"));
             sim::MakeDirs(In(kJre7, "lib\\ext"));
             Register(kJreList, "1.6.0", kJre6);
             Register(kJreList, "1.7.0", kJre7);
             CommandsExit(0);
         },
         kStepOk, ""},
        {"no lib\\ext folder",
         [] {
             MakePackage();
             sim::MakeDirs(In(kJre6, "lib\\security"));
             Register(kJreList, "1.6.0", kJre6);
             CommandsExit(0);
         },
         kStepWarning, PartlyInstalled(1, 0, 1, 3)},
        {"an entry refusing full access is skipped",
         [] {
             MakePackage();
             AddJre("1.5.0", "C:\\j2re1.5.0");
             AddJre("1.6.0", kJre6);
             sim::DenyFullAccess(EntryKey(kJreList, "1.5.0"));
             CommandsExit(0);
         },
         kStepOk, ""},
        {"system directory unknown",
         [] {
             MakePackage();
             AddJre("1.6.0", kJre6);
             CommandsExit(0);
             sim::SetSystemDirectory(nullptr);
         },
         kStepError, kLibraryNotCopied},
        {"system directory missing",
         [] {
             MakePackage();
             AddJre("1.6.0", kJre6);
             CommandsExit(0);
             sim::SetSystemDirectory("C:\\Windows\\Missing");
         },
         kStepError, kLibraryNotCopied},
    };
    for (const Case &c : cases) {
        StartOver();
        c.arrange();
        EXPECT_EQ(Run(), c.result) << c.name;
        EXPECT_EQ(Written(), c.message) << c.name;

        StartOver();
        c.arrange();
        EXPECT_EQ(InstallJavaPluginComponents(nullptr, kStepMessageCapacity), c.result) << c.name << ", no buffer";
    }
}

TEST_F(InstallJavaPluginComponentsTest, MessagesAreCutToTheCapacity) {
    MakePackage();
    Register(kJreList, "1.6.0", kJre6);
    char small[24];
    std::memset(small, '#', sizeof small);
    EXPECT_EQ(InstallJavaPluginComponents(small, 16), kStepWarning);
    EXPECT_EQ(std::string(small), PartlyInstalled(1, 0, 0, 0).substr(0, 15));
    EXPECT_EQ(small[16], '#');
}

TEST_F(InstallJavaPluginComponentsTest, WithoutThePackageNothingIsTouched) {
    AddJre("1.6.0", kJre6);
    CommandsExit(0);
    EXPECT_EQ(Run(), kStepError);
    EXPECT_TRUE(sim::Commands().empty());
    EXPECT_FALSE(sim::Exists(In(kJre6, "lib\\ext\\ocf1.2.jar")));
    EXPECT_FALSE(sim::Exists(Backup(kJre6)));
    EXPECT_FALSE(sim::Exists(kSystemLibrary));
}

TEST_F(InstallJavaPluginComponentsTest, CompleteRuntimeReceivesEveryFileAndKeepsItsPolicyInTheBackup) {
    for (Kind kind : {Kind::Jre, Kind::Jdk}) {
        StartOver();
        MakePackage();
        const std::string home = kind == Kind::Jre ? kJre6 : kJdk6;
        if (kind == Kind::Jre)
            AddJre("1.6.0_45", home);
        else
            AddJdk("1.6.0_45", home);
        CommandsExit(0);
        EXPECT_EQ(Run(), kStepOk);
        EXPECT_TRUE(MessageUntouched());
        EXPECT_EQ(sim::ReadFile(In(home, "lib\\ext\\ocf1.2.jar", kind)), kArchive);
        EXPECT_EQ(sim::ReadFile(In(home, "lib\\opencard.properties", kind)), kProperties);
        EXPECT_EQ(sim::ReadFile(Policy(home, kind)), kPackagePolicy);
        EXPECT_EQ(sim::ReadFile(Backup(home, kind)), kOwnPolicy);
        EXPECT_EQ(sim::ReadFile(kSystemLibrary), kLibrary);
        EXPECT_EQ(sim::Exists(In(home, "lib\\ext\\ocfpcsc1.dll", kind)), kind == Kind::Jre)
            << "only a JRE receives the library";
        EXPECT_EQ(CommandsRun(), BothCommands(home)) << "a JDK runs the java.exe of its own bin";
        EXPECT_TRUE(sim::MessageBoxes().empty());
    }
}

TEST_F(InstallJavaPluginComponentsTest, CommandsQuoteTheProgramAndRunInThePackageFolder) {
    MakePackage();
    AddJre("1.7.0", kJre7);
    CommandsExit(0);
    EXPECT_EQ(Run(), kStepOk);
    const std::vector<sim::CommandCall> &calls = sim::Commands();
    ASSERT_EQ(calls.size(), 2u);
    EXPECT_EQ(calls[0].command, "\"C:\\Program Files (x86)\\Java\\jre7\\bin\\java.exe\" -classpath \"C:\\work\\sun\" "
                                "CopyPolicyFile .java.policy");
    EXPECT_EQ(calls[1].command, "\"C:\\Program Files (x86)\\Java\\jre7\\bin\\java.exe\" -classpath \"C:\\work\\sun\" "
                                "CopyPolicyFile .opencard.properties");
    EXPECT_EQ(calls[0].currentDirectory, "C:\\work\\sun");
    EXPECT_EQ(calls[1].currentDirectory, "C:\\work\\sun");
}

TEST_F(InstallJavaPluginComponentsTest, CopyPolicyFileRunsUntilOneOfItsCommandsSucceeds) {
    struct Case {
        const char *name;
        std::function<void()> arrange;
        std::vector<std::string> commands;
    } cases[] = {
        {"two entries naming one home",
         [] {
             AddJre("1.6.0", kJre6);
             Register(kJreList, "1.6.0_45", kJre6);
             CommandsExit(0);
         },
         BothCommands(kJre6)},
        {"first entry's commands fail, its policy copy succeeds",
         [] {
             AddJre("1.6.0", kJre6);
             AddJre("1.7.0", kJre7);
             CommandsExit(1);
         },
         BothCommands(kJre6)},
        {"first entry's commands and policy copy fail",
         [] {
             sim::MakeDirs(In(kJre6, "lib\\ext"));
             Register(kJreList, "1.6.0", kJre6);
             AddJre("1.7.0", kJre7);
             sim::SetCommandHandler(
                 [](const sim::CommandCall &call) { return call.command.find("jre6") != std::string::npos ? 1 : 0; });
         },
         Join(BothCommands(kJre6), BothCommands(kJre7))},
        {"no command interpreter, first policy copy failing",
         [] {
             sim::MakeDirs(In(kJre6, "lib\\ext"));
             Register(kJreList, "1.6.0", kJre6);
             AddJre("1.7.0", kJre7);
         },
         Join(BothCommands(kJre6), BothCommands(kJre7))},
        {"only the second command succeeds",
         [] {
             sim::MakeDirs(In(kJre6, "lib\\ext"));
             Register(kJreList, "1.6.0", kJre6);
             AddJre("1.7.0", kJre7);
             sim::SetCommandHandler([](const sim::CommandCall &call) {
                 return call.command.find(".opencard.properties") != std::string::npos ? 0 : 1;
             });
         },
         BothCommands(kJre6)},
        {"JRE list before the JDK list",
         [] {
             AddJdk("1.6.0", kJdk6);
             AddJre("1.7.0", kJre7);
             CommandsExit(0);
         },
         BothCommands(kJre7)},
        {"a failed JRE leaves the commands to a JDK",
         [] {
             AddJdk("1.6.0", kJdk6);
             Register(kJreList, "1.7.0", kJre7);
             sim::SetCommandHandler(
                 [](const sim::CommandCall &call) { return call.command.find("jre7") != std::string::npos ? 1 : 0; });
         },
         Join(BothCommands(kJre7), BothCommands(kJdk6))},
        {"a home with a double quote runs nothing",
         [] {
             Register(kJreList, "1.5.0", "C:\\x\" & del /q C:\\Windows & \"C:\\y");
             AddJre("1.6.0", kJre6);
             CommandsExit(0);
         },
         BothCommands(kJre6)},
        {"a home too long for the program path runs nothing",
         [] {
             sim::MakeDirs(In(LongHome(248), "lib\\ext")); // its policy copy fails, too
             Register(kJreList, "1.5.0", LongHome(248));
             AddJre("1.6.0", kJre6);
             CommandsExit(0);
         },
         BothCommands(kJre6)},
    };
    for (const Case &c : cases) {
        StartOver();
        MakePackage();
        c.arrange();
        Run();
        EXPECT_EQ(CommandsRun(), c.commands) << c.name;
    }
}

TEST_F(InstallJavaPluginComponentsTest, LibraryGoesToTheSystemDirectoryAndTheLastJreFound) {
    struct Case {
        const char *name;
        std::function<void()> arrange;
        std::vector<std::string> homesWithLibrary;
        std::vector<std::string> homesWithout;
    } cases[] = {
        {"two JREs",
         [] {
             AddJre("1.6.0", kJre6);
             AddJre("1.7.0", kJre7);
         },
         {kJre7},
         {kJre6}},
        {"two entries naming one home",
         [] {
             AddJre("1.6.0", kJre6);
             Register(kJreList, "1.6.0_45", kJre6);
         },
         {kJre6},
         {}},
        {"a JRE and a JDK",
         [] {
             AddJre("1.7.0", kJre7);
             AddJdk("1.8.0", kJdk6);
         },
         {kJre7},
         {kJdk6 + std::string("\\jre")}},
        {"a JRE without a usable JavaHome is not recorded",
         [] {
             AddJre("1.6.0", kJre6);
             MakeRuntime(kJre7);
             sim::SetRegistryValue(EntryKey(kJreList, "1.7.0"), "JavaHome", REG_SZ, std::string(280, 'j'));
         },
         {kJre6},
         {kJre7}},
        {"no JavaSoft key", [] { MakeRuntime(kJre6); }, {}, {kJre6}},
        {"a JRE whose library path would be cut", [] { AddJre("1.6.0", LongHome(240)); }, {}, {LongHome(240)}},
    };
    for (const Case &c : cases) {
        StartOver();
        MakePackage();
        CommandsExit(0);
        c.arrange();
        Run();
        EXPECT_EQ(sim::ReadFile(kSystemLibrary), kLibrary) << c.name;
        for (const std::string &home : c.homesWithLibrary)
            EXPECT_EQ(sim::ReadFile(In(home, "lib\\ext\\ocfpcsc1.dll")), kLibrary) << c.name << ": " << home;
        for (const std::string &home : c.homesWithout)
            EXPECT_FALSE(sim::Exists(In(home, "lib\\ext\\ocfpcsc1.dll"))) << c.name << ": " << home;
    }
}

TEST_F(InstallJavaPluginComponentsTest, IdenticalLibraryIsKeptSilentlyOnlyInTheSystemDirectory) {
    MakePackage();
    AddJre("1.6.0", kJre6);
    CommandsExit(0);
    const std::string jreLibrary = In(kJre6, "lib\\ext\\ocfpcsc1.dll");
    const uint64_t time = sim::FileTimeOf(2004, 5, 6, 7, 8, 9);
    for (const std::string &library : {std::string(kSystemLibrary), jreLibrary}) {
        sim::MakeFile(library, kLibrary);
        SetFileAttributesA(library.c_str(), FILE_ATTRIBUTE_READONLY);
        sim::SetLastWriteTime(library, time);
    }
    sim::SetLastWriteTime(std::string(kPackage) + "\\ocfpcsc1.dll", time);
    sim::QueueMessageBoxAnswers({IDIGNORE});
    EXPECT_EQ(Run(), kStepOk);
    ASSERT_EQ(sim::MessageBoxes().size(), 1u) << "the copy into the JRE compares nothing";
    EXPECT_NE(sim::MessageBoxes()[0].text.find(jreLibrary), std::string::npos);
}

TEST_F(InstallJavaPluginComponentsTest, AbortStopsEverythingButTheLastJreLibraryCopy) {
    struct Case {
        const char *name;
        std::function<void()> arrange;
        StepResult result;
        std::function<void()> check;
    } cases[] = {
        {"at the first entry's archive", [] { MakeConflict(In(kJre6, "lib\\ext\\ocf1.2.jar")); }, kStepAborted,
         [] {
             EXPECT_EQ(sim::ReadFile(In(kJre6, "lib\\ext\\ocf1.2.jar")), kInTheWay);
             EXPECT_FALSE(sim::Exists(In(kJre6, "lib\\opencard.properties")));
             EXPECT_TRUE(sim::Commands().empty());
             EXPECT_EQ(sim::ReadFile(Policy(kJre6)), kOwnPolicy);
             EXPECT_FALSE(sim::Exists(Backup(kJre6)));
             EXPECT_FALSE(sim::Exists(In(kJre7, "lib\\ext\\ocf1.2.jar"))) << "no later JRE";
             EXPECT_FALSE(sim::Exists(In(kJdk6, "lib\\ext\\ocf1.2.jar", Kind::Jdk))) << "no JDK";
             EXPECT_FALSE(sim::Exists(kSystemLibrary));
             EXPECT_FALSE(sim::Exists(In(kJre6, "lib\\ext\\ocfpcsc1.dll")));
         }},
        {"at the properties", [] { MakeConflict(In(kJre6, "lib\\opencard.properties")); }, kStepAborted,
         [] {
             EXPECT_EQ(sim::ReadFile(In(kJre6, "lib\\ext\\ocf1.2.jar")), kArchive);
             EXPECT_TRUE(sim::Commands().empty());
             EXPECT_FALSE(sim::Exists(Backup(kJre6)));
             EXPECT_FALSE(sim::Exists(In(kJre7, "lib\\ext\\ocf1.2.jar")));
             EXPECT_FALSE(sim::Exists(kSystemLibrary));
         }},
        {"at the policy", [] { MakeConflict(Policy(kJre6)); }, kStepAborted,
         [] {
             EXPECT_EQ(CommandsRun(), BothCommands(kJre6));
             EXPECT_EQ(sim::ReadFile(Backup(kJre6)), kInTheWay) << "the backup came first";
             EXPECT_EQ(sim::ReadFile(Policy(kJre6)), kInTheWay);
             EXPECT_FALSE(sim::Exists(In(kJre7, "lib\\ext\\ocf1.2.jar")));
             EXPECT_FALSE(sim::Exists(kSystemLibrary));
         }},
        {"at the system directory's library", [] { MakeConflict(kSystemLibrary); }, kStepAborted,
         [] {
             EXPECT_EQ(sim::ReadFile(kSystemLibrary), kInTheWay);
             EXPECT_EQ(sim::ReadFile(In(kJre7, "lib\\ext\\ocfpcsc1.dll")), kLibrary) << "still made";
         }},
        {"at the system directory's library, Java not detected",
         [] {
             sim::LoadRegistry("[-HKEY_LOCAL_MACHINE\\SOFTWARE\\JavaSoft]\n");
             MakeConflict(kSystemLibrary);
         },
         kStepAborted, [] { EXPECT_FALSE(sim::Exists(In(kJre7, "lib\\ext\\ocfpcsc1.dll"))); }},
        {"at the last JRE's library", [] { MakeConflict(In(kJre7, "lib\\ext\\ocfpcsc1.dll")); }, kStepOk,
         [] { EXPECT_EQ(sim::ReadFile(kSystemLibrary), kLibrary); }},
    };
    for (const Case &c : cases) {
        StartOver();
        MakePackage();
        AddJre("1.6.0", kJre6);
        AddJre("1.7.0", kJre7);
        AddJdk("1.6.0", kJdk6);
        CommandsExit(0);
        c.arrange();
        sim::QueueMessageBoxAnswers({IDABORT});
        EXPECT_EQ(Run(), c.result) << c.name;
        EXPECT_EQ(Written(), c.result == kStepAborted ? kMessageAborted : "") << c.name;
        EXPECT_EQ(sim::MessageBoxes().size(), 1u) << c.name;
        c.check();
    }
}

TEST_F(InstallJavaPluginComponentsTest, IgnoredConflictKeepsTheTargetAndTheStepGoesOn) {
    MakePackage();
    AddJre("1.6.0", kJre6);
    AddJre("1.7.0", kJre7);
    CommandsExit(0);
    MakeConflict(In(kJre6, "lib\\ext\\ocf1.2.jar"));
    sim::QueueMessageBoxAnswers({IDIGNORE});
    EXPECT_EQ(Run(), kStepOk) << "a kept target counts as installed";
    EXPECT_EQ(sim::ReadFile(In(kJre6, "lib\\ext\\ocf1.2.jar")), kInTheWay);
    EXPECT_EQ(sim::ReadFile(In(kJre7, "lib\\ext\\ocf1.2.jar")), kArchive);
    EXPECT_EQ(sim::ReadFile(kSystemLibrary), kLibrary);
}

TEST_F(InstallJavaPluginComponentsTest, RuntimesOwnPolicyIsReplacedOnlyWithABackup) {
    const std::string tooLongForBackup = LongHome(227); // policy path 252 characters, backup name 260
    struct Case {
        const char *name;
        std::string home;
        bool ownPolicy;
        const char *earlierBackup; // nullptr: none; "": a folder of that name
        std::string policy;        // what the runtime's policy holds afterwards
        std::string backup;        // "": no backup file
        StepResult result;
    } cases[] = {
        {"own policy", kJre6, true, nullptr, kPackagePolicy, kOwnPolicy, kStepOk},
        {"no policy of its own", kJre6, false, nullptr, kPackagePolicy, "", kStepOk},
        {"backup from an earlier installation", kJre6, true, "the first policy", kPackagePolicy, "the first policy",
         kStepOk},
        {"a folder where the backup goes", kJre6, true, "", kOwnPolicy, "", kStepWarning},
        {"backup name too long, own policy", tooLongForBackup, true, nullptr, kOwnPolicy, "", kStepWarning},
        {"backup name too long, no policy of its own", tooLongForBackup, false, nullptr, kPackagePolicy, "", kStepOk},
    };
    for (const Case &c : cases) {
        StartOver();
        MakePackage();
        CommandsExit(1); // only the policy copy counts in JP
        MakeRuntime(c.home, Kind::Jre, c.ownPolicy);
        Register(kJreList, "1.6.0", c.home);
        if (c.earlierBackup && *c.earlierBackup) sim::MakeFile(Backup(c.home), c.earlierBackup);
        if (c.earlierBackup && !*c.earlierBackup) sim::MakeDirs(Backup(c.home));
        EXPECT_EQ(Run(), c.result) << c.name;
        EXPECT_EQ(Written(), c.result == kStepOk ? "" : PartlyInstalled(1, 1, 1, 0)) << c.name;
        EXPECT_EQ(sim::ReadFile(Policy(c.home)), c.policy) << c.name;
        EXPECT_EQ(sim::ReadFile(Backup(c.home)), c.backup) << c.name;
    }
}

TEST_F(InstallJavaPluginComponentsTest, BackupCutShortIsNeverTakenForTheWholePolicy) {
    // The disk runs full half-way through the backup, and the user keeps the
    // part in the conflict prompt: the policy must stay, and no backup be left.
    MakePackage();
    AddJre("1.6.0", kJre6);
    CommandsExit(1);
    sim::FailCopyHalfWay(Policy(kJre6) + ".ocf-new", ERROR_DISK_FULL);
    sim::QueueMessageBoxAnswers({IDIGNORE});
    EXPECT_EQ(Run(), kStepWarning);
    EXPECT_EQ(Written(), PartlyInstalled(1, 1, 1, 0));
    EXPECT_EQ(sim::MessageBoxes().size(), 1u);
    EXPECT_EQ(sim::ReadFile(Policy(kJre6)), kOwnPolicy);
    EXPECT_FALSE(sim::Exists(Backup(kJre6)));
    EXPECT_FALSE(sim::Exists(Policy(kJre6) + ".ocf-new"));
}

TEST_F(InstallJavaPluginComponentsTest, SecondRunKeepsTheBackupAndInstallsEverythingAgain) {
    for (const std::string &home : {std::string(kJre6), LongHome(150)}) {
        StartOver();
        MakePackage();
        AddJre("1.6.0", home);
        CommandsExit(0);
        EXPECT_EQ(Run(), kStepOk);
        if (home.size() > 100) {
            EXPECT_GT(Backup(home).size(), 128u) << "longer than OpenFile can hold";
        }

        sim::MakeFile(In(home, "lib\\ext\\ocf1.2.jar"), "changed since");
        sim::MakeFile(Policy(home), "changed since");
        EXPECT_EQ(Run(), kStepOk);
        EXPECT_EQ(sim::ReadFile(Backup(home)), kOwnPolicy) << "the first backup stays: " << home;
        EXPECT_EQ(sim::ReadFile(Policy(home)), kPackagePolicy);
        EXPECT_EQ(sim::ReadFile(In(home, "lib\\ext\\ocf1.2.jar")), kArchive);
        EXPECT_EQ(CommandsRun(), Join(BothCommands(home), BothCommands(home)));
    }
}

TEST_F(InstallJavaPluginComponentsTest, JavaHomeFillingItsBufferIsNeverOverrun) {
    const std::string home = "C:\\" + std::string(258, 'j'); // 261 characters
    struct Case {
        const char *name;
        std::string value;
        StepResult result;
        std::string message;
    } cases[] = {
        {"260 bytes, unterminated", home.substr(0, 260), kStepWarning, PartlyInstalled(1, 0, 0, 0)},
        {"261 bytes, unterminated", home, kStepWarning, PartlyInstalled(1, 0, 0, 0)},
        {"262 bytes, unterminated", home + "j", kStepError, kNothingInstalled},
        {"261 characters and terminator", home + '\0', kStepWarning, PartlyInstalled(1, 0, 0, 0)},
        {"short, unterminated", kJre6, kStepOk, ""},
    };
    for (const Case &c : cases) {
        StartOver();
        MakePackage();
        MakeRuntime(kJre6);
        CommandsExit(0);
        sim::SetRegistryValue(EntryKey(kJreList, "1.6.0"), "JavaHome", REG_SZ, c.value);
        EXPECT_EQ(Run(), c.result) << c.name;
        EXPECT_EQ(Written(), c.message) << c.name;
        if (c.result != kStepOk) {
            EXPECT_TRUE(sim::Commands().empty()) << c.name;
        }
        EXPECT_TRUE(sim::MessageBoxes().empty()) << c.name;
        EXPECT_EQ(sim::ReadFile(kSystemLibrary), kLibrary) << c.name;
    }
}

} // namespace
