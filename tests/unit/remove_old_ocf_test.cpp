#include <cstring>
#include <string>

#include "steps/install_steps.h"
#include "platform/sim/sim_machine.h"
#include "support/scratch_machine.h"

namespace {

const char kArchive[] = "C:\\Windows\\System32\\ocf1.2.jar";
const char kFailure[] = "Błąd kasowania pliku ocf1.2.jar w katalogu systemowym";

class RemoveOldOcfTest : public ScratchTest {
  protected:
    void SetUp() override {
        ScratchTest::SetUp();
        std::memset(message, '#', sizeof message);
    }
    void TearDown() override {
        EXPECT_EQ(sim::OpenHandles(), 0);
        ScratchTest::TearDown();
    }
    bool MessageUntouched() const {
        for (char c : message)
            if (c != '#') return false;
        return true;
    }
    char message[kStepMessageCapacity];
};

TEST_F(RemoveOldOcfTest, AbsentArchiveIsSuccessWithoutMessage) {
    EXPECT_EQ(RemoveOldOcf(message, sizeof message), kOldOcfRemoved);
    EXPECT_TRUE(MessageUntouched());
}

TEST_F(RemoveOldOcfTest, DeletesTheArchiveAndASecondRunFindsNothing) {
    sim::MakeFile(kArchive, "stale");
    EXPECT_EQ(RemoveOldOcf(message, sizeof message), kOldOcfRemoved);
    EXPECT_FALSE(sim::Exists(kArchive));
    EXPECT_EQ(RemoveOldOcf(message, sizeof message), kOldOcfRemoved);
    EXPECT_TRUE(MessageUntouched());
}

TEST_F(RemoveOldOcfTest, ArchiveThatCannotBeDeletedIsAFailure) {
    struct Case {
        const char *name;
        void (*arrange)();
    } cases[] = {
        {"read-only", [] { SetFileAttributesA(kArchive, FILE_ATTRIBUTE_READONLY); }},
        {"held open", [] { sim::LockFile(kArchive); }},
    };
    for (const Case &c : cases) {
        scratch::Stop();
        scratch::Start();
        sim::MakeFile(kArchive, "stale");
        c.arrange();
        std::memset(message, '#', sizeof message);
        EXPECT_EQ(RemoveOldOcf(message, sizeof message), kOldOcfNotRemoved) << c.name;
        EXPECT_STREQ(message, kFailure) << c.name;
        EXPECT_EQ(std::strlen(kFailure), 53u);
        for (size_t i = std::strlen(kFailure); i < sizeof message; ++i)
            ASSERT_EQ(message[i], '\0') << "the rest of the buffer is cleared";
        EXPECT_TRUE(sim::Exists(kArchive)) << c.name;
    }
}

TEST_F(RemoveOldOcfTest, MissingSystemFolderIsAFailure) {
    sim::SetSystemDirectory("C:\\Windows\\NoSuchFolder");
    EXPECT_EQ(RemoveOldOcf(message, sizeof message), kOldOcfNotRemoved);
    EXPECT_STREQ(message, kFailure);
}

TEST_F(RemoveOldOcfTest, UndeterminedSystemDirectoryIsSuccessWithoutMessage) {
    const char *directories[] = {nullptr, nullptr};
    std::string tooLong = "C:\\" + std::string(258, 'd');    // 261 characters: does not fit the buffer
    std::string nearlyFull = "C:\\" + std::string(250, 'd'); // fits, but the archive's name would be cut
    directories[1] = tooLong.c_str();
    for (const char *directory : {directories[0], directories[1], nearlyFull.c_str()}) {
        sim::SetSystemDirectory(directory);
        EXPECT_EQ(RemoveOldOcf(message, sizeof message), kOldOcfRemoved);
        EXPECT_TRUE(MessageUntouched());
    }
}

TEST_F(RemoveOldOcfTest, NullOrSmallMessageBufferGivesTheSameResult) {
    sim::MakeFile(kArchive, "stale");
    SetFileAttributesA(kArchive, FILE_ATTRIBUTE_READONLY);
    EXPECT_EQ(RemoveOldOcf(nullptr, kStepMessageCapacity), kOldOcfNotRemoved);
    char small[20];
    std::memset(small, '#', sizeof small);
    EXPECT_EQ(RemoveOldOcf(small, 10), kOldOcfNotRemoved);
    EXPECT_EQ(std::string(small), std::string(kFailure, 9)) << "cut, and still terminated";
    EXPECT_EQ(small[10], '#');
}

} // namespace
