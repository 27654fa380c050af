// The simulated file system: drive C: mapped onto a host folder, Windows path
// rules, attributes and sharing kept by the simulation (the tests run as root,
// so host permissions would stop nothing), and the errors Windows gives.
#include <dirent.h>
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <algorithm>
#include <cstdio>
#include <cstring>
#include <fstream>
#include <map>
#include <sstream>
#include <vector>

#include "platform/sim/sim_internal.h"
#include "platform/sim/sim_machine.h"

namespace sim {
namespace {

// Not used by the installer, so not in the declared subset.
const DWORD kDelete = 0x00010000;
const DWORD kShareDelete = 0x00000004;
const DWORD kErrorFileExists = 80;
const DWORD kErrorCallNotImplemented = 120;
const DWORD kSettableAttributes = FILE_ATTRIBUTE_READONLY | FILE_ATTRIBUTE_HIDDEN | FILE_ATTRIBUTE_SYSTEM |
                                  FILE_ATTRIBUTE_ARCHIVE | FILE_ATTRIBUTE_TEMPORARY | FILE_ATTRIBUTE_OFFLINE |
                                  FILE_ATTRIBUTE_NOT_CONTENT_INDEXED;
// The ANSI calls convert a path into a buffer of MAX_PATH characters.
const size_t kLongestPath = MAX_PATH - 1;
// CreateDirectory leaves room for an 8.3 name below the new folder.
const size_t kLongestDirectoryPath = MAX_PATH - 12 - 1;
// 100 ns intervals between 1601-01-01 and 1970-01-01.
const uint64_t kUnixEpochAsFileTime = 116444736000000000ULL;

struct OpenFile {
    std::string key;
    std::string host;
    DWORD access;
    DWORD share;
    uint64_t position = 0;          // where the next ReadFile starts
    bool reparsePointItself = false; // opened with FILE_FLAG_OPEN_REPARSE_POINT
};

struct SearchEntry {
    std::string name;
    std::string host;
    std::string key;
};

struct Search {
    std::vector<SearchEntry> entries;
    size_t next = 0;
    int failAfter = -1; // entries returned before the injected error
    DWORD failError = 0;
};

struct SearchFault {
    int entries; // -1: the search cannot start
    DWORD error;
};

struct FileSystem {
    std::string hostRoot;
    std::string currentDirectory = "C:\\";
    std::string windowsDirectory;
    std::string systemDirectory;
    bool windowsDirectoryFails = false;
    bool systemDirectoryFails = false;
    std::map<std::string, DWORD> attributes; // by key; DIRECTORY and NORMAL never stored
    std::map<HANDLE, OpenFile> openFiles;
    std::vector<OpenFile> locks;
    std::map<HANDLE, Search> searches;
    std::map<std::string, SearchFault> searchFaults;
    std::map<std::string, DWORD> createDirectoryFaults;
    std::map<std::string, DWORD> halfCopyFaults; // by target key
    std::map<std::string, int> opensBeforeLock;  // by key: opens left before LockFile takes effect
    std::vector<std::pair<std::string, std::string>> pendingRenames;
    int changesBeforeStop = -1;                  // -1: the machine never stops
    bool stopped = false;
};

FileSystem fs;

// 2026-12-07 12:00:00 UTC.
const uint64_t kStartingSystemTime = 134411184000000000ULL;
uint64_t systemTime = kStartingSystemTime;

// Windows-1250 letters, folded to upper case as the file system compares names.
unsigned char FoldChar(unsigned char c) {
    if (c >= 'a' && c <= 'z') return static_cast<unsigned char>(c - 0x20);
    switch (c) {
    case 0x9A:
    case 0x9C:
    case 0x9D:
    case 0x9E:
    case 0x9F: return static_cast<unsigned char>(c - 0x10);
    case 0xB3: return 0xA3;
    case 0xB9: return 0xA5;
    case 0xBA: return 0xAA;
    case 0xBE: return 0xBC;
    case 0xBF: return 0xAF;
    default: break;
    }
    if (c >= 0xE0 && c <= 0xFE && c != 0xF7) return static_cast<unsigned char>(c - 0x20);
    return c;
}

std::string Fold(const std::string &text) {
    std::string folded = text;
    for (char &c : folded) c = static_cast<char>(FoldChar(static_cast<unsigned char>(c)));
    return folded;
}

bool IsInvalidNameChar(unsigned char c, bool wildcardsAllowed) {
    if (c < 32) return true;
    if (c == '*' || c == '?') return !wildcardsAllowed;
    return std::strchr("<>:\"|", c) != nullptr;
}

std::vector<std::string> ListHostDir(const std::string &host) {
    std::vector<std::string> names;
    DIR *dir = opendir(host.c_str());
    if (!dir) return names;
    while (dirent *entry = readdir(dir)) {
        std::string name = entry->d_name;
        if (name != "." && name != "..") names.push_back(name);
    }
    closedir(dir);
    return names;
}

bool HostIsDir(const std::string &host) {
    struct stat st;
    return stat(host.c_str(), &st) == 0 && S_ISDIR(st.st_mode);
}

// A Windows path taken apart and looked up on the host.
struct Resolved {
    DWORD error = 0;                // the path itself is invalid
    std::vector<std::string> parts; // components below C:\, as written
    size_t existing = 0;            // leading components that exist
    std::string host;               // host path: existing part in disk case, rest as written
    bool isDir = false;             // the whole path exists and is a folder

    bool Exists() const { return error == 0 && existing == parts.size(); }
    bool ParentIsDir() const { return error == 0 && existing + 1 >= parts.size() && parentDir; }
    std::string WindowsPath() const {
        std::string path = "C:\\";
        for (size_t i = 0; i < parts.size(); ++i) path += (i ? "\\" : "") + parts[i];
        return path;
    }
    std::string Key() const { return Fold(WindowsPath()); }
    // The error Windows gives when this path does not exist.
    DWORD MissingError() const { return ParentIsDir() ? ERROR_FILE_NOT_FOUND : ERROR_PATH_NOT_FOUND; }

