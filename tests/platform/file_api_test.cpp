// How the Windows file calls behave, in the style of Wine's conformance
// tests. The same tests run against the simulated machine and, in the
// Windows build, against Windows itself (here: Wine), which is what lets the
// simulation be trusted.
#include <cstring>
#include <string>

#include "support/scratch_machine.h"

namespace {

const DWORD kUntouched = 0xdeadbeef;

class FileApiTest : public ScratchTest {
  protected:
    void SetUp() override {
        ScratchTest::SetUp();
        scratch::MakeFile("src\\file.txt", "content");
        scratch::MakeFile("dst\\existing.txt", "old");
        scratch::MakeDirs("dst\\folder");
    }
    void TearDown() override {
        for (const char *path : {"src\\file.txt", "dst\\existing.txt", "dst\\copy.txt"})
            SetFileAttributesA(path, FILE_ATTRIBUTE_NORMAL);
        ScratchTest::TearDown();
    }
};

struct CopyCase {
    const char *name;
    const char *source;
    const char *target;
    DWORD targetAttributes; // set on dst\existing.txt before the copy
    DWORD error;            // 0: the copy succeeds
};

TEST_F(FileApiTest, CopyFileFailsLikeWindows) {
    const CopyCase cases[] = {
        {"replaces a plain target", "src\\file.txt", "dst\\existing.txt", FILE_ATTRIBUTE_NORMAL, 0},
        {"missing source", "src\\missing.txt", "dst\\copy.txt", 0, ERROR_FILE_NOT_FOUND},
        {"missing source folder", "nowhere\\file.txt", "dst\\copy.txt", 0, ERROR_PATH_NOT_FOUND},
        {"missing target folder", "src\\file.txt", "nowhere\\copy.txt", 0, ERROR_PATH_NOT_FOUND},
        {"read-only target", "src\\file.txt", "dst\\existing.txt", FILE_ATTRIBUTE_READONLY, ERROR_ACCESS_DENIED},
        {"folder as target", "src\\file.txt", "dst\\folder", 0, ERROR_ACCESS_DENIED},
        {"folder as source", "dst\\folder", "dst\\copy.txt", 0, ERROR_ACCESS_DENIED},
        {"invalid target name", "src\\file.txt", "dst\\a|b.txt", 0, ERROR_INVALID_NAME},
    };
    for (const CopyCase &c : cases) {
        if (c.targetAttributes) {
            ASSERT_TRUE(SetFileAttributesA("dst\\existing.txt", c.targetAttributes));
        }
        SetLastError(kUntouched);
        BOOL copied = CopyFileA(c.source, c.target, FALSE);
        EXPECT_EQ(copied != FALSE, c.error == 0) << c.name;
        if (c.error) {
            EXPECT_EQ(GetLastError(), c.error) << c.name;
        }
        SetFileAttributesA("dst\\existing.txt", FILE_ATTRIBUTE_NORMAL);
    }
    EXPECT_EQ(scratch::ReadFile("dst\\existing.txt"), "content");
}

TEST_F(FileApiTest, CopyFileKeepsTimeAndAttributesOfTheSource) {
    uint64_t time = scratch::FileTimeOf(2003, 4, 5, 6, 7, 8);
    scratch::SetLastWriteTime("src\\file.txt", time);
    ASSERT_TRUE(SetFileAttributesA("src\\file.txt", FILE_ATTRIBUTE_READONLY));
    ASSERT_TRUE(CopyFileA("src\\file.txt", "dst\\copy.txt", FALSE));
    EXPECT_EQ(scratch::LastWriteTime("dst\\copy.txt"), time);
    EXPECT_NE(GetFileAttributesA("dst\\copy.txt") & FILE_ATTRIBUTE_READONLY, 0u);
}

TEST_F(FileApiTest, FileHeldWithoutSharingCannotBeOpenedCopiedOrDeleted) {
    scratch::HoldOpen("dst\\existing.txt");
    SetLastError(kUntouched);
    EXPECT_EQ(CreateFileA("dst\\existing.txt", GENERIC_READ, FILE_SHARE_READ, nullptr, OPEN_EXISTING,
                          FILE_ATTRIBUTE_NORMAL, nullptr),
              INVALID_HANDLE_VALUE);
    EXPECT_EQ(GetLastError(), static_cast<DWORD>(ERROR_SHARING_VIOLATION));
    SetLastError(kUntouched);
    EXPECT_FALSE(CopyFileA("src\\file.txt", "dst\\existing.txt", FALSE));
    EXPECT_EQ(GetLastError(), static_cast<DWORD>(ERROR_SHARING_VIOLATION));
    SetLastError(kUntouched);
    EXPECT_FALSE(DeleteFileA("dst\\existing.txt"));
    EXPECT_EQ(GetLastError(), static_cast<DWORD>(ERROR_SHARING_VIOLATION));
    EXPECT_NE(GetFileAttributesA("dst\\existing.txt"), INVALID_FILE_ATTRIBUTES);
}

TEST_F(FileApiTest, OwnReadHandleBlocksDeletionUntilClosed) {
    HANDLE file = CreateFileA("dst\\existing.txt", GENERIC_READ, FILE_SHARE_READ, nullptr, OPEN_EXISTING,
                              FILE_ATTRIBUTE_NORMAL, nullptr);
    ASSERT_NE(file, INVALID_HANDLE_VALUE);
    HANDLE second = CreateFileA("dst\\existing.txt", GENERIC_READ, FILE_SHARE_READ, nullptr, OPEN_EXISTING,
                                FILE_ATTRIBUTE_NORMAL, nullptr);
    EXPECT_NE(second, INVALID_HANDLE_VALUE) << "readers that share reading do not conflict";
    SetLastError(kUntouched);
    EXPECT_FALSE(DeleteFileA("dst\\existing.txt"));
    EXPECT_EQ(GetLastError(), static_cast<DWORD>(ERROR_SHARING_VIOLATION));
    EXPECT_FALSE(CopyFileA("src\\file.txt", "dst\\existing.txt", FALSE));
    CloseHandle(second);
    CloseHandle(file);
    EXPECT_TRUE(DeleteFileA("dst\\existing.txt"));
}

TEST_F(FileApiTest, ReadFileGoesOnWhereItStoppedAndEndsWithNothingRead) {
    HANDLE file = CreateFileA("src\\file.txt", GENERIC_READ, FILE_SHARE_READ, nullptr, OPEN_EXISTING,
                              FILE_ATTRIBUTE_NORMAL, nullptr);
    ASSERT_NE(file, INVALID_HANDLE_VALUE);
    char buffer[8] = "";
    DWORD read = kUntouched;
    ASSERT_TRUE(ReadFile(file, buffer, 4, &read, nullptr));
    EXPECT_EQ(std::string(buffer, read), "cont");
    ASSERT_TRUE(ReadFile(file, buffer, sizeof buffer, &read, nullptr));
    EXPECT_EQ(std::string(buffer, read), "ent");
    ASSERT_TRUE(ReadFile(file, buffer, sizeof buffer, &read, nullptr)) << "at the end: success";
    EXPECT_EQ(read, 0u);
    CloseHandle(file);
    SetLastError(kUntouched);
    EXPECT_FALSE(ReadFile(file, buffer, sizeof buffer, &read, nullptr));
    EXPECT_EQ(GetLastError(), static_cast<DWORD>(ERROR_INVALID_HANDLE));
    HANDLE next = CreateFileA("dst\\existing.txt", GENERIC_READ, FILE_SHARE_READ, nullptr, OPEN_EXISTING,
                              FILE_ATTRIBUTE_NORMAL, nullptr);
    EXPECT_EQ(next, file) << "a closed handle's value goes to the next file opened";
    CloseHandle(next);
}

TEST_F(FileApiTest, FileInformationGivesSizeTimeAndAttributes) {
    uint64_t time = scratch::FileTimeOf(2024, 2, 29, 23, 59, 58);
    scratch::SetLastWriteTime("src\\file.txt", time);
    ASSERT_TRUE(SetFileAttributesA("src\\file.txt", FILE_ATTRIBUTE_READONLY | FILE_ATTRIBUTE_ARCHIVE));
    HANDLE file = CreateFileA("src\\file.txt", GENERIC_READ, FILE_SHARE_READ, nullptr, OPEN_EXISTING,
                              FILE_ATTRIBUTE_NORMAL, nullptr);
    ASSERT_NE(file, INVALID_HANDLE_VALUE);
    BY_HANDLE_FILE_INFORMATION info;
    ASSERT_TRUE(GetFileInformationByHandle(file, &info));
    CloseHandle(file);
    EXPECT_EQ(info.dwFileAttributes, static_cast<DWORD>(FILE_ATTRIBUTE_READONLY | FILE_ATTRIBUTE_ARCHIVE));
    EXPECT_EQ(info.nFileSizeLow, 7u);
    EXPECT_EQ(info.nFileSizeHigh, 0u);
    EXPECT_EQ((static_cast<uint64_t>(info.ftLastWriteTime.dwHighDateTime) << 32) | info.ftLastWriteTime.dwLowDateTime,
              time);
    SYSTEMTIME st;
    ASSERT_TRUE(FileTimeToSystemTime(&info.ftLastWriteTime, &st));
    EXPECT_EQ(st.wYear, 2024);
    EXPECT_EQ(st.wMonth, 2);
    EXPECT_EQ(st.wDay, 29);
    EXPECT_EQ(st.wDayOfWeek, 4) << "a Thursday";
    EXPECT_EQ(st.wHour, 23);
    EXPECT_EQ(st.wMinute, 59);
    EXPECT_EQ(st.wSecond, 58);
}

TEST_F(FileApiTest, FileTimeToSystemTimeCoversTheCalendar) {
    struct Case {
        int year, month, day, hour, minute, second, dayOfWeek;
    } cases[] = {{1601, 1, 1, 0, 0, 0, 1}, {1900, 2, 28, 12, 0, 1, 3},    {2000, 2, 29, 0, 0, 0, 2},
                 {2000, 3, 1, 1, 2, 3, 3}, {2100, 12, 31, 23, 59, 59, 5}, {30827, 12, 31, 23, 59, 59, 5}};
    for (const Case &c : cases) {
        uint64_t value = scratch::FileTimeOf(c.year, c.month, c.day, c.hour, c.minute, c.second);
        FILETIME ft = {static_cast<DWORD>(value), static_cast<DWORD>(value >> 32)};
        SYSTEMTIME st;
        ASSERT_TRUE(FileTimeToSystemTime(&ft, &st)) << c.year;
        EXPECT_EQ(st.wYear, c.year);
        EXPECT_EQ(st.wMonth, c.month) << c.year;
        EXPECT_EQ(st.wDay, c.day) << c.year;
        EXPECT_EQ(st.wDayOfWeek, c.dayOfWeek) << c.year;
        EXPECT_EQ(st.wHour, c.hour) << c.year;
        EXPECT_EQ(st.wMinute, c.minute) << c.year;
        EXPECT_EQ(st.wSecond, c.second) << c.year;
    }
}

TEST_F(FileApiTest, DeleteFileFailsLikeWindows) {
    struct Case {
        const char *name;
        const char *path;
        DWORD attributes;
        DWORD error;
    } cases[] = {
        {"missing file", "dst\\missing.txt", 0, ERROR_FILE_NOT_FOUND},
        {"missing folder", "nowhere\\file.txt", 0, ERROR_PATH_NOT_FOUND},
        {"read-only file", "dst\\existing.txt", FILE_ATTRIBUTE_READONLY, ERROR_ACCESS_DENIED},
        {"folder", "dst\\folder", 0, ERROR_ACCESS_DENIED},
        {"hidden file", "dst\\existing.txt", FILE_ATTRIBUTE_HIDDEN, 0},
    };
    for (const Case &c : cases) {
        if (c.attributes) {
            ASSERT_TRUE(SetFileAttributesA(c.path, c.attributes));
        }
        SetLastError(kUntouched);
        EXPECT_EQ(DeleteFileA(c.path) != FALSE, c.error == 0) << c.name;
        if (c.error) {
            EXPECT_EQ(GetLastError(), c.error) << c.name;
        }
        SetFileAttributesA(c.path, FILE_ATTRIBUTE_NORMAL);
    }
    EXPECT_FALSE(scratch::Exists("dst\\existing.txt"));
}

TEST_F(FileApiTest, MoveFileRenamesButNeverReplaces) {
    ASSERT_TRUE(SetFileAttributesA("src\\file.txt", FILE_ATTRIBUTE_READONLY));
    ASSERT_TRUE(MoveFileA("src\\file.txt", "dst\\moved.txt"));
    EXPECT_EQ(scratch::ReadFile("dst\\moved.txt"), "content");
    EXPECT_NE(GetFileAttributesA("dst\\moved.txt") & FILE_ATTRIBUTE_READONLY, 0u) << "attributes go with it";
    EXPECT_FALSE(scratch::Exists("src\\file.txt"));
    SetFileAttributesA("dst\\moved.txt", FILE_ATTRIBUTE_NORMAL);
    struct Case {
        const char *from, *to;
        DWORD error;
    } cases[] = {
        {"dst\\moved.txt", "dst\\existing.txt", ERROR_ALREADY_EXISTS},
        {"dst\\moved.txt", "dst\\folder", ERROR_ALREADY_EXISTS},
        {"src\\file.txt", "dst\\copy.txt", ERROR_FILE_NOT_FOUND},
        {"dst\\moved.txt", "nowhere\\moved.txt", ERROR_PATH_NOT_FOUND},
    };
    for (const Case &c : cases) {
        SetLastError(kUntouched);
        EXPECT_FALSE(MoveFileA(c.from, c.to)) << c.to;
        EXPECT_EQ(GetLastError(), c.error) << c.to;
    }
    EXPECT_EQ(scratch::ReadFile("dst\\existing.txt"), "old");
}

// What the record's write (aside, then renamed over the old one) and the
// restore's clean-up rely on.
TEST_F(FileApiTest, WrittenFileReplacesAnotherInOneRename) {
    HANDLE file = CreateFileA("dst\\existing.txt", GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS, 0, nullptr);
    ASSERT_NE(file, INVALID_HANDLE_VALUE);
    DWORD written = 0;
    EXPECT_TRUE(WriteFile(file, "new", 3, &written, nullptr));
    EXPECT_TRUE(FlushFileBuffers(file));
    CloseHandle(file);
    EXPECT_EQ(scratch::ReadFile("dst\\existing.txt"), "new") << "CREATE_ALWAYS empties the file first";
    ASSERT_TRUE(MoveFileExA("dst\\existing.txt", "src\\file.txt", MOVEFILE_REPLACE_EXISTING | MOVEFILE_WRITE_THROUGH));
    EXPECT_EQ(scratch::ReadFile("src\\file.txt"), "new");
    EXPECT_FALSE(scratch::Exists("dst\\existing.txt"));
    SetLastError(kUntouched);
    EXPECT_FALSE(MoveFileExA("src\\file.txt", "dst\\folder", MOVEFILE_REPLACE_EXISTING));
    EXPECT_EQ(GetLastError(), static_cast<DWORD>(ERROR_ACCESS_DENIED));
    SetLastError(kUntouched);
    EXPECT_FALSE(RemoveDirectoryA("src"));
    EXPECT_EQ(GetLastError(), static_cast<DWORD>(ERROR_DIR_NOT_EMPTY));
    EXPECT_TRUE(RemoveDirectoryA("dst\\folder"));
    EXPECT_FALSE(scratch::Exists("dst\\folder"));
}

TEST_F(FileApiTest, AttributesAreKeptPerFileAndFolder) {
    EXPECT_EQ(GetFileAttributesA("dst\\folder"), static_cast<DWORD>(FILE_ATTRIBUTE_DIRECTORY));
    ASSERT_TRUE(SetFileAttributesA("dst\\folder", FILE_ATTRIBUTE_HIDDEN));
    EXPECT_EQ(GetFileAttributesA("dst\\folder"), static_cast<DWORD>(FILE_ATTRIBUTE_DIRECTORY | FILE_ATTRIBUTE_HIDDEN));
    ASSERT_TRUE(SetFileAttributesA("dst\\folder", FILE_ATTRIBUTE_NORMAL));
    EXPECT_EQ(GetFileAttributesA("dst\\folder"), static_cast<DWORD>(FILE_ATTRIBUTE_DIRECTORY));
    // 0, like FILE_ATTRIBUTE_NORMAL, clears the flags (Wine reports the
    // archive flag on every file, so only read-only is compared).
    for (DWORD cleared : {DWORD(0), DWORD(FILE_ATTRIBUTE_NORMAL)}) {
        ASSERT_TRUE(SetFileAttributesA("dst\\existing.txt", FILE_ATTRIBUTE_READONLY));
        ASSERT_TRUE(SetFileAttributesA("dst\\existing.txt", cleared));
        EXPECT_EQ(GetFileAttributesA("dst\\existing.txt") & FILE_ATTRIBUTE_READONLY, 0u) << cleared;
    }
    SetLastError(kUntouched);
    EXPECT_EQ(GetFileAttributesA("dst\\missing.txt"), INVALID_FILE_ATTRIBUTES);
    EXPECT_EQ(GetLastError(), static_cast<DWORD>(ERROR_FILE_NOT_FOUND));
    SetLastError(kUntouched);
    EXPECT_EQ(GetFileAttributesA("nowhere\\missing.txt"), INVALID_FILE_ATTRIBUTES);
    EXPECT_EQ(GetLastError(), static_cast<DWORD>(ERROR_PATH_NOT_FOUND));
}

TEST_F(FileApiTest, AttributesFindNamesLongerThanOpenFileCanHold) {
    // OpenFile keeps at most 128 characters of a path; existence tests of
    // longer names rely on GetFileAttributesA instead.
    const std::string folder = std::string(60, 'd') + "\\" + std::string(60, 'e');
    const std::string backup = folder + "\\java.policy.ocf-bak";
    ASSERT_GT(backup.size(), 128u);
    scratch::MakeFile(backup, "kept");
    DWORD attributes = GetFileAttributesA(backup.c_str());
    EXPECT_NE(attributes, INVALID_FILE_ATTRIBUTES);
    EXPECT_EQ(attributes & FILE_ATTRIBUTE_DIRECTORY, 0u);
    EXPECT_EQ(GetFileAttributesA(folder.c_str()), static_cast<DWORD>(FILE_ATTRIBUTE_DIRECTORY));
    SetLastError(kUntouched);
    EXPECT_EQ(GetFileAttributesA((folder + "\\java.policy.ocf-bak2").c_str()), INVALID_FILE_ATTRIBUTES);
    EXPECT_EQ(GetLastError(), static_cast<DWORD>(ERROR_FILE_NOT_FOUND));
}

TEST_F(FileApiTest, PathsIgnoreLetterCaseAndCollapseDots) {
    scratch::MakeFile("Zażółć\\Gęślą.TXT", "jaźń");
    EXPECT_NE(GetFileAttributesA("ZAŻÓŁĆ\\gęślą.txt"), INVALID_FILE_ATTRIBUTES);
    EXPECT_NE(GetFileAttributesA("src\\..\\ZAŻÓŁĆ\\.\\GĘŚLĄ.txt"), INVALID_FILE_ATTRIBUTES);
    EXPECT_NE(GetFileAttributesA("SRC/FILE.TXT"), INVALID_FILE_ATTRIBUTES) << "the platform takes a slash too";
    ASSERT_TRUE(CopyFileA("src\\file.txt", "ZAŻÓŁĆ\\GĘŚLĄ.txt", FALSE));
    EXPECT_EQ(scratch::ReadFile("Zażółć\\Gęślą.TXT"), "content") << "the existing file is replaced, not a twin made";
}

TEST_F(FileApiTest, CreateDirectoryReportsWhatIsAlreadyThere) {
    struct Case {
        const char *name;
        const char *path;
        DWORD error;
    } cases[] = {
        {"new folder", "dst\\new", 0},
        {"existing folder", "dst\\folder", ERROR_ALREADY_EXISTS},
        {"existing file", "dst\\existing.txt", ERROR_ALREADY_EXISTS},
        {"missing parent", "nowhere\\new", ERROR_PATH_NOT_FOUND},
    };
    for (const Case &c : cases) {
        SetLastError(kUntouched);
        EXPECT_EQ(CreateDirectoryA(c.path, nullptr) != FALSE, c.error == 0) << c.name;
        if (c.error) {
            EXPECT_EQ(GetLastError(), c.error) << c.name;
        }
    }
    EXPECT_EQ(GetFileAttributesA("dst\\new"), static_cast<DWORD>(FILE_ATTRIBUTE_DIRECTORY));
}

// Names a search returns, in order, until it ends; and the error it ended with.
std::string SearchNames(const char *pattern, DWORD *endError) {
    WIN32_FIND_DATAA data;
    std::string names;
    SetLastError(kUntouched);
    HANDLE search = FindFirstFileA(pattern, &data);
    if (search == INVALID_HANDLE_VALUE) {
        *endError = GetLastError();
        return "(none)";
    }
    do names += std::string(data.cFileName) + ((data.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY) ? "/ " : " ");
    while (FindNextFileA(search, &data));
    *endError = GetLastError();
    FindClose(search);
    return names;
}

TEST_F(FileApiTest, SearchListsDotsFirstThenNamesWithoutRegardToCase) {
    scratch::MakeFile("list\\b.txt", "");
    scratch::MakeFile("list\\A.txt", "");
    scratch::MakeFile("list\\c.dat", "");
    scratch::MakeDirs("list\\Sub");
    scratch::MakeDirs("empty");
    struct Case {
        const char *pattern;
        const char *names;
        DWORD endError;
    } cases[] = {
        {"list\\*", "./ ../ A.txt b.txt c.dat Sub/ ", ERROR_NO_MORE_FILES},
        {"list\\*.*", "./ ../ A.txt b.txt c.dat Sub/ ", ERROR_NO_MORE_FILES},
        {"LIST\\?.TXT", "A.txt b.txt ", ERROR_NO_MORE_FILES},
        {"empty\\*", "./ ../ ", ERROR_NO_MORE_FILES},
        {"empty\\x*", "(none)", ERROR_FILE_NOT_FOUND},
        {"nowhere\\*", "(none)", ERROR_PATH_NOT_FOUND},
    };
    for (const Case &c : cases) {
        DWORD endError = 0;
        EXPECT_EQ(SearchNames(c.pattern, &endError), c.names) << c.pattern;
        EXPECT_EQ(endError, c.endError) << c.pattern;
    }
}

TEST_F(FileApiTest, CurrentDirectoryFollowsRelativeChanges) {
    char before[MAX_PATH + 1];
    ASSERT_GT(GetCurrentDirectoryA(sizeof before, before), 0u);
    SetLastError(kUntouched);
    EXPECT_FALSE(SetCurrentDirectoryA("missing"));
    EXPECT_EQ(GetLastError(), static_cast<DWORD>(ERROR_FILE_NOT_FOUND));
    SetLastError(kUntouched);
    EXPECT_FALSE(SetCurrentDirectoryA("dst\\existing.txt"));
    EXPECT_EQ(GetLastError(), static_cast<DWORD>(ERROR_DIRECTORY));
    ASSERT_TRUE(SetCurrentDirectoryA("DST"));
    EXPECT_NE(GetFileAttributesA("existing.txt"), INVALID_FILE_ATTRIBUTES);
    ASSERT_TRUE(SetCurrentDirectoryA(".."));
    char after[MAX_PATH + 1];
    ASSERT_GT(GetCurrentDirectoryA(sizeof after, after), 0u);
    EXPECT_STREQ(after, before);
}

TEST_F(FileApiTest, DirectoryQueriesReportTheSizeNeededWhenTooSmall) {
    char buffer[MAX_PATH + 1];
    UINT length = GetSystemDirectoryA(buffer, sizeof buffer);
    ASSERT_GT(length, 0u);
    ASSERT_LT(length, sizeof buffer);
    EXPECT_EQ(std::strlen(buffer), length);
    char small[4] = "###";
    EXPECT_EQ(GetSystemDirectoryA(small, sizeof small), length + 1);
    EXPECT_EQ(GetWindowsDirectoryA(small, sizeof small), std::strlen("C:\\windows") + 1);
}

TEST_F(FileApiTest, EnvironmentVariablesIgnoreCaseAndReportTheSizeNeeded) {
    ASSERT_TRUE(SetEnvironmentVariableA("InstallerTestHome", "C:\\home"));
    char buffer[MAX_PATH + 1];
    EXPECT_EQ(GetEnvironmentVariableA("INSTALLERTESTHOME", buffer, sizeof buffer), 7u);
    EXPECT_STREQ(buffer, "C:\\home");
    char small[4] = "###";
    EXPECT_EQ(GetEnvironmentVariableA("installertesthome", small, sizeof small), 8u);
    ASSERT_TRUE(SetEnvironmentVariableA("InstallerTestHome", nullptr));
    SetLastError(kUntouched);
    EXPECT_EQ(GetEnvironmentVariableA("InstallerTestHome", buffer, sizeof buffer), 0u);
    EXPECT_EQ(GetLastError(), static_cast<DWORD>(ERROR_ENVVAR_NOT_FOUND));
}

} // namespace
