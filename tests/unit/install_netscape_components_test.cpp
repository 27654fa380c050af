#include <string>

#include "fileops/join_path.h"
#include "step_test.h"

namespace {

const char kBrowserKey[] = "HKEY_CURRENT_USER\\Software\\Netscape\\Netscape Navigator\\Main";
const char kBrowserRegistry[] = R"([HKEY_CURRENT_USER\Software\Netscape\Netscape Navigator\Main]
"Install Directory"="C:\\NS\\Browser"
)";
const char kClasses[] = "C:\\NS\\Browser\\Program\\java\\classes";
const char kBin[] = "C:\\NS\\Browser\\Program\\java\\bin";
const char kLibrary[] = "C:\\NS\\Browser\\Program\\java\\bin\\ocfpcsc1.dll";
const char kUsers[] = "C:\\NS\\Users";
const char kAborted[] = "Przerwa na życzenie użytkownika";
const char kNoBrowser[] = "Nie wykryto zainstalownej przeglądarki Netscape 4.x";
const char kNoProfile[] =
    "Nie skopiowano pliku opencard.properties do żadnego z profilów użytkowników przeglądarki Netscape";
#define SOME_PROFILES                                                                                                  \
    "Niepełna kopia pliku opencard.properties dla profilów użytkowników przeglądarki Netscape; kod operacji: "
const uint64_t kPackageTime = sim::FileTimeOf(2005, 3, 14, 12, 0, 0);

std::string InClasses(const char *name) { return std::string(kClasses) + "\\" + name; }
std::string Profile(const std::string &name) { return std::string(kUsers) + "\\" + name; }
std::string ProfileFile(const std::string &name) { return Profile(name) + "\\.opencard.properties"; }

// --- Layouts -------------------------------------------------------------------

void InstallDirectory(const std::string &bytes) {
    sim::SetRegistryValue(kBrowserKey, "Install Directory", REG_SZ, bytes);
}

void Package() {
    scratch::MakeFile("ns\\jars\\a.jar", "a");
    scratch::MakeFile("ns\\jars\\sub\\b.jar", "b");
    scratch::MakeFile("ns\\ocfpcsc1.dll", "dll");
    scratch::SetLastWriteTime("ns\\ocfpcsc1.dll", kPackageTime);
    scratch::MakeFile("ns\\opencard.properties", "props");
}

// The browser without its registry entry, with the given profiles.
void Browser(const std::vector<std::string> &profiles) {
    sim::MakeDirs(kClasses);
    sim::MakeDirs(kBin);
    for (const std::string &profile : profiles) sim::MakeDirs(Profile(profile));
}

void Machine() {
    sim::LoadRegistry(kBrowserRegistry);
    Package();
    Browser({"user1", "user2"});
}

void NoPackage() {
    sim::LoadRegistry(kBrowserRegistry);
    Browser({"user1", "user2"});
}

void NoKey() {
    Package();
    Browser({"user1", "user2"});
}

void NoValue() {
    NoKey();
    sim::LoadRegistry("[HKEY_CURRENT_USER\\Software\\Netscape\\Netscape Navigator\\Main]\n\"Other\"=\"C:\\\\NS\"\n");
}

void KeyRefusingFullAccess() {
    Machine();
    sim::DenyFullAccess(kBrowserKey);
}

void ValueLongerThanBuffer() {
    NoKey();
    InstallDirectory("C:\\" + std::string(300, 'd') + std::string(1, '\0'));
}

void PackageWithoutJars() {
    sim::LoadRegistry(kBrowserRegistry);
    scratch::MakeFile("ns\\ocfpcsc1.dll", "dll");
    scratch::MakeFile("ns\\opencard.properties", "props");
    Browser({"user1", "user2"});
}

void NoClassesFolder() {
    sim::LoadRegistry(kBrowserRegistry);
    Package();
    sim::MakeDirs(kBin);
    sim::MakeDirs(Profile("user1"));
}

void NoClassesFolderFolderFirst() {
    NoClassesFolder();
    scratch::MakeFile("ns\\jars\\0\\c.jar", "c");
}

void NoBinFolder() {
    sim::LoadRegistry(kBrowserRegistry);
    Package();
    sim::MakeDirs(kClasses);
    sim::MakeDirs(Profile("user1"));
}

// A read-only library of the package's size and time already in place.
void IdenticalReadOnlyLibrary() {
    Machine();
    sim::MakeFile(kLibrary, "old");
    sim::SetLastWriteTime(kLibrary, kPackageTime);
    SetFileAttributesA(kLibrary, FILE_ATTRIBUTE_READONLY);
}

void ReadOnlyFirstClassesFile() {
    Machine();
    sim::MakeFile(InClasses("a.jar"), "old");
    SetFileAttributesA(InClasses("a.jar").c_str(), FILE_ATTRIBUTE_READONLY);
}

void ReadOnlyProfileFile(const std::string &profile) {
    sim::MakeFile(ProfileFile(profile), "old");
    SetFileAttributesA(ProfileFile(profile).c_str(), FILE_ATTRIBUTE_READONLY);
}