    bool parentDir = false;
};

void SplitInto(const std::string &text, std::vector<std::string> &parts) {
    std::string part;
    std::istringstream in(text);
    while (std::getline(in, part, '\\')) {
        if (part.empty() || part == ".") continue;
        if (part == "..") {
            if (!parts.empty()) parts.pop_back();
            continue;
        }
        parts.push_back(part);
    }
}

Resolved Resolve(const char *path, bool wildcardsAllowed = false) {
    Resolved r;
    if (!path || !*path) {
        r.error = ERROR_PATH_NOT_FOUND;
        return r;
    }
    if (std::strlen(path) > kLongestPath) {
        r.error = ERROR_FILENAME_EXCED_RANGE;
        return r;
    }
    std::string text = path;
    std::replace(text.begin(), text.end(), '/', '\\');
    if (text.compare(0, 2, "\\\\") == 0) { // network and device paths are not modelled
        r.error = ERROR_PATH_NOT_FOUND;
        return r;
    }
    std::string rest = text;
    if (text.size() >= 2 && text[1] == ':') {
        if ((text[0] | 0x20) != 'c') {
            r.error = ERROR_PATH_NOT_FOUND;
            return r;
        }
        rest = text.substr(2);
        if (rest.empty() || rest[0] != '\\') SplitInto(fs.currentDirectory.substr(2), r.parts);
    } else if (text[0] != '\\') {
        SplitInto(fs.currentDirectory.substr(2), r.parts);
    }
    SplitInto(rest, r.parts);
    if (!r.parts.empty()) { // Windows drops trailing dots and blanks of the last name
        std::string &last = r.parts.back();
        while (!last.empty() && (last.back() == '.' || last.back() == ' ')) last.pop_back();
        if (last.empty()) r.parts.pop_back();
    }
    for (size_t i = 0; i < r.parts.size(); ++i)
        for (unsigned char c : r.parts[i])
            if (IsInvalidNameChar(c, wildcardsAllowed && i + 1 == r.parts.size())) {
                r.error = ERROR_INVALID_NAME;
                return r;
            }

    r.host = fs.hostRoot;
    bool dir = true;
    r.parentDir = r.parts.size() <= 1;
    for (const std::string &part : r.parts) {
        if (r.existing + 1 == r.parts.size()) r.parentDir = dir;
        std::string match;
        if (dir) {
            for (const std::string &name : ListHostDir(r.host)) {
                if (name == part) {
                    match = name;
                    break;
                }
                if (match.empty() && Fold(name) == Fold(part)) match = name;
            }
        }
        if (match.empty()) break;
        r.host += "/" + match;
        dir = HostIsDir(r.host);
        ++r.existing;
    }
    for (size_t i = r.existing; i < r.parts.size(); ++i) r.host += "/" + r.parts[i];
    r.isDir = r.Exists() && dir;
    return r;
}

DWORD StoredAttributes(const std::string &key, bool isDir) {
    auto it = fs.attributes.find(key);
    return it != fs.attributes.end() ? it->second : (isDir ? 0 : FILE_ATTRIBUTE_ARCHIVE);
}

DWORD AttributesOf(const Resolved &r) {
    DWORD attributes = StoredAttributes(r.Key(), r.isDir);
    if (r.isDir) attributes |= FILE_ATTRIBUTE_DIRECTORY;
    return attributes ? attributes : FILE_ATTRIBUTE_NORMAL;
}

bool SharingAllows(const std::string &key, DWORD access, DWORD share) {
    auto conflicts = [&](const OpenFile &open) {
        if (open.key != key) return false;
        if ((access & GENERIC_READ) && !(open.share & FILE_SHARE_READ)) return true;
        if ((access & GENERIC_WRITE) && !(open.share & FILE_SHARE_WRITE)) return true;
        if ((access & kDelete) && !(open.share & kShareDelete)) return true;
        if ((open.access & GENERIC_READ) && !(share & FILE_SHARE_READ)) return true;
        if ((open.access & GENERIC_WRITE) && !(share & FILE_SHARE_WRITE)) return true;
        if ((open.access & kDelete) && !(share & kShareDelete)) return true;
        return false;
    };
    for (const auto &entry : fs.openFiles)
        if (conflicts(entry.second)) return false;
    for (const OpenFile &lock : fs.locks)
        if (conflicts(lock)) return false;
    return true;
}

uint64_t FileTimeOfStat(const struct timespec &t) {
    return kUnixEpochAsFileTime + static_cast<uint64_t>(t.tv_sec) * 10000000ULL +
           static_cast<uint64_t>(t.tv_nsec) / 100;
}

FILETIME ToFileTime(uint64_t value) {
    FILETIME ft;
    ft.dwLowDateTime = static_cast<DWORD>(value & 0xFFFFFFFFu);
    ft.dwHighDateTime = static_cast<DWORD>(value >> 32);
    return ft;
}

bool FindDataOf(const std::string &name, const std::string &host, const std::string &key, WIN32_FIND_DATAA *data) {
    struct stat st;
    if (stat(host.c_str(), &st) != 0) return false;
    std::memset(data, 0, sizeof(*data));
    bool dir = S_ISDIR(st.st_mode);
    DWORD attributes = StoredAttributes(key, dir) | (dir ? FILE_ATTRIBUTE_DIRECTORY : 0);
    data->dwFileAttributes = attributes ? attributes : FILE_ATTRIBUTE_NORMAL;
    data->ftCreationTime = ToFileTime(FileTimeOfStat(st.st_mtim));
    data->ftLastAccessTime = ToFileTime(FileTimeOfStat(st.st_atim));
    data->ftLastWriteTime = ToFileTime(FileTimeOfStat(st.st_mtim));
    uint64_t size = dir ? 0 : static_cast<uint64_t>(st.st_size);
    data->nFileSizeHigh = static_cast<DWORD>(size >> 32);
    data->nFileSizeLow = static_cast<DWORD>(size & 0xFFFFFFFFu);
    std::strncpy(data->cFileName, name.c_str(), MAX_PATH - 1);
    return true;
}

// '*' any run of characters, '?' exactly one; both sides already folded.
bool WildcardMatch(const char *pattern, const char *name) {
    if (!*pattern) return !*name;
    if (*pattern == '*') return WildcardMatch(pattern + 1, name) || (*name && WildcardMatch(pattern, name + 1));
    if (!*name) return false;
    return (*pattern == '?' || *pattern == *name) && WildcardMatch(pattern + 1, name + 1);
}

bool WriteHostFile(const std::string &host, const std::string &content) {
    std::ofstream out(host, std::ios::binary | std::ios::trunc);
    out << content;
    return static_cast<bool>(out);
}

bool ReadHostFile(const std::string &host, std::string &content) {
    std::ifstream in(host, std::ios::binary);
    if (!in) return false;
    std::ostringstream text;
    text << in.rdbuf();
    content = text.str();
    return true;
}

bool SetHostWriteTime(const std::string &host, uint64_t fileTime) {
    uint64_t units = fileTime - kUnixEpochAsFileTime;
    struct timespec times[2];
    times[0].tv_sec = 0;
    times[0].tv_nsec = UTIME_OMIT;
    times[1].tv_sec = static_cast<time_t>(units / 10000000ULL);
    times[1].tv_nsec = static_cast<long>(units % 10000000ULL) * 100;
    return utimensat(AT_FDCWD, host.c_str(), times, 0) == 0;
}

void CopyDirectoryQueryResult(const std::string &path, LPSTR buffer, UINT size, UINT &result) {
    if (size > path.size()) {
        std::memcpy(buffer, path.c_str(), path.size() + 1);
        result = static_cast<UINT>(path.size());
    } else {
        result = static_cast<UINT>(path.size() + 1); // the size needed, terminator included
    }
}

BOOL Fail(DWORD error) {
    lastError = error;
    return FALSE;
}

// What becomes of the next change to the files: made, cut off by the stop
// that StopChangesAfter scheduled, or refused because the machine stopped.
enum class Change { Made, Interrupted, Refused };

Change NextChange() {
    if (fs.stopped) return Change::Refused;
    if (fs.changesBeforeStop == 0) {
        fs.stopped = true;
        return Change::Interrupted;
    }
    if (fs.changesBeforeStop > 0) --fs.changesBeforeStop;
    return Change::Made;
}

// Every change after the stop fails as on a disk that is gone.
BOOL FailStopped() { return Fail(ERROR_NOT_READY); }

// What a copy interrupted half-way leaves: the first half of the source
// written over the target.
void WriteHalf(const std::string &host, const std::string &content) {
    WriteHostFile(host, content.substr(0, content.size() / 2));
}

} // namespace

void ResetFiles(const std::string &hostRoot) {
    fs = FileSystem();
    systemTime = kStartingSystemTime;
    fs.hostRoot = hostRoot;
    fs.windowsDirectory = "C:\\Windows";
    fs.systemDirectory = "C:\\Windows\\System32";
    MakeDirs(fs.systemDirectory);
    MakeDirs("C:\\Program Files");
}

const std::string &CurrentDirectory() { return fs.currentDirectory; }

DWORD ProgramFileError(const char *path) {
    Resolved r = Resolve(path);
    if (r.error) return r.error;
    if (!r.Exists()) return r.MissingError();
    return r.isDir ? ERROR_ACCESS_DENIED : 0;
}

std::string FullFolderPath(const char *path) {
    Resolved r = Resolve(path);
    return r.isDir ? r.WindowsPath() : std::string();
}

void CloseFileHandle(HANDLE handle) {
    fs.openFiles.erase(handle);
    ReleaseHandle(handle, HandleKind::File);
}

std::string HostPath(const std::string &windowsPath) {
    Resolved r = Resolve(windowsPath.c_str(), true);
    return r.error ? std::string() : r.host;
}

void SetWindowsDirectory(const char *path) {
    fs.windowsDirectoryFails = path == nullptr;
    fs.windowsDirectory = path ? path : "";
}

void SetSystemDirectory(const char *path) {
    fs.systemDirectoryFails = path == nullptr;
    fs.systemDirectory = path ? path : "";
}

void MakeDirs(const std::string &windowsPath) {
    Resolved r = Resolve(windowsPath.c_str());
    if (r.error) return;
    std::string path = "C:";
    for (const std::string &part : r.parts) {
        path += "\\" + part;
        std::string host = Resolve(path.c_str()).host;
        mkdir(host.c_str(), 0755);
    }
}

void MakeFile(const std::string &windowsPath, const std::string &content) {
    Resolved r = Resolve(windowsPath.c_str());
    if (r.error || r.parts.empty()) return;
    std::string parent = r.WindowsPath();
    parent.erase(parent.rfind('\\'));
    MakeDirs(parent);
    r = Resolve(windowsPath.c_str());
    WriteHostFile(r.host, content);
    fs.attributes.erase(r.Key());
}

std::string ReadFile(const std::string &windowsPath) {
    std::string content;
    Resolved r = Resolve(windowsPath.c_str());
    if (r.Exists()) ReadHostFile(r.host, content);
    return content;
}

bool Exists(const std::string &windowsPath) { return Resolve(windowsPath.c_str()).Exists(); }

void SetSystemTime(uint64_t fileTime) { systemTime = fileTime; }

uint64_t CurrentSystemTime() { return systemTime; }

void SetLastWriteTime(const std::string &windowsPath, uint64_t fileTime) {
    SetHostWriteTime(Resolve(windowsPath.c_str()).host, fileTime);
}

uint64_t LastWriteTime(const std::string &windowsPath) {
    struct stat st;
    if (stat(Resolve(windowsPath.c_str()).host.c_str(), &st) != 0) return 0;
    return FileTimeOfStat(st.st_mtim);
}

uint64_t FileTimeOf(int year, int month, int day, int hour, int minute, int second) {
    // Days from the civil date (proleptic Gregorian), then from 1601-01-01.
    int y = year - (month <= 2 ? 1 : 0);
    int era = (y >= 0 ? y : y - 399) / 400;
    int yearOfEra = y - era * 400;
    int dayOfYear = (153 * (month + (month > 2 ? -3 : 9)) + 2) / 5 + day - 1;
    int dayOfEra = yearOfEra * 365 + yearOfEra / 4 - yearOfEra / 100 + dayOfYear;
    int64_t daysSince1970 = static_cast<int64_t>(era) * 146097 + dayOfEra - 719468;
    int64_t seconds =
        daysSince1970 * 86400 + static_cast<int64_t>(hour) * 3600 + static_cast<int64_t>(minute) * 60 + second;
    return kUnixEpochAsFileTime + static_cast<uint64_t>(seconds * 10000000LL);
}

void LockFile(const std::string &windowsPath) {
    Resolved r = Resolve(windowsPath.c_str());
    fs.locks.push_back({r.Key(), r.host, GENERIC_READ | GENERIC_WRITE, 0});
}

void LockFileAfterOpens(const std::string &windowsPath, int opens) {
    fs.opensBeforeLock[Resolve(windowsPath.c_str()).Key()] = opens;
}

void FailSearchStart(const std::string &folder, DWORD error) {
    fs.searchFaults[Resolve(folder.c_str()).Key()] = {-1, error};
}

void FailSearchAfter(const std::string &folder, int entries, DWORD error) {
    fs.searchFaults[Resolve(folder.c_str()).Key()] = {entries, error};
}

void FailCreateDirectory(const std::string &path, DWORD error) {
    fs.createDirectoryFaults[Resolve(path.c_str()).Key()] = error;
}

void FailCopyHalfWay(const std::string &target, DWORD error) {
    fs.halfCopyFaults[Resolve(target.c_str()).Key()] = error;
}

void StopChangesAfter(int changes) {
    fs.changesBeforeStop = changes;
    fs.stopped = false;
}

bool Stopped() { return fs.stopped; }


const std::vector<std::pair<std::string, std::string>> &PendingRenames() { return fs.pendingRenames; }

void Restart() {
    std::vector<std::pair<std::string, std::string>> renames;
    renames.swap(fs.pendingRenames);
    for (const auto &rename : renames) {
        if (rename.second.empty()) {
            if (!DeleteFileA(rename.first.c_str())) RemoveDirectoryA(rename.first.c_str());
        } else {
            MoveFileExA(rename.first.c_str(), rename.second.c_str(), MOVEFILE_REPLACE_EXISTING);
        }
    }
}

} // namespace sim

