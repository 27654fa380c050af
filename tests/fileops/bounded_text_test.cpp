#include <gtest/gtest.h>

#include <cstring>
#include <string>

#include "fileops/bounded_text.h"

namespace {

TEST(CopyTextTest, FillsTheRestOfTheBufferWithNuls) {
    char buffer[8];
    std::memset(buffer, '#', sizeof buffer);
    EXPECT_TRUE(CopyText(buffer, sizeof buffer, "abc"));
    EXPECT_EQ(std::string(buffer, sizeof buffer), std::string("abc\0\0\0\0\0", 8));
}

TEST(CopyTextTest, CutsAndTerminatesWhatDoesNotFit) {
    struct Case {
        const char *text;
        size_t capacity;
        const char *expected;
        bool whole;
    } cases[] = {{"abcdefgh", 8, "abcdefg", false}, {"abcdefg", 8, "abcdefg", true}, {"abc", 1, "", false}};
    for (const Case &c : cases) {
        char buffer[16];
        std::memset(buffer, '#', sizeof buffer);
        EXPECT_EQ(CopyText(buffer, c.capacity, c.text), c.whole) << c.text;
        EXPECT_STREQ(buffer, c.expected);
        EXPECT_EQ(buffer[c.capacity], '#') << "written past capacity " << c.capacity;
    }
}

TEST(CopyTextTest, ZeroCapacityWritesNothing) {
    char buffer[2] = {'#', '#'};
    EXPECT_FALSE(CopyText(buffer, 0, "a"));
    EXPECT_EQ(buffer[0], '#');
}

TEST(FormatTextTest, ReportsAndTerminatesACutText) {
    char buffer[10];
    std::memset(buffer, '#', sizeof buffer);
    EXPECT_FALSE(FormatText(buffer, 6, "kod #%d", 1234));
    EXPECT_STREQ(buffer, "kod #");
    EXPECT_EQ(buffer[6], '#');
    EXPECT_TRUE(FormatText(buffer, sizeof buffer, "kod #%d", 12));
    EXPECT_STREQ(buffer, "kod #12");
}

#ifndef _WIN32
TEST(FormatTextTest, AFormatThatFailsLeavesAnEmptyText) {
    // glibc cannot convert this wide character in the C locale and fails.
    const wchar_t unconvertible[] = {0x0144, 0};
    char buffer[8];
    std::memset(buffer, '#', sizeof buffer);
    EXPECT_FALSE(FormatText(buffer, sizeof buffer, "%ls", unconvertible));
    EXPECT_STREQ(buffer, "");
}
#endif

} // namespace
