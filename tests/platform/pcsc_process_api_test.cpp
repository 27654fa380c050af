// How the library, memory and process calls behind the reader driver step
// behave, in the style of Wine's conformance tests. The same tests run against
// the simulated machine and, in the Windows build, against Windows itself
// (here: Wine); both have a smart-card service that knows no readers.
#include <cstring>

#include "support/scratch_machine.h"

namespace {

const DWORD kUntouched = 0xdeadbeef;

typedef LONG(WINAPI *ListReadersFunction)(ULONG_PTR context, LPCSTR groups, LPSTR readers, LPDWORD readersLength);

class PcscProcessApiTest : public ScratchTest {
  protected:
    void TearDown() override {
        EXPECT_EQ(scratch::OpenHandleCount(), 0);
        ScratchTest::TearDown();
    }
};

TEST_F(PcscProcessApiTest, LibraryLoadsOnceByNameAndExportsItsReaderQuery) {
    SetLastError(kUntouched);
    EXPECT_EQ(LoadLibraryA("no_such_library.dll"), nullptr);
    EXPECT_EQ(GetLastError(), static_cast<DWORD>(ERROR_MOD_NOT_FOUND));

    HMODULE library = LoadLibraryA("winscard.dll");
    ASSERT_NE(library, nullptr);
    HMODULE again = LoadLibraryA("WINSCARD");
    EXPECT_EQ(again, library) << "the same module, found without its extension";
    EXPECT_NE(GetProcAddress(library, "SCardListReadersA"), nullptr);
    SetLastError(kUntouched);
    EXPECT_EQ(GetProcAddress(library, "scardlistreadersa"), nullptr) << "procedure names keep their case";
    EXPECT_EQ(GetLastError(), static_cast<DWORD>(ERROR_PROC_NOT_FOUND));
    EXPECT_TRUE(FreeLibrary(again));
    EXPECT_TRUE(FreeLibrary(library));

    SetLastError(kUntouched);
    EXPECT_FALSE(FreeLibrary(nullptr));
    EXPECT_EQ(GetLastError(), static_cast<DWORD>(ERROR_INVALID_HANDLE));
}

TEST_F(PcscProcessApiTest, ReaderQueryWithoutReadersLeavesTheLengthAlone) {
    HMODULE library = LoadLibraryA("winscard.dll");
    ASSERT_NE(library, nullptr);
    FARPROC procedure = GetProcAddress(library, "SCardListReadersA");
    ASSERT_NE(procedure, nullptr);
    ListReadersFunction listReaders = reinterpret_cast<ListReadersFunction>(reinterpret_cast<void (*)()>(procedure));
    DWORD length = kUntouched;
    EXPECT_EQ(listReaders(0, nullptr, nullptr, &length), static_cast<LONG>(SCARD_E_NO_READERS_AVAILABLE));
    EXPECT_EQ(length, kUntouched);
    EXPECT_TRUE(FreeLibrary(library));
}

TEST_F(PcscProcessApiTest, FixedBlocksHoldTheirSizeAndFreeToNull) {
    for (SIZE_T size : {SIZE_T(0), SIZE_T(1), SIZE_T(4096)}) {
        HGLOBAL block = GlobalAlloc(GMEM_FIXED, size);
        ASSERT_NE(block, nullptr) << size;
        std::memset(block, 'x', size);
        EXPECT_EQ(GlobalFree(block), nullptr) << size;
    }
    // A 64-bit build (the windows64 preset, run by hand) has room for it.
#ifdef _WIN64
    GTEST_SKIP() << "the limit of a 32-bit process";
#endif
    SetLastError(kUntouched);
    EXPECT_EQ(GlobalAlloc(GMEM_FIXED, 0x80000000u), nullptr) << "more than a 32-bit process can hold";
    EXPECT_EQ(GetLastError(), static_cast<DWORD>(ERROR_NOT_ENOUGH_MEMORY));
}

TEST_F(PcscProcessApiTest, StartupRecordHasThe32BitLayout) {
#ifdef _WIN64
    GTEST_SKIP() << "a 64-bit build has the 64-bit layout";
#endif
    EXPECT_EQ(sizeof(STARTUPINFOA), 68u);
}

TEST_F(PcscProcessApiTest, ProgramStartsOnlyFromAnExistingFileNamedFromTheCurrentDirectory) {
    scratch::MakeFile("Drivers\\start.bat", "@exit 0\r\n");
    STARTUPINFOA startup = {};
    startup.cb = sizeof startup;
    PROCESS_INFORMATION process = {};
    struct Case {
        const char *name;
        const char *program;
        DWORD error; // 0: any error (a folder gives 6 under Wine; Windows is not known to agree)
    } cases[] = {
        {"missing file", "missing.bat", ERROR_FILE_NOT_FOUND},
        {"missing folder", "nowhere\\start.bat", ERROR_PATH_NOT_FOUND},
        {"bare name outside its folder: no search", "start.bat", ERROR_FILE_NOT_FOUND},
        {"a folder", "Drivers", 0},
    };
    for (const Case &c : cases) {
        SetLastError(kUntouched);
        EXPECT_FALSE(
            CreateProcessA(c.program, nullptr, nullptr, nullptr, FALSE, 0, nullptr, nullptr, &startup, &process))
            << c.name;
        if (c.error) {
            EXPECT_EQ(GetLastError(), c.error) << c.name;
        }
    }

    ASSERT_TRUE(SetCurrentDirectoryA("Drivers"));
    ASSERT_TRUE(CreateProcessA("start.bat", nullptr, nullptr, nullptr, FALSE, 0, nullptr, nullptr, &startup, &process));
    EXPECT_NE(process.dwProcessId, 0u);
    scratch::WaitForExit(process.hProcess);
    EXPECT_TRUE(CloseHandle(process.hThread));
    EXPECT_TRUE(CloseHandle(process.hProcess));
    ASSERT_TRUE(SetCurrentDirectoryA(".."));
}

} // namespace