using sim::fs;
using sim::Resolved;

BOOL CopyFileA(LPCSTR existingFile, LPCSTR newFile, BOOL failIfExists) {
    Resolved source = sim::Resolve(existingFile);
    if (source.error) return sim::Fail(source.error);
    if (!source.Exists()) return sim::Fail(source.MissingError());
    if (source.isDir) return sim::Fail(ERROR_ACCESS_DENIED);
    Resolved target = sim::Resolve(newFile);
    if (target.error) return sim::Fail(target.error);
    if (!target.Exists() && !target.ParentIsDir()) return sim::Fail(ERROR_PATH_NOT_FOUND);
    if (!sim::SharingAllows(source.Key(), GENERIC_READ, FILE_SHARE_READ | sim::kShareDelete))
        return sim::Fail(ERROR_SHARING_VIOLATION);
    DWORD sourceAttributes = sim::StoredAttributes(source.Key(), false);
    if (target.Exists()) {
        if (failIfExists) return sim::Fail(sim::kErrorFileExists);
        if (target.isDir) return sim::Fail(ERROR_ACCESS_DENIED);
        // The source is open for reading while the target is opened for writing.
        sim::OpenFile reading{source.Key(), source.host, GENERIC_READ, FILE_SHARE_READ | sim::kShareDelete};
        fs.locks.push_back(reading);
        bool shared = sim::SharingAllows(target.Key(), GENERIC_WRITE, 0);
        fs.locks.pop_back();
        if (!shared) return sim::Fail(ERROR_SHARING_VIOLATION);
        DWORD targetAttributes = sim::StoredAttributes(target.Key(), false);
        if (targetAttributes & FILE_ATTRIBUTE_READONLY) return sim::Fail(ERROR_ACCESS_DENIED);
        // Replacing a hidden or system file needs the same flag on the new one.
        DWORD guarded = FILE_ATTRIBUTE_HIDDEN | FILE_ATTRIBUTE_SYSTEM;
        if ((targetAttributes & guarded) & ~(sourceAttributes & guarded)) return sim::Fail(ERROR_ACCESS_DENIED);
    }
    std::string content;
    struct stat st;
    if (!sim::ReadHostFile(source.host, content) || stat(source.host.c_str(), &st) != 0)
        return sim::Fail(ERROR_ACCESS_DENIED);
    auto halfWay = fs.halfCopyFaults.find(target.Key());
    if (halfWay != fs.halfCopyFaults.end()) {
        sim::WriteHalf(target.host, content);
        return sim::Fail(halfWay->second);
    }
    sim::Change change = sim::NextChange();
    if (change != sim::Change::Made) {
        if (change == sim::Change::Interrupted) sim::WriteHalf(target.host, content);
        return sim::FailStopped();
    }
    if (!sim::WriteHostFile(target.host, content)) return sim::Fail(ERROR_ACCESS_DENIED);
    sim::SetHostWriteTime(target.host, sim::FileTimeOfStat(st.st_mtim));
    fs.attributes[sim::Resolve(newFile).Key()] = sourceAttributes | FILE_ATTRIBUTE_ARCHIVE;
    return TRUE;
}

