// The restore (/RESTORE) over the simulated machine: what it undoes and what
// it keeps in every state the runtimes, the user's home and the browsers'
// folders can be in; that a stop at any moment of an installation or a
// restore never loses a runtime's own policy; its prompt, message box, exit
// codes and log.
#include <cstring>
#include <functional>
#include <map>
#include <string>
#include <vector>

#include "app/exit_codes.h"
#include "java_machine.h"
#include "platform/sim/sim_machine.h"
#include "restore/restore_report.h"
#include "support/scratch_machine.h"
#include "trusted_payloads.h"

namespace {

using namespace java_machine;

HINSTANCE const kInstance = reinterpret_cast<HINSTANCE>(0x400000);
const char kHome[] = "C:\\Documents and Settings\\user";
const char kUserPolicy[] = "grant { /* the user's own */ };";
const char kChanged[] = "changed by someone else";
// An expected content meaning: the file must not be there.
const char kGone[] = "\x01(gone)";
const char kLog[] = "C:\\restore.log";

std::string Archive(const std::string &home, Kind kind = Kind::Jre) { return In(home, "lib\\ext\\ocf1.2.jar", kind); }
std::string Properties(const std::string &home, Kind kind = Kind::Jre) {
    return In(home, "lib\\opencard.properties", kind);
}
std::string Library(const std::string &home, Kind kind = Kind::Jre) { return In(home, "lib\\ext\\ocfpcsc1.dll", kind); }
std::string HomeFile(const char *name) { return std::string(kHome) + "\\" + name; }

// A registered runtime that had a policy of its own, as an installation leaves it.
void Installed(const std::string &home, Kind kind = Kind::Jre) {
    MakeRuntime(home, kind);
    Register(kind == Kind::Jre ? kJreList : kJdkList, home.substr(home.rfind('\\') + 1), home);
    sim::MakeFile(Backup(home, kind), kOwnPolicy);
    sim::MakeFile(Policy(home, kind), kPackagePolicy);
    sim::MakeFile(Archive(home, kind), kArchive);
    sim::MakeFile(Properties(home, kind), kProperties);
    if (kind == Kind::Jre) sim::MakeFile(Library(home), kLibrary);
}

void MakeReadOnly(const std::string &path) { SetFileAttributesA(path.c_str(), FILE_ATTRIBUTE_READONLY); }

// The package as each test made it is the release's.
int RunWinMain(const char *arguments) {
    trusted::TrustPayloadsAsTheyAre();
    return WinMain(kInstance, nullptr, const_cast<LPSTR>(arguments), SW_SHOW);
}

// What is on the simulated drive: every file with its content.
std::map<std::string, std::string> Files() {
    std::vector<std::string> paths;
    trusted::Walk("C:", &paths);
    std::map<std::string, std::string> files;
    for (const std::string &path : paths) files[path] = sim::ReadFile(path);
    return files;
}

class RestoreTest : public ScratchTest {
  protected:
    void SetUp() override {
        ScratchTest::SetUp();
        StartMachine();
    }
    void TearDown() override {
        EXPECT_EQ(sim::OpenHandles(), 0) << "a handle, key or search was left open";
        UseManifest(nullptr);
        ScratchTest::TearDown();
    }

    // A fresh machine with the distribution folder and the user's home.
    static void StartMachine() {
        scratch::Stop();
        scratch::Start();
        MakePackage();
        sim::MakeDirs(kHome);
        SetEnvironmentVariableA("USERPROFILE", kHome);
    }

    // The restore as an administrator's tool runs it, and what every run keeps.
    static int RestoreUnattended(const char *arguments = "/S /RESTORE") {
        int exitCode = RunWinMain(arguments);
        char current[MAX_PATH + 1] = "";
        GetCurrentDirectoryA(sizeof current, current);
        EXPECT_STREQ(current, kDistribution);
        EXPECT_TRUE(sim::MessageBoxes().empty()) << "no window of any kind";
        EXPECT_EQ(sim::OpenHandles(), 0);
        return exitCode;
    }

