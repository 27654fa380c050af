#include <cstring>
#include <string>

#include "fileops/copy_tree.h"
#include "fileops/join_path.h"
#include "support/scratch_machine.h"

namespace {

class CopyTreeTest : public ScratchTest {
  protected:
    void SetUp() override {
        ScratchTest::SetUp();
        std::memset(failingPath, '#', sizeof failingPath);
        failingPath[kPathCapacity - 1] = '\0';
    }

    void TearDown() override {
        EXPECT_EQ(scratch::OpenHandleCount(), 0) << "a handle was left open";
        ScratchTest::TearDown();
    }

    // msie\ocf holds two files and a folder two levels deep.
    void MakePackage() {
        scratch::MakeFile("msie\\ocf\\a.txt", "a");
        scratch::MakeFile("msie\\ocf\\lib\\b.txt", "b");
        scratch::MakeFile("msie\\ocf\\lib\\deep\\c.txt", "c");
        scratch::MakeFile("msie\\ocf\\z.txt", "z");
        scratch::MakeDirs("out");
    }

    char failingPath[kPathCapacity];
};

TEST_F(CopyTreeTest, ReproducesATreeTwoLevelsDeep) {
    MakePackage();
    EXPECT_EQ(CopyTree("msie\\ocf\\*", "out", 1, failingPath), kCopyDone);
    EXPECT_STREQ(failingPath, "");
    EXPECT_EQ(scratch::ReadFile("out\\a.txt"), "a");
    EXPECT_EQ(scratch::ReadFile("out\\lib\\b.txt"), "b");
    EXPECT_EQ(scratch::ReadFile("out\\lib\\deep\\c.txt"), "c");
    EXPECT_EQ(scratch::ReadFile("out\\z.txt"), "z");
    EXPECT_FALSE(scratch::Exists("out\\ocf")) << "the pattern's folder itself is not created";
}

TEST_F(CopyTreeTest, ReusesAnExistingTargetSubfolder) {
    MakePackage();
    scratch::MakeFile("out\\lib\\kept.txt", "kept");
    EXPECT_EQ(CopyTree("msie\\ocf\\*", "out", 1, failingPath), kCopyDone);
    EXPECT_EQ(scratch::ReadFile("out\\lib\\b.txt"), "b");
    EXPECT_EQ(scratch::ReadFile("out\\lib\\kept.txt"), "kept");
}

TEST_F(CopyTreeTest, WithoutRecurseSubfoldersAreNeitherCreatedNorWalked) {
    MakePackage();
    EXPECT_EQ(CopyTree("msie\\ocf\\*", "out", 0, failingPath), kCopyDone);
    EXPECT_TRUE(scratch::Exists("out\\a.txt"));
    EXPECT_TRUE(scratch::Exists("out\\z.txt"));
    EXPECT_FALSE(scratch::Exists("out\\lib"));
}

TEST_F(CopyTreeTest, EmptyPackageFolderCopiesNothing) {
    scratch::MakeDirs("msie\\ocf");
    scratch::MakeDirs("out");
    EXPECT_EQ(CopyTree("msie\\ocf\\*", "out", 1, failingPath), kCopyDone);
    EXPECT_STREQ(failingPath, "");
}

TEST_F(CopyTreeTest, PatternWithoutBackslashWorksFromTheCurrentDirectory) {
    MakePackage();
    ASSERT_TRUE(SetCurrentDirectoryA("msie\\ocf"));
    CopyOutcome outcome = CopyTree("*", "..\\..\\out", 1, failingPath);
    ASSERT_TRUE(SetCurrentDirectoryA("..\\.."));
    EXPECT_EQ(outcome, kCopyDone);
    EXPECT_EQ(scratch::ReadFile("out\\lib\\deep\\c.txt"), "c");
}

TEST_F(CopyTreeTest, WildcardIsUsedAgainInEverySubfolder) {
    scratch::MakeFile("msie\\ocf\\la.txt", "la");
    scratch::MakeFile("msie\\ocf\\b.txt", "b");
    scratch::MakeFile("msie\\ocf\\lib\\lc.txt", "lc");
    scratch::MakeFile("msie\\ocf\\lib\\d.txt", "d");
    scratch::MakeDirs("out");
    EXPECT_EQ(CopyTree("msie\\ocf\\l*", "out", 1, failingPath), kCopyDone);
    EXPECT_TRUE(scratch::Exists("out\\la.txt"));
    EXPECT_FALSE(scratch::Exists("out\\b.txt"));
    EXPECT_TRUE(scratch::Exists("out\\lib\\lc.txt"));
    EXPECT_FALSE(scratch::Exists("out\\lib\\d.txt"));
}

TEST_F(CopyTreeTest, SubfolderWithoutMatchesIsAFailedSearch) {
    scratch::MakeFile("msie\\ocf\\lib\\d.txt", "d");
    scratch::MakeDirs("out");
    EXPECT_EQ(CopyTree("msie\\ocf\\l*", "out", 1, failingPath), kCopySearchFailed);
    EXPECT_STREQ(failingPath, "");
    EXPECT_TRUE(scratch::Exists("out\\lib")) << "the folder was created before its search";
}

TEST_F(CopyTreeTest, AbortTwoLevelsDeepStopsTheWholeWalk) {
    MakePackage();
    scratch::MakeFile("out\\lib\\deep\\c.txt", "old");
    ASSERT_TRUE(SetFileAttributesA("out\\lib\\deep\\c.txt", FILE_ATTRIBUTE_READONLY));
    scratch::AnswerPrompts({IDABORT});

    EXPECT_EQ(CopyTree("msie\\ocf\\*", "out", 1, failingPath), kCopyAborted);

    EXPECT_STREQ(failingPath, "msie\\ocf\\lib\\deep\\c.txt");
    EXPECT_EQ(scratch::ReadFile("out\\a.txt"), "a") << "files copied before the abort stay";
    EXPECT_EQ(scratch::ReadFile("out\\lib\\b.txt"), "b");
    EXPECT_FALSE(scratch::Exists("out\\z.txt")) << "nothing after the abort";
    SetFileAttributesA("out\\lib\\deep\\c.txt", FILE_ATTRIBUTE_NORMAL);
}

TEST_F(CopyTreeTest, MissingPackageSubfolderIsAFailedSearch) {
    scratch::MakeDirs("msie");
    scratch::MakeDirs("out");
    EXPECT_EQ(CopyTree("msie\\ocf\\*", "out", 1, failingPath), kCopySearchFailed);
    EXPECT_STREQ(failingPath, "");
}

TEST_F(CopyTreeTest, MissingTargetFailsAtTheFirstEntry) {
    struct Case {
        const char *name;
        const char *firstEntry;
        CopyOutcome outcome;
        const char *failingPath;
    } cases[] = {
        {"file first", "msie\\ocf\\a.txt", kCopyCannotInspect, "msie\\ocf\\a.txt"},
        {"folder first", "msie\\ocf\\a\\b.txt", kCopyFolderNotCreated, "missing\\a"},
    };
    for (const Case &c : cases) {
        scratch::Stop();
        scratch::Start();
        scratch::MakeFile(c.firstEntry, "x");
        scratch::MakeFile("msie\\ocf\\z.txt", "z");
        EXPECT_EQ(CopyTree("msie\\ocf\\*", "missing", 1, failingPath), c.outcome) << c.name;
        EXPECT_STREQ(failingPath, c.failingPath) << c.name;
        EXPECT_FALSE(scratch::Exists("missing")) << c.name;
    }
}

TEST_F(CopyTreeTest, NullFailingPathIsAllowed) {
    scratch::MakeDirs("msie");
    EXPECT_EQ(CopyTree("msie\\ocf\\*", "out", 1, nullptr), kCopySearchFailed);
    MakePackage();
    EXPECT_EQ(CopyTree("msie\\ocf\\*", "missing", 1, nullptr), kCopyCannotInspect);
}

} // namespace