BOOL DeleteFileA(LPCSTR file) {
    Resolved r = sim::Resolve(file);
    if (r.error) return sim::Fail(r.error);
    if (!r.Exists()) return sim::Fail(r.MissingError());
    if (r.isDir) return sim::Fail(ERROR_ACCESS_DENIED);
    if (!sim::SharingAllows(r.Key(), sim::kDelete, FILE_SHARE_READ | FILE_SHARE_WRITE | sim::kShareDelete))
        return sim::Fail(ERROR_SHARING_VIOLATION);
    if (sim::StoredAttributes(r.Key(), false) & FILE_ATTRIBUTE_READONLY) return sim::Fail(ERROR_ACCESS_DENIED);
    if (sim::NextChange() != sim::Change::Made) return sim::FailStopped();
    if (unlink(r.host.c_str()) != 0) return sim::Fail(ERROR_ACCESS_DENIED);
    fs.attributes.erase(r.Key());
    return TRUE;
}

BOOL MoveFileA(LPCSTR existingFile, LPCSTR newFile) {
    Resolved source = sim::Resolve(existingFile);
    if (source.error) return sim::Fail(source.error);
    if (!source.Exists()) return sim::Fail(source.MissingError());
    Resolved target = sim::Resolve(newFile);
    if (target.error) return sim::Fail(target.error);
    // Renaming never replaces: a file or folder of the new name stays.
    if (target.Exists()) return sim::Fail(ERROR_ALREADY_EXISTS);
    if (!target.ParentIsDir()) return sim::Fail(ERROR_PATH_NOT_FOUND);
    if (!sim::SharingAllows(source.Key(), sim::kDelete, FILE_SHARE_READ | FILE_SHARE_WRITE | sim::kShareDelete))
        return sim::Fail(ERROR_SHARING_VIOLATION);
    if (sim::NextChange() != sim::Change::Made) return sim::FailStopped();
    if (rename(source.host.c_str(), target.host.c_str()) != 0) return sim::Fail(ERROR_ACCESS_DENIED);
    auto attributes = fs.attributes.find(source.Key());
    if (attributes != fs.attributes.end()) {
        DWORD kept = attributes->second;
        fs.attributes.erase(attributes);
        fs.attributes[sim::Resolve(newFile).Key()] = kept;
    }
    return TRUE;
}

