// The reader driver step against Windows itself (here: Wine, whose smart-card
// service knows no readers): the chosen driver installer really starts, in
// the Drivers folder, and the step returns to the distribution folder.
#include <cstring>
#include <string>

#include "steps/install_steps.h"
#include "support/scratch_machine.h"

namespace {

const DWORD kPollIntervalMs = 100;
const int kPollLimit = 300; // 30 seconds for cmd to start and write its mark

std::string CurrentDirectory() {
    char path[MAX_PATH + 1] = "";
    GetCurrentDirectoryA(sizeof path, path);
    return path;
}

// The started installer runs on by itself: wait for the mark it leaves.
bool AppearsSoon(const std::string &path) {
    for (int i = 0; i < kPollLimit; ++i) {
        if (scratch::Exists(path)) return true;
        Sleep(kPollIntervalMs);
    }
    return false;
}

class InstallReaderDriverWineTest : public ScratchTest {
  protected:
    void SetUp() override {
        ScratchTest::SetUp();
        std::memset(message, '#', sizeof message);
        distributionFolder = CurrentDirectory();
    }
    void TearDown() override {
        EXPECT_EQ(CurrentDirectory(), distributionFolder);
        ScratchTest::TearDown();
    }
    char message[kStepMessageCapacity];
    std::string distributionFolder;
};

TEST_F(InstallReaderDriverWineTest, StartsTheChosenInstallerInTheDriversFolder) {
    // The batch file marks the folder it runs in; the mark in Drivers shows it
    // was started there.
    scratch::MakeFile("Drivers\\twin8.bat", "@echo started> started.txt\r\n");
    EXPECT_EQ(InstallReaderDriver(4, message, sizeof message), kStepOk);
    EXPECT_EQ(message[0], '#') << "no message on success";
    EXPECT_TRUE(AppearsSoon("Drivers\\started.txt"));
    Sleep(10 * kPollIntervalMs); // let cmd end before the folder is removed
}

TEST_F(InstallReaderDriverWineTest, FailuresReturnToTheDistributionFolder) {
    EXPECT_EQ(InstallReaderDriver(0, message, sizeof message), kStepError);
    EXPECT_STREQ(message, "Instalator jest niekompletny");

    scratch::MakeDirs("Drivers");
    EXPECT_EQ(InstallReaderDriver(5, message, sizeof message), kStepError);
    EXPECT_STREQ(message, "Błąd uruchomienia zewn. sterownika: Drivers\\twin8_64.bat");
    EXPECT_EQ(CurrentDirectory(), distributionFolder);

    EXPECT_EQ(InstallReaderDriver(3, message, sizeof message), kStepError);
    EXPECT_STREQ(message, "Nieprawidłowy typ czytnika");
}

} // namespace
