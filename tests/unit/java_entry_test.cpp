// Reading a runtime's home and forming its paths, commands and backup name
// within their buffers: never cut, never unterminated.
#include <gtest/gtest.h>

#include <cstring>
#include <string>

#include "steps/java_entry.h"

namespace {

// A home buffer as the registry read leaves it: the value's bytes, then
// whatever the buffer held before ('#').
struct ReadHome {
    char buffer[kHomeCapacity];
    explicit ReadHome(const std::string &value) {
        std::memset(buffer, '#', sizeof buffer);
        std::memcpy(buffer, value.data(), value.size());
    }
};

const char kClassFolder[] = "C:\\Instalator\\sun";

RuntimeFiles Form(const std::string &home, RuntimeKind kind = RuntimeKind::Jre,
                  const std::string &classFolder = kClassFolder) {
    JavaRuntime runtime = {kind, ""};
    std::memcpy(runtime.home, home.c_str(), home.size() + 1);
    RuntimeFiles files;
    std::memset(&files, '#', sizeof files);
    FormRuntimeFiles(runtime, classFolder.c_str(), &files);
    return files;
}

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
        ReadHome home(c.value);
        ASSERT_EQ(EndHomeText(home.buffer, static_cast<DWORD>(c.value.size())), c.usable) << c.name;
        if (c.usable) {
            EXPECT_EQ(std::string(home.buffer), c.home) << c.name;
        }
    }
    ReadHome tooBig(std::string(kHomeCapacity, 'j'));
    EXPECT_FALSE(EndHomeText(tooBig.buffer, kHomeCapacity + 1)) << "a size beyond the read is refused";
}

TEST(JavaEntryTest, PathsAreTheHomeJoinedWithTheComponentOrNothing) {
    const std::string fits(259 - 18, 'h'); // home, backslash and "lib\ext\ocf1.2.jar": 260
    struct Case {
        std::string home;
        RuntimeKind kind;
        std::string archive; // "": refused
        std::string policy;
    } cases[] = {
        {"C:\\Program Files\\Java\\jre6", RuntimeKind::Jre, "C:\\Program Files\\Java\\jre6\\lib\\ext\\ocf1.2.jar",
         "C:\\Program Files\\Java\\jre6\\lib\\security\\java.policy"},
        {"C:\\jdk\\", RuntimeKind::Jdk, "C:\\jdk\\jre\\lib\\ext\\ocf1.2.jar",
         "C:\\jdk\\jre\\lib\\security\\java.policy"},
        {fits, RuntimeKind::Jre, fits + "\\lib\\ext\\ocf1.2.jar", ""},
        {fits + "h", RuntimeKind::Jre, "", ""},
        {std::string(256, 'h'), RuntimeKind::Jdk, "", ""}, // home\jre fits, nothing below it
        {std::string(261, 'h'), RuntimeKind::Jre, "", ""}, // longer than any path
    };
    for (const Case &c : cases) {
        RuntimeFiles files = Form(c.home, c.kind);
        EXPECT_EQ(std::string(files.archive), c.archive) << c.home.size();
        EXPECT_EQ(std::string(files.policy), c.policy) << c.home.size();
    }
    RuntimeFiles jre = Form("C:\\jre6");
    EXPECT_STREQ(jre.properties, "C:\\jre6\\lib\\opencard.properties");
    EXPECT_STREQ(jre.library, "C:\\jre6\\lib\\ext\\ocfpcsc1.dll");
    EXPECT_STREQ(Form("C:\\jdk", RuntimeKind::Jdk).library, "C:\\jdk\\jre\\lib\\ext\\ocfpcsc1.dll");
}

TEST(JavaEntryTest, CommandsQuoteTheProgramAndTheClassFolderAndRefuseWhatBreaksTheQuoting) {
    const std::string classPath = std::string(" -classpath \"") + kClassFolder + "\"";
    const std::string tail = " CopyPolicyFile .opencard.properties";
    const std::string longest(kLongestPath, 'h');
    const std::string longestFolder = "C:\\" + std::string(kLongestPath - 3, 'k');
    struct Case {
        std::string home;
        std::string classFolder;
        std::string command; // "": refused
    } cases[] = {
        {"C:\\Program Files (x86)\\Java\\jre7", kClassFolder,
         "\"C:\\Program Files (x86)\\Java\\jre7\\bin\\java.exe\"" + classPath + tail},
        {"C:\\jre\\", kClassFolder, "\"C:\\jre\\bin\\java.exe\"" + classPath + tail},
        {longest.substr(0, kLongestPath - 13), longestFolder,
         "\"" + longest.substr(0, kLongestPath - 13) + "\\bin\\java.exe\" -classpath \"" + longestFolder + "\"" + tail},
        {longest.substr(0, kLongestPath - 12), kClassFolder, ""},
        {"C:\\x\" & del C:\\y & \"C:\\jre", kClassFolder, ""},
        {"C:\\jre\"", kClassFolder, ""},
        {"C:\\jre", "", ""},
        {"C:\\jre", "C:\\a\" & del C:\\y & \"", ""},
        {"C:\\jre", "C:\\", ""},
    };
    for (const Case &c : cases) {
        RuntimeFiles files = Form(c.home, RuntimeKind::Jre, c.classFolder);
        EXPECT_EQ(std::string(files.propertiesCommand), c.command) << c.home << " " << c.classFolder;
        if (!c.command.empty()) {
            EXPECT_EQ(std::string(files.policyCommand), c.command.substr(0, c.command.rfind(' ') + 1) + ".java.policy");
        }
    }
    EXPECT_EQ(std::string(Form("C:\\jdk", RuntimeKind::Jdk).policyCommand),
              "\"C:\\jdk\\bin\\java.exe\"" + classPath + " CopyPolicyFile .java.policy")
        << "a JDK runs the java.exe of its own bin";
}

TEST(JavaEntryTest, BackupNameIsThePolicyPathWithASuffixOrNothing) {
    const size_t policyTail = std::strlen("\\lib\\security\\java.policy");
    struct Case {
        size_t homeLength;
        bool named;
    } cases[] = {
        {251 - policyTail, true}, // a backup name of 259 characters
        {252 - policyTail, false},
    };
    for (const Case &c : cases) {
        const std::string home = "C:\\" + std::string(c.homeLength - 3, 'p');
        RuntimeFiles files = Form(home);
        EXPECT_EQ(std::string(files.policyBackup), c.named ? std::string(files.policy) + ".ocf-bak" : "")
            << c.homeLength;
        EXPECT_EQ(std::string(files.partialBackup), c.named ? std::string(files.policy) + ".ocf-new" : "")
            << c.homeLength;
    }
    EXPECT_STREQ(Form("C:\\jre6").policyBackup, "C:\\jre6\\lib\\security\\java.policy.ocf-bak");
}

} // namespace