BOOL MoveFileExA(LPCSTR existingFile, LPCSTR newFile, DWORD flags) {
    if (flags & MOVEFILE_DELAY_UNTIL_REBOOT) {
        Resolved source = sim::Resolve(existingFile);
        if (source.error) return sim::Fail(source.error);
        fs.pendingRenames.emplace_back(source.WindowsPath(), newFile ? newFile : "");
        return TRUE;
    }
    if (!(flags & MOVEFILE_REPLACE_EXISTING)) return MoveFileA(existingFile, newFile);
    Resolved target = sim::Resolve(newFile);
    if (target.error) return sim::Fail(target.error);
    if (target.Exists()) {
        if (target.isDir) return sim::Fail(ERROR_ACCESS_DENIED);
        if (sim::StoredAttributes(target.Key(), false) & FILE_ATTRIBUTE_READONLY) return sim::Fail(ERROR_ACCESS_DENIED);
        if (!sim::SharingAllows(target.Key(), sim::kDelete, FILE_SHARE_READ | FILE_SHARE_WRITE | sim::kShareDelete))
            return sim::Fail(ERROR_SHARING_VIOLATION);
    }
    Resolved source = sim::Resolve(existingFile);
    if (source.error) return sim::Fail(source.error);
    if (!source.Exists()) return sim::Fail(source.MissingError());
    if (!target.ParentIsDir()) return sim::Fail(ERROR_PATH_NOT_FOUND);
    // One change: the rename replaces the target whole or not at all.
    if (sim::NextChange() != sim::Change::Made) return sim::FailStopped();
    if (rename(source.host.c_str(), target.host.c_str()) != 0) return sim::Fail(ERROR_ACCESS_DENIED);
    DWORD kept = sim::StoredAttributes(source.Key(), false);
    fs.attributes.erase(source.Key());
    fs.attributes[sim::Resolve(newFile).Key()] = kept;
    return TRUE;
}

BOOL RemoveDirectoryA(LPCSTR path) {
    Resolved r = sim::Resolve(path);
    if (r.error) return sim::Fail(r.error);
    if (!r.Exists()) return sim::Fail(r.MissingError());
    if (!r.isDir) return sim::Fail(ERROR_DIRECTORY);
    if (!sim::ListHostDir(r.host).empty()) return sim::Fail(ERROR_DIR_NOT_EMPTY);
    if (sim::NextChange() != sim::Change::Made) return sim::FailStopped();
    if (rmdir(r.host.c_str()) != 0) return sim::Fail(ERROR_ACCESS_DENIED);
    fs.attributes.erase(r.Key());
    return TRUE;
}

DWORD GetFileAttributesA(LPCSTR file) {
    Resolved r = sim::Resolve(file);
    if (r.error) return sim::Fail(r.error), INVALID_FILE_ATTRIBUTES;
    if (!r.Exists()) return sim::Fail(r.MissingError()), INVALID_FILE_ATTRIBUTES;
    return sim::AttributesOf(r);
}

BOOL SetFileAttributesA(LPCSTR file, DWORD attributes) {
    Resolved r = sim::Resolve(file);
    if (r.error) return sim::Fail(r.error);
    if (!r.Exists()) return sim::Fail(r.MissingError());
    if (sim::NextChange() != sim::Change::Made) return sim::FailStopped();
    fs.attributes[r.Key()] = attributes & sim::kSettableAttributes;
    return TRUE;
}

