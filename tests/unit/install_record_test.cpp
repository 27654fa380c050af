// The record of installations over the simulated machine, in each state it
// can be in: what a run records and registers, what /CHECK says of it, and
// what /RESTORE undoes by it without the distribution folder.
#include <functional>
#include <string>
#include <vector>

#include "app/check_mode.h"
#include "app/exit_codes.h"
#include "java_machine.h"
#include "platform/sim/sim_machine.h"
#include "support/scratch_machine.h"
#include "trusted_payloads.h"

namespace {

using namespace java_machine;

HINSTANCE const kInstance = reinterpret_cast<HINSTANCE>(0x400000);
const char kHome[] = "C:\\Documents and Settings\\user";
const char kFolder[] = "C:\\Program Files\\SmartCardReaderSupport";
const char kRecord[] = "C:\\Program Files\\SmartCardReaderSupport\\record.txt";
const char kKept[] = "C:\\Program Files\\SmartCardReaderSupport\\installer.exe";
const char kEntry[] = "SOFTWARE\\Microsoft\\Windows\\CurrentVersion\\Uninstall\\SmartCardReaderSupport";
const char kLog[] = "C:\\check.log";
const char kOtherSitesPolicy[] = "grant { /* package, other sites */ };";
const char kUserPolicy[] = "grant { /* the user's own */ };";
const char kGone[] = "\x01(gone)";

std::string HomeFile(const char *name) { return std::string(kHome) + "\\" + name; }

int RunInstaller(const char *arguments) { return WinMain(kInstance, nullptr, const_cast<LPSTR>(arguments), SW_SHOW); }

// What CopyPolicyFile does: the package file into the home under the dotted
// name, a file already there kept once as <name>.ocf-bak.
int CopyPolicyFile(const sim::CommandCall &call) {
    std::string name = call.command.substr(call.command.rfind(' ') + 1);
    std::string target = HomeFile(name.c_str());
    if (sim::Exists(target) && !sim::Exists(target + ".ocf-bak")) sim::MakeFile(target + ".ocf-bak", sim::ReadFile(target));
    sim::MakeFile(target, sim::ReadFile(call.currentDirectory + "\\" + name.substr(1)));
    return 0;
}

std::string EntryValue(const char *name) {
    HKEY key;
    if (RegOpenKeyExA(HKEY_LOCAL_MACHINE, kEntry, 0, KEY_QUERY_VALUE, &key) != ERROR_SUCCESS) return kGone;
    char data[512] = "";
    DWORD size = sizeof data;
    DWORD type = REG_NONE;
    LONG status = RegQueryValueExA(key, name, nullptr, &type, reinterpret_cast<BYTE *>(data), &size);
    RegCloseKey(key);
    if (status != ERROR_SUCCESS) return kGone;
    if (type == REG_DWORD) return std::to_string(*reinterpret_cast<DWORD *>(data));
    return std::string(data);
}

class InstallRecordTest : public ScratchTest {
  protected:
    void SetUp() override {
        ScratchTest::SetUp();
        MakePackage();
        sim::MakeDirs(kHome);
        SetEnvironmentVariableA("USERPROFILE", kHome);
        AddJre("1.6", kJre6);
        sim::MakeFile(HomeFile(".java.policy"), kUserPolicy);
        sim::SetCommandHandler(CopyPolicyFile);
        SetCurrentDirectoryA(kDistribution);
        trusted::TrustPayloadsAsTheyAre();
    }
    void TearDown() override {
        UseManifest(nullptr);
        EXPECT_EQ(sim::OpenHandles(), 0) << "a handle, key or search was left open";
        ScratchTest::TearDown();
    }
};

// The restore, as Programs and Features starts it: the kept copy, from
// another folder, the distribution folder gone.
int UninstallQuietly() {
    sim::SetExecutablePath(kKept);
    SetCurrentDirectoryA("C:\\");
    int exitCode = RunInstaller("/S /RESTORE /LOG=C:\\restore.log");
    sim::SetExecutablePath("C:\\Instalator\\installer.exe");
    return exitCode;
}

TEST_F(InstallRecordTest, RunRegistersTheProductAndKeepsTheInstaller) {
    EXPECT_EQ(RunInstaller("/S /COMPONENTS=java"), kExitRestartNeeded);
    EXPECT_EQ(sim::ReadFile(kKept), "MZ the installer");
    const std::vector<std::pair<const char *, std::string>> values = {
        {"DisplayName", "Obsługa czytnika kart mikroprocesorowych w przeglądarkach internetowych"},
        {"DisplayVersion", "1.4"},
        {"Publisher", "Dostawca obsługi czytnika kart"},
        {"InstallDate", "20261207"},
        {"InstallLocation", kFolder},
        {"DisplayIcon", std::string(kKept) + ",0"},
        {"EstimatedSize", "1"},
        {"NoModify", "1"},
        {"NoRepair", "1"},
        {"UninstallString", "\"" + std::string(kKept) + "\" /RESTORE"},
        {"QuietUninstallString", "\"" + std::string(kKept) + "\" /S /RESTORE"},
    };
    for (const auto &value : values) EXPECT_EQ(EntryValue(value.first), value.second) << value.first;
}

// Each state: how the machine got there, then what /S /CHECK and the quiet
// uninstall give and what is where afterwards.
TEST_F(InstallRecordTest, CheckAndRestoreFollowTheRecord) {
    struct Case {
        const char *name;
        std::function<void()> arrange;
        int checkCode;
        std::vector<std::string> checkLogged; // events the check's log holds
        int restoreCode;
        std::vector<std::pair<std::string, std::string>> after; // file and content after the restore
        bool productGone;
    };
    const std::vector<Case> cases = {
        {"fresh installation",
         [] { RunInstaller("/S /COMPONENTS=java"); },
         kExitSetUp,
         {"check: set up"},
         kExitRestored,
         {{Policy(kJre6), kOwnPolicy},
          {Backup(kJre6), kGone},
          {In(kJre6, "lib\\ext\\ocf1.2.jar"), kGone},
          {HomeFile(".java.policy"), kUserPolicy},
          {HomeFile(".java.policy.ocf-bak"), kGone},
          {HomeFile(".opencard.properties"), kGone}},
         true},
        {"upgrade to a release with other sites",
         [] {
             RunInstaller("/S /COMPONENTS=java");
             sim::MakeFile(std::string(kPackage) + "\\java.policy", kOtherSitesPolicy);
             trusted::TrustPayloadsAsTheyAre();
             RunInstaller("/S /COMPONENTS=java");
         },
         kExitSetUp,
         {"check: set up"},
         kExitRestored,
         {{Policy(kJre6), kOwnPolicy},
          {Backup(kJre6), kGone},
          {HomeFile(".java.policy"), kUserPolicy},
          {HomeFile(".java.policy.ocf-bak"), kGone}},
         true},
        {"a runtime's archive deleted, the home policy changed by its user",
         [] {
             RunInstaller("/S /COMPONENTS=java");
             DeleteFileA(In(kJre6, "lib\\ext\\ocf1.2.jar").c_str());
             sim::MakeFile(HomeFile(".java.policy"), std::string(kPackagePolicy) + "\ngrant { /* added */ };");
         },
         kExitNotSetUp,
         {"check: missing: " + In(kJre6, "lib\\ext\\ocf1.2.jar")},
         kExitFailed,
         {{Policy(kJre6), kOwnPolicy},
          {HomeFile(".java.policy"), std::string(kPackagePolicy) + "\ngrant { /* added */ };"},
          {HomeFile(".java.policy.ocf-bak"), kUserPolicy}},
         false},
        {"a runtime registered after the installation",
         [] {
             RunInstaller("/S /COMPONENTS=java");
             AddJre("1.7", kJre7);
         },
         kExitNotSetUp,
         {"check: runtime registered after the last installation: " + std::string(kJre7),
          "check: differs: " + Policy(kJre7)},
         kExitRestored,
         {{Policy(kJre6), kOwnPolicy}, {HomeFile(".java.policy"), kUserPolicy}},
         true},
        {"runtimes' keys refused to a user without administrator rights",
         [] {
             RunInstaller("/S /COMPONENTS=java");
             sim::DenyFullAccess("HKEY_LOCAL_MACHINE\\SOFTWARE\\JavaSoft");
         },
         kExitNotSetUp,
         {"check: not searched, access refused: HKEY_LOCAL_MACHINE\\SOFTWARE\\JavaSoft"},
         kExitRestored,
         {{Policy(kJre6), kOwnPolicy}, {HomeFile(".java.policy"), kUserPolicy}},
         true},
        {"a torn record",
         [] {
             sim::MakeFile(kRecord, "SmartCardReaderSupport record 1\r\nfile\t1\t");
             EXPECT_EQ(RunInstaller("/S /COMPONENTS=java"), kExitFailed);
             EXPECT_EQ(sim::ReadFile(Policy(kJre6)), kOwnPolicy) << "the refused run changed nothing";
         },
         kExitNotSetUp,
         {"check: the record cannot be read whole: " + std::string(kRecord)},
         kExitFailed,
         {{Policy(kJre6), kOwnPolicy}, {kRecord, "SmartCardReaderSupport record 1\r\nfile\t1\t"}},
         false},
        {"a record that cannot be written",
         [] {
             sim::FailCreateDirectory(kFolder, ERROR_ACCESS_DENIED);
             EXPECT_EQ(RunInstaller("/S /COMPONENTS=java"), kExitFailed);
             EXPECT_EQ(sim::ReadFile(Policy(kJre6)), kOwnPolicy) << "the refused run changed nothing";
             EXPECT_FALSE(sim::Exists(In(kJre6, "lib\\ext\\ocf1.2.jar")));
         },
         kExitNotSetUp,
         {"check: no record of an installation: " + std::string(kRecord), "check: no product entry: " + std::string(kEntry)},
         kExitFailed, // without a record, the restore needs the distribution folder
         {{Policy(kJre6), kOwnPolicy}, {HomeFile(".java.policy"), kUserPolicy}},
         true},
    };
    for (const Case &c : cases) {
        scratch::Stop();
        SetUp();
        c.arrange();
        EXPECT_EQ(RunInstaller("/S /CHECK /COMPONENTS=java /LOG=C:\\check.log"), c.checkCode) << c.name;
        const std::string log = sim::ReadFile(kLog);
        for (const std::string &event : c.checkLogged)
            EXPECT_NE(log.find("Z " + event + "\r\n"), std::string::npos) << c.name << ": " << event << "\n" << log;
        for (const char *file : {"ocf1.2.jar", "opencard.properties", "java.policy", "ocfpcsc1.dll"})
            DeleteFileA((std::string(kPackage) + "\\" + file).c_str());
        EXPECT_EQ(UninstallQuietly(), c.restoreCode) << c.name << "\n" << sim::ReadFile("C:\\restore.log");
        for (const auto &file : c.after) {
            if (file.second == kGone)
                EXPECT_FALSE(sim::Exists(file.first)) << c.name << ": " << file.first;
            else
                EXPECT_EQ(sim::ReadFile(file.first), file.second) << c.name << ": " << file.first;
        }
        EXPECT_EQ(!sim::Exists(kRecord), c.productGone) << c.name;
        if (c.productGone) {
            EXPECT_EQ(EntryValue("DisplayName"), kGone) << c.name;
            // The running kept copy and its folder go when Windows starts again.
            sim::Restart();
            EXPECT_FALSE(sim::Exists(kFolder)) << c.name;
        }
    }
}

} // namespace
