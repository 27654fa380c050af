#include <climits>
#include <cstring>
#include <optional>
#include <string>
#include <vector>

#include "fileops/join_path.h"
#include "steps/install_steps.h"
#include "platform/sim/sim_machine.h"
#include "support/reader_names.h"
#include "support/scratch_machine.h"

namespace {

const char kDistributionFolder[] = "C:\\work";
const char kDriversFolder[] = "C:\\work\\Drivers";
const char kFamilyPresent[] = "Wykryto już zainstalowany w systemie czytnik rodziny GEMPLUS";
const char kInvalidReader[] = "Nieprawidłowy typ czytnika";
const char *const kDriverFiles[] = {"twin.bat", "410.exe", "twin64.bat", "twin8.bat", "twin8_64.bat"};

std::string CurrentDirectory() {
    char path[MAX_PATH + 1] = "";
    GetCurrentDirectoryA(sizeof path, path);
    return path;
}

sim::PcscService Service(const std::string &readerList) {
    sim::PcscService service;
    service.readerList = readerList;
    return service;
}

void ListReaders(const std::string &readerList) { sim::SetPcscService(Service(readerList)); }

class InstallReaderDriverTest : public ScratchTest {
  protected:
    void SetUp() override {
        ScratchTest::SetUp();
        for (const char *file : kDriverFiles) scratch::MakeFile(std::string("Drivers\\") + file, "@echo off\r\n");
        std::memset(message, '#', sizeof message);
    }
    void TearDown() override {
        EXPECT_EQ(sim::OpenHandles(), 0) << "library, block, process or thread left open";
        EXPECT_EQ(CurrentDirectory(), kDistributionFolder);
        ScratchTest::TearDown();
    }
    // A fresh machine for the next case of a table.
    void Restart() {
        TearDown();
        SetUp();
    }
    StepResult Run(int driverCode) { return InstallReaderDriver(driverCode, message, sizeof message); }
    bool MessageUntouched() const {
        for (char c : message)
            if (c != '#') return false;
        return true;
    }
    // A fixed message, and nothing but NULs behind it up to the end of the buffer.
    void ExpectMessage(const char *text, const char *context) {
        EXPECT_STREQ(message, text) << context;
        for (size_t i = std::strlen(text); i < sizeof message; ++i)
            ASSERT_EQ(message[i], '\0') << context << ": the rest of the buffer is cleared";
    }
    char message[kStepMessageCapacity];
};

struct ServiceCase {
    const char *name;
    sim::PcscService service;
    bool familyListed; // true: warning; false: twin.bat is started
};

std::vector<ServiceCase> ServiceCases() {
    const std::string withFamily = ReaderNames({"ACME 0", "GemPlus GemPC410 0"});
    const std::string withoutFamily = ReaderNames({"ACME 0", "OMNIKEY CardMan 3121 0"});
    std::vector<ServiceCase> cases = {
        {"upper case", Service(ReaderNames({"GEMPLUS USB Reader 0"})), true},
        {"lower case", Service(ReaderNames({"gemplus usb reader 0"})), true},
        {"mixed case in the second name", Service(withFamily), true},
        {"doubled first letter", Service(ReaderNames({"GGEMPLUS"})), true},
        {"partial match before the key", Service(ReaderNames({"GEMPGEMPLUS"})), true},
        {"high bytes beside the key", Service(ReaderNames({"Czytnik \xB3GEMPLUS\xE6"})), true},
        {"other readers only", Service(withoutFamily), false},
        {"key split across a separator", Service(ReaderNames({"Reader GEMPL", "US Reader"})), false},
        {"last name ends in GEMPLU", Service(ReaderNames({"ACME 0", "Reader GEMPLU"})), false},
        {"key letters with bit 0x80 set", Service(ReaderNames({"\xC7\xC5\xCD\xD0\xCC\xD5\xD3"})), false},
        {"no readers", Service(""), false},
    };
    ServiceCase noLibrary{"no PC/SC library", Service(withFamily), false};
    noLibrary.service.libraryPresent = false;
    ServiceCase noProcedure{"library without SCardListReadersA", Service(withFamily), false};
    noProcedure.service.listReadersPresent = false;
    ServiceCase noService{"size query fails: no service", Service(withFamily), false};
    noService.service.sizeQueryResult = SCARD_E_NO_SERVICE;
    ServiceCase fetchFails{"fetch fails", Service(withFamily), false};
    fetchFails.service.fetchResult = SCARD_E_NO_SERVICE;
    ServiceCase sizeTooSmall{"size query reports less than the list", Service(withFamily), false};
    sizeTooSmall.service.sizeReported = 8; // the fetch then finds the block too small
    ServiceCase sizeLarger{"size query reports more than the list", Service(withFamily), true};
    sizeLarger.service.sizeReported = static_cast<DWORD>(withFamily.size() + 100);
    ServiceCase fetchPastBlock{"fetch reports more than the block", Service(withoutFamily), false};
    fetchPastBlock.service.fetchReported = 0xFFFFFFFFu;
    ServiceCase fetchPastBlockFamily{"fetch reports more than the block, key inside", Service(withFamily), true};
    fetchPastBlockFamily.service.fetchReported = 0xFFFFFFFFu;
    ServiceCase fetchShort{"fetch reports less than it wrote, key behind", Service(withFamily), false};
    fetchShort.service.fetchReported = 7;
    for (const ServiceCase &c : {noLibrary, noProcedure, noService, fetchFails, sizeTooSmall, sizeLarger,
                                 fetchPastBlock, fetchPastBlockFamily, fetchShort})
        cases.push_back(c);
    return cases;
}

TEST_F(InstallReaderDriverTest, FamilyReaderIsAWarningAndAnythingElseStartsTheDriver) {
    for (const ServiceCase &c : ServiceCases()) {
        Restart();
        sim::SetPcscService(c.service);
        if (c.familyListed) {
            EXPECT_EQ(Run(0), kStepWarning) << c.name;
            ExpectMessage(kFamilyPresent, c.name);
            EXPECT_TRUE(sim::ProcessStarts().empty()) << c.name;
        } else {
            EXPECT_EQ(Run(0), kStepOk) << c.name;
            EXPECT_TRUE(MessageUntouched()) << c.name;
            ASSERT_EQ(sim::ProcessStarts().size(), 1u) << c.name;
            EXPECT_EQ(sim::ProcessStarts()[0].applicationName, std::string("twin.bat")) << c.name;
        }
        EXPECT_EQ(sim::OpenHandles(), 0) << c.name;
        EXPECT_EQ(CurrentDirectory(), kDistributionFolder) << c.name;
    }
}

// Never by bare name: Windows would look beside the program first.
TEST_F(InstallReaderDriverTest, LibraryIsLoadedFromTheSystemDirectoryOnly) {
    const std::string fits = "C:\\" + std::string(kLongestPath - 3 - std::strlen("\\winscard.dll"), 's');
    struct Case {
        const char *name;
        std::string systemDirectory; // empty: the query fails
        std::vector<std::string> loads;
    } cases[] = {
        {"system directory", "C:\\Windows\\System32", {"C:\\Windows\\System32\\winscard.dll"}},
        {"query fails", "", {}},
        {"path of 260 characters", fits, {fits + "\\winscard.dll"}},
        {"path of 261 characters", fits + "s", {}},
    };
    for (const Case &c : cases) {
        Restart();
        sim::SetSystemDirectory(c.systemDirectory.empty() ? nullptr : c.systemDirectory.c_str());
        ListReaders(ReaderNames({"GEMPLUS 0"}));
        EXPECT_EQ(Run(0), c.loads.empty() ? kStepOk : kStepWarning) << c.name;
        EXPECT_EQ(sim::LibraryLoads(), c.loads) << c.name;
    }
}

// An unattended run waits for the driver installer: nothing else would tell
// of its failure. The dialog's run leaves it running on its own.
TEST_F(InstallReaderDriverTest, AwaitedInstallerDecidesTheStep) {
    struct Case {
        bool await;
        std::optional<DWORD> exitCode; // empty: never ends
        StepResult result;
        const char *message; // nullptr: untouched
        std::vector<DWORD> waits;
    } cases[] = {
        {false, std::nullopt, kStepOk, nullptr, {}},
        {true, 0, kStepOk, nullptr, {600000}},
        {true, 1, kStepError, "Instalator sterownika Drivers\\twin.bat zakończył się błędem (kod 1)", {600000}},
        {true, std::nullopt, kStepError, "Instalator sterownika Drivers\\twin.bat nie zakończył pracy w ciągu 10 minut",
         {600000}},
    };
    for (const Case &c : cases) {
        Restart();
        sim::SetProcessExitCode(c.exitCode);
        AwaitDriverInstaller(c.await);
        StepResult result = Run(0);
        AwaitDriverInstaller(false);
        std::string context = std::to_string(c.await) + "/" + std::to_string(c.exitCode.value_or(259));
        EXPECT_EQ(result, c.result) << context;
        if (c.message) {
            EXPECT_STREQ(message, c.message) << context;
        } else {
            EXPECT_TRUE(MessageUntouched()) << context;
        }
        EXPECT_EQ(sim::ProcessWaits(), c.waits) << context;
        EXPECT_EQ(sim::OpenHandles(), 0) << context;
    }
}

TEST_F(InstallReaderDriverTest, FamilyReaderNeedsNoDriversFolder) {
    scratch::Stop();
    scratch::Start(); // no Drivers folder: entering it would fail
    ListReaders(ReaderNames({"GEMPLUS 0"}));
    EXPECT_EQ(Run(0), kStepWarning);
    EXPECT_STREQ(message, kFamilyPresent);
}

TEST_F(InstallReaderDriverTest, AsksForEveryReaderWithoutContextThenFetchesIntoABlockOfThatSize) {
    const std::string list = ReaderNames({"ACME 0", "OMNIKEY 1"});
    ListReaders(list);
    sim::ReaderQuery expected[] = {{0, true, false, 0}, {0, true, true, static_cast<DWORD>(list.size())}};
    EXPECT_EQ(Run(0), kStepOk);
    ASSERT_EQ(sim::ReaderQueries().size(), 2u);
    for (size_t i = 0; i < 2; ++i) {
        const sim::ReaderQuery &query = sim::ReaderQueries()[i];
        EXPECT_EQ(query.context, expected[i].context) << i;
        EXPECT_EQ(query.allGroups, expected[i].allGroups) << i;
        EXPECT_EQ(query.withBuffer, expected[i].withBuffer) << i;
        if (query.withBuffer) {
            EXPECT_EQ(query.lengthIn, expected[i].lengthIn);
        }
    }
}

TEST_F(InstallReaderDriverTest, RefusedBlockSkipsTheFetchAndStartsTheDriver) {
    ListReaders(ReaderNames({"GEMPLUS 0"}));
    sim::RefuseMemoryBlocks();
    EXPECT_EQ(Run(0), kStepOk);
    EXPECT_EQ(sim::ReaderQueries().size(), 1u) << "only the size query";
    EXPECT_EQ(sim::ProcessStarts().size(), 1u);
}

TEST_F(InstallReaderDriverTest, DriverCodeSelectsTheInstallerStartedInDrivers) {
    struct Case {
        int code;
        const char *file; // null: the code has no driver
    } cases[] = {{0, "twin.bat"},     {1, "410.exe"}, {2, "twin64.bat"}, {3, nullptr},       {4, "twin8.bat"},
                 {5, "twin8_64.bat"}, {6, nullptr},   {-1, nullptr},     {INT_MIN, nullptr}, {INT_MAX, nullptr}};
    for (const Case &c : cases) {
        Restart();
        std::string context = "code " + std::to_string(c.code);
        if (!c.file) {
            EXPECT_EQ(Run(c.code), kStepError) << context;
            ExpectMessage(kInvalidReader, context.c_str());
            EXPECT_TRUE(sim::ProcessStarts().empty()) << context;
            EXPECT_EQ(CurrentDirectory(), kDistributionFolder) << context;
            continue;
        }
        EXPECT_EQ(Run(c.code), kStepOk) << context;
        EXPECT_TRUE(MessageUntouched()) << context;
        ASSERT_EQ(sim::ProcessStarts().size(), 1u) << context;
        const sim::ProcessStart &start = sim::ProcessStarts()[0];
        EXPECT_EQ(start.applicationName, std::string(c.file)) << context;
        EXPECT_FALSE(start.commandLine.has_value()) << context;
        EXPECT_FALSE(start.processAttributes) << context;
        EXPECT_FALSE(start.threadAttributes) << context;
        EXPECT_EQ(start.inheritHandles, FALSE) << context;
        EXPECT_EQ(start.creationFlags, 0u) << context;
        EXPECT_FALSE(start.environment) << context;
        EXPECT_FALSE(start.currentDirectory.has_value()) << context << ": inherited";
        EXPECT_EQ(start.runsIn, kDriversFolder) << context;
        EXPECT_EQ(start.startupInfoSize, 68u) << context;
        EXPECT_TRUE(start.startupInfoRestZero) << context;
        EXPECT_TRUE(start.started) << context;
        EXPECT_EQ(CurrentDirectory(), kDistributionFolder) << context;
    }
}

TEST_F(InstallReaderDriverTest, MissingDriversFolderIsAnIncompleteInstaller) {
    for (bool folderIsAFile : {false, true}) {
        scratch::Stop();
        scratch::Start();
        if (folderIsAFile) scratch::MakeFile("Drivers", "");
        std::memset(message, '#', sizeof message);
        EXPECT_EQ(Run(0), kStepError) << folderIsAFile;
        ExpectMessage(kMessageIncompleteInstaller, "no Drivers folder");
        EXPECT_TRUE(sim::ProcessStarts().empty());
    }
}

TEST_F(InstallReaderDriverTest, FailedStartNamesTheDriverFile) {
    struct Case {
        const char *name;
        int code;
        void (*arrange)();
        const char *expected;
    } cases[] = {
        {"missing file", 5, [] { DeleteFileA("Drivers\\twin8_64.bat"); },
         "Błąd uruchomienia zewn. sterownika: Drivers\\twin8_64.bat"},
        {"file that will not start", 1, [] { sim::FailProcessStarts(ERROR_ACCESS_DENIED); },
         "Błąd uruchomienia zewn. sterownika: Drivers\\410.exe"},
    };
    for (const Case &c : cases) {
        Restart();
        c.arrange();
        EXPECT_EQ(Run(c.code), kStepError) << c.name;
        EXPECT_STREQ(message, c.expected) << c.name; // formatted: nothing promised behind the terminator
        ASSERT_EQ(sim::ProcessStarts().size(), 1u) << c.name;
        EXPECT_FALSE(sim::ProcessStarts()[0].started) << c.name;
        EXPECT_EQ(CurrentDirectory(), kDistributionFolder) << c.name;
    }
}

TEST_F(InstallReaderDriverTest, MessagesAreWindows1250AndCutToTheCapacity) {
    // "ł" is one byte, 0xB3, in Windows-1250.
    EXPECT_EQ(std::strlen(kInvalidReader), 26u);
    EXPECT_EQ(static_cast<unsigned char>(kInvalidReader[9]), 0xB3);

    DeleteFileA("Drivers\\twin.bat");
    char small[24];
    std::memset(small, '#', sizeof small);
    EXPECT_EQ(InstallReaderDriver(0, small, 12), kStepError);
    EXPECT_EQ(std::string(small), std::string("Błąd urucho"));
    EXPECT_EQ(small[12], '#') << "nothing written past the capacity";
}

TEST_F(InstallReaderDriverTest, NullMessageBufferGivesTheSameResults) {
    struct Case {
        const char *name;
        int code;
        void (*arrange)();
        StepResult expected;
    } cases[] = {
        {"family listed", 0, [] { ListReaders(ReaderNames({"GemPlus 0"})); }, kStepWarning},
        {"no Drivers folder", 0, [] { scratch::Stop(), scratch::Start(); }, kStepError},
        {"invalid code", 3, [] {}, kStepError},
        {"failed start", 4, [] { DeleteFileA("Drivers\\twin8.bat"); }, kStepError},
        {"started", 2, [] {}, kStepOk},
    };
    for (const Case &c : cases) {
        Restart();
        c.arrange();
        EXPECT_EQ(InstallReaderDriver(c.code, nullptr, kStepMessageCapacity), c.expected) << c.name;
        EXPECT_EQ(CurrentDirectory(), kDistributionFolder) << c.name;
    }
}

} // namespace