namespace sim {

// Opening a file to append to it, created when missing: the installer's log.
HANDLE OpenForAppending(LPCSTR file, DWORD shareMode, DWORD flags) {
    Resolved r = Resolve(file);
    if (r.error) return Fail(r.error), INVALID_HANDLE_VALUE;
    if (r.isDir) return Fail(ERROR_ACCESS_DENIED), INVALID_HANDLE_VALUE;
    bool existed = r.Exists();
    if (!existed && !r.ParentIsDir()) return Fail(ERROR_PATH_NOT_FOUND), INVALID_HANDLE_VALUE;
    if (existed && (StoredAttributes(r.Key(), false) & FILE_ATTRIBUTE_READONLY))
        return Fail(ERROR_ACCESS_DENIED), INVALID_HANDLE_VALUE;
    if (!SharingAllows(r.Key(), GENERIC_WRITE, shareMode)) return Fail(ERROR_SHARING_VIOLATION), INVALID_HANDLE_VALUE;
    if (!existed && NextChange() != Change::Made) return FailStopped(), INVALID_HANDLE_VALUE;
    if (!existed && !WriteHostFile(r.host, "")) return Fail(ERROR_ACCESS_DENIED), INVALID_HANDLE_VALUE;
    HANDLE handle = NewHandle(HandleKind::File);
    fs.openFiles[handle] = {Resolve(file).Key(), r.host, GENERIC_WRITE, shareMode, 0,
                            (flags & FILE_FLAG_OPEN_REPARSE_POINT) != 0};
    lastError = existed ? ERROR_ALREADY_EXISTS : 0;
    return handle;
}

// A new, empty file to write (an existing one is emptied).
HANDLE CreateForWriting(LPCSTR file, DWORD shareMode) {
    Resolved r = Resolve(file);
    if (r.error) return Fail(r.error), INVALID_HANDLE_VALUE;
    if (r.isDir) return Fail(ERROR_ACCESS_DENIED), INVALID_HANDLE_VALUE;
    if (!r.Exists() && !r.ParentIsDir()) return Fail(ERROR_PATH_NOT_FOUND), INVALID_HANDLE_VALUE;
    if (r.Exists() && (StoredAttributes(r.Key(), false) & FILE_ATTRIBUTE_READONLY))
        return Fail(ERROR_ACCESS_DENIED), INVALID_HANDLE_VALUE;
    if (!SharingAllows(r.Key(), GENERIC_WRITE, shareMode)) return Fail(ERROR_SHARING_VIOLATION), INVALID_HANDLE_VALUE;
    if (NextChange() != Change::Made) return FailStopped(), INVALID_HANDLE_VALUE;
    if (!WriteHostFile(r.host, "")) return Fail(ERROR_ACCESS_DENIED), INVALID_HANDLE_VALUE;
    HANDLE handle = NewHandle(HandleKind::File);
    fs.openFiles[handle] = {Resolve(file).Key(), r.host, GENERIC_WRITE, shareMode};
    return handle;
}

} // namespace sim

HANDLE CreateFileA(LPCSTR file, DWORD access, DWORD shareMode, LPSECURITY_ATTRIBUTES, DWORD creation, DWORD flags,
                   HANDLE) {
    if (creation == OPEN_ALWAYS && access == FILE_APPEND_DATA) return sim::OpenForAppending(file, shareMode, flags);
    if (creation == CREATE_ALWAYS && access == GENERIC_WRITE) return sim::CreateForWriting(file, shareMode);
    // Otherwise the installer only opens existing files for reading; nothing else is modelled.
    if (creation != OPEN_EXISTING || access != GENERIC_READ)
        return sim::Fail(sim::kErrorCallNotImplemented), INVALID_HANDLE_VALUE;
    Resolved r = sim::Resolve(file);
    if (r.error) return sim::Fail(r.error), INVALID_HANDLE_VALUE;
    if (!r.Exists()) return sim::Fail(r.MissingError()), INVALID_HANDLE_VALUE;
    if (r.isDir) return sim::Fail(ERROR_ACCESS_DENIED), INVALID_HANDLE_VALUE;
    if (!sim::SharingAllows(r.Key(), access, shareMode))
        return sim::Fail(ERROR_SHARING_VIOLATION), INVALID_HANDLE_VALUE;
    HANDLE handle = sim::NewHandle(sim::HandleKind::File);
    fs.openFiles[handle] = {r.Key(), r.host, access, shareMode};
    auto lockAhead = fs.opensBeforeLock.find(r.Key());
    if (lockAhead != fs.opensBeforeLock.end() && --lockAhead->second == 0) {
        fs.opensBeforeLock.erase(lockAhead);
        sim::LockFile(file);
    }
    return handle;
}

BOOL WriteFile(HANDLE file, LPCVOID buffer, DWORD bytesToWrite, LPDWORD bytesWritten, struct OVERLAPPED_ *) {
    *bytesWritten = 0;
    auto it = fs.openFiles.find(file);
    if (it == fs.openFiles.end()) return sim::Fail(ERROR_INVALID_HANDLE);
    if (!(it->second.access & GENERIC_WRITE)) return sim::Fail(ERROR_ACCESS_DENIED);
    if (sim::NextChange() != sim::Change::Made) return sim::FailStopped();
    std::ofstream out(it->second.host, std::ios::binary | std::ios::app);
    out.write(static_cast<const char *>(buffer), bytesToWrite);
    if (!out) return sim::Fail(ERROR_ACCESS_DENIED);
    *bytesWritten = bytesToWrite;
    return TRUE;
}

