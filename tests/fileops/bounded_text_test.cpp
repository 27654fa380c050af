#include <gtest/gtest.h>

#include <cstring>
#include <string>

#include "fileops/bounded_text.h"
#include "log/utf8_text.h"

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

// The log's text: Windows-1250 into UTF-8, cut only between characters.
TEST(Utf8TextTest, ConvertsEachCharacterWholeOrNotAtAll) {
    struct Case {
        const char *text;
        size_t capacity;
        const char *expected;
        bool whole;
    } cases[] = {
        {"Zażółć gęślą jaźń", 32, "Za\xC5\xBC\xC3\xB3\xC5\x82\xC4\x87 g\xC4\x99\xC5\x9Bl\xC4\x85 ja\xC5\xBA\xC5\x84",
         true},
        {"ŁŚŹŻĄĘ", 32, "\xC5\x81\xC5\x9A\xC5\xB9\xC5\xBB\xC4\x84\xC4\x98", true},
        {"\x80 \x81", 32, "\xE2\x82\xAC \xEF\xBF\xBD", true}, // the euro sign; a byte Windows-1250 leaves undefined
        {"aż", 4, "a\xC5\xBC", true},
        {"aż", 3, "a", false}, // no half of "ż"
        {"a\x80", 4, "a", false},
        {"ab", 1, "", false},
    };
    for (const Case &c : cases) {
        char buffer[64];
        std::memset(buffer, '#', sizeof buffer);
        EXPECT_EQ(Cp1250ToUtf8(buffer, c.capacity, c.text), c.whole) << c.text;
        EXPECT_STREQ(buffer, c.expected) << c.text;
        EXPECT_EQ(buffer[c.capacity], '#') << "written past " << c.capacity;
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
