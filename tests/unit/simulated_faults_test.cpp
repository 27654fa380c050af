// What the simulated machine adds to the file calls: faults a test cannot
// produce with files alone, and Windows behaviour that Wine does not show.
#include <string>

#include "platform/sim/sim_machine.h"
#include "support/scratch_machine.h"

namespace {

const DWORD kUntouched = 0xdeadbeef;

class SimulatedFaultsTest : public ScratchTest {};

TEST_F(SimulatedFaultsTest, HiddenOrSystemTargetIsReplacedOnlyByALikeSource) {
    struct Case {
        DWORD source, target;
        bool copied;
    } cases[] = {{FILE_ATTRIBUTE_NORMAL, FILE_ATTRIBUTE_HIDDEN, false},
                 {FILE_ATTRIBUTE_NORMAL, FILE_ATTRIBUTE_SYSTEM, false},
                 {FILE_ATTRIBUTE_HIDDEN, FILE_ATTRIBUTE_HIDDEN, true},
                 {FILE_ATTRIBUTE_HIDDEN | FILE_ATTRIBUTE_SYSTEM, FILE_ATTRIBUTE_SYSTEM, true}};
    for (const Case &c : cases) {
        scratch::MakeFile("a.txt", "a");
        scratch::MakeFile("b.txt", "b");
        SetFileAttributesA("a.txt", c.source);
        SetFileAttributesA("b.txt", c.target);
        SetLastError(kUntouched);
        EXPECT_EQ(CopyFileA("a.txt", "b.txt", FALSE) != FALSE, c.copied) << c.source << " onto " << c.target;
        if (!c.copied) {
            EXPECT_EQ(GetLastError(), static_cast<DWORD>(ERROR_ACCESS_DENIED));
        }
    }
}

TEST_F(SimulatedFaultsTest, SearchesFailAsInjected) {
    scratch::MakeFile("pkg\\a.txt", "");
    scratch::MakeFile("pkg\\b.txt", "");
    WIN32_FIND_DATAA data;

    sim::FailSearchStart("C:\\WORK\\PKG", ERROR_ACCESS_DENIED);
    SetLastError(kUntouched);
    EXPECT_EQ(FindFirstFileA("pkg\\*", &data), INVALID_HANDLE_VALUE);
    EXPECT_EQ(GetLastError(), static_cast<DWORD>(ERROR_ACCESS_DENIED));

    sim::FailSearchAfter("C:\\work\\pkg", 3, ERROR_NOT_READY);
    HANDLE search = FindFirstFileA("pkg\\*", &data);
    ASSERT_NE(search, INVALID_HANDLE_VALUE);
    EXPECT_TRUE(FindNextFileA(search, &data));
    EXPECT_TRUE(FindNextFileA(search, &data));
    EXPECT_STREQ(data.cFileName, "a.txt");
    EXPECT_FALSE(FindNextFileA(search, &data));
    EXPECT_EQ(GetLastError(), static_cast<DWORD>(ERROR_NOT_READY));
    EXPECT_EQ(sim::OpenHandles(sim::HandleKind::Search), 1);
    EXPECT_TRUE(FindClose(search));
    EXPECT_EQ(sim::OpenHandles(), 0);
}

TEST_F(SimulatedFaultsTest, FileIsTakenByAnotherProgramAfterTheInjectedOpens) {
    scratch::MakeFile("a.txt", "a");
    sim::LockFileAfterOpens("C:\\WORK\\a.txt", 2);
    HANDLE opened[3];
    for (HANDLE &file : opened)
        file =
            CreateFileA("a.txt", GENERIC_READ, FILE_SHARE_READ, nullptr, OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL, nullptr);
    EXPECT_EQ(opened[2], INVALID_HANDLE_VALUE);
    EXPECT_EQ(GetLastError(), static_cast<DWORD>(ERROR_SHARING_VIOLATION));
    for (HANDLE file : {opened[0], opened[1]}) EXPECT_TRUE(CloseHandle(file));
}

TEST_F(SimulatedFaultsTest, FolderCreationAndDirectoryQueriesFailAsInjected) {
    sim::FailCreateDirectory("C:\\work\\new", ERROR_ACCESS_DENIED);
    SetLastError(kUntouched);
    EXPECT_FALSE(CreateDirectoryA("new", nullptr));
    EXPECT_EQ(GetLastError(), static_cast<DWORD>(ERROR_ACCESS_DENIED));

    char buffer[MAX_PATH + 1];
    sim::SetSystemDirectory(nullptr);
    sim::SetWindowsDirectory(nullptr);
    EXPECT_EQ(GetSystemDirectoryA(buffer, sizeof buffer), 0u);
    EXPECT_EQ(GetWindowsDirectoryA(buffer, sizeof buffer), 0u);
    sim::SetSystemDirectory("D:\\System");
    EXPECT_EQ(GetSystemDirectoryA(buffer, sizeof buffer), 9u);
    EXPECT_STREQ(buffer, "D:\\System");
}

TEST_F(SimulatedFaultsTest, CopiesFailHalfWayAndTheMachineStopsAsInjected) {
    scratch::MakeFile("a.txt", "abcdefgh");
    scratch::MakeFile("b.txt", "old");
    sim::FailCopyHalfWay("C:\\WORK\\b.txt", ERROR_DISK_FULL);
    SetLastError(kUntouched);
    EXPECT_FALSE(CopyFileA("a.txt", "b.txt", FALSE));
    EXPECT_EQ(GetLastError(), static_cast<DWORD>(ERROR_DISK_FULL));
    EXPECT_EQ(scratch::ReadFile("b.txt"), "abcd");

    sim::StopChangesAfter(1);
    EXPECT_TRUE(DeleteFileA("b.txt")) << "the one change let through";
    SetLastError(kUntouched);
    EXPECT_FALSE(CopyFileA("a.txt", "c.txt", FALSE)) << "cut off";
    EXPECT_EQ(GetLastError(), static_cast<DWORD>(ERROR_NOT_READY));
    EXPECT_EQ(scratch::ReadFile("c.txt"), "abcd");
    EXPECT_FALSE(CopyFileA("a.txt", "d.txt", FALSE));
    EXPECT_FALSE(sim::Exists("C:\\work\\d.txt")) << "nothing changes once stopped";
    EXPECT_FALSE(DeleteFileA("a.txt"));
    EXPECT_FALSE(SetFileAttributesA("a.txt", FILE_ATTRIBUTE_READONLY));
    EXPECT_FALSE(CreateDirectoryA("e", nullptr));
    EXPECT_EQ(GetLastError(), static_cast<DWORD>(ERROR_NOT_READY));
    EXPECT_EQ(GetFileAttributesA("a.txt"), static_cast<DWORD>(FILE_ATTRIBUTE_ARCHIVE));
    EXPECT_FALSE(sim::Exists("C:\\work\\e"));
}

TEST_F(SimulatedFaultsTest, PathsLongerThanTheAnsiLimitAreRefused) {
    std::string folder(240, 'f');
    std::string name(19, 'n');
    scratch::MakeDirs(folder);
    SetLastError(kUntouched);
    EXPECT_FALSE(CreateDirectoryA((folder + "\\sub").c_str(), nullptr)) << "folders stop at 248 characters";
    EXPECT_EQ(GetLastError(), static_cast<DWORD>(ERROR_FILENAME_EXCED_RANGE));
    std::string path = "C:\\work\\" + folder + "\\" + name; // 268 characters
    SetLastError(kUntouched);
    EXPECT_EQ(GetFileAttributesA(path.c_str()), INVALID_FILE_ATTRIBUTES);
    EXPECT_EQ(GetLastError(), static_cast<DWORD>(ERROR_FILENAME_EXCED_RANGE));
}

TEST_F(SimulatedFaultsTest, OtherDrivesDoNotExist) {
    SetLastError(kUntouched);
    EXPECT_EQ(GetFileAttributesA("D:\\file.txt"), INVALID_FILE_ATTRIBUTES);
    EXPECT_EQ(GetLastError(), static_cast<DWORD>(ERROR_PATH_NOT_FOUND));
}

TEST_F(SimulatedFaultsTest, MessageBoxesAreRecordedAndAnsweredInOrder) {
    sim::QueueMessageBoxAnswers({IDRETRY, IDIGNORE});
    EXPECT_EQ(MessageBoxA(nullptr, "text", "caption", MB_ABORTRETRYIGNORE), IDRETRY);
    EXPECT_EQ(MessageBoxA(nullptr, "text", "caption", MB_ABORTRETRYIGNORE), IDIGNORE);
    EXPECT_EQ(MessageBoxA(nullptr, "text", "caption", MB_OK), 0) << "an unscripted box fails";
    ASSERT_EQ(sim::MessageBoxes().size(), 3u);
    EXPECT_EQ(sim::MessageBoxes()[2].flags, static_cast<UINT>(MB_OK));
}

} // namespace