BOOL ReadFile(HANDLE file, LPVOID buffer, DWORD bytesToRead, LPDWORD bytesRead, struct OVERLAPPED_ *) {
    *bytesRead = 0;
    auto it = fs.openFiles.find(file);
    if (it == fs.openFiles.end()) return sim::Fail(ERROR_INVALID_HANDLE);
    if (!(it->second.access & GENERIC_READ)) return sim::Fail(ERROR_ACCESS_DENIED);
    std::ifstream in(it->second.host, std::ios::binary);
    if (!in) return sim::Fail(ERROR_ACCESS_DENIED);
    // Reading at or past the end succeeds with nothing read, as on Windows.
    in.seekg(static_cast<std::streamoff>(it->second.position));
    in.read(static_cast<char *>(buffer), bytesToRead);
    DWORD count = in.gcount() > 0 ? static_cast<DWORD>(in.gcount()) : 0;
    it->second.position += count;
    *bytesRead = count;
    return TRUE;
}

BOOL GetFileInformationByHandle(HANDLE file, BY_HANDLE_FILE_INFORMATION *info) {
    auto it = fs.openFiles.find(file);
    struct stat st;
    // A host symbolic link stands for a reparse point: opened as itself, it is one.
    bool itself = it != fs.openFiles.end() && it->second.reparsePointItself;
    if (it == fs.openFiles.end() || (itself ? lstat : stat)(it->second.host.c_str(), &st) != 0)
        return sim::Fail(ERROR_INVALID_HANDLE);
    std::memset(info, 0, sizeof(*info));
    DWORD attributes = sim::StoredAttributes(it->second.key, false);
    if (S_ISLNK(st.st_mode)) attributes |= FILE_ATTRIBUTE_REPARSE_POINT;
    info->dwFileAttributes = attributes ? attributes : FILE_ATTRIBUTE_NORMAL;
    info->ftCreationTime = sim::ToFileTime(sim::FileTimeOfStat(st.st_mtim));
    info->ftLastAccessTime = sim::ToFileTime(sim::FileTimeOfStat(st.st_atim));
    info->ftLastWriteTime = sim::ToFileTime(sim::FileTimeOfStat(st.st_mtim));
    uint64_t size = static_cast<uint64_t>(st.st_size);
    info->nFileSizeHigh = static_cast<DWORD>(size >> 32);
    info->nFileSizeLow = static_cast<DWORD>(size & 0xFFFFFFFFu);
    info->nNumberOfLinks = static_cast<DWORD>(st.st_nlink);
    info->nFileIndexLow = static_cast<DWORD>(st.st_ino & 0xFFFFFFFFu);
    info->nFileIndexHigh = static_cast<DWORD>(static_cast<uint64_t>(st.st_ino) >> 32);
    return TRUE;
}

BOOL FileTimeToSystemTime(const FILETIME *fileTime, SYSTEMTIME *systemTime) {
    uint64_t value = (static_cast<uint64_t>(fileTime->dwHighDateTime) << 32) | fileTime->dwLowDateTime;
    if (value >= 0x8000000000000000ULL) return sim::Fail(ERROR_INVALID_PARAMETER);
    uint64_t milliseconds = value / 10000;
    int64_t days = static_cast<int64_t>(milliseconds / 86400000ULL);
    uint64_t ofDay = milliseconds % 86400000ULL;
    systemTime->wMilliseconds = static_cast<WORD>(ofDay % 1000);
    systemTime->wSecond = static_cast<WORD>(ofDay / 1000 % 60);
    systemTime->wMinute = static_cast<WORD>(ofDay / 60000 % 60);
    systemTime->wHour = static_cast<WORD>(ofDay / 3600000);
    systemTime->wDayOfWeek = static_cast<WORD>((days + 1) % 7); // 1601-01-01 was a Monday
    // Civil date from days since 1601-01-01 (shifted to the 0000-03-01 era base).
    int64_t z = days + 584694; // days from 0000-03-01 to 1601-01-01
    int64_t era = z / 146097;
    int64_t dayOfEra = z - era * 146097;
    int64_t yearOfEra = (dayOfEra - dayOfEra / 1460 + dayOfEra / 36524 - dayOfEra / 146096) / 365;
    int64_t dayOfYear = dayOfEra - (365 * yearOfEra + yearOfEra / 4 - yearOfEra / 100);
    int64_t mp = (5 * dayOfYear + 2) / 153;
    int64_t month = mp < 10 ? mp + 3 : mp - 9;
    systemTime->wDay = static_cast<WORD>(dayOfYear - (153 * mp + 2) / 5 + 1);
    systemTime->wMonth = static_cast<WORD>(month);
    systemTime->wYear = static_cast<WORD>(yearOfEra + era * 400 + (month <= 2 ? 1 : 0));
    return TRUE;
}

