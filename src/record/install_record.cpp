#include "record/install_record.h"

#include <cstring>

#include "fileops/bounded_text.h"

namespace {

// Room for an item's kind and run number.
const size_t kShortFieldCapacity = 16;
// Far above any real run number, far below an overflow of int.
const int kLargestRunNumber = kRecordCapacity * 100;
const int kDecimalBase = 10;

const char kCurrentVersionKey[] = "SOFTWARE\\Microsoft\\Windows\\CurrentVersion";
const char kProgramFilesValue[] = "ProgramFilesDir";
const char kProductFolder[] = "SmartCardReaderSupport";
const char kRecordFile[] = "record.txt";
const char kRecordAside[] = "record.txt.new";
const char kKeptInstaller[] = "installer.exe";

const char kHeader[] = "SmartCardReaderSupport record 1";
const char kEndMark[] = "end";
// Fields are separated by tabs, which no Windows path holds.
const char kSeparator = '\t';

struct KindName {
    RecordItemKind kind;
    const char *name;
};
const KindName kKindNames[] = {
    {RecordItemKind::Release, "release"},
    {RecordItemKind::File, "file"},
    {RecordItemKind::Backup, "backup"},
    {RecordItemKind::Runtime, "runtime"},
};

// A line as written: kind, run, hash, path, other; the longest is two paths.
const int kLineCapacity = 2 * kPathCapacity + kSha256TextSize + 32;
// The whole record: its items, the header and the end mark.
const size_t kRecordTextCapacity = static_cast<size_t>(kRecordCapacity + 2) * kLineCapacity;

const char *NameOf(RecordItemKind kind) {
    for (const KindName &known : kKindNames)
        if (known.kind == kind) return known.name;
    return "";
}

const char *LastComponent(const char *path) {
    const char *slash = std::strrchr(path, '\\');
    return slash ? slash + 1 : path;
}

// Copies the field that starts at `at` up to the next tab or the line's end.
bool TakeField(const char **at, char *field, size_t capacity) {
    size_t length = std::strcspn(*at, "\t");
    if (length >= capacity) return false;
    std::memcpy(field, *at, length);
    field[length] = '\0';
    *at += length;
    if (**at == kSeparator) ++*at;
    return true;
}

bool ParseItem(const char *line, RecordItem *item) {
    char kind[kShortFieldCapacity];
    char run[kShortFieldCapacity];
    if (!TakeField(&line, kind, sizeof kind) || !TakeField(&line, run, sizeof run) ||
        !TakeField(&line, item->hash, sizeof item->hash) || !TakeField(&line, item->path, sizeof item->path) ||
        !TakeField(&line, item->other, sizeof item->other) || *line != '\0')
        return false;
    // A run number: digits only, small enough never to overflow.
    item->run = 0;
    for (const char *digit = run; *digit; ++digit) {
        if (*digit < '0' || *digit > '9' || item->run > kLargestRunNumber) return false;
        item->run = item->run * kDecimalBase + (*digit - '0');
    }
    if (item->run < 1) return false;
    for (const KindName &known : kKindNames) {
        if (std::strcmp(kind, known.name) == 0) {
            item->kind = known.kind;
            return true;
        }
    }
    return false;
}

// The record's text, whole, read into a block: the record is small.
RecordState ParseRecord(char *text, InstallRecord *record) {
    char *line = text;
    bool headerSeen = false;
    while (*line != '\0') {
        char *end = std::strchr(line, '\r');
        if (!end || end[1] != '\n') return RecordState::Torn; // every line, the end mark included, ends in CRLF
        *end = '\0';
        if (!headerSeen) {
            if (std::strcmp(line, kHeader) != 0) return RecordState::Torn;
            headerSeen = true;
        } else if (std::strcmp(line, kEndMark) == 0) {
            return end[2] == '\0' ? RecordState::Whole : RecordState::Torn;
        } else {
            if (record->count == kRecordCapacity) return RecordState::Torn;
            RecordItem &item = record->items[record->count];
            if (!ParseItem(line, &item)) return RecordState::Torn;
            ++record->count;
            if (item.run > record->lastRun) record->lastRun = item.run;
        }
        line = end + 2;
    }
    return RecordState::Torn;
}

// The record's text, whole, into a block of kRecordTextCapacity bytes.
bool FormatRecord(const InstallRecord &record, char *text, DWORD *length) {
    size_t used = 0;
    for (int i = -1; i <= record.count; ++i) {
        char *at = text + used;
        size_t room = kRecordTextCapacity - used;
        bool fits = true;
        if (i < 0) {
            fits = FormatText(at, room, "%s\r\n", kHeader);
        } else if (i == record.count) {
            fits = FormatText(at, room, "%s\r\n", kEndMark);
        } else {
            const RecordItem &item = record.items[i];
            fits = FormatText(at, room, "%s\t%d\t%s\t%s\t%s\r\n", NameOf(item.kind), item.run, item.hash, item.path,
                              item.other);
        }
        if (!fits) return false;
        used += std::strlen(at);
    }
    *length = static_cast<DWORD>(used);
    return true;
}

// Written in one piece, so that the file aside is whole or plainly cut.
bool WriteRecordText(HANDLE file, const InstallRecord &record, DWORD *error) {
    HGLOBAL block = GlobalAlloc(GMEM_FIXED, kRecordTextCapacity);
    if (!block) {
        *error = ERROR_NOT_ENOUGH_MEMORY;
        return false;
    }
    char *text = static_cast<char *>(block);
    DWORD length = 0;
    DWORD written = 0;
    bool whole = false;
    if (!FormatRecord(record, text, &length))
        *error = ERROR_INSUFFICIENT_BUFFER;
    else if (!WriteFile(file, text, length, &written, nullptr))
        *error = GetLastError();
    else
        whole = written == length;
    GlobalFree(block);
    if (!whole && *error == ERROR_SUCCESS) *error = ERROR_DISK_FULL;
    return whole;
}

bool InRecordFolder(char *path, const char *name) { return RecordFolder(path) && JoinPath(path, name); }

} // namespace

