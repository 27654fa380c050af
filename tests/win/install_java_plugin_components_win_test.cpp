// The Java Plug-in step against Windows itself (here: Wine): the real
// registry, file system and command interpreter, with a stand-in java.exe
// that logs how it was started.
#include <cstring>
#include <string>
#include <vector>

#include "steps/install_steps.h"
#include "stand_in_java.h"
#include "support/scratch_machine.h"

namespace {

const char kJavaSoft[] = "SOFTWARE\\JavaSoft";
// Marks a JavaSoft key that these tests made, and may therefore delete.
const char kMadeByTests[] = "MadeByInstallerTests";
const char kJreList[] = "Java Runtime Environment";
const char kJdkList[] = "Java Development Kit";

const char kArchive[] = "placeholder for the third-party ocf1.2.jar";
const char kLibrary[] = "placeholder for the third-party ocfpcsc1.dll";
const char kProperties[] = "OpenCard.terminals = (package)";
const char kPackagePolicy[] = "grant { /* package */ };";
const char kOwnPolicy[] = "grant { /* the runtime's own */ };";

// Deletes a key with everything below it; false when something stayed.
bool DeleteKeyTree(HKEY parent, const char *name) {
    HKEY key;
    if (RegOpenKeyExA(parent, name, 0, KEY_ALL_ACCESS, &key) != ERROR_SUCCESS) return false;
    char child[MAX_PATH];
    while (RegEnumKeyA(key, 0, child, sizeof child) == ERROR_SUCCESS && DeleteKeyTree(key, child)) {
    }
    RegCloseKey(key);
    return RegDeleteKeyA(parent, name) == ERROR_SUCCESS;
}

void Register(const char *list, const std::string &entry, const std::string &home) {
    const std::string path = std::string(kJavaSoft) + "\\" + list + "\\" + entry;
    HKEY key;
    ASSERT_EQ(RegCreateKeyExA(HKEY_LOCAL_MACHINE, path.c_str(), 0, nullptr, 0, KEY_ALL_ACCESS, nullptr, &key, nullptr),
              ERROR_SUCCESS);
    RegSetValueExA(key, "JavaHome", 0, REG_SZ, reinterpret_cast<const BYTE *>(home.c_str()),
                   static_cast<DWORD>(home.size() + 1));
    RegCloseKey(key);
}

std::string SystemLibrary() {
    char folder[MAX_PATH + 1] = "";
    GetSystemDirectoryA(folder, sizeof folder);
    return std::string(folder) + "\\ocfpcsc1.dll";
}

void RemoveSystemLibrary() {
    SetFileAttributesA(SystemLibrary().c_str(), FILE_ATTRIBUTE_NORMAL);
    DeleteFileA(SystemLibrary().c_str());
}

std::string ReadAbsolute(const std::string &path) {
    HANDLE file = CreateFileA(path.c_str(), GENERIC_READ, FILE_SHARE_READ, nullptr, OPEN_EXISTING, 0, nullptr);
    if (file == INVALID_HANDLE_VALUE) return "";
    char content[256];
    DWORD read = 0;
    ReadFile(file, content, sizeof content, &read, nullptr);
    CloseHandle(file);
    return std::string(content, read);
}

// A runtime on disk below the scratch folder: its java.exe, lib\ext, and
// lib\security with a policy of its own (below jre for a JDK).
void MakeRuntime(const std::string &home, bool jdk, bool withSecurity = true) {
    PlaceStandInJava(home + "\\bin");
    const std::string root = jdk ? home + "\\jre" : home;
    if (jdk) PlaceStandInJava(root + "\\bin");
    scratch::MakeDirs(root + "\\lib\\ext");
    if (withSecurity) scratch::MakeFile(root + "\\lib\\security\\java.policy", kOwnPolicy);
}

class JavaPluginStepOnWindowsTest : public ScratchTest {
  protected:
    void SetUp() override {
        ScratchTest::SetUp();
        distribution = ScratchFolder();
        HKEY javaSoft;
        if (RegOpenKeyExA(HKEY_LOCAL_MACHINE, kJavaSoft, 0, KEY_READ, &javaSoft) == ERROR_SUCCESS) {
            bool ours = RegQueryValueExA(javaSoft, kMadeByTests, nullptr, nullptr, nullptr, nullptr) == ERROR_SUCCESS;
            RegCloseKey(javaSoft);
            if (!ours) GTEST_SKIP() << "this machine has Java runtimes of its own";
            ASSERT_TRUE(DeleteKeyTree(HKEY_LOCAL_MACHINE, kJavaSoft)) << "left by an earlier run";
        }
        ASSERT_EQ(
            RegCreateKeyExA(HKEY_LOCAL_MACHINE, kJavaSoft, 0, nullptr, 0, KEY_ALL_ACCESS, nullptr, &javaSoft, nullptr),
            ERROR_SUCCESS);
        RegSetValueExA(javaSoft, kMadeByTests, 0, REG_SZ, reinterpret_cast<const BYTE *>(""), 1);
        RegCloseKey(javaSoft);
        madeJavaSoft = true;
        RemoveSystemLibrary();

        scratch::MakeFile("sun\\ocf1.2.jar", kArchive);
        scratch::MakeFile("sun\\opencard.properties", kProperties);
        scratch::MakeFile("sun\\java.policy", kPackagePolicy);
        scratch::MakeFile("sun\\ocfpcsc1.dll", kLibrary);
        scratch::MakeFile("sun\\CopyPolicyFile.class", "placeholder for the compiled class");
        std::memset(message, '#', sizeof message);
    }