HANDLE FindFirstFileA(LPCSTR pattern, WIN32_FIND_DATAA *data) {
    Resolved r = sim::Resolve(pattern, true);
    if (r.error) return sim::Fail(r.error), INVALID_HANDLE_VALUE;
    std::string text = pattern;
    if (r.parts.empty() || text.back() == '\\' || text.back() == '/')
        return sim::Fail(ERROR_FILE_NOT_FOUND), INVALID_HANDLE_VALUE;
    std::string wildcard = sim::Fold(r.parts.back());
    if (wildcard == "*.*") wildcard = "*";
    r.parts.pop_back();
    Resolved folder = sim::Resolve(r.WindowsPath().c_str());
    if (!folder.isDir) return sim::Fail(ERROR_PATH_NOT_FOUND), INVALID_HANDLE_VALUE;
    sim::Search search;
    auto fault = fs.searchFaults.find(folder.Key());
    if (fault != fs.searchFaults.end()) {
        if (fault->second.entries < 0) return sim::Fail(fault->second.error), INVALID_HANDLE_VALUE;
        search.failAfter = fault->second.entries;
        search.failError = fault->second.error;
    }
    std::vector<std::string> names = sim::ListHostDir(folder.host);
    std::sort(names.begin(), names.end(), [](const std::string &a, const std::string &b) {
        std::string foldedA = sim::Fold(a);
        std::string foldedB = sim::Fold(b);
        return foldedA != foldedB ? foldedA < foldedB : a < b;
    });
    std::string folderKey = folder.Key();
    if (!folder.parts.empty()) {
        std::string parent = folder.WindowsPath() + "\\..";
        search.entries.push_back({".", folder.host, folderKey});
        search.entries.push_back({"..", sim::Resolve(parent.c_str()).host, sim::Resolve(parent.c_str()).Key()});
        folderKey += "\\";
    }
    for (const std::string &name : names)
        search.entries.push_back({name, folder.host + "/" + name, folderKey + sim::Fold(name)});
    search.entries.erase(std::remove_if(search.entries.begin(), search.entries.end(),
                                        [&](const sim::SearchEntry &e) {
                                            return !sim::WildcardMatch(wildcard.c_str(), sim::Fold(e.name).c_str());
                                        }),
                         search.entries.end());
    if (search.entries.empty()) return sim::Fail(ERROR_FILE_NOT_FOUND), INVALID_HANDLE_VALUE;
    const sim::SearchEntry &first = search.entries[0];
    sim::FindDataOf(first.name, first.host, first.key, data);
    search.next = 1;
    HANDLE handle = sim::NewHandle(sim::HandleKind::Search);
    fs.searches[handle] = search;
    return handle;
}

BOOL FindNextFileA(HANDLE handle, WIN32_FIND_DATAA *data) {
    auto it = fs.searches.find(handle);
    if (it == fs.searches.end()) return sim::Fail(ERROR_INVALID_HANDLE);
    sim::Search &search = it->second;
    if (search.failAfter >= 0 && search.next >= static_cast<size_t>(search.failAfter))
        return sim::Fail(search.failError);
    while (search.next < search.entries.size()) {
        const sim::SearchEntry &entry = search.entries[search.next++];
        // Entries removed since the search started are passed over.
        if (sim::FindDataOf(entry.name, entry.host, entry.key, data)) return TRUE;
    }
    return sim::Fail(ERROR_NO_MORE_FILES);
}

BOOL FindClose(HANDLE handle) {
    if (!sim::ReleaseHandle(handle, sim::HandleKind::Search)) return sim::Fail(ERROR_INVALID_HANDLE);
    fs.searches.erase(handle);
    return TRUE;
}

BOOL CreateDirectoryA(LPCSTR path, LPSECURITY_ATTRIBUTES) {
    Resolved r = sim::Resolve(path);
    if (r.error) return sim::Fail(r.error);
    auto fault = fs.createDirectoryFaults.find(r.Key());
    if (fault != fs.createDirectoryFaults.end()) return sim::Fail(fault->second);
    if (r.WindowsPath().size() > sim::kLongestDirectoryPath) return sim::Fail(ERROR_FILENAME_EXCED_RANGE);
    if (r.Exists()) return sim::Fail(ERROR_ALREADY_EXISTS);
    if (!r.ParentIsDir()) return sim::Fail(ERROR_PATH_NOT_FOUND);
    if (sim::NextChange() != sim::Change::Made) return sim::FailStopped();
    if (mkdir(r.host.c_str(), 0755) != 0) return sim::Fail(ERROR_ACCESS_DENIED);
    fs.attributes.erase(r.Key());
    return TRUE;
}

UINT GetSystemDirectoryA(LPSTR buffer, UINT size) {
    if (fs.systemDirectoryFails) return sim::Fail(ERROR_PATH_NOT_FOUND), 0;
    UINT result = 0;
    sim::CopyDirectoryQueryResult(fs.systemDirectory, buffer, size, result);
    return result;
}

UINT GetWindowsDirectoryA(LPSTR buffer, UINT size) {
    if (fs.windowsDirectoryFails) return sim::Fail(ERROR_PATH_NOT_FOUND), 0;
    UINT result = 0;
    sim::CopyDirectoryQueryResult(fs.windowsDirectory, buffer, size, result);
    return result;
}

BOOL SetCurrentDirectoryA(LPCSTR path) {
    Resolved r = sim::Resolve(path);
    if (r.error) return sim::Fail(r.error);
    if (!r.Exists()) return sim::Fail(r.MissingError());
    if (!r.isDir) return sim::Fail(ERROR_DIRECTORY);
    fs.currentDirectory = r.WindowsPath();
    return TRUE;
}

// The simulated machine's clock runs on UTC.
void GetLocalTime(SYSTEMTIME *time) { GetSystemTime(time); }

BOOL FlushFileBuffers(HANDLE file) {
    if (fs.openFiles.find(file) == fs.openFiles.end()) return sim::Fail(ERROR_INVALID_HANDLE);
    return TRUE;
}

void GetSystemTime(SYSTEMTIME *time) {
    FILETIME now = sim::ToFileTime(sim::CurrentSystemTime());
    FileTimeToSystemTime(&now, time);
}

DWORD GetFullPathNameA(LPCSTR fileName, DWORD size, LPSTR buffer, LPSTR *filePart) {
    Resolved r = sim::Resolve(fileName);
    if (r.error) return sim::Fail(r.error), 0;
    std::string full = r.WindowsPath();
    if (size <= full.size()) return static_cast<DWORD>(full.size() + 1);
    std::memcpy(buffer, full.c_str(), full.size() + 1);
    if (filePart) *filePart = buffer + full.find_last_of('\\') + 1;
    return static_cast<DWORD>(full.size());
}

DWORD GetCurrentDirectoryA(DWORD size, LPSTR buffer) {
    UINT result = 0;
    sim::CopyDirectoryQueryResult(fs.currentDirectory, buffer, size, result);
    return result;
}
