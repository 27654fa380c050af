#include <gtest/gtest.h>

#include <cstring>
#include <memory>
#include <string>

#include "steps/reader_family_scan.h"
#include "support/reader_names.h"

namespace {

// Scans a heap block of exactly the list's size, so that AddressSanitizer
// reports any read past it.
bool ScanExactBlock(const std::string &list, uint32_t reportedLength) {
    std::unique_ptr<char[]> block(new char[list.size()]);
    std::memcpy(block.get(), list.data(), list.size());
    return ListsReaderFamily(block.get(), reportedLength, list.size());
}

struct ScanCase {
    const char *name;
    std::string list;
    bool listed;
};

TEST(ReaderFamilyScanTest, FindsTheKeyWithinOneNameInAnyLetterCase) {
    const ScanCase cases[] = {
        {"upper case", ReaderNames({"GEMPLUS GemPC410 0"}), true},
        {"lower case", ReaderNames({"gemplus usb reader"}), true},
        {"mixed case", ReaderNames({"Omnikey 0", "GemPlus USB SmartCard Reader 0"}), true},
        {"key is the whole list", std::string("GEMPLUS"), true},
        {"other readers only", ReaderNames({"OMNIKEY CardMan 3121 0", "SCM SCR3310 1"}), false},
        {"no readers", ReaderNames({}), false},
        {"split across a separator", ReaderNames({"Reader GEMPL", "US Reader"}), false},
        {"a NUL inside the key", ReaderNames({"GEMP", "LUS"}), false},
        {"restart after a doubled first letter", ReaderNames({"GGEMPLUS"}), true},
        {"restart after a partial match", ReaderNames({"GEMPGEMPLUS"}), true},
        {"restart one byte after a long partial match", ReaderNames({"GEMPLUGEMPLUS"}), true},
        {"last name ends in a partial match", ReaderNames({"ACME 0", "Reader GEMPLU"}), false},
        {"list ends in a partial match without terminators", std::string("xGEMPLU"), false},
        {"high bytes beside the key", ReaderNames({"\xA3GEMPLUS\xB3"}), true},
        {"high bytes inside the key", ReaderNames({"GEM\xD0LUS"}), false},
        {"key letters with bit 0x80 set", ReaderNames({"\xC7\xC5\xCD\xD0\xCC\xD5\xD3"}), false},
        {"key letters with bit 0x80 set, lower case", ReaderNames({"\xE7\xE5\xED\xF0\xEC\xF5\xF3"}), false},
    };
    for (const ScanCase &c : cases) {
        EXPECT_EQ(ScanExactBlock(c.list, static_cast<uint32_t>(c.list.size())), c.listed) << c.name;
    }
}

TEST(ReaderFamilyScanTest, ReadsNoFurtherThanTheSmallerOfReportedLengthAndBlock) {
    const std::string list = ReaderNames({"ACME 0", "GEMPLUS 1"}); // key at bytes 7 to 13
    struct Case {
        const char *name;
        uint32_t reported;
        bool listed;
    } cases[] = {
        {"nothing reported", 0, false},
        {"reported length ends before the key", 7, false},
        {"reported length ends inside the key", 13, false},
        {"reported length takes the key's last letter", 14, true},
        {"reported length of the whole list", static_cast<uint32_t>(list.size()), true},
        {"reported length far past the block", 0xFFFFFFFFu, true},
    };
    for (const Case &c : cases) EXPECT_EQ(ScanExactBlock(list, c.reported), c.listed) << c.name;

    // The key lies behind the block: a reported length that claims more
    // than the block holds must not reach it.
    const char memory[] = "ACMEGEMPLUS";
    EXPECT_FALSE(ListsReaderFamily(memory, sizeof memory, 4));
    EXPECT_FALSE(ListsReaderFamily(memory, 0xFFFFFFFFu, 10)) << "the block ends before the last letter";
    EXPECT_TRUE(ListsReaderFamily(memory, 0xFFFFFFFFu, 11));
}

TEST(ReaderFamilyScanTest, NullListIsNoReader) { EXPECT_FALSE(ListsReaderFamily(nullptr, 100, 100)); }

} // namespace
