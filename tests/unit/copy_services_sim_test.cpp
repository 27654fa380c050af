// The copy services on faults and Windows behaviour that only the simulated
// machine can produce.
#include <cstring>
#include <string>

#include "fileops/conflict_prompt.h"
#include "fileops/copy_file_guarded.h"
#include "fileops/copy_tree.h"
#include "fileops/join_path.h"
#include "log/run_log.h"
#include "platform/sim/sim_machine.h"
#include "support/scratch_machine.h"

namespace {

class CopyServicesSimTest : public ScratchTest {
  protected:
    void TearDown() override {
        EXPECT_EQ(sim::OpenHandles(), 0) << "a handle was left open";
        ScratchTest::TearDown();
    }
    char failingPath[kPathCapacity] = "junk";
};

TEST_F(CopyServicesSimTest, PromptHasNoOwnerAndAbortRetryIgnoreWithRetryAsDefault) {
    scratch::MakeFile("a.txt", "a");
    scratch::MakeFile("b.txt", "b");
    SetFileAttributesA("b.txt", FILE_ATTRIBUTE_HIDDEN);
    sim::QueueMessageBoxAnswers({IDIGNORE});
    EXPECT_EQ(CopyFileGuarded("a.txt", "b.txt", 0), kCopyDone);
    ASSERT_EQ(sim::MessageBoxes().size(), 1u);
    EXPECT_EQ(sim::MessageBoxes()[0].owner, nullptr);
    EXPECT_EQ(sim::MessageBoxes()[0].flags, 0x122u);
}

TEST_F(CopyServicesSimTest, RetryRepeatsUntilTheUserStopsAsking) {
    // A hidden target stays hidden after Retry clears read-only; deleting it
    // lets the next pass copy.
    scratch::MakeFile("a.txt", "new");
    scratch::MakeFile("b.txt", "old");
    SetFileAttributesA("b.txt", FILE_ATTRIBUTE_HIDDEN | FILE_ATTRIBUTE_READONLY);
    sim::QueueMessageBoxAnswers({IDRETRY});
    EXPECT_EQ(CopyFileGuarded("a.txt", "b.txt", 0), kCopyDone);
    EXPECT_EQ(scratch::ReadFile("b.txt"), "new");
    EXPECT_EQ(sim::MessageBoxes().size(), 1u) << "the deletion must not fail on our own open handles";
}

TEST_F(CopyServicesSimTest, LogNamesTheSourceInFullAndATargetKeptWithoutAskingFails) {
    struct Case {
        const char *source;
        bool targetReadOnly;
        bool unattended;
        CopyOutcome outcome;
        const char *event;
    } cases[] = {
        {"a.txt", false, false, kCopyDone, "copied: C:\\work\\a.txt -> b.txt"},
        {"C:\\work\\a.txt", false, false, kCopyDone, "copied: C:\\work\\a.txt -> b.txt"},
        {"\\work\\a.txt", false, false, kCopyDone, "copied: \\work\\a.txt -> b.txt"},
        {"a.txt", true, false, kCopyDone, "target kept by the user (error 5): C:\\work\\a.txt -> b.txt"},
        {"a.txt", true, true, kCopyCannotInspect,
         "copy failed, target kept without asking (error 5): C:\\work\\a.txt -> b.txt"},
    };
    for (const Case &c : cases) {
        scratch::Stop();
        scratch::Start();
        scratch::MakeFile("a.txt", "new");
        scratch::MakeFile("b.txt", "old");
        if (c.targetReadOnly) SetFileAttributesA("b.txt", FILE_ATTRIBUTE_READONLY);
        sim::QueueMessageBoxAnswers({IDIGNORE});
        DWORD error = ERROR_SUCCESS;
        ASSERT_EQ(OpenRunLog("copy.log", &error), LogOpening::Opened);
        KeepConflictsWithoutAsking(c.unattended);
        EXPECT_EQ(CopyFileGuarded(c.source, "b.txt", 0), c.outcome) << c.event;
        KeepConflictsWithoutAsking(false);
        CloseRunLog();
        EXPECT_EQ(scratch::ReadFile("copy.log"), std::string("2026-12-07T12:00:00Z ") + c.event + "\r\n");
        EXPECT_EQ(sim::MessageBoxes().size(), c.targetReadOnly && !c.unattended ? 1u : 0u) << c.event;
    }
}

TEST_F(CopyServicesSimTest, FailureToReadFileInformationOfEitherFileGivesOne) {
    // A missing source with an existing target, and the other way round: both
    // handles that did open are closed again.
    scratch::MakeFile("b.txt", "b");
    EXPECT_EQ(CopyFileGuarded("missing.txt", "b.txt", 0), kCopyCannotInspect);
    scratch::MakeFile("a.txt", "a");
    scratch::HoldOpen("b.txt");
    EXPECT_EQ(CopyFileGuarded("a.txt", "b.txt", 0), kCopyCannotInspect);
    EXPECT_TRUE(sim::MessageBoxes().empty());
}

TEST_F(CopyServicesSimTest, TreeStopsOnASearchThatEndsInError) {
    scratch::MakeFile("pkg\\sub\\a.txt", "a");
    scratch::MakeFile("pkg\\sub\\b.txt", "b");
    scratch::MakeDirs("out");
    sim::FailSearchAfter("C:\\work\\pkg\\sub", 3, ERROR_NOT_READY);
    EXPECT_EQ(CopyTree("pkg\\*", "out", 1, failingPath), kCopySearchFailed);
    EXPECT_STREQ(failingPath, "");
    EXPECT_TRUE(scratch::Exists("out\\sub\\a.txt"));
    EXPECT_FALSE(scratch::Exists("out\\sub\\b.txt"));
}

TEST_F(CopyServicesSimTest, TreeReportsAFolderThatCannotBeCreated) {
    scratch::MakeFile("pkg\\sub\\a.txt", "a");
    scratch::MakeDirs("out");
    sim::FailCreateDirectory("C:\\work\\out\\sub", ERROR_ACCESS_DENIED);
    EXPECT_EQ(CopyTree("pkg\\*", "out", 1, failingPath), kCopyFolderNotCreated);
    EXPECT_STREQ(failingPath, "out\\sub");
}

TEST_F(CopyServicesSimTest, TreeNeverCopiesToAPathItHadToCut) {
    // Target folder of 250 characters: "<target>\a.txt" fits, "<target>\long-name.txt" does not.
    std::string target = "C:\\work\\" + std::string(242, 't');
    scratch::MakeDirs(std::string(242, 't'));
    std::string longName = "a-long-name.txt";
    scratch::MakeFile("pkg\\" + longName, "x");
    EXPECT_EQ(CopyTree("pkg\\*", target.c_str(), 1, failingPath), kCopyCannotInspect);
    EXPECT_EQ(std::string(failingPath), "pkg\\" + longName);
    std::string cut = target + "\\" + longName;
    cut.resize(kLongestPath);
    EXPECT_FALSE(sim::Exists(cut)) << "no file under a cut name";
}

TEST_F(CopyServicesSimTest, TreeNeverCreatesAFolderUnderACutName) {
    std::string target = "C:\\work\\" + std::string(242, 't');
    scratch::MakeDirs(std::string(242, 't'));
    scratch::MakeFile("pkg\\a-long-folder\\x.txt", "x");
    EXPECT_EQ(CopyTree("pkg\\*", target.c_str(), 1, failingPath), kCopyFolderNotCreated);
    EXPECT_EQ(std::strlen(failingPath), static_cast<size_t>(kLongestPath));
}

TEST_F(CopyServicesSimTest, TreeNeverSearchesUnderACutPattern) {
    // "." components make the pattern long while the folder it names is short:
    // the subfolder's pattern would pass 260 characters, so it is not searched.
    std::string dots;
    for (int i = 0; i < 125; ++i) dots += ".\\";
    std::string pattern = dots + "pkg\\*";
    scratch::MakeFile("pkg\\subfolder\\x.txt", "x");
    scratch::MakeDirs("out");
    EXPECT_EQ(CopyTree(pattern.c_str(), "out", 1, failingPath), kCopySearchFailed);
    EXPECT_STREQ(failingPath, "");
    EXPECT_TRUE(scratch::Exists("out\\subfolder"));
    EXPECT_FALSE(scratch::Exists("out\\subfolder\\x.txt"));
}

TEST_F(CopyServicesSimTest, CutPromptKeepsSizesDatesAndFileNames) {
    std::string source = "C:\\" + std::string(200, 's') + "\\source-name.jar";
    std::string target = "C:\\" + std::string(230, 't') + "\\target-name.jar";
    PromptedFile sourceFile = {source.c_str(), 123456, {2024, 1, 0, 2, 3, 4, 5, 0}};
    PromptedFile targetFile = {target.c_str(), 0xFFFFFFFFu, {1999, 12, 0, 31, 23, 59, 58, 0}};
    char text[kConflictPromptCapacity + 16];
    std::memset(text, '#', sizeof text);

    ComposeConflictPrompt(text, kConflictPromptCapacity, sourceFile, targetFile);

    std::string shown = text;
    EXPECT_LE(shown.size(), kConflictPromptCapacity - 1);
    EXPECT_EQ(text[kConflictPromptCapacity], '#');
    EXPECT_NE(shown.find("source-name.jar\nRozmiar: 123456\nData modyfikacji: 2024-01-02, 03:04:05\n"),
              std::string::npos)
        << shown;
    EXPECT_NE(shown.find("target-name.jar\nRozmiar: -1\nData modyfikacji: 1999-12-31, 23:59:58\n\n"), std::string::npos)
        << shown;
    EXPECT_NE(shown.find("Nazwa: ..."), std::string::npos);
}

TEST_F(CopyServicesSimTest, APathThatFitsItsShareIsShownWholeBesideACutOne) {
    std::string target = "C:\\" + std::string(400, 't') + "\\target-name.jar";
    PromptedFile sourceFile = {"ocf\\a.jar", 1, {2024, 1, 0, 2, 3, 4, 5, 0}};
    PromptedFile targetFile = {target.c_str(), 2, {2024, 1, 0, 2, 3, 4, 5, 0}};
    char text[kConflictPromptCapacity];
    ComposeConflictPrompt(text, sizeof text, sourceFile, targetFile);
    std::string shown = text;
    EXPECT_EQ(shown.size(), kConflictPromptCapacity - 1) << "the cut path takes the source's unused share";
    EXPECT_NE(shown.find("Nazwa: ocf\\a.jar\n"), std::string::npos);
    EXPECT_NE(shown.find("Nazwa: ...tttt"), std::string::npos);
    EXPECT_NE(shown.find("target-name.jar\nRozmiar: 2\n"), std::string::npos);
}

TEST_F(CopyServicesSimTest, WithoutRoomForAnyPathTheFactsStayWhole) {
    PromptedFile file = {"a-long-name.jar", 7, {2024, 1, 0, 2, 3, 4, 5, 0}};
    PromptedFile nameless = {"", 7, {2024, 1, 0, 2, 3, 4, 5, 0}};
    char fixed[kConflictPromptCapacity];
    ComposeConflictPrompt(fixed, sizeof fixed, nameless, nameless);
    // Room for the fixed lines and three characters: not even "..." and a letter.
    size_t capacity = std::strlen(fixed) + 4;
    char text[kConflictPromptCapacity];
    ComposeConflictPrompt(text, capacity, file, file);
    EXPECT_STREQ(text, fixed);
}

TEST_F(CopyServicesSimTest, ShortPathsInTheCapacityAreNotCut) {
    PromptedFile file = {"a.jar", 1, {2000, 1, 0, 1, 0, 0, 0, 0}};
    char text[kConflictPromptCapacity];
    ComposeConflictPrompt(text, sizeof text, file, file);
    EXPECT_EQ(std::string(text).find("..."), std::string::npos);
    EXPECT_NE(std::string(text).find("Nazwa: a.jar\n"), std::string::npos);
}

TEST_F(CopyServicesSimTest, APromptBufferWithoutRoomIsNeitherReadNorWritten) {
    PromptedFile file = {"a.jar", 1, {2000, 1, 0, 1, 0, 0, 0, 0}};
    char text[8];
    std::memset(text, '#', sizeof text);
    ComposeConflictPrompt(text, 0, file, file);
    EXPECT_EQ(std::string(text, sizeof text), std::string(sizeof text, '#'));
}

} // namespace
