// The browser steps against Windows itself: the real registry of the current
// user, folder attributes as the file system reports them, and the Windows
// and system directories of the machine (under Wine, of its private prefix).
#include <cstring>
#include <string>

#include "steps/install_steps.h"
#include "support/scratch_machine.h"

namespace {

const char kBrowserKeys[][48] = {"Software\\Netscape\\Netscape Navigator\\Main",
                                 "Software\\Netscape\\Netscape Navigator", "Software\\Netscape"};
const char kNoBrowser[] = "Nie wykryto zainstalownej przeglądarki Netscape 4.x";

std::string CurrentDirectory() {
    char directory[MAX_PATH + 1] = "";
    GetCurrentDirectoryA(sizeof directory, directory);
    return directory;
}

std::string WindowsDirectory() {
    char directory[MAX_PATH + 1] = "";
    GetWindowsDirectoryA(directory, sizeof directory);
    return directory;
}

std::string SystemDirectory() {
    char directory[MAX_PATH + 1] = "";
    GetSystemDirectoryA(directory, sizeof directory);
    return directory;
}

bool Exists(const std::string &path) { return GetFileAttributesA(path.c_str()) != INVALID_FILE_ATTRIBUTES; }

void Delete(const std::string &path) {
    SetFileAttributesA(path.c_str(), FILE_ATTRIBUTE_NORMAL);
    DeleteFileA(path.c_str());
}

class BrowserStepTest : public ScratchTest {
  protected:
    void SetUp() override {
        ScratchTest::SetUp();
        distributionFolder = CurrentDirectory();
        std::memset(message, '#', sizeof message);
    }

    // Runs the step and checks what every run must leave.
    StepResult Run(StepResult (*step)(char *, int)) {
        StepResult result = step(message, sizeof message);
        EXPECT_EQ(CurrentDirectory(), distributionFolder);
        return result;
    }

    bool MessageUntouched() const { return message[0] == '#' && message[sizeof message - 1] == '#'; }

    std::string distributionFolder;
    char message[kStepMessageCapacity];
};

// --- Netscape 4.x --------------------------------------------------------------

class NetscapeUnderWindowsTest : public BrowserStepTest {
  protected:
    void SetUp() override {
        BrowserStepTest::SetUp();
        RemoveBrowserKeys();
        scratch::MakeFile("ns\\jars\\a.jar", "a");
        scratch::MakeFile("ns\\jars\\sub\\b.jar", "b");
        scratch::MakeFile("ns\\ocfpcsc1.dll", "dll");
        scratch::MakeFile("ns\\opencard.properties", "props");
        scratch::MakeDirs("NS\\Browser\\Program\\java\\classes");
        scratch::MakeDirs("NS\\Browser\\Program\\java\\bin");
        scratch::MakeDirs("NS\\Users\\user1");
        scratch::MakeDirs("NS\\Users\\user2");
    }

    void TearDown() override {
        RemoveBrowserKeys();
        BrowserStepTest::TearDown();
    }

    static void RemoveBrowserKeys() {
        for (const char *key : kBrowserKeys) /* result not examined: */
            RegDeleteKeyA(HKEY_CURRENT_USER, key);
    }