    void TearDown() override {
        if (madeJavaSoft) {
            EXPECT_TRUE(DeleteKeyTree(HKEY_LOCAL_MACHINE, kJavaSoft)) << "a key was left open";
            RemoveSystemLibrary();
        }
        ScratchTest::TearDown();
    }

    StepResult Run() {
        StepResult result = InstallJavaPluginComponents(message, sizeof message);
        EXPECT_EQ(ScratchFolder(), distribution) << "back in the distribution folder";
        return result;
    }

    std::vector<std::string> BothCalls() const {
        const std::string folder = distribution + "\\sun";
        const std::string classPath = folder + "|-classpath|" + folder;
        return {classPath + "|CopyPolicyFile|.java.policy", classPath + "|CopyPolicyFile|.opencard.properties"};
    }

    std::string distribution;
    bool madeJavaSoft = false;
    char message[kStepMessageCapacity];
};

TEST_F(JavaPluginStepOnWindowsTest, CompleteJreInProgramFilesX86ReceivesEverything) {
    const std::string home = "Program Files (x86)\\Java\\jre7";
    MakeRuntime(home, false);
    Register(kJreList, "1.7.0_80", distribution + "\\" + home);

    EXPECT_EQ(Run(), kStepOk);
    EXPECT_EQ(message[0], '#') << "no message";
    EXPECT_EQ(scratch::ReadFile(home + "\\lib\\ext\\ocf1.2.jar"), kArchive);
    EXPECT_EQ(scratch::ReadFile(home + "\\lib\\opencard.properties"), kProperties);
    EXPECT_EQ(scratch::ReadFile(home + "\\lib\\security\\java.policy"), kPackagePolicy);
    EXPECT_EQ(scratch::ReadFile(home + "\\lib\\security\\java.policy.ocf-bak"), kOwnPolicy);
    EXPECT_EQ(scratch::ReadFile(home + "\\lib\\ext\\ocfpcsc1.dll"), kLibrary);
    EXPECT_EQ(ReadAbsolute(SystemLibrary()), kLibrary);
    EXPECT_EQ(StandInCalls(home + "\\bin"), BothCalls()) << "quoted path with parentheses, package folder";
}

TEST_F(JavaPluginStepOnWindowsTest, FailedJreLeavesTheCommandsToTheJdksOwnJava) {
    const std::string jre = "Java\\jre6";
    const std::string jdk = "Java\\jdk 1.6.0";
    MakeRuntime(jre, false, false); // its policy copy fails
    SetStandInExitStatus(jre + "\\bin", 1);
    MakeRuntime(jdk, true);
    Register(kJreList, "1.6.0", distribution + "\\" + jre);
    Register(kJdkList, "1.6.0", distribution + "\\" + jdk);

    EXPECT_EQ(Run(), kStepOk) << "VM2 OL2 OP2 JP3";
    EXPECT_EQ(StandInCalls(jre + "\\bin"), BothCalls());
    EXPECT_EQ(StandInCalls(jdk + "\\bin"), BothCalls());
    EXPECT_TRUE(StandInCalls(jdk + "\\jre\\bin").empty());
    EXPECT_EQ(scratch::ReadFile(jdk + "\\jre\\lib\\ext\\ocf1.2.jar"), kArchive);
    EXPECT_EQ(scratch::ReadFile(jdk + "\\jre\\lib\\security\\java.policy.ocf-bak"), kOwnPolicy);
    EXPECT_EQ(scratch::ReadFile(jre + "\\lib\\ext\\ocfpcsc1.dll"), kLibrary) << "the last JRE, not the JDK";
    EXPECT_FALSE(scratch::Exists(jdk + "\\jre\\lib\\ext\\ocfpcsc1.dll"));
}

TEST_F(JavaPluginStepOnWindowsTest, AbortAtTheFirstArchiveStopsTheStep) {
    const std::string home = "Java\\jre6";
    MakeRuntime(home, false);
    Register(kJreList, "1.6.0", distribution + "\\" + home);
    scratch::MakeFile(home + "\\lib\\ext\\ocf1.2.jar", "an older archive");
    SetFileAttributesA((home + "\\lib\\ext\\ocf1.2.jar").c_str(), FILE_ATTRIBUTE_READONLY);
    scratch::AnswerPrompts({IDABORT});

    EXPECT_EQ(Run(), kStepAborted);
    EXPECT_STREQ(message, kMessageAborted);
    EXPECT_EQ(scratch::Prompts().size(), 1u);
    EXPECT_EQ(scratch::ReadFile(home + "\\lib\\ext\\ocf1.2.jar"), "an older archive");
    EXPECT_FALSE(scratch::Exists(home + "\\lib\\opencard.properties"));
    EXPECT_TRUE(StandInCalls(home + "\\bin").empty());
    EXPECT_EQ(GetFileAttributesA(SystemLibrary().c_str()), INVALID_FILE_ATTRIBUTES);
}

} // namespace