void FirstProfileReadOnly() {
    Machine();
    ReadOnlyProfileFile("user1");
}

void SecondProfileLocked() {
    Machine();
    sim::MakeFile(ProfileFile("user2"), "old");
    sim::LockFile(ProfileFile("user2"));
}

void ThreeProfilesSecondReadOnly() {
    Machine();
    sim::MakeDirs(Profile("user3"));
    ReadOnlyProfileFile("user2");
}

void NoUsersFolder() {
    sim::LoadRegistry(kBrowserRegistry);
    Package();
    Browser({});
}

void UsersWithoutProfiles() {
    NoUsersFolder();
    sim::MakeFile(std::string(kUsers) + "\\readme.txt", "not a profile");
}

void UsersSearchCannotStart() {
    Machine();
    sim::FailSearchStart(kUsers, ERROR_ACCESS_DENIED);
}

void UsersSearchEndsInError() {
    Machine();
    sim::FailSearchAfter(kUsers, 3, ERROR_NOT_READY); // ".", "..", user1
}

void ProfileNameTooLongForItsFile() {
    Machine();
    sim::MakeDirs(Profile(std::string(240, 'p')));
}

// The browser in place, its install directory given by these value bytes.
void MachineWithValue(const std::string &bytes) {
    NoKey();
    InstallDirectory(bytes);
}

// The second profile carries one more attribute beside the folder flag.
void SecondProfileWith(DWORD attribute) {
    Machine();
    SetFileAttributesA(Profile("user2").c_str(), attribute);
}

void OnlyProfileHidden() {
    sim::LoadRegistry(kBrowserRegistry);
    Package();
    Browser({"user1"});
    SetFileAttributesA(Profile("user1").c_str(), FILE_ATTRIBUTE_HIDDEN);
}

// --- Checks --------------------------------------------------------------------

void TreeAndLibraryCopied() {
    EXPECT_EQ(sim::ReadFile(InClasses("a.jar")), "a");
    EXPECT_EQ(sim::ReadFile(InClasses("sub\\b.jar")), "b");
    EXPECT_EQ(sim::ReadFile(kLibrary), "dll");
}

void AllCopied() {
    TreeAndLibraryCopied();
    EXPECT_EQ(sim::ReadFile(ProfileFile("user1")), "props");
    EXPECT_EQ(sim::ReadFile(ProfileFile("user2")), "props");
}

void NoProfileCopied() {
    EXPECT_FALSE(sim::Exists(ProfileFile("user1")));
    EXPECT_FALSE(sim::Exists(ProfileFile("user2")));
}

void NothingCopied() {
    EXPECT_FALSE(sim::Exists(InClasses("a.jar")));
    EXPECT_FALSE(sim::Exists(kLibrary));
    NoProfileCopied();
}

void StoppedBeforeLibrary() {
    EXPECT_FALSE(sim::Exists(kLibrary));
    NoProfileCopied();
}

void OnlyFirstProfileCopied() {
    TreeAndLibraryCopied();
    EXPECT_EQ(sim::ReadFile(ProfileFile("user1")), "props");
    EXPECT_FALSE(sim::Exists(ProfileFile("user2")));
}

void IgnoredProfileKept() {
    TreeAndLibraryCopied();
    EXPECT_EQ(sim::ReadFile(ProfileFile("user1")), "old");
    EXPECT_EQ(sim::ReadFile(ProfileFile("user2")), "props");
}

void LibraryKept() { EXPECT_EQ(sim::ReadFile(kLibrary), "old"); }

void RestNotVisited() {
    EXPECT_EQ(sim::ReadFile(ProfileFile("user1")), "props");
    EXPECT_EQ(sim::ReadFile(ProfileFile("user2")), "old");
    EXPECT_FALSE(sim::Exists(ProfileFile("user3")));
}

void NoFileUnderACutName() {
    AllCopied();
    std::string cut = ProfileFile(std::string(240, 'p'));
    cut.resize(kLongestPath);
    EXPECT_FALSE(sim::Exists(cut));
}

// --- Tests ---------------------------------------------------------------------

class InstallNetscapeComponentsTest : public StepTest {};

// One machine layout per row.
// clang-format off
TEST_F(InstallNetscapeComponentsTest, InstallsIntoTheBrowserAndEveryProfile) {
    RunCases(InstallNetscapeComponents, {
        {"C:\\NS\\Browser with two profiles", Machine, {}, kStepOk, nullptr, 0, AllCopied},
        {"one profile read-only, Ignore", FirstProfileReadOnly, {IDIGNORE}, kStepOk, nullptr, 1, IgnoredProfileKept},
        {"identical read-only library still asks", IdenticalReadOnlyLibrary, {IDIGNORE}, kStepOk, nullptr, 1,
         LibraryKept},
    });
}

