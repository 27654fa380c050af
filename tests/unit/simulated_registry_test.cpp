// The simulated registry keeps the rules of the ANSI registry calls.
#include <cstring>
#include <string>

#include "platform/sim/sim_machine.h"
#include "support/scratch_machine.h"

namespace {

const char kJavaSoft[] = "[HKEY_LOCAL_MACHINE\\SOFTWARE\\JavaSoft\\Java Runtime Environment\\1.6.0_45]\n"
                         "\"JavaHome\"=\"C:\\\\Program Files\\\\Java\\\\jre6\"\n"
                         "\"MicroVersion\"=dword:00000000\n"
                         "[HKEY_LOCAL_MACHINE\\SOFTWARE\\JavaSoft\\Java Runtime Environment\\1.5.0]\n"
                         "\"JavaHome\"=\"C:\\\\Java\\\\\\\"quoted\\\"\"\n"
                         "[HKEY_LOCAL_MACHINE\\SOFTWARE\\JavaSoft\\Java Runtime Environment\\Zed]\n"
                         "@=\"default\"\n"
                         "\"Bytes\"=hex:01,02,\\\n"
                         "  03\n"
                         "[HKEY_CURRENT_USER\\Software\\Netscape\\Netscape Navigator\\Main]\n"
                         "\"Install Directory\"=\"C:\\\\NS\\\\Program\"\n";

class SimulatedRegistryTest : public ScratchTest {
  protected:
    void SetUp() override {
        ScratchTest::SetUp();
        sim::LoadRegistry(kJavaSoft);
    }
    void TearDown() override {
        EXPECT_EQ(sim::OpenHandles(sim::HandleKind::Key), 0) << "a key was left open";
        ScratchTest::TearDown();
    }
    HKEY Open(const char *path, REGSAM access = KEY_ALL_ACCESS) {
        HKEY key = nullptr;
        EXPECT_EQ(RegOpenKeyExA(HKEY_LOCAL_MACHINE, path, 0, access, &key), ERROR_SUCCESS) << path;
        return key;
    }
};

TEST_F(SimulatedRegistryTest, SubkeysAreEnumeratedInNameOrderWithoutRegardToCase) {
    HKEY list = Open("software\\javasoft\\JAVA RUNTIME ENVIRONMENT");
    char name[263];
    std::string names;
    DWORD index = 0;
    while (RegEnumKeyA(list, index, name, sizeof name) == ERROR_SUCCESS) {
        names += std::string(name) + ";";
        ++index;
    }
    EXPECT_EQ(names, "1.5.0;1.6.0_45;Zed;");
    EXPECT_EQ(RegEnumKeyA(list, index, name, sizeof name), ERROR_NO_MORE_ITEMS);
    EXPECT_EQ(RegEnumKeyA(list, 0, name, 5), ERROR_MORE_DATA) << "1.5.0 needs 6 characters";
    RegCloseKey(list);
}

TEST_F(SimulatedRegistryTest, ValuesFollowTheSizeRulesOfTheAnsiCall) {
    HKEY entry = Open("SOFTWARE\\JavaSoft\\Java Runtime Environment\\1.6.0_45");
    const std::string home = "C:\\Program Files\\Java\\jre6";
    const DWORD needed = static_cast<DWORD>(home.size() + 1);
    char buffer[64];
    DWORD type = 0;

    DWORD size = sizeof buffer;
    EXPECT_EQ(RegQueryValueExA(entry, "javahome", nullptr, &type, reinterpret_cast<LPBYTE>(buffer), &size),
              ERROR_SUCCESS);
    EXPECT_EQ(type, static_cast<DWORD>(REG_SZ));
    EXPECT_EQ(size, needed) << "the terminator is counted";
    EXPECT_EQ(std::string(buffer), home);

    size = 0;
    EXPECT_EQ(RegQueryValueExA(entry, "JavaHome", nullptr, nullptr, nullptr, &size), ERROR_SUCCESS);
    EXPECT_EQ(size, needed);

    size = needed - 1;
    std::memset(buffer, '#', sizeof buffer);
    EXPECT_EQ(RegQueryValueExA(entry, "JavaHome", nullptr, nullptr, reinterpret_cast<LPBYTE>(buffer), &size),
              ERROR_MORE_DATA);
    EXPECT_EQ(size, needed);
    EXPECT_EQ(std::memchr(buffer, '\0', needed - 1), nullptr) << "a short buffer is left unterminated";

    size = sizeof buffer;
    EXPECT_EQ(RegQueryValueExA(entry, "Missing", nullptr, nullptr, reinterpret_cast<LPBYTE>(buffer), &size),
              ERROR_FILE_NOT_FOUND);
    RegCloseKey(entry);
}

TEST_F(SimulatedRegistryTest, UnterminatedStringsComeBackWithoutTerminator) {
    sim::SetRegistryValue("HKEY_LOCAL_MACHINE\\SOFTWARE\\JavaSoft\\Java Runtime Environment\\1.6.0_45", "JavaHome",
                          REG_SZ, "C:\\J");
    HKEY entry = Open("SOFTWARE\\JavaSoft\\Java Runtime Environment\\1.6.0_45");
    char buffer[8];
    std::memset(buffer, '#', sizeof buffer);
    DWORD size = sizeof buffer;
    EXPECT_EQ(RegQueryValueExA(entry, "JavaHome", nullptr, nullptr, reinterpret_cast<LPBYTE>(buffer), &size),
              ERROR_SUCCESS);
    EXPECT_EQ(size, 4u);
    EXPECT_EQ(std::string(buffer, 5), "C:\\J#");
    RegCloseKey(entry);
}

TEST_F(SimulatedRegistryTest, RegFileEscapesDwordsHexAndDefaultValues) {
    HKEY entry = Open("SOFTWARE\\JavaSoft\\Java Runtime Environment\\1.5.0");
    char buffer[64];
    DWORD size = sizeof buffer;
    ASSERT_EQ(RegQueryValueExA(entry, "JavaHome", nullptr, nullptr, reinterpret_cast<LPBYTE>(buffer), &size),
              ERROR_SUCCESS);
    EXPECT_STREQ(buffer, "C:\\Java\\\"quoted\"");
    RegCloseKey(entry);

    entry = Open("SOFTWARE\\JavaSoft\\Java Runtime Environment\\Zed");
    DWORD type = 0;
    size = sizeof buffer;
    ASSERT_EQ(RegQueryValueExA(entry, nullptr, nullptr, &type, reinterpret_cast<LPBYTE>(buffer), &size), ERROR_SUCCESS);
    EXPECT_STREQ(buffer, "default");
    size = sizeof buffer;
    ASSERT_EQ(RegQueryValueExA(entry, "Bytes", nullptr, &type, reinterpret_cast<LPBYTE>(buffer), &size), ERROR_SUCCESS);
    EXPECT_EQ(type, static_cast<DWORD>(REG_BINARY));
    EXPECT_EQ(std::string(buffer, size), "\x01\x02\x03");
    RegCloseKey(entry);
}

TEST_F(SimulatedRegistryTest, RegFileCommentsDeletionsAndTypedHexValues) {
    // An expandable string (type 2) given as hex bytes, as regedit exports it.
    sim::LoadRegistry("; a comment line\n"
                      "[HKEY_LOCAL_MACHINE\\SOFTWARE\\JavaSoft\\Java Runtime Environment\\1.6.0_45]\n"
                      "\"MicroVersion\"=-\n"
                      "\"Path\"=hex(2):43,3a,5c,6a,00\n");
    HKEY entry = Open("SOFTWARE\\JavaSoft\\Java Runtime Environment\\1.6.0_45");
    char buffer[64];
    DWORD type = 0;
    DWORD size = sizeof buffer;
    EXPECT_EQ(RegQueryValueExA(entry, "MicroVersion", nullptr, nullptr, reinterpret_cast<LPBYTE>(buffer), &size),
              ERROR_FILE_NOT_FOUND);
    size = sizeof buffer;
    ASSERT_EQ(RegQueryValueExA(entry, "Path", nullptr, &type, reinterpret_cast<LPBYTE>(buffer), &size), ERROR_SUCCESS);
    EXPECT_EQ(type, 2u);
    EXPECT_EQ(std::string(buffer, size), std::string("C:\\j\0", 5));
    size = sizeof buffer;
    EXPECT_EQ(RegQueryValueExA(entry, "JavaHome", nullptr, nullptr, reinterpret_cast<LPBYTE>(buffer), &size),
              ERROR_SUCCESS)
        << "values the file does not name are kept";
    RegCloseKey(entry);
}

TEST_F(SimulatedRegistryTest, ProtectedKeysRefuseFullAccessButAllowReading) {
    sim::DenyFullAccess("HKEY_LOCAL_MACHINE\\SOFTWARE");
    HKEY key = nullptr;
    EXPECT_EQ(RegOpenKeyExA(HKEY_LOCAL_MACHINE, "SOFTWARE\\JavaSoft", 0, KEY_ALL_ACCESS, &key), ERROR_ACCESS_DENIED);
    HKEY readable = Open("SOFTWARE\\JavaSoft", KEY_READ);
    RegCloseKey(readable);
    EXPECT_EQ(RegOpenKeyExA(HKEY_CURRENT_USER, "Software\\Netscape\\Netscape Navigator\\Main", 0, KEY_ALL_ACCESS, &key),
              ERROR_SUCCESS);
    RegCloseKey(key);
}

TEST_F(SimulatedRegistryTest, MissingKeysAndClosedHandles) {
    HKEY key = nullptr;
    EXPECT_EQ(RegOpenKeyExA(HKEY_LOCAL_MACHINE, "SOFTWARE\\Missing", 0, KEY_ALL_ACCESS, &key), ERROR_FILE_NOT_FOUND);
    HKEY javaSoft = Open("SOFTWARE\\JavaSoft");
    HKEY list = nullptr;
    EXPECT_EQ(RegOpenKeyExA(javaSoft, "Java Development Kit", 0, KEY_ALL_ACCESS, &list), ERROR_FILE_NOT_FOUND);
    EXPECT_EQ(RegOpenKeyExA(javaSoft, "Java Runtime Environment", 0, KEY_ALL_ACCESS, &list), ERROR_SUCCESS);
    EXPECT_EQ(sim::OpenHandles(sim::HandleKind::Key), 2);
    EXPECT_EQ(RegCloseKey(list), ERROR_SUCCESS);
    EXPECT_EQ(RegCloseKey(list), ERROR_INVALID_HANDLE) << "closed twice";
    EXPECT_EQ(RegCloseKey(javaSoft), ERROR_SUCCESS);
    sim::LoadRegistry("[-HKEY_LOCAL_MACHINE\\SOFTWARE\\JavaSoft]\n");
    EXPECT_EQ(RegOpenKeyExA(HKEY_LOCAL_MACHINE, "SOFTWARE\\JavaSoft", 0, KEY_ALL_ACCESS, &key), ERROR_FILE_NOT_FOUND);
}

} // namespace