    static void Expect(const std::map<std::string, std::string> &files, const std::string &name) {
        for (const auto &file : files) {
            if (file.second == kGone)
                EXPECT_FALSE(sim::Exists(file.first)) << name << ": " << file.first;
            else
                EXPECT_EQ(sim::ReadFile(file.first), file.second) << name << ": " << file.first;
        }
    }
};

TEST_F(RestoreTest, UndoesWhatIsTheInstallersAndKeepsEverythingElse) {
    const std::string ieFolder = "C:\\Windows\\java\\lib";
    const std::string netscape = "C:\\Netscape\\Communicator\\Program\\java";
    struct Case {
        const char *name;
        std::function<void()> arrange;
        int exitCode;
        std::map<std::string, std::string> remains; // path: content, or kGone
        std::vector<std::string> logged = {};       // events the log holds
    } cases[] = {
        {"an installed JRE",
         [] { Installed(kJre6); },
         kExitRestored,
         {{Policy(kJre6), kOwnPolicy},
          {Backup(kJre6), kGone},
          {Archive(kJre6), kGone},
          {Properties(kJre6), kGone},
          {Library(kJre6), kGone}}},
        {"an installed JDK",
         [] { Installed(kJdk6, Kind::Jdk); },
         kExitRestored,
         {{Policy(kJdk6, Kind::Jdk), kOwnPolicy},
          {Backup(kJdk6, Kind::Jdk), kGone},
          {Archive(kJdk6, Kind::Jdk), kGone},
          {Properties(kJdk6, Kind::Jdk), kGone}}},
        {"a runtime that had no policy",
         [] {
             MakeRuntime(kJre6, Kind::Jre, false);
             Register(kJreList, "1.6.0", kJre6);
             sim::MakeFile(Policy(kJre6), kPackagePolicy);
         },
         kExitRestored,
         {{Policy(kJre6), kGone}}},
        {"never installed", [] { AddJre("1.6.0", kJre6); }, kExitRestored, {{Policy(kJre6), kOwnPolicy}}},
        {"a later installation backed up the installer's own policy",
         [] {
             MakeRuntime(kJre6, Kind::Jre, false);
             Register(kJreList, "1.6.0", kJre6);
             sim::MakeFile(Policy(kJre6), kPackagePolicy);
             sim::MakeFile(Backup(kJre6), kPackagePolicy);
         },
         kExitRestored,
         {{Policy(kJre6), kGone}, {Backup(kJre6), kGone}}},
        // Without a record, a backup beside no policy may be anyone's: it stays one.
        {"policy deleted since the installation",
         [] {
             Installed(kJre6);
             DeleteFileA(Policy(kJre6).c_str());
         },
         kExitRestored,
         {{Policy(kJre6), kGone}, {Backup(kJre6), kOwnPolicy}}},
        {"policy changed since the installation",
         [] {
             Installed(kJre6);
             sim::MakeFile(Policy(kJre6), kChanged);
         },
         kExitFailed,
         {{Policy(kJre6), kChanged}, {Backup(kJre6), kOwnPolicy}, {Archive(kJre6), kGone}}},
        {"files changed by someone else",
         [] {
             Installed(kJre6);
             sim::MakeFile(Archive(kJre6), kChanged);
             sim::MakeFile(Library(kJre6), kChanged);
         },
         kExitRestored,
         {{Archive(kJre6), kChanged},
          {Library(kJre6), kChanged},
          {Properties(kJre6), kGone},
          {Policy(kJre6), kOwnPolicy}}},
        {"a read-only archive",
         [] {
             Installed(kJre6);
             MakeReadOnly(Archive(kJre6));
         },
         kExitFailed,
         {{Archive(kJre6), kArchive}, {Properties(kJre6), kGone}, {Policy(kJre6), kOwnPolicy}}},
        {"a locked policy",
         [] {
             Installed(kJre6);
             sim::LockFile(Policy(kJre6));
         },
         kExitFailed,
         {{Policy(kJre6), kPackagePolicy}, {Backup(kJre6), kOwnPolicy}}},
        {"a read-only backup",
         [] {
             Installed(kJre6);
             MakeReadOnly(Backup(kJre6));
         },
         kExitFailed,
         {{Policy(kJre6), kOwnPolicy}, {Backup(kJre6), kOwnPolicy}},
         {"restored, but its backup not deleted (error 5): " + Backup(kJre6),
          "restore: 0 restored, 3 removed, 0 kept, 1 not undone"}},
        {"the policy taken by another program between two reads",
         [] {
             Installed(kJre6);
             sim::LockFileAfterOpens(Policy(kJre6), 2);
         },
         kExitFailed,
         {{Policy(kJre6), kPackagePolicy}, {Backup(kJre6), kOwnPolicy}},
         {"not restored (error 32): " + Policy(kJre6)}},
        {"the copy back failing half-way",
         [] {
             Installed(kJre6);
             sim::FailCopyHalfWay(Policy(kJre6) + ".ocf-new", ERROR_DISK_FULL);
         },
         kExitFailed,
         {{Policy(kJre6), kPackagePolicy}, {Backup(kJre6), kOwnPolicy}, {Policy(kJre6) + ".ocf-new", kGone}}},
        {"an installation stopped while it made the backup",
         [] {
             AddJre("1.6.0", kJre6);
             sim::MakeFile(Policy(kJre6) + ".ocf-new", "grant { /* the runtime");
         },
         kExitRestored,
         {{Policy(kJre6), kOwnPolicy}, {Policy(kJre6) + ".ocf-new", kGone}}},
        {"the library in a JRE that is no longer the last",
         [] {
             Installed(kJre6);
             AddJre("1.7.0", kJre7);
         },
         kExitRestored,
         {{Library(kJre6), kGone}, {Policy(kJre7), kOwnPolicy}}},
        {"a JDK's own copy of the library",
         [] {
             Installed(kJdk6, Kind::Jdk);
             sim::MakeFile(Library(kJdk6, Kind::Jdk), kLibrary);
         },
         kExitRestored,
         {{Library(kJdk6, Kind::Jdk), kLibrary}, {Archive(kJdk6, Kind::Jdk), kGone}}},
        {"the installer's own files missing",
         [] {
             Installed(kJre6);
             for (const char *file : {"ocf1.2.jar", "opencard.properties", "java.policy", "ocfpcsc1.dll"})
                 DeleteFileA((std::string(kPackage) + "\\" + file).c_str());
         },
         kExitFailed,
         {{Policy(kJre6), kPackagePolicy}, {Backup(kJre6), kOwnPolicy}, {Archive(kJre6), kArchive}}},
        {"no administrator rights",
         [] {
             Installed(kJre6);
             sim::DenyFullAccess("HKEY_LOCAL_MACHINE\\SOFTWARE\\JavaSoft");
         },
         kExitFailed,
         {{Policy(kJre6), kPackagePolicy}, {Archive(kJre6), kArchive}},
         {"not searched (error 5): HKEY_LOCAL_MACHINE\\SOFTWARE\\JavaSoft"}},
        {"a runtime without a usable JavaHome before an installed one",
         [] {
             sim::SetRegistryValue(EntryKey(kJreList, "1.5.0"), "JavaHome", REG_SZ, std::string(1, '\0'));
             Installed(kJre6);
         },
         kExitRestored,
         {{Policy(kJre6), kOwnPolicy}, {Archive(kJre6), kGone}}},
        {"nothing to undo", [] {}, kExitRestored, {}},
        {"the user's home",
         [] {
             sim::MakeFile(HomeFile(".java.policy"), kPackagePolicy);
             sim::MakeFile(HomeFile(".java.policy.ocf-bak"), kUserPolicy);
             sim::MakeFile(HomeFile(".opencard.properties"), kProperties);
         },
         kExitRestored,
         {{HomeFile(".java.policy"), kUserPolicy},
          {HomeFile(".java.policy.ocf-bak"), kGone},
          {HomeFile(".opencard.properties"), kGone}}},
        {"a user's own backup where the installer never ran",
         [] { sim::MakeFile(HomeFile(".java.policy.ocf-bak"), kUserPolicy); },
         kExitRestored,
         {{HomeFile(".java.policy"), kGone}, {HomeFile(".java.policy.ocf-bak"), kUserPolicy}}},
        {"the user's home unknown",
         [] { SetEnvironmentVariableA("USERPROFILE", nullptr); },
         kExitFailed,
         {},
         {"not searched (error 203): %USERPROFILE%"}},
        {"the user's home too long for a path",
         [] { SetEnvironmentVariableA("USERPROFILE", ("C:\\" + std::string(300, 'h')).c_str()); },
         kExitFailed,
         {},
         {"not searched (error 122): %USERPROFILE%"}},
        {"Internet Explorer's tree",
         [=] {
             sim::MakeFile("C:\\work\\msie\\ocf\\a.class", "A");
             sim::MakeFile("C:\\work\\msie\\ocf\\sub\\b.class", "B");
             sim::MakeFile(ieFolder + "\\a.class", "A");
             sim::MakeFile(ieFolder + "\\sub\\b.class", kChanged);
         },
         kExitRestored,
         {{ieFolder + "\\a.class", kGone}, {ieFolder + "\\sub\\b.class", kChanged}},
         {"kept, it differs from the installer's file: " + ieFolder + "\\sub\\b.class"}},
        {"Netscape 4.x",
         [=] {
             sim::LoadRegistry("[HKEY_CURRENT_USER\\Software\\Netscape\\Netscape Navigator\\Main]\n"
                               "\"Install Directory\"=\"C:\\\\Netscape\\\\Communicator\"\n");
             sim::MakeFile("C:\\work\\ns\\jars\\ocf.jar", "jar");
             sim::MakeFile("C:\\work\\ns\\ocfpcsc1.dll", kLibrary);
             sim::MakeFile("C:\\work\\ns\\opencard.properties", kProperties);
             sim::MakeFile(netscape + "\\classes\\ocf.jar", "jar");
             sim::MakeFile(netscape + "\\bin\\ocfpcsc1.dll", kLibrary);
             sim::MakeFile("C:\\Netscape\\Users\\alice\\.opencard.properties", kProperties);
             sim::MakeFile("C:\\Netscape\\Users\\bob\\.opencard.properties", kChanged);
         },
         kExitRestored,
         {{netscape + "\\classes\\ocf.jar", kGone},
          {netscape + "\\bin\\ocfpcsc1.dll", kGone},
          {"C:\\Netscape\\Users\\alice\\.opencard.properties", kGone},
          {"C:\\Netscape\\Users\\bob\\.opencard.properties", kChanged}},
         {"kept, it differs from the installer's file: C:\\Netscape\\Users\\bob\\.opencard.properties"}},
        {"the system directory's library",
         [] { sim::MakeFile(kSystemLibrary, kLibrary); },
         kExitRestored,
         {{kSystemLibrary, kLibrary}}},
    };
    for (const Case &c : cases) {
        StartMachine();
        c.arrange();
        EXPECT_EQ(RestoreUnattended((std::string("/S /RESTORE /LOG=") + kLog).c_str()), c.exitCode) << c.name;
        Expect(c.remains, c.name);
        const std::string log = sim::ReadFile(kLog);
        for (const std::string &event : c.logged)
            EXPECT_NE(log.find("Z " + event + "\r\n"), std::string::npos) << c.name << ": " << event << "\n" << log;
        DeleteFileA(kLog);
        // A second restore changes nothing more, and never loses what the first kept.
        std::map<std::string, std::string> after = Files();
        EXPECT_EQ(RestoreUnattended(), c.exitCode) << c.name << ", again";
        EXPECT_EQ(Files(), after) << c.name << ", again";
    }
}

// A runtime's own policy must always be somewhere whole: in its policy or
// its backup, wherever an installation or a restore stops (killed, or the
// power cut), the change in progress left half done.
class StopAtAnyMomentTest : public RestoreTest {
  protected:
    struct Runtime {
        const char *home;
        Kind kind;
        bool ownPolicy;
    };
    static constexpr Runtime kRuntimes[] = {{kJre6, Kind::Jre, true}, {kJre7, Kind::Jre, false}};

