#include <gtest/gtest.h>

#include <cstring>
#include <string>

#include "fileops/join_path.h"

namespace {

struct JoinCase {
    const char *name;
    std::string path;
    const char *component;
    std::string expected;
    bool whole;
};

// Keeps test names readable instead of dumping the case's bytes.
void PrintTo(const JoinCase &c, std::ostream *out) { *out << c.name; }

class JoinPathTest : public ::testing::TestWithParam<JoinCase> {};

TEST_P(JoinPathTest, AppendsWithOneBackslashWithinTheBound) {
    const JoinCase &c = GetParam();
    char buffer[kPathCapacity + 8];
    std::memset(buffer, '#', sizeof buffer);
    std::memcpy(buffer, c.path.c_str(), c.path.size() + 1);

    EXPECT_EQ(JoinPath(buffer, c.component), c.whole);

    EXPECT_EQ(std::string(buffer), c.expected);
    for (size_t i = kPathCapacity; i < sizeof buffer; ++i)
        EXPECT_EQ(buffer[i], '#') << "written past the buffer at " << i;
}

const std::string k257(257, 'x');
const std::string k258(258, 'x');
const std::string k259(259, 'x');
const std::string k260(260, 'x');

INSTANTIATE_TEST_SUITE_P(
    Bounds, JoinPathTest,
    ::testing::Values(JoinCase{"EmptyBufferTakesComponentAlone", "", "ocf", "ocf", true},
                      JoinCase{"DriveRootGetsNoSecondBackslash", "C:\\", "ocf1.2.jar", "C:\\ocf1.2.jar", true},
                      JoinCase{"PlainFolderGetsBackslash", "C:\\Java", "lib\\ext", "C:\\Java\\lib\\ext", true},
                      JoinCase{"TrailingSlashIsAnOrdinaryCharacter", "C:\\dir/", "a", "C:\\dir/\\a", true},
                      JoinCase{"LeadingBackslashStillGetsSeparator", "C:\\dir", "\\a", "C:\\dir\\\\a", true},
                      JoinCase{"EmptyComponentAddsSeparatorOnly", "C:\\dir", "", "C:\\dir\\", true},
                      JoinCase{"ExactlyFillsTheBuffer", k257, "ab", k257 + "\\ab", true},
                      JoinCase{"CutsTheComponentAtTheBound", k258, "abc", k258 + "\\a", false},
                      JoinCase{"At259OnlyTheBackslashFits", k259, "abc", k259 + "\\", false},
                      JoinCase{"At259EndingInBackslashTakesOneCharacter", k258 + "\\", "abc", k258 + "\\a", false},
                      JoinCase{"At260NothingChanges", k260, "abc", k260, false}),
    [](const ::testing::TestParamInfo<JoinCase> &info) { return info.param.name; });

} // namespace
