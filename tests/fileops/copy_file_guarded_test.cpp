#include <string>

#include "fileops/conflict_prompt.h"
#include "fileops/copy_file_guarded.h"
#include "support/scratch_machine.h"

namespace {

class CopyFileGuardedTest : public ScratchTest {
  protected:
    void SetUp() override {
        ScratchTest::SetUp();
        scratch::MakeFile("pkg\\ocf.jar", "new");
        scratch::SetLastWriteTime("pkg\\ocf.jar", scratch::FileTimeOf(2024, 3, 5, 7, 8, 9));
        scratch::MakeFile("jre\\ocf.jar", "older file");
        scratch::SetLastWriteTime("jre\\ocf.jar", scratch::FileTimeOf(1999, 12, 31, 23, 59, 58));
    }

    void MakeTargetReadOnly() { ASSERT_TRUE(SetFileAttributesA("jre\\ocf.jar", FILE_ATTRIBUTE_READONLY)); }

    // The target becomes a read-only file of the same size and time as the source.
    void MakeTargetEqualReadOnly() {
        scratch::MakeFile("jre\\ocf.jar", "new");
        scratch::SetLastWriteTime("jre\\ocf.jar", scratch::LastWriteTime("pkg\\ocf.jar"));
        MakeTargetReadOnly();
    }

