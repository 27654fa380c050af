#include "app/check_mode.h"

#include <cstring>

#include "app/installer_modes.h"
#include "fileops/bounded_text.h"
#include "fileops/directory_path.h"
#include "log/run_log.h"
#include "record/install_record.h"
#include "record/product_entry.h"
#include "record/release_identity.h"
#include "steps/java_entry.h"
#include "steps/netscape_registry.h"
#include "steps/registered_runtimes.h"

namespace {

// Room for a finding's label before its path in the message.
const int kShownLabelRoom = 128;
// Room for the "and so many more" line.
const int kOmittedCapacity = 64;

const char kSetUp[] = "Ten komputer jest przygotowany do pracy z czytnikiem kart.";
const char kNotSetUpFormat[] = "Ten komputer nie jest przygotowany do pracy z czytnikiem kart (%d):\n\n%s%s";
const char kOmittedFormat[] = "\n... i %d innych (pełna lista w dzienniku /LOG)";
const char kMissing[] = "Brak pliku";
const char kDiffers[] = "Inny niż w tej wersji instalatora";
const char kNotCompared[] = "Nie można porównać (nie ma pliku wzorcowego)";
const char kNewRuntime[] = "Środowisko Java zarejestrowane po ostatniej instalacji";
const char kNoRecord[] = "Brak zapisu instalacji";
const char kTornRecord[] = "Zapis instalacji jest uszkodzony";
const char kNoEntry[] = "Brak wpisu w Programach i funkcjach";
const char kRecordNamed[] = "record.txt";
const char kNotSearched[] = "Nie można przeszukać (brak uprawnień)";
const char kJavaSoftKey[] = "HKEY_LOCAL_MACHINE\\SOFTWARE\\JavaSoft";

const size_t kLinesCapacity = 3072;
const size_t kMessageCapacity = 4096;

// Large: not on the stack.
InstallRecord record;

struct Findings {
    int count;
    int omitted;
    size_t used;
    char lines[kLinesCapacity];
};

// One finding: a log line, a count, and a line of the message when it fits whole.
void Note(Findings *findings, const char *logText, const char *shown, const char *path) {
    LogEvent("check: %s: %s", logText, path);
    ++findings->count;
    char line[kPathCapacity + kShownLabelRoom];
    if (!FormatText(line, sizeof line, "%s: %s\n", shown, path)) {
        ++findings->omitted;
        return;
    }
    size_t length = std::strlen(line);
    if (findings->used + length >= kLinesCapacity) {
        ++findings->omitted;
        return;
    }
    std::memcpy(findings->lines + findings->used, line, length + 1);
    findings->used += length;
}

bool SameAsHash(const char *path, const unsigned char expected[kSha256Size], bool *missing) {
    unsigned char actual[kSha256Size];
    DWORD error = ERROR_SUCCESS;
    *missing = !HashFile(path, actual, &error);
    return !*missing && std::memcmp(actual, expected, kSha256Size) == 0;
}

// A file that should hold the package file packageFile.
void CheckFile(Findings *findings, const char *path, const char *packageFile) {
    unsigned char expected[kSha256Size];
    if (!ExpectedPackageHash(packageFile, expected)) {
        Note(findings, "not compared, no expected hash", kNotCompared, path);
        return;
    }
    bool missing = false;
    if (SameAsHash(path, expected, &missing)) return;
    if (missing)
        Note(findings, "missing", kMissing, path);
    else
        Note(findings, "differs", kDiffers, path);
}

// A file a run placed, against what it placed (the newest record of it).
void CheckRecordedFile(Findings *findings, const RecordItem &item) {
    char hash[kSha256TextSize];
    DWORD error = ERROR_SUCCESS;
    if (!HashFileText(item.path, hash, &error)) {
        Note(findings, "missing", kMissing, item.path);
        return;
    }
    if (std::strcmp(hash, item.hash) != 0) Note(findings, "differs", kDiffers, item.path);
}

bool StartsWithFolder(const char *path, const char *folder) {
    size_t length = std::strlen(folder);
    if (length == 0 || std::strlen(path) <= length || path[length] != '\\') return false;
    char head[kPathCapacity];
    std::memcpy(head, path, length);
    head[length] = '\0';
    return SamePath(head, folder);
}

// The files the record says were placed under folder, each as last placed.
void CheckRecordedUnder(Findings *findings, const char *folder) {
    for (int i = record.count - 1; i >= 0; --i) {
        const RecordItem &item = record.items[i];
        if (item.kind != RecordItemKind::File || !StartsWithFolder(item.path, folder)) continue;
        bool newer = false;
        for (int j = i + 1; j < record.count && !newer; ++j)
            newer = record.items[j].kind == RecordItemKind::File && SamePath(record.items[j].path, item.path);
        if (!newer) CheckRecordedFile(findings, item);
    }
}

bool CheckRuntime(const JavaRuntime &runtime, void *context) {
    Findings *findings = static_cast<Findings *>(context);
    RuntimeFiles files;
    FormRuntimeFiles(runtime, "" /* the check runs no command */, &files);
    if (record.state == RecordState::Whole && !RuntimeRecorded(record, runtime.home))
        Note(findings, "runtime registered after the last installation", kNewRuntime, runtime.home);
    CheckFile(findings, files.archive, "sun\\ocf1.2.jar");
    CheckFile(findings, files.properties, "sun\\opencard.properties");
    CheckFile(findings, files.policy, "sun\\java.policy");
    return true;
}

void CheckSystemLibrary(Findings *findings, const char *packageFile) {
    char library[kPathCapacity];
    if (PathInDirectory(GetSystemDirectoryA, library, "ocfpcsc1.dll")) CheckFile(findings, library, packageFile);
}

void CheckComponents(const InstallChoices &choices, Findings *findings) {
    char recordFile[kPathCapacity];
    if (!RecordFilePath(recordFile)) CopyText(recordFile, sizeof recordFile, kRecordNamed);
    if (LoadInstallRecord(&record) == RecordState::Missing)
        Note(findings, "no record of an installation", kNoRecord, recordFile);
    else if (record.state == RecordState::Torn)
        Note(findings, "the record cannot be read whole", kTornRecord, recordFile);
    if (!ProductEntryExists()) Note(findings, "no product entry", kNoEntry, kProductEntryKey);
    if (choices.chosen[kJavaPluginStep]) {
        // Keys a user without administrator rights may not open hide runtimes: not set up as far as known.
        if (WalkRegisteredRuntimes(CheckRuntime, findings).keysRefused > 0)
            Note(findings, "not searched, access refused", kNotSearched, kJavaSoftKey);
        CheckSystemLibrary(findings, "sun\\ocfpcsc1.dll");
    }
    if (choices.chosen[kIeStep]) {
        CheckSystemLibrary(findings, "msie\\ocfpcsc1.dll");
        char ieFolder[kPathCapacity];
        if (PathInDirectory(GetWindowsDirectoryA, ieFolder, "java\\lib")) CheckRecordedUnder(findings, ieFolder);
    }
    if (choices.chosen[kNetscapeStep]) {
        NetscapePaths paths;
        if (FindInstalledNetscape(&paths)) {
            CheckRecordedUnder(findings, paths.classesFolder);
            CheckFile(findings, paths.libraryFile, "ns\\ocfpcsc1.dll");
            CheckRecordedUnder(findings, paths.profilesFolder);
        }
    }
}

} // namespace

int RunCheck(const InstallChoices &choices, bool unattended) {
    Findings findings = {};
    CheckComponents(choices, &findings);
    if (findings.count == 0) {
        LogEvent("check: set up");
    } else {
        LogEvent("check: not set up, %d findings", findings.count);
    }
    if (!unattended) {
        char omitted[kOmittedCapacity] = "";
        if (findings.omitted > 0) FormatText(omitted, sizeof omitted, kOmittedFormat, findings.omitted);
        char message[kMessageCapacity];
        if (findings.count == 0)
            CopyText(message, sizeof message, kSetUp);
        else
            FormatText(message, sizeof message, kNotSetUpFormat, findings.count, findings.lines, omitted);
        /* only OK to press: */ MessageBoxA(nullptr, message, kInstallerCaption,
                                            MB_OK | (findings.count ? MB_ICONWARNING : MB_ICONINFORMATION));
    }
    return findings.count == 0 ? kExitSetUp : kExitNotSetUp;
}
