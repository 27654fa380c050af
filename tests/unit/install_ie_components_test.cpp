#include <string>

#include "step_test.h"

namespace {

const char kJavaFolder[] = "C:\\Windows\\java";
const char kJavaLib[] = "C:\\Windows\\java\\lib";
const char kSystemLibrary[] = "C:\\Windows\\System32\\ocfpcsc1.dll";
const char kAborted[] = "Przerwa na życzenie użytkownika";
const char kNoDirectory[] = "Błąd ustalenia katalogu systemowego";
const uint64_t kPackageTime = sim::FileTimeOf(2005, 3, 14, 12, 0, 0);
const uint64_t kOtherTime = kPackageTime + 10000000; // a second later

std::string InJavaLib(const char *name) { return std::string(kJavaLib) + "\\" + name; }

// --- Layouts -------------------------------------------------------------------

void Package() {
    scratch::MakeFile("msie\\ocf\\a.jar", "a");
    scratch::MakeFile("msie\\ocf\\lib\\b.jar", "b");
    scratch::MakeFile("msie\\ocfpcsc1.dll", "dll");
    scratch::SetLastWriteTime("msie\\ocfpcsc1.dll", kPackageTime);
}

void Machine() {
    Package();
    sim::MakeDirs(kJavaLib);
}

void JavaFolderWithoutLib() {
    Package();
    sim::MakeDirs(kJavaFolder);
}

void NoPackage() { sim::MakeDirs(kJavaLib); }

void PackageWithoutOcf() {
    scratch::MakeFile("msie\\ocfpcsc1.dll", "dll");
    sim::MakeDirs(kJavaLib);
}

void PackageWithoutLibrary() {
    Machine();
    DeleteFileA("msie\\ocfpcsc1.dll");
}

void NoJavaFolderFolderFirst() {
    scratch::MakeFile("msie\\ocf\\a\\b.jar", "b");
    scratch::MakeFile("msie\\ocfpcsc1.dll", "dll");
}

void MissingSystemFolder() {
    Machine();
    sim::SetSystemDirectory("C:\\Windows\\Missing");
}

void WindowsDirectoryUndetermined() {
    Machine();
    sim::SetWindowsDirectory(nullptr);
}

void WindowsDirectoryTooLongForJavaLib() {
    static const std::string windows = "C:\\" + std::string(250, 'w');
    Machine();
    sim::MakeDirs(windows + "\\java");
    sim::SetWindowsDirectory(windows.c_str());
}

void SystemDirectoryUndetermined() {
    Machine();
    sim::SetSystemDirectory(nullptr);
}

// A read-only library of the package's size already in the system directory.
void ReadOnlyLibrary(uint64_t lastWrite) {
    Machine();
    sim::MakeFile(kSystemLibrary, "old");
    sim::SetLastWriteTime(kSystemLibrary, lastWrite);
    SetFileAttributesA(kSystemLibrary, FILE_ATTRIBUTE_READONLY);
}
void IdenticalReadOnlyLibrary() { ReadOnlyLibrary(kPackageTime); }
void DifferentReadOnlyLibrary() { ReadOnlyLibrary(kOtherTime); }

void ReadOnlyFirstTreeFile() {
    Machine();
    sim::MakeFile(InJavaLib("a.jar"), "old");
    SetFileAttributesA(InJavaLib("a.jar").c_str(), FILE_ATTRIBUTE_READONLY);
}

// --- Checks --------------------------------------------------------------------

void TreeCopied() {
    EXPECT_EQ(sim::ReadFile(InJavaLib("a.jar")), "a");
    EXPECT_EQ(sim::ReadFile(InJavaLib("lib\\b.jar")), "b");
}

void NoLibrary() { EXPECT_FALSE(sim::Exists(kSystemLibrary)); }

void AllCopied() {
    TreeCopied();
    EXPECT_EQ(sim::ReadFile(kSystemLibrary), "dll");
}

void NothingCopied() {
    EXPECT_FALSE(sim::Exists(InJavaLib("a.jar")));
    NoLibrary();
}

void NoJavaFolderCreated() {
    EXPECT_FALSE(sim::Exists(kJavaFolder)) << "only the last level is created";
    NoLibrary();
}

void OldLibraryKeptReadOnly() {
    EXPECT_EQ(sim::ReadFile(kSystemLibrary), "old");
    EXPECT_TRUE(IsReadOnly(kSystemLibrary));
}

void OldLibraryKept() { EXPECT_EQ(sim::ReadFile(kSystemLibrary), "old"); }

void LibraryReplaced() { EXPECT_EQ(sim::ReadFile(kSystemLibrary), "dll"); }

void StoppedInTree() {
    EXPECT_FALSE(sim::Exists(InJavaLib("lib"))) << "nothing after the abort";
    NoLibrary();
}

void StoppedAtLibrary() {
    TreeCopied();
    OldLibraryKept();
}

// --- Tests ---------------------------------------------------------------------

class InstallIeComponentsTest : public StepTest {};

// One machine layout per row.
// clang-format off
TEST_F(InstallIeComponentsTest, InstallsTheTreeAndTheLibrary) {
    RunCases(InstallIeComponents, {
        {"java\\lib present", Machine, {}, kStepOk, nullptr, 0, AllCopied},
        {"lib created", JavaFolderWithoutLib, {}, kStepOk, nullptr, 0, AllCopied},
    });
}

TEST_F(InstallIeComponentsTest, ReportsAnIncompletePackage) {
    RunCases(InstallIeComponents, {
        {"no msie", NoPackage, {}, kStepError, "Instalator jest niekompletny", 0, NoLibrary},
        {"no ocf", PackageWithoutOcf, {}, kStepError, "Błąd kopiowania pliku: kod #2, plik: `'", 0, NoLibrary},
        {"no library", PackageWithoutLibrary, {}, kStepError,
         "Błąd kopiowania pliku: kod #1, plik: `ocfpcsc1.dll'", 0, TreeCopied},
    });
}

TEST_F(InstallIeComponentsTest, ReportsTargetsThatCannotBeReached) {
    RunCases(InstallIeComponents, {
        {"no java, a file first", Package, {}, kStepError,
         "Błąd kopiowania pliku: kod #1, plik: `ocf\\a.jar'", 0, NoJavaFolderCreated},
        {"no java, a folder first", NoJavaFolderFolderFirst, {}, kStepError,
         "Błąd kopiowania pliku: kod #3, plik: `C:\\Windows\\java\\lib\\a'", 0, NoJavaFolderCreated},
        {"no system folder", MissingSystemFolder, {}, kStepError,
         "Błąd kopiowania pliku: kod #1, plik: `ocfpcsc1.dll'", 0, TreeCopied},
        {"Windows directory undetermined", WindowsDirectoryUndetermined, {}, kStepError, kNoDirectory, 0, NothingCopied},
        {"Windows directory too long", WindowsDirectoryTooLongForJavaLib, {}, kStepError, kNoDirectory, 0, NoLibrary},
        {"system directory undetermined", SystemDirectoryUndetermined, {}, kStepError, kNoDirectory, 0, TreeCopied},
    });
}

TEST_F(InstallIeComponentsTest, AnIdenticalLibraryInPlaceIsAcceptedWithoutAsking) {
    RunCases(InstallIeComponents, {
        {"same size and time", IdenticalReadOnlyLibrary, {}, kStepOk, nullptr, 0, OldLibraryKeptReadOnly},
        {"other time, Ignore", DifferentReadOnlyLibrary, {IDIGNORE}, kStepOk, nullptr, 1, OldLibraryKept},
        {"other time, Retry", DifferentReadOnlyLibrary, {IDRETRY}, kStepOk, nullptr, 1, LibraryReplaced},
    });
}

TEST_F(InstallIeComponentsTest, AbortInEitherCopyStopsTheStep) {
    RunCases(InstallIeComponents, {
        {"in the tree", ReadOnlyFirstTreeFile, {IDABORT}, kStepAborted, kAborted, 1, StoppedInTree},
        {"at the library", DifferentReadOnlyLibrary, {IDABORT}, kStepAborted, kAborted, 1, StoppedAtLibrary},
    });
}
// clang-format on

} // namespace