    void TearDown() override {
        EXPECT_EQ(scratch::OpenHandleCount(), 0) << "a handle was left open";
        SetFileAttributesA("jre\\ocf.jar", FILE_ATTRIBUTE_NORMAL);
        ScratchTest::TearDown();
    }
};

const char kExpectedPrompt[] = "Wykryto problem przy próbie skopiowania pliku do katalogu docelowego.\n"
                               "Podany plik już istnieje.\n"
                               "\n"
                               "Informacje o plikach:\n"
                               "\n"
                               "ŹRÓDŁOWY\n"
                               "Nazwa: pkg\\ocf.jar\n"
                               "Rozmiar: 3\n"
                               "Data modyfikacji: 2024-03-05, 07:08:09\n"
                               "\n"
                               "DOCELOWY\n"
                               "Nazwa: jre\\ocf.jar\n"
                               "Rozmiar: 10\n"
                               "Data modyfikacji: 1999-12-31, 23:59:58\n"
                               "\n";

TEST_F(CopyFileGuardedTest, ReplacesAWritableTargetWithoutAsking) {
    EXPECT_EQ(CopyFileGuarded("pkg\\ocf.jar", "jre\\ocf.jar", 0), kCopyDone);
    EXPECT_EQ(scratch::ReadFile("jre\\ocf.jar"), "new");
    EXPECT_TRUE(scratch::Prompts().empty());
}

TEST_F(CopyFileGuardedTest, CopiesToANewTarget) {
    EXPECT_EQ(CopyFileGuarded("pkg\\ocf.jar", "jre\\copy.jar", 1), kCopyDone);
    EXPECT_EQ(scratch::ReadFile("jre\\copy.jar"), "new");
}

TEST_F(CopyFileGuardedTest, ReadOnlySourceGivesAWritableTarget) {
    ASSERT_TRUE(SetFileAttributesA("pkg\\ocf.jar", FILE_ATTRIBUTE_READONLY));
    EXPECT_EQ(CopyFileGuarded("pkg\\ocf.jar", "jre\\copy.jar", 0), kCopyDone);
    EXPECT_EQ(GetFileAttributesA("jre\\copy.jar") & FILE_ATTRIBUTE_READONLY, 0u);
    EXPECT_NE(GetFileAttributesA("pkg\\ocf.jar") & FILE_ATTRIBUTE_READONLY, 0u);
    SetFileAttributesA("pkg\\ocf.jar", FILE_ATTRIBUTE_NORMAL);
}

TEST_F(CopyFileGuardedTest, ReadOnlyTargetBringsThePromptWithBothFiles) {
    MakeTargetReadOnly();
    scratch::AnswerPrompts({IDIGNORE});

    EXPECT_EQ(CopyFileGuarded("pkg\\ocf.jar", "jre\\ocf.jar", 0), kCopyDone);

    ASSERT_EQ(scratch::Prompts().size(), 1u);
    EXPECT_EQ(scratch::Prompts()[0].text, kExpectedPrompt);
    EXPECT_EQ(scratch::Prompts()[0].caption, "Problem kopiowania pliku");
    EXPECT_EQ(scratch::ReadFile("jre\\ocf.jar"), "older file") << "Ignore keeps the target";
    EXPECT_NE(GetFileAttributesA("jre\\ocf.jar") & FILE_ATTRIBUTE_READONLY, 0u);
}

TEST_F(CopyFileGuardedTest, AbortLeavesTheTargetAndStops) {
    MakeTargetReadOnly();
    scratch::AnswerPrompts({IDABORT});
    EXPECT_EQ(CopyFileGuarded("pkg\\ocf.jar", "jre\\ocf.jar", 0), kCopyAborted);
    EXPECT_EQ(scratch::ReadFile("jre\\ocf.jar"), "older file");
    EXPECT_EQ(scratch::Prompts().size(), 1u);
}

TEST_F(CopyFileGuardedTest, RetryClearsReadOnlyAndReplacesTheTarget) {
    MakeTargetReadOnly();
    scratch::AnswerPrompts({IDRETRY});
    EXPECT_EQ(CopyFileGuarded("pkg\\ocf.jar", "jre\\ocf.jar", 0), kCopyDone);
    EXPECT_EQ(scratch::ReadFile("jre\\ocf.jar"), "new");
    EXPECT_EQ(GetFileAttributesA("jre\\ocf.jar") & FILE_ATTRIBUTE_READONLY, 0u);
    EXPECT_EQ(scratch::Prompts().size(), 1u);
}

TEST_F(CopyFileGuardedTest, CompareFlagAcceptsAnEqualReadOnlyTargetSilently) {
    MakeTargetEqualReadOnly();
    EXPECT_EQ(CopyFileGuarded("pkg\\ocf.jar", "jre\\ocf.jar", 1), kCopyDone);
    EXPECT_TRUE(scratch::Prompts().empty());
    EXPECT_NE(GetFileAttributesA("jre\\ocf.jar") & FILE_ATTRIBUTE_READONLY, 0u) << "the kept target stays read-only";
}

TEST_F(CopyFileGuardedTest, CompareFlagStillAsksWhenOnlyTheTimeDiffers) {
    MakeTargetEqualReadOnly();
    SetFileAttributesA("jre\\ocf.jar", FILE_ATTRIBUTE_NORMAL);
    scratch::SetLastWriteTime("jre\\ocf.jar", scratch::FileTimeOf(2024, 3, 5, 7, 8, 10));
    MakeTargetReadOnly();
    scratch::AnswerPrompts({IDIGNORE});
    EXPECT_EQ(CopyFileGuarded("pkg\\ocf.jar", "jre\\ocf.jar", 1), kCopyDone);
    EXPECT_EQ(scratch::Prompts().size(), 1u);
}

TEST_F(CopyFileGuardedTest, WithoutCompareFlagAnEqualTargetStillBringsThePrompt) {
    MakeTargetEqualReadOnly();
    scratch::AnswerPrompts({IDIGNORE});
    EXPECT_EQ(CopyFileGuarded("pkg\\ocf.jar", "jre\\ocf.jar", 0), kCopyDone);
    EXPECT_EQ(scratch::Prompts().size(), 1u);
}

TEST_F(CopyFileGuardedTest, FilesThatCannotBeInspectedFailWithoutAPrompt) {
    struct Case {
        const char *name;
        const char *source;
        const char *target;
    } cases[] = {
        {"missing source", "pkg\\missing.jar", "jre\\ocf.jar"},
        {"missing target folder", "pkg\\ocf.jar", "nowhere\\ocf.jar"},
        {"locked target", "pkg\\ocf.jar", "jre\\locked.jar"},
    };
    scratch::MakeFile("jre\\locked.jar", "in use");
    scratch::HoldOpen("jre\\locked.jar");
    for (const Case &c : cases) {
        EXPECT_EQ(CopyFileGuarded(c.source, c.target, 0), kCopyCannotInspect) << c.name;
        EXPECT_EQ(CopyFileGuarded(c.source, c.target, 1), kCopyCannotInspect) << c.name;
    }
    EXPECT_TRUE(scratch::Prompts().empty());
    EXPECT_FALSE(scratch::Exists("nowhere"));
}

} // namespace