TEST_F(InstallNetscapeComponentsTest, WithoutAUsableRegistryEntryThereIsNoBrowser) {
    RunCases(InstallNetscapeComponents, {
        {"no ns package", NoPackage, {}, kStepError, "Instalator jest niekompletny", 0, NothingCopied},
        {"no key", NoKey, {}, kStepWarning, kNoBrowser, 0, NothingCopied},
        {"no value", NoValue, {}, kStepWarning, kNoBrowser, 0, NothingCopied},
        {"key refuses full access", KeyRefusingFullAccess, {}, kStepWarning, kNoBrowser, 0, NothingCopied},
        {"value longer than the buffer", ValueLongerThanBuffer, {}, kStepWarning, kNoBrowser, 0, NothingCopied},
    });
}

TEST_F(InstallNetscapeComponentsTest, OddInstallDirectoryValuesAreReadWithinTheirBytes) {
    const std::string nul(1, '\0');
    struct Value {
        const char *name;
        std::string bytes;
        StepResult result;
    } values[] = {
        {"trailing backslash", "C:\\NS\\Browser\\" + nul, kStepOk},
        {"unterminated", "C:\\NS\\Browser", kStepOk},
        {"empty", nul, kStepWarning},
        {"no bytes", "", kStepWarning},
        {"no backslash", "Browser" + nul, kStepWarning},
        {"drive root", "C:\\" + nul, kStepWarning},
        {"fills the buffer unterminated", "C:\\" + std::string(kPathCapacity - 3, 'd'), kStepWarning},
    };
    for (const Value &v : values) {
        SCOPED_TRACE(v.name);
        RunCases(InstallNetscapeComponents, {
            {v.name, [&] { MachineWithValue(v.bytes); }, {}, v.result, v.result == kStepOk ? nullptr : kNoBrowser, 0,
             v.result == kStepOk ? AllCopied : NothingCopied},
        });
    }
}

TEST_F(InstallNetscapeComponentsTest, ReportsTheCopyThatFailed) {
    RunCases(InstallNetscapeComponents, {
        {"no jars", PackageWithoutJars, {}, kStepError, "Błąd kopiowania pliku: kod #2, plik: `'", 0,
         StoppedBeforeLibrary},
        {"no classes folder, a file first", NoClassesFolder, {}, kStepError,
         "Błąd kopiowania pliku: kod #1, plik: `jars\\a.jar'", 0, StoppedBeforeLibrary},
        {"no classes folder, a folder first", NoClassesFolderFolderFirst, {}, kStepError,
         "Błąd kopiowania pliku: kod #3, plik: `C:\\NS\\Browser\\Program\\java\\classes\\0'", 0, StoppedBeforeLibrary},
        {"no bin folder", NoBinFolder, {}, kStepError, "Błąd kopiowania pliku: kod #1, plik: `ocfpcsc1.dll'", 0,
         NoProfileCopied},
    });
}

TEST_F(InstallNetscapeComponentsTest, CountsProfileFoldersAndTheirCopies) {
    RunCases(InstallNetscapeComponents, {
        {"one copy fails without a prompt", SecondProfileLocked, {}, kStepWarning, SOME_PROFILES "OP1PF2", 0,
         TreeAndLibraryCopied},
        {"no Users folder", NoUsersFolder, {}, kStepError, kNoProfile, 0, TreeAndLibraryCopied},
        {"Users without profile folders", UsersWithoutProfiles, {}, kStepError, kNoProfile, 0, TreeAndLibraryCopied},
        {"Users cannot be searched", UsersSearchCannotStart, {}, kStepError, kNoProfile, 0, NoProfileCopied},
        {"search ends in an error", UsersSearchEndsInError, {}, kStepWarning, SOME_PROFILES "OP1PF1", 0,
         OnlyFirstProfileCopied},
        {"profile file path would be cut", ProfileNameTooLongForItsFile, {}, kStepWarning,
         SOME_PROFILES "OP2PF3", 0, NoFileUnderACutName},
        {"only profile is hidden", OnlyProfileHidden, {}, kStepError, kNoProfile, 0, NoProfileCopied},
    });
}

TEST_F(InstallNetscapeComponentsTest, OnlyPlainFoldersAreProfiles) {
    for (DWORD attribute : {FILE_ATTRIBUTE_HIDDEN, FILE_ATTRIBUTE_ARCHIVE, FILE_ATTRIBUTE_READONLY,
                            FILE_ATTRIBUTE_SYSTEM}) {
        SCOPED_TRACE(attribute);
        RunCases(InstallNetscapeComponents, {
            {"second profile with one more attribute", [=] { SecondProfileWith(attribute); }, {}, kStepOk, nullptr, 0,
             OnlyFirstProfileCopied},
        });
    }
}

TEST_F(InstallNetscapeComponentsTest, AbortStopsTheStepAtOnce) {
    RunCases(InstallNetscapeComponents, {
        {"in the classes tree", ReadOnlyFirstClassesFile, {IDABORT}, kStepAborted, kAborted, 1, StoppedBeforeLibrary},
        {"at the library", IdenticalReadOnlyLibrary, {IDABORT}, kStepAborted, kAborted, 1, NoProfileCopied},
        {"among the profiles", ThreeProfilesSecondReadOnly, {IDABORT}, kStepAborted, kAborted, 1, RestNotVisited},
    });
}
// clang-format on

} // namespace