bool RecordFolder(char *folder) {
    HKEY key;
    // Read only: the check takes nothing more than it needs.
    if (RegOpenKeyExA(HKEY_LOCAL_MACHINE, kCurrentVersionKey, 0, KEY_QUERY_VALUE, &key) != ERROR_SUCCESS) return false;
    DWORD type = REG_NONE;
    DWORD size = kPathCapacity;
    LONG status = RegQueryValueExA(key, kProgramFilesValue, nullptr, &type, reinterpret_cast<BYTE *>(folder), &size);
    RegCloseKey(key);
    // A value without its terminator, or one that fills the buffer, names nothing whole.
    if (status != ERROR_SUCCESS || (type != REG_SZ && type != REG_EXPAND_SZ) || size == 0 ||
        BoundedLength(folder, size) >= size)
        return false;
    return folder[0] != '\0' && JoinPath(folder, kProductFolder);
}

bool RecordFilePath(char *path) { return InRecordFolder(path, kRecordFile); }

bool KeptInstallerPath(char *path) { return InRecordFolder(path, kKeptInstaller); }

RecordState LoadInstallRecord(InstallRecord *record) {
    record->count = 0;
    record->lastRun = 0;
    record->state = RecordState::Missing;
    char path[kPathCapacity];
    if (!RecordFilePath(path)) return record->state;
    HANDLE file = CreateFileA(path, GENERIC_READ, FILE_SHARE_READ, nullptr, OPEN_EXISTING, 0, nullptr);
    if (file == INVALID_HANDLE_VALUE) {
        DWORD error = GetLastError();
        if (error != ERROR_FILE_NOT_FOUND && error != ERROR_PATH_NOT_FOUND) record->state = RecordState::Torn;
        return record->state;
    }
    BY_HANDLE_FILE_INFORMATION info;
    DWORD limit = static_cast<DWORD>(kRecordTextCapacity);
    record->state = RecordState::Torn;
    if (GetFileInformationByHandle(file, &info) && info.nFileSizeHigh == 0 && info.nFileSizeLow < limit) {
        DWORD size = info.nFileSizeLow;
        HGLOBAL block = GlobalAlloc(GMEM_FIXED, size + 1);
        if (block) {
            char *text = static_cast<char *>(block);
            DWORD read = 0;
            if (ReadFile(file, text, size, &read, nullptr) && read == size) {
                text[size] = '\0';
                // A NUL inside the text would hide what follows it.
                if (std::strlen(text) == size) record->state = ParseRecord(text, record);
            }
            GlobalFree(block);
        }
    }
    CloseHandle(file);
    if (record->state != RecordState::Whole) record->count = 0;
    return record->state;
}

bool AppendRecordItem(InstallRecord *record, const RecordItem &item) {
    if (record->state == RecordState::Torn || record->count == kRecordCapacity) return false;
    record->items[record->count++] = item;
    if (item.run > record->lastRun) record->lastRun = item.run;
    return true;
}

bool SaveInstallRecord(InstallRecord *record, DWORD *error) {
    *error = ERROR_SUCCESS;
    char path[kPathCapacity];
    char aside[kPathCapacity];
    if (record->state == RecordState::Torn || !RecordFilePath(path) || !InRecordFolder(aside, kRecordAside)) {
        *error = ERROR_PATH_NOT_FOUND;
        return false;
    }
    HANDLE file = CreateFileA(aside, GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS, 0, nullptr);
    bool written = false;
    if (file == INVALID_HANDLE_VALUE) {
        *error = GetLastError();
    } else {
        written = WriteRecordText(file, *record, error);
        if (written && !FlushFileBuffers(file)) {
            *error = GetLastError();
            written = false;
        }
        CloseHandle(file);
    }
    // The old record stays whole until the new one replaces it in one rename.
    if (written && !MoveFileExA(aside, path, MOVEFILE_REPLACE_EXISTING | MOVEFILE_WRITE_THROUGH)) {
        *error = GetLastError();
        written = false;
    }
    if (!written) {
        /* result not examined, it may not exist: */ DeleteFileA(aside);
        return false;
    }
    record->state = RecordState::Whole;
    return true;
}

bool SamePath(const char *first, const char *second) {
    const char *rest = AfterPrefixIgnoringCase(first, second);
    return rest && *rest == '\0';
}

bool PlacedWithHash(const InstallRecord &record, const char *path, const char *hash) {
    const char *name = LastComponent(path);
    for (int i = 0; i < record.count; ++i) {
        const RecordItem &item = record.items[i];
        if (item.kind == RecordItemKind::File && std::strcmp(item.hash, hash) == 0 &&
            SamePath(LastComponent(item.path), name))
            return true;
    }
    return false;
}

const RecordItem *BackupOf(const InstallRecord &record, const char *original) {
    for (int i = 0; i < record.count; ++i)
        if (record.items[i].kind == RecordItemKind::Backup && SamePath(record.items[i].path, original))
            return &record.items[i];
    return nullptr;
}

bool RuntimeRecorded(const InstallRecord &record, const char *home) {
    for (int i = 0; i < record.count; ++i)
        if (record.items[i].kind == RecordItemKind::Runtime && SamePath(record.items[i].path, home)) return true;
    return false;
}
