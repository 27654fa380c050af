#include <gtest/gtest.h>

#include <cstring>
#include <string>

#include "fileops/tree_paths.h"

namespace {

struct TreePathCase {
    const char *name;
    std::string pattern;
    std::string entry;
    bool split;
    std::string source;     // empty: refused
    std::string subpattern; // empty: refused
};

void PrintTo(const TreePathCase &c, std::ostream *out) { *out << c.name; }

class TreePathsTest : public ::testing::TestWithParam<TreePathCase> {};

TEST_P(TreePathsTest, BuildsEachEntryPathWholeOrNotAtAll) {
    const TreePathCase &c = GetParam();
    TreePattern pattern;
    ASSERT_EQ(SplitTreePattern(c.pattern.c_str(), &pattern), c.split);
    if (!c.split) {
        EXPECT_STREQ(pattern.directoryPart, "");
        return;
    }
    char path[kPathCapacity];
    EXPECT_EQ(EntryPath(path, pattern.directoryPart, c.entry.c_str()), !c.source.empty());
    if (!c.source.empty()) {
        EXPECT_EQ(std::string(path), c.source);
    }
    EXPECT_EQ(SubfolderPattern(path, pattern, c.entry.c_str()), !c.subpattern.empty());
    if (!c.subpattern.empty()) {
        EXPECT_EQ(std::string(path), c.subpattern);
    }
}

const std::string k250(250, 'p');
const std::string k259(259, 'p');
const std::string k300(300, 'p');

INSTANTIATE_TEST_SUITE_P(
    Entries, TreePathsTest,
    ::testing::Values(TreePathCase{"FolderAndWildcard", "ocf\\*", "lib", true, "ocf\\lib", "ocf\\lib\\*"},
                      TreePathCase{"NestedFolder", "ocf\\lib\\*.jar", "x.jar", true, "ocf\\lib\\x.jar",
                                   "ocf\\lib\\x.jar\\*.jar"},
                      // Without a backslash the files come from the current directory and
                      // a subfolder is walked with its name and the whole pattern.
                      TreePathCase{"NoBackslash", "*", "lib", true, "lib", "lib\\*"},
                      TreePathCase{"SourceFillsThePath", k250 + "\\*", "abcdefghi", true, k250 + "\\abcdefghi", ""},
                      TreePathCase{"SourceTooLong", k250 + "\\*", "abcdefghij", true, "", ""},
                      TreePathCase{"DirectoryPartFillsThePath", k259 + "\\*", "a", true, "", ""},
                      TreePathCase{"DirectoryPartTooLong", k300 + "\\*", "a", false, "", ""}),
    [](const ::testing::TestParamInfo<TreePathCase> &info) { return info.param.name; });

TEST(TreePaths, TargetFolderLongerThanAPathIsRefused) {
    char path[kPathCapacity];
    EXPECT_FALSE(EntryPath(path, k300.c_str(), "a"));
    EXPECT_EQ(std::strlen(path), static_cast<size_t>(kLongestPath));
}

} // namespace