    static void MakeMachine() {
        StartMachine();
        int entry = 0;
        for (const Runtime &runtime : kRuntimes) {
            MakeRuntime(runtime.home, runtime.kind, runtime.ownPolicy);
            Register(runtime.kind == Kind::Jre ? kJreList : kJdkList, std::to_string(++entry), runtime.home);
        }
    }

    // The files, but for the system directory's library, which stays.
    static std::map<std::string, std::string> FilesButTheSystemLibrary() {
        std::map<std::string, std::string> files = Files();
        files.erase(kSystemLibrary);
        return files;
    }

    // An unattended installation: no conflict prompt can be answered.
    static void Install() {
        sim::SetCommandHandler([](const sim::CommandCall &) { return 1; });
        RunWinMain("/S /COMPONENTS=java");
    }

    static void ExpectOwnPoliciesKept(const std::string &when) {
        for (const Runtime &runtime : kRuntimes) {
            if (!runtime.ownPolicy) continue;
            EXPECT_TRUE(sim::ReadFile(Policy(runtime.home, runtime.kind)) == kOwnPolicy ||
                        sim::ReadFile(Backup(runtime.home, runtime.kind)) == kOwnPolicy)
                << when << ": " << runtime.home;
        }
    }
};

TEST_F(StopAtAnyMomentTest, NoStopLosesARuntimesPolicy) {
    MakeMachine();
    const std::map<std::string, std::string> before = FilesButTheSystemLibrary();
    bool installStopped = true;
    bool restoreStopped = true;
    int changes = 0;
    for (; installStopped || restoreStopped; ++changes) {
        const std::string when = "after " + std::to_string(changes) + " changes";
        // The installation stops; it is run again, then restored.
        MakeMachine();
        sim::StopChangesAfter(changes);
        Install();
        installStopped = sim::Stopped();
        ExpectOwnPoliciesKept("installation stopped " + when);
        sim::StopChangesAfter(-1);
        Install();
        EXPECT_EQ(RestoreUnattended(), kExitRestored) << "installation stopped " << when;
        EXPECT_EQ(FilesButTheSystemLibrary(), before) << "installation stopped " << when;

        // The restore stops; it is run again.
        MakeMachine();
        Install();
        sim::StopChangesAfter(changes);
        RestoreUnattended();
        restoreStopped = sim::Stopped();
        ExpectOwnPoliciesKept("restore stopped " + when);
        sim::StopChangesAfter(-1);
        EXPECT_EQ(RestoreUnattended(), kExitRestored) << "restore stopped " << when;
        EXPECT_EQ(FilesButTheSystemLibrary(), before) << "restore stopped " << when;
    }
    EXPECT_GT(changes, 10) << "every change of both runs was a place to stop";
    // An installation after a restore works as a first one.
    Install();
    for (const Runtime &runtime : kRuntimes) {
        EXPECT_EQ(sim::ReadFile(Policy(runtime.home, runtime.kind)), kPackagePolicy);
        EXPECT_EQ(sim::ReadFile(Backup(runtime.home, runtime.kind)), runtime.ownPolicy ? kOwnPolicy : "");
    }
}

TEST_F(RestoreTest, PromptMessageBoxAndExitCodesFollowTheCommandLine) {
    const char prompt[] =
        "Za chwilę zostaną cofnięte zmiany, które instalator wprowadził na tym komputerze:\n"
        "\n"
        "- w każdym zarejestrowanym środowisku JRE/JDK plik java.policy wróci z kopii zapasowej "
        "java.policy.ocf-bak, a pliki ocf1.2.jar, opencard.properties i ocfpcsc1.dll zostaną usunięte;\n"
        "- w katalogu użytkownika pliki .java.policy i .opencard.properties wrócą z kopii zapasowych "
        "albo zostaną usunięte;\n"
        "- zostaną usunięte pliki OCF dla MS Internet Explorera i Netscape 4.x.\n"
        "\n"
        "Usuwane są tylko pliki identyczne z plikami instalatora: plik zmieniony przez kogoś innego pozostaje. "
        "Pozostają też: biblioteka ocfpcsc1.dll w katalogu systemowym (mogą jej używać inne programy) "
        "i sterownik czytnika kart, który odinstalowuje się osobno. "
        "Usunięty przez instalację plik ocf1.2.jar nie wraca do katalogu systemowego.\n"
        "\n"
        "Czy chcesz kontynuować?";
    const std::string restored = "Przywrócono: 1, usunięto: 3, pozostawiono: 0, nie cofnięto: 0.\n\n"
                                 "Przywrócono z kopii zapasowej: " +
                                 Policy(kJre6) + "\nUsunięto: " + Archive(kJre6) + "\nUsunięto: " + Properties(kJre6) +
                                 "\nUsunięto: " + Library(kJre6) +
                                 "\n\nPlik ocf1.2.jar usunięty z katalogu systemowego przez instalację nie wraca. "
                                 "Sterownik czytnika kart odinstalowuje się osobno.";
    struct Case {
        const char *arguments;
        std::vector<int> answers;
        std::function<void()> arrange;
        int exitCode;
        bool undone;
        std::vector<std::string> boxes; // each box's text, or its start
        std::vector<UINT> flags;
    } cases[] = {
        {"/RESTORE", {IDNO}, [] {}, kExitInteractive, false, {prompt}, {MB_YESNO | MB_ICONQUESTION}},
        {"/restore",
         {IDYES, IDOK},
         [] {},
         kExitInteractive,
         true,
         {prompt, restored},
         {MB_YESNO | MB_ICONQUESTION, MB_OK | MB_ICONINFORMATION}},
        {"/RESTORE",
         {IDYES, IDOK},
         [] { MakeReadOnly(Archive(kJre6)); },
         kExitInteractive,
         false,
         {prompt, "Przywrócono: 1, usunięto: 2, pozostawiono: 0, nie cofnięto: 1."},
         {MB_YESNO | MB_ICONQUESTION, MB_OK | MB_ICONWARNING}},
        {"/S /RESTORE", {}, [] {}, kExitRestored, true, {}, {}},
        {"/RESTORE /quiet", {}, [] { sim::LockFile(Properties(kJre6)); }, kExitFailed, false, {}, {}},
        {"/S /RESTORE",
         {},
         [] { sim::HoldMutex("Global\\SmartCardReaderInstaller.Running", false); },
         kExitAnotherRunning,
         false,
         {},
         {}},
    };
    for (const Case &c : cases) {
        StartMachine();
        Installed(kJre6);
        c.arrange();
        std::map<std::string, std::string> before = Files();
        sim::QueueMessageBoxAnswers(c.answers);
        EXPECT_EQ(RunWinMain(c.arguments), c.exitCode) << c.arguments;
        ASSERT_EQ(sim::MessageBoxes().size(), c.boxes.size()) << c.arguments;
        for (size_t i = 0; i < c.boxes.size(); ++i) {
            const sim::MessageBoxCall &box = sim::MessageBoxes()[i];
            EXPECT_EQ(box.text.substr(0, c.boxes[i].size()), c.boxes[i]) << c.arguments;
            EXPECT_EQ(box.flags, c.flags[i]) << c.arguments;
            EXPECT_EQ(box.owner, nullptr);
        }
        if (c.undone) {
            EXPECT_EQ(sim::ReadFile(Policy(kJre6)), kOwnPolicy) << c.arguments;
            EXPECT_FALSE(sim::Exists(Archive(kJre6))) << c.arguments;
        }
        if (c.exitCode == kExitAnotherRunning || c.answers == std::vector<int>{IDNO}) {
            EXPECT_EQ(Files(), before) << c.arguments << ": nothing may change";
        }
    }
}

TEST_F(RestoreTest, LogSaysWhatWasUndoneAndWhatNotAndWhy) {
    Installed(kJre6);
    MakeReadOnly(Archive(kJre6));
    sim::MakeFile(Properties(kJre6), kChanged);
    sim::MakeDirs("C:\\logs");
    EXPECT_EQ(RunWinMain("/S /RESTORE /LOG=C:\\logs\\restore.log"), kExitFailed);
    const std::string log = sim::ReadFile("C:\\logs\\restore.log");
    for (const std::string &line :
         {"restored from its backup: " + Policy(kJre6), "not removed (error 5): " + Archive(kJre6),
          "kept, it differs from the installer's file: " + Properties(kJre6), "removed: " + Library(kJre6),
          std::string("restore: 1 restored, 1 removed, 1 kept, 1 not undone"), std::string("exit code 1603")})
        EXPECT_NE(log.find(line + "\r\n"), std::string::npos) << line << "\n" << log;
}

TEST_F(RestoreTest, MessageKeepsWholeLinesWithinItsRoom) {
    const std::string what = "Nie usunięto (błąd 32, plik otwarty przez inny program): ";
    // Twelve lines with a path of this length fill the room to its last byte,
    // which leaves none for the terminator.
    static_assert(kRestoreLinesCapacity % 12 == 0, "the room holds twelve lines of one length");
    const size_t fillsTheRoom = kRestoreLinesCapacity / 12 - what.size() - std::strlen("C:\\\n");
    for (size_t pathLength : {size_t{255}, fillsTheRoom}) {
        RestoreReport report;
        StartRestoreReport(&report);
        const std::string path = "C:\\" + std::string(pathLength, 'p');
        for (int i = 0; i < 40; ++i)
            NoteRestore(&report, RestoreNote::NotRemoved, path.c_str(), ERROR_SHARING_VIOLATION);
        NoteRestore(&report, RestoreNote::LeftAlone, "C:\\not shown", ERROR_SUCCESS);
        char text[kRestoreMessageCapacity];
        std::memset(text, '#', sizeof text);
        ComposeRestoreMessage(report, text);
        const std::string message(text);
        ASSERT_LT(message.size(), sizeof text);
        const std::string line = what + path + "\n";
        size_t shown = 0;
        for (size_t at = message.find(line); at != std::string::npos; at = message.find(line, at + 1)) ++shown;
        EXPECT_GT(shown, 0u);
        EXPECT_EQ(message.rfind("Przywrócono: 0, usunięto: 0, pozostawiono: 0, nie cofnięto: 40.\n\n", 0), 0u);
        EXPECT_NE(message.find("\n... i " + std::to_string(40 - shown) + " dalszych pozycji"), std::string::npos)
            << pathLength;
        EXPECT_EQ(message.find("not shown"), std::string::npos);
        const std::string end = "nie wraca. Sterownik czytnika kart odinstalowuje się osobno.";
        EXPECT_EQ(message.substr(message.size() - end.size()), end);
    }
}

} // namespace
