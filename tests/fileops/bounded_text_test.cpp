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

TEST(FormatTextTest, CutsAndTerminatesWhatDoesNotFit) {
    // Around the capacity: msvcrt's formatter leaves a text of exactly
    // capacity characters unterminated, and returns -1 for a longer one.
    struct Case {
        size_t capacity;
        int code;
        const char *expected;
        bool whole;
    } cases[] = {{6, 1234, "kod #", false}, {6, 1, "kod #", false}, {7, 1, "kod #1", true}, {10, 12, "kod #12", true}};
    for (const Case &c : cases) {
        char buffer[16];
        std::memset(buffer, '#', sizeof buffer);
        EXPECT_EQ(FormatText(buffer, c.capacity, "kod #%d", c.code), c.whole) << c.capacity << " " << c.code;
        EXPECT_STREQ(buffer, c.expected);
        EXPECT_EQ(buffer[c.capacity], '#') << "written past capacity " << c.capacity;
    }
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
