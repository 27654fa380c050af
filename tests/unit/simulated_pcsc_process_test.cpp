// What the simulated machine adds to the library, memory and process calls:
// a scripted smart-card service, counted blocks and modules, and recorded
// program starts that a test can make fail.
#include <cstring>
#include <string>

#include "platform/sim/sim_machine.h"
#include "support/reader_names.h"
#include "support/scratch_machine.h"

namespace {

const DWORD kUntouched = 0xdeadbeef;
const DWORD kErrorCallNotImplemented = 120;

typedef LONG(WINAPI *ListReadersFunction)(ULONG_PTR context, LPCSTR groups, LPSTR readers, LPDWORD readersLength);

class SimulatedPcscProcessTest : public ScratchTest {
  protected:
    void TearDown() override {
        if (library) FreeLibrary(library);
        EXPECT_EQ(sim::OpenHandles(), 0);
        ScratchTest::TearDown();
    }
    ListReadersFunction LoadListReaders() {
        library = LoadLibraryA("winscard.dll");
        FARPROC procedure = library ? GetProcAddress(library, "SCardListReadersA") : nullptr;
        return reinterpret_cast<ListReadersFunction>(reinterpret_cast<void (*)()>(procedure));
    }
    HMODULE library = nullptr;
};

TEST_F(SimulatedPcscProcessTest, ServiceAnswersFromItsScript) {
    const std::string list = ReaderNames({"ACME 0", "GEMPLUS 1"});
    const DWORD listLength = static_cast<DWORD>(list.size());
    struct Case {
        const char *name;
        void (*change)(sim::PcscService &);
        LONG sizeResult;
        DWORD sizeLength; // reported by the size query
        DWORD bufferSize; // given to the fetch
        LONG fetchResult;
        DWORD fetchLength; // reported by the fetch
    } cases[] = {
        {"as listed", [](sim::PcscService &) {}, SCARD_S_SUCCESS, listLength, listLength, SCARD_S_SUCCESS, listLength},
        {"buffer too small", [](sim::PcscService &) {}, SCARD_S_SUCCESS, listLength, 5, SCARD_E_INSUFFICIENT_BUFFER,
         listLength},
        {"size query fails", [](sim::PcscService &s) { s.sizeQueryResult = SCARD_E_NO_SERVICE; }, SCARD_E_NO_SERVICE,
         kUntouched, listLength, SCARD_S_SUCCESS, listLength},
        {"fetch fails", [](sim::PcscService &s) { s.fetchResult = SCARD_E_NO_SERVICE; }, SCARD_S_SUCCESS, listLength,
         listLength, SCARD_E_NO_SERVICE, listLength},
        {"size misreported", [](sim::PcscService &s) { s.sizeReported = 3; }, SCARD_S_SUCCESS, 3, listLength,
         SCARD_S_SUCCESS, listLength},
        {"fetch misreported", [](sim::PcscService &s) { s.fetchReported = 0xFFFFFFFFu; }, SCARD_S_SUCCESS, listLength,
         listLength, SCARD_S_SUCCESS, 0xFFFFFFFFu},
    };
    for (const Case &c : cases) {
        sim::PcscService service;
        service.readerList = list;
        c.change(service);
        sim::SetPcscService(service);
        ListReadersFunction listReaders = LoadListReaders();
        ASSERT_NE(listReaders, nullptr);

        DWORD length = kUntouched;
        EXPECT_EQ(listReaders(0, nullptr, nullptr, &length), c.sizeResult) << c.name;
        EXPECT_EQ(length, c.sizeLength) << c.name;

        std::string buffer(c.bufferSize + 4, '#');
        length = c.bufferSize;
        EXPECT_EQ(listReaders(0, nullptr, &buffer[0], &length), c.fetchResult) << c.name;
        if (c.fetchResult == SCARD_S_SUCCESS || c.fetchResult == SCARD_E_INSUFFICIENT_BUFFER) {
            EXPECT_EQ(length, c.fetchLength) << c.name;
        }
        if (c.fetchResult == SCARD_S_SUCCESS) {
            EXPECT_EQ(buffer.substr(0, list.size()), list) << c.name;
        }
        EXPECT_EQ(buffer.find_first_not_of('#', c.fetchResult == SCARD_S_SUCCESS ? list.size() : 0), std::string::npos)
            << c.name << ": nothing written where it was not asked for";
        EXPECT_TRUE(FreeLibrary(library));
        library = nullptr;
    }
}

TEST_F(SimulatedPcscProcessTest, ServiceRecordsEveryQuery) {
    ListReadersFunction listReaders = LoadListReaders();
    DWORD length = 9;
    char buffer[9];
    EXPECT_EQ(listReaders(0x1234, "SCard$DefaultReaders\0", buffer, &length), SCARD_E_NO_READERS_AVAILABLE);
    EXPECT_EQ(listReaders(0, nullptr, nullptr, nullptr), static_cast<LONG>(0x80100004)) << "no length";
    ASSERT_EQ(sim::ReaderQueries().size(), 2u);
    const sim::ReaderQuery &query = sim::ReaderQueries()[0];
    EXPECT_EQ(query.context, 0x1234u);
    EXPECT_FALSE(query.allGroups);
    EXPECT_TRUE(query.withBuffer);
    EXPECT_EQ(query.lengthIn, 9u);
}

TEST_F(SimulatedPcscProcessTest, MissingLibraryOrProcedureFailsLikeWindows) {
    sim::PcscService service;
    service.listReadersPresent = false;
    sim::SetPcscService(service);
    library = LoadLibraryA("C:\\Windows\\System32\\WinSCard.dll");
    ASSERT_NE(library, nullptr) << "found by its file name";
    SetLastError(kUntouched);
    EXPECT_EQ(GetProcAddress(library, "SCardListReadersA"), nullptr);
    EXPECT_EQ(GetLastError(), static_cast<DWORD>(ERROR_PROC_NOT_FOUND));
    EXPECT_TRUE(FreeLibrary(library));
    library = nullptr;

    service.libraryPresent = false;
    sim::SetPcscService(service);
    SetLastError(kUntouched);
    EXPECT_EQ(LoadLibraryA("winscard.dll"), nullptr);
    EXPECT_EQ(GetLastError(), static_cast<DWORD>(ERROR_MOD_NOT_FOUND));
}

TEST_F(SimulatedPcscProcessTest, LibraryStaysLoadedUntilEveryLoadIsFreed) {
    HMODULE first = LoadLibraryA("winscard.dll");
    HMODULE second = LoadLibraryA("winscard.dll");
    EXPECT_EQ(sim::OpenHandles(sim::HandleKind::Library), 1);
    EXPECT_TRUE(FreeLibrary(first));
    EXPECT_EQ(sim::OpenHandles(sim::HandleKind::Library), 1);
    SetLastError(kUntouched);
    EXPECT_EQ(GetProcAddress(nullptr, "SCardListReadersA"), nullptr) << "the executable exports nothing";
    EXPECT_EQ(GetLastError(), static_cast<DWORD>(ERROR_PROC_NOT_FOUND));
    EXPECT_TRUE(FreeLibrary(second));
    EXPECT_EQ(sim::OpenHandles(sim::HandleKind::Library), 0);
    SetLastError(kUntouched);
    EXPECT_FALSE(FreeLibrary(second));
    EXPECT_EQ(GetLastError(), static_cast<DWORD>(ERROR_MOD_NOT_FOUND));
    SetLastError(kUntouched);
    EXPECT_EQ(GetProcAddress(second, "SCardListReadersA"), nullptr) << "an unloaded module";
    EXPECT_EQ(GetLastError(), static_cast<DWORD>(ERROR_MOD_NOT_FOUND));
}

TEST_F(SimulatedPcscProcessTest, BlocksAreCountedAndFreedOnce) {
    HGLOBAL block = GlobalAlloc(GMEM_FIXED, 8);
    ASSERT_NE(block, nullptr);
    EXPECT_EQ(sim::OpenHandles(sim::HandleKind::Block), 1);
    EXPECT_EQ(GlobalFree(block), nullptr);
    SetLastError(kUntouched);
    EXPECT_EQ(GlobalFree(block), block) << "a block freed twice";
    EXPECT_EQ(GetLastError(), static_cast<DWORD>(ERROR_INVALID_HANDLE));

    const UINT kMovable = 0x0002;
    SetLastError(kUntouched);
    EXPECT_EQ(GlobalAlloc(kMovable, 8), nullptr) << "not modelled";
    EXPECT_EQ(GetLastError(), kErrorCallNotImplemented);

    sim::RefuseMemoryBlocks();
    SetLastError(kUntouched);
    EXPECT_EQ(GlobalAlloc(GMEM_FIXED, 8), nullptr);
    EXPECT_EQ(GetLastError(), static_cast<DWORD>(ERROR_NOT_ENOUGH_MEMORY));
}

TEST_F(SimulatedPcscProcessTest, BlockLeftOpenIsCountedAndReleasedByReset) {
    ASSERT_NE(GlobalAlloc(GMEM_FIXED, 8), nullptr);
    EXPECT_EQ(sim::OpenHandles(sim::HandleKind::Block), 1);
    scratch::Stop();
    scratch::Start(); // a fresh machine frees it, so a failed test leaks nothing
    EXPECT_EQ(sim::OpenHandles(sim::HandleKind::Block), 0);
}

TEST_F(SimulatedPcscProcessTest, ProgramStartsAreRecordedAndCanBeMadeToFail) {
    scratch::MakeFile("Drivers\\setup.exe", "MZ");
    STARTUPINFOA startup = {};
    startup.cb = sizeof startup;
    startup.dwFlags = 1;
    PROCESS_INFORMATION process = {};
    char commandLine[] = "setup.exe /quiet";
    ASSERT_TRUE(CreateProcessA("Drivers\\setup.exe", commandLine, nullptr, nullptr, TRUE, 0x10, nullptr, "Drivers",
                               &startup, &process));
    EXPECT_EQ(sim::OpenHandles(sim::HandleKind::Process), 1);
    EXPECT_EQ(sim::OpenHandles(sim::HandleKind::Thread), 1);
    EXPECT_TRUE(CloseHandle(process.hProcess));
    EXPECT_TRUE(CloseHandle(process.hThread));
    SetLastError(kUntouched);
    EXPECT_FALSE(CloseHandle(process.hThread)) << "closed twice";
    EXPECT_EQ(GetLastError(), static_cast<DWORD>(ERROR_INVALID_HANDLE));

    ASSERT_EQ(sim::ProcessStarts().size(), 1u);
    const sim::ProcessStart &start = sim::ProcessStarts()[0];
    EXPECT_EQ(start.applicationName, std::string("Drivers\\setup.exe"));
    EXPECT_EQ(start.commandLine, std::string("setup.exe /quiet"));
    EXPECT_EQ(start.inheritHandles, TRUE);
    EXPECT_EQ(start.creationFlags, 0x10u);
    EXPECT_EQ(start.currentDirectory, std::string("Drivers"));
    EXPECT_EQ(start.runsIn, "C:\\work\\Drivers");
    EXPECT_EQ(start.startupInfoSize, 68u);
    EXPECT_FALSE(start.startupInfoRestZero);
    EXPECT_TRUE(start.started);

    struct Case {
        const char *name;
        const char *program;
        const char *folder;
        DWORD error;
    } cases[] = {
        {"scripted failure of an existing program", "Drivers\\setup.exe", nullptr, ERROR_ACCESS_DENIED},
        {"missing start folder", "Drivers\\setup.exe", "nowhere", ERROR_DIRECTORY},
        {"program found only on the command line", nullptr, nullptr, kErrorCallNotImplemented},
    };
    sim::FailProcessStarts(ERROR_ACCESS_DENIED);
    for (const Case &c : cases) {
        if (c.error != ERROR_ACCESS_DENIED) sim::FailProcessStarts(0);
        SetLastError(kUntouched);
        EXPECT_FALSE(
            CreateProcessA(c.program, commandLine, nullptr, nullptr, FALSE, 0, nullptr, c.folder, &startup, &process))
            << c.name;
        EXPECT_EQ(GetLastError(), c.error) << c.name;
    }
    EXPECT_FALSE(sim::ProcessStarts()[1].started);
}

} // namespace
