#include <gtest/gtest.h>

#include <cstring>
#include <memory>
#include <string>

#include "steps/netscape_paths.h"

namespace {

// The value's bytes in a block of exactly their size, so that a read past
// them is caught by the address sanitizer.
bool Find(const std::string &value, NetscapePaths *paths) {
    std::unique_ptr<char[]> bytes = std::make_unique<char[]>(value.size());
    std::memcpy(bytes.get(), value.data(), value.size());
    return FindNetscapePaths(bytes.get(), value.size(), paths);
}

std::string Terminated(const std::string &text) { return text + std::string(1, '\0'); }

TEST(NetscapePathsTest, InstallDirectoryGivesClassesLibraryAndProfiles) {
    struct Case {
        const char *name;
        std::string value;
        const char *classes;
        const char *library;
        const char *profiles;
        const char *pattern;
    } cases[] = {
        {"plain", Terminated("C:\\NS\\Browser"), "C:\\NS\\Browser\\Program\\java\\classes",
         "C:\\NS\\Browser\\Program\\java\\bin\\ocfpcsc1.dll", "C:\\NS\\Users", "C:\\NS\\Users\\*"},
        {"trailing backslash", Terminated("C:\\NS\\Browser\\"), "C:\\NS\\Browser\\Program\\java\\classes",
         "C:\\NS\\Browser\\Program\\java\\bin\\ocfpcsc1.dll", "C:\\NS\\Users", "C:\\NS\\Users\\*"},
        {"two trailing backslashes", Terminated("C:\\NS\\Browser\\\\"), "C:\\NS\\Browser\\Program\\java\\classes",
         "C:\\NS\\Browser\\Program\\java\\bin\\ocfpcsc1.dll", "C:\\NS\\Users", "C:\\NS\\Users\\*"},
        {"unterminated", "C:\\NS\\Browser", "C:\\NS\\Browser\\Program\\java\\classes",
         "C:\\NS\\Browser\\Program\\java\\bin\\ocfpcsc1.dll", "C:\\NS\\Users", "C:\\NS\\Users\\*"},
        {"text ends at its terminator", Terminated("C:\\NS\\Browser") + "\\junk",
         "C:\\NS\\Browser\\Program\\java\\classes", "C:\\NS\\Browser\\Program\\java\\bin\\ocfpcsc1.dll",
         "C:\\NS\\Users", "C:\\NS\\Users\\*"},
        {"in the drive root", Terminated("C:\\Netscape"), "C:\\Netscape\\Program\\java\\classes",
         "C:\\Netscape\\Program\\java\\bin\\ocfpcsc1.dll", "C:\\Users", "C:\\Users\\*"},
    };
    for (const Case &c : cases) {
        NetscapePaths paths;
        ASSERT_TRUE(Find(c.value, &paths)) << c.name;
        EXPECT_STREQ(paths.classesFolder, c.classes) << c.name;
        EXPECT_STREQ(paths.libraryFile, c.library) << c.name;
        EXPECT_STREQ(paths.profilesFolder, c.profiles) << c.name;
        EXPECT_STREQ(paths.profilesPattern, c.pattern) << c.name;
    }
}

TEST(NetscapePathsTest, ValuesThatNameNoInstallDirectory) {
    // The longest install directory whose library path still fits: 260
    // characters less "\Program\java\bin\ocfpcsc1.dll".
    const std::string longest = "C:\\" + std::string(227, 'd');
    struct Case {
        const char *name;
        std::string value;
    } cases[] = {
        {"no bytes", ""},
        {"empty text", Terminated("")},
        {"no backslash", Terminated("Netscape")},
        {"slashes only", Terminated("C:/NS/Browser")},
        {"drive root", Terminated("C:\\")},
        {"backslashes only", Terminated("\\\\")},
        {"fills the buffer unterminated", "C:\\" + std::string(kPathCapacity - 3, 'd')},
        {"longest path, unterminated", "C:\\" + std::string(kLongestPath - 3, 'd')},
        {"library path would be cut", Terminated(longest + "d")},
    };
    NetscapePaths paths;
    ASSERT_TRUE(Find(Terminated(longest), &paths)) << "the boundary itself fits";
    EXPECT_EQ(std::strlen(paths.libraryFile), static_cast<size_t>(kLongestPath));
    for (const Case &c : cases) {
        std::memset(&paths, '#', sizeof paths);
        EXPECT_FALSE(Find(c.value, &paths)) << c.name;
        EXPECT_EQ(paths.classesFolder[0], '#') << c.name << ": nothing filled";
    }
}

TEST(NetscapePathsTest, ProfileFileIsNeverACutPath) {
    NetscapePaths paths;
    ASSERT_TRUE(Find(Terminated("C:\\NS\\Browser"), &paths));
    char path[kPathCapacity];
    ASSERT_TRUE(ProfilePropertiesFile(path, paths, "user1"));
    EXPECT_STREQ(path, "C:\\NS\\Users\\user1\\.opencard.properties");

    // "C:\NS\Users\" is 12 characters, "\.opencard.properties" 21.
    EXPECT_TRUE(ProfilePropertiesFile(path, paths, std::string(260 - 12 - 21, 'p').c_str()));
    EXPECT_EQ(std::strlen(path), static_cast<size_t>(kLongestPath));
    EXPECT_FALSE(ProfilePropertiesFile(path, paths, std::string(260 - 12 - 20, 'p').c_str()));
}

} // namespace