    void SetInstallDirectory(const std::string &directory) {
        HKEY key;
        ASSERT_EQ(
            RegCreateKeyExA(HKEY_CURRENT_USER, kBrowserKeys[0], 0, nullptr, 0, KEY_ALL_ACCESS, nullptr, &key, nullptr),
            ERROR_SUCCESS);
        EXPECT_EQ(RegSetValueExA(key, "Install Directory", 0, REG_SZ, reinterpret_cast<const BYTE *>(directory.c_str()),
                                 static_cast<DWORD>(directory.size() + 1)),
                  ERROR_SUCCESS);
        RegCloseKey(key);
    }
};

TEST_F(NetscapeUnderWindowsTest, InstallsIntoTheBrowserAndEveryPlainProfileFolder) {
    for (const char *suffix : {"", "\\"}) {
        SCOPED_TRACE(suffix);
        Delete("NS\\Users\\user1\\.opencard.properties");
        SetInstallDirectory(distributionFolder + "\\NS\\Browser" + suffix);
        EXPECT_EQ(Run(InstallNetscapeComponents), kStepOk);
        EXPECT_TRUE(MessageUntouched());
        EXPECT_EQ(scratch::ReadFile("NS\\Browser\\Program\\java\\classes\\sub\\b.jar"), "b");
        EXPECT_EQ(scratch::ReadFile("NS\\Browser\\Program\\java\\bin\\ocfpcsc1.dll"), "dll");
        EXPECT_EQ(scratch::ReadFile("NS\\Users\\user1\\.opencard.properties"), "props");
        EXPECT_EQ(scratch::ReadFile("NS\\Users\\user2\\.opencard.properties"), "props");
    }
}

TEST_F(NetscapeUnderWindowsTest, ReadOnlyProfileFileKeptByIgnoreCountsAsCopied) {
    scratch::MakeFile("NS\\Users\\user1\\.opencard.properties", "old");
    ASSERT_TRUE(SetFileAttributesA("NS\\Users\\user1\\.opencard.properties", FILE_ATTRIBUTE_READONLY));
    SetInstallDirectory(distributionFolder + "\\NS\\Browser");
    scratch::AnswerPrompts({IDIGNORE});
    EXPECT_EQ(Run(InstallNetscapeComponents), kStepOk);
    EXPECT_EQ(scratch::Prompts().size(), 1u);
    EXPECT_EQ(scratch::ReadFile("NS\\Users\\user1\\.opencard.properties"), "old");
}

TEST_F(NetscapeUnderWindowsTest, WithoutTheRegistryKeyThereIsNoBrowser) {
    EXPECT_EQ(Run(InstallNetscapeComponents), kStepWarning);
    EXPECT_STREQ(message, kNoBrowser);
    EXPECT_FALSE(scratch::Exists("NS\\Browser\\Program\\java\\bin\\ocfpcsc1.dll"));
}

// --- Internet Explorer ---------------------------------------------------------

// Works in the machine's own Windows and system directories: whatever it
// adds there is removed again before and after each test.
class IeUnderWindowsTest : public BrowserStepTest {
  protected:
    void SetUp() override {
        BrowserStepTest::SetUp();
        javaFolder = WindowsDirectory() + "\\java";
        javaLib = javaFolder + "\\lib";
        systemLibrary = SystemDirectory() + "\\ocfpcsc1.dll";
        javaExisted = Exists(javaFolder);
        RemoveInstalledFiles();
        scratch::MakeFile("msie\\ocf\\a.jar", "a");
        scratch::MakeFile("msie\\ocf\\lib\\b.jar", "b");
        scratch::MakeFile("msie\\ocfpcsc1.dll", "dll");
    }

    void TearDown() override {
        RemoveInstalledFiles();
        BrowserStepTest::TearDown();
    }

    void RemoveInstalledFiles() {
        Delete(javaLib + "\\a.jar");
        Delete(javaLib + "\\lib\\b.jar");
        RemoveDirectoryA((javaLib + "\\lib").c_str());
        RemoveDirectoryA(javaLib.c_str());
        if (!javaExisted) RemoveDirectoryA(javaFolder.c_str());
        Delete(systemLibrary);
    }

    std::string javaFolder, javaLib, systemLibrary;
    bool javaExisted = false;
};

TEST_F(IeUnderWindowsTest, WithoutAJavaFolderOnlyTheLastLevelIsCreated) {
    if (javaExisted) GTEST_SKIP() << javaFolder << " exists on this machine";
    EXPECT_EQ(Run(InstallIeComponents), kStepError);
    EXPECT_STREQ(message, "Błąd kopiowania pliku: kod #1, plik: `ocf\\a.jar'");
    EXPECT_FALSE(Exists(javaFolder));
    EXPECT_FALSE(Exists(systemLibrary));
}

TEST_F(IeUnderWindowsTest, InstallsAndThenAcceptsTheIdenticalLibraryWithoutAsking) {
    if (!javaExisted) {
        ASSERT_TRUE(CreateDirectoryA(javaFolder.c_str(), nullptr));
    }
    EXPECT_EQ(Run(InstallIeComponents), kStepOk);
    EXPECT_TRUE(MessageUntouched());
    EXPECT_TRUE(Exists(javaLib + "\\lib\\b.jar"));
    ASSERT_TRUE(Exists(systemLibrary));

    // The copy kept the package's last-write time, so a read-only copy in
    // place is the same file as far as the step can tell.
    ASSERT_TRUE(SetFileAttributesA(systemLibrary.c_str(), FILE_ATTRIBUTE_READONLY));
    EXPECT_EQ(Run(InstallIeComponents), kStepOk);
    EXPECT_TRUE(scratch::Prompts().empty());
    EXPECT_TRUE(GetFileAttributesA(systemLibrary.c_str()) & FILE_ATTRIBUTE_READONLY);
}

} // namespace
