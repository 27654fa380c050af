// Forming a runtime entry's home, paths, commands and backup name within
// their buffers: never cut, never unterminated.
#include <gtest/gtest.h>

#include <cstring>
#include <string>

#include "steps/java_entry.h"

namespace {

// An entry buffer as the registry read leaves it: the quote, then the value's
// bytes, then whatever the buffer held before ('#').
struct ReadEntry {
    char buffer[kEntryCapacity];
    explicit ReadEntry(const std::string &value) {
        std::memset(buffer, '#', sizeof buffer);
        buffer[0] = kEntryQuote;
        std::memcpy(buffer + 1, value.data(), value.size());
    }
};

std::string Entry(const std::string &home) { return std::string(1, kEntryQuote) + home; }

TEST(JavaEntryTest, HomeEndsAtItsTerminatorOrRightBehindAnUnterminatedValue) {
    const std::string longest(261, 'j');
    struct Case {
        const char *name;
        std::string value; // the bytes read
        bool usable;
        std::string home;
    } cases[] = {
        {"terminated", std::string("C:\\jre6\0", 8), true, "C:\\jre6"},
        {"unterminated", "C:\\jre6", true, "C:\\jre6"},
        {"terminator inside", std::string("C:\\a\0junk", 9), true, "C:\\a"},
        {"empty", std::string("\0", 1), false, ""},
        {"nothing", "", false, ""},
        {"260 bytes, unterminated", std::string(260, 'j'), true, std::string(260, 'j')},
        {"261 bytes, unterminated", longest, true, longest},
        {"262 bytes, unterminated", longest + "j", false, ""},
        {"261 characters and terminator", longest + std::string(1, '\0'), true, longest},
    };
    for (const Case &c : cases) {
        ReadEntry entry(c.value);
        ASSERT_EQ(EndEntryText(entry.buffer, static_cast<DWORD>(c.value.size())), c.usable) << c.name;
        if (c.usable) {
            EXPECT_EQ(std::string(entry.buffer), Entry(c.home)) << c.name;
        }
    }
    ReadEntry tooBig(std::string(kHomeReadCapacity, 'j'));
    EXPECT_FALSE(EndEntryText(tooBig.buffer, kHomeReadCapacity + 1)) << "a size beyond the read is refused";
}

TEST(JavaEntryTest, PathsAreTheHomeJoinedWithTheComponentOrNothing) {
    const std::string fits(258 - 18, 'h'); // quote, home, backslash and "lib\ext\ocf1.2.jar": 260
    struct Case {
        std::string entry;
        const char *component;
        bool formed;
        std::string path;
    } cases[] = {
        {Entry("C:\\Program Files\\Java\\jre6"), "lib\\ext\\ocf1.2.jar", true,
         "C:\\Program Files\\Java\\jre6\\lib\\ext\\ocf1.2.jar"},
        {Entry("C:\\jre6\\"), "lib\\opencard.properties", true, "C:\\jre6\\lib\\opencard.properties"},
        {Entry(fits), "lib\\ext\\ocf1.2.jar", true, fits + "\\lib\\ext\\ocf1.2.jar"},
        {Entry(fits + "h"), "lib\\ext\\ocf1.2.jar", false, ""},
        {Entry(std::string(261, 'h')), "x", false, ""},
        {"C:\\jre6", "lib\\ext\\ocf1.2.jar", false, ""}, // not an entry text
        {"", "lib", false, ""},
    };
    for (const Case &c : cases) {
        char path[kPathCapacity];
        std::memset(path, '#', sizeof path);
        ASSERT_EQ(FormEntryPath(path, c.entry.c_str(), c.component), c.formed) << c.entry.size();
        EXPECT_EQ(std::string(path), c.path) << "a refused path is left empty";
        if (c.formed) {
            EXPECT_LE(c.path.size(), 259u);
        }
    }
}

TEST(JavaEntryTest, CommandsQuoteTheProgramAndRefuseAHomeWithAQuote) {
    const char component[] = "bin\\java.exe\" CopyPolicyFile .java.policy";
    const std::string fits(258 - std::strlen(component), 'h');
    struct Case {
        std::string entry;
        bool formed;
        std::string command;
    } cases[] = {
        {Entry("C:\\Program Files (x86)\\Java\\jre7"), true,
         "\"C:\\Program Files (x86)\\Java\\jre7\\bin\\java.exe\" CopyPolicyFile .java.policy"},
        {Entry(fits), true, "\"" + fits + "\\" + component},
        {Entry(fits + "h"), false, ""},
        {Entry("C:\\x\" & del C:\\y & \"C:\\jre"), false, ""},
        {Entry("C:\\jre\""), false, ""},
        {"", false, ""},
    };
    for (const Case &c : cases) {
        char command[kPathCapacity];
        std::memset(command, '#', sizeof command);
        ASSERT_EQ(FormEntryCommand(command, c.entry.c_str(), component), c.formed) << c.entry;
        EXPECT_EQ(std::string(command), c.command) << "a refused command is left empty";
    }
}

TEST(JavaEntryTest, BackupNameIsThePolicyPathWithASuffixOrNothing) {
    struct Case {
        std::string policy;
        bool formed;
    } cases[] = {
        {"C:\\jre6\\lib\\security\\java.policy", true},
        {std::string(251, 'p'), true}, // 259 characters with the suffix
        {std::string(252, 'p'), false},
    };
    for (const Case &c : cases) {
        char backup[kBackupNameCapacity];
        ASSERT_EQ(FormBackupName(backup, c.policy.c_str()), c.formed) << c.policy.size();
        if (c.formed) {
            EXPECT_EQ(std::string(backup), c.policy + ".ocf-bak");
        }
    }
}

} // namespace
