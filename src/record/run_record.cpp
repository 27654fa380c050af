#include "record/run_record.h"

#include <cstring>

#include "fileops/bounded_text.h"
#include "fileops/copy_file_guarded.h"
#include "log/run_log.h"
#include "record/install_record.h"
#include "record/product_entry.h"
#include "record/release_identity.h"

namespace {

// The high part of a file's size sits above the low DWORD.
const int kDwordBits = 32;

const DWORD kBytesPerKb = 1024;

// The one record of this process's run; large, so not on the stack.
InstallRecord record;
bool recording = false;
int thisRun = 0;
// The count of items when the open batch began; -1: no batch open.
int batchStart = -1;

// Writes the record; on failure the items from `from` on are dropped again,
// so that memory and disk agree.
bool Save(int from) {
    DWORD error = ERROR_SUCCESS;
    if (SaveInstallRecord(&record, &error)) return true;
    LogEvent("the record cannot be written (error %lu)", static_cast<unsigned long>(error));
    record.count = from;
    SetLastError(error);
    return false;
}

bool Add(RecordItemKind kind, const char *hash, const char *path, const char *other) {
    if (!recording) return true;
    RecordItem item = {};
    item.kind = kind;
    item.run = thisRun;
    if (!CopyText(item.hash, sizeof item.hash, hash) || !CopyText(item.path, sizeof item.path, path) ||
        !CopyText(item.other, sizeof item.other, other)) {
        LogEvent("not recorded, too long: %s", path);
        SetLastError(ERROR_FILENAME_EXCED_RANGE);
        return false;
    }
    // What an earlier run recorded already covers this change: the record
    // grows with what is new, not with every run.
    for (int i = 0; i < record.count; ++i) {
        const RecordItem &known = record.items[i];
        if (known.kind == item.kind && std::strcmp(known.hash, item.hash) == 0 && SamePath(known.path, item.path) &&
            SamePath(known.other, item.other))
            return true;
    }
    if (!AppendRecordItem(&record, item)) {
        LogEvent("not recorded, the record is full: %s", path);
        SetLastError(ERROR_DISK_FULL);
        return false;
    }
    return batchStart >= 0 || Save(record.count - 1);
}

bool HashText(const char *path, char hash[kSha256TextSize]) {
    DWORD error = ERROR_SUCCESS;
    if (HashFileText(path, hash, &error)) return true;
    SetLastError(error);
    return false;
}

bool CreateFolder(const char *folder) {
    return CreateDirectoryA(folder, nullptr) || GetLastError() == ERROR_ALREADY_EXISTS;
}

// Sizes of the files this and earlier runs placed that are still there, and
// of the kept installer, rounded up to whole kilobytes.
DWORD PlacedSizeKb(const char *keptInstaller) {
    unsigned long long bytes = 0;
    for (int i = -1; i < record.count; ++i) {
        const char *path = i < 0 ? keptInstaller : record.items[i].path;
        if (i >= 0) {
            if (record.items[i].kind != RecordItemKind::File) continue;
            bool seen = false;
            for (int j = 0; j < i && !seen; ++j)
                seen = record.items[j].kind == RecordItemKind::File && SamePath(record.items[j].path, path);
            if (seen) continue;
        }
        HANDLE file = CreateFileA(path, GENERIC_READ, FILE_SHARE_READ, nullptr, OPEN_EXISTING, 0, nullptr);
        if (file == INVALID_HANDLE_VALUE) continue;
        BY_HANDLE_FILE_INFORMATION info;
        if (GetFileInformationByHandle(file, &info))
            bytes += (static_cast<unsigned long long>(info.nFileSizeHigh) << kDwordBits) | info.nFileSizeLow;
        CloseHandle(file);
    }
    return static_cast<DWORD>((bytes + kBytesPerKb - 1) / kBytesPerKb);
}

bool RegisterProduct(DWORD *error) {
    char folder[kPathCapacity];
    char kept[kPathCapacity];
    LONG status = ERROR_SUCCESS;
    if (!RecordFolder(folder) || !KeptInstallerPath(kept)) {
        *error = ERROR_PATH_NOT_FOUND;
        return false;
    }
    if (!WriteProductEntry(folder, kept, PlacedSizeKb(kept), &status)) {
        *error = static_cast<DWORD>(status);
        LogEvent("the product entry cannot be written (error %lu)", static_cast<unsigned long>(status));
        return false;
    }
    return true;
}

// The copy that undoes the installation when the distribution folder is gone.
bool KeepInstaller(DWORD *error) {
    char running[kPathCapacity];
    char kept[kPathCapacity];
    DWORD length = GetModuleFileNameA(nullptr, running, sizeof running);
    if (length == 0 || length >= sizeof running || !KeptInstallerPath(kept)) {
        *error = length == 0 ? GetLastError() : static_cast<DWORD>(ERROR_FILENAME_EXCED_RANGE);
        return false;
    }
    // A run started from the kept copy itself keeps it as it is.
    if (SamePath(running, kept)) return true;
    if (CopyFileA(running, kept, FALSE)) {
        LogEvent("installer kept: %s", kept);
        return true;
    }
    *error = GetLastError();
    LogEvent("the installer cannot be kept (error %lu): %s", static_cast<unsigned long>(*error), kept);
    return false;
}

bool CopyRecorded(const char *source, const char *target) { return RecordPlacedFile(source, target); }

} // namespace

RecordStart BeginRecordedRun(DWORD *error) {
    *error = ERROR_SUCCESS;
    if (LoadInstallRecord(&record) == RecordState::Torn) {
        LogEvent("the record cannot be read whole; nothing was done");
        return RecordStart::Torn;
    }
    char folder[kPathCapacity];
    if (!RecordFolder(folder)) {
        *error = ERROR_PATH_NOT_FOUND;
        LogEvent("the Program Files folder is not known; nothing was done");
        return RecordStart::Unwritable;
    }
    if (!CreateFolder(folder)) {
        *error = GetLastError();
        LogEvent("the record's folder cannot be made (error %lu): %s; nothing was done",
                 static_cast<unsigned long>(*error), folder);
        return RecordStart::Unwritable;
    }
    thisRun = record.lastRun + 1;
    recording = true;
    char version[kReleaseVersionCapacity];
    char manifest[kSha256TextSize] = "";
    FormatReleaseVersion(version, sizeof version);
    ReleaseManifestHash(manifest);
    if (!Add(RecordItemKind::Release, manifest, version, ReleaseSites())) {
        *error = GetLastError();
        recording = false;
        return RecordStart::Unwritable;
    }
    LogEvent("record: run %d in %s", thisRun, folder);
    if (!KeepInstaller(error) || !RegisterProduct(error)) {
        recording = false;
        return RecordStart::Unwritable;
    }
    WatchCopies(CopyRecorded);
    return RecordStart::Ready;
}

void EndRecordedRun() {
    if (!recording) return;
    WatchCopies(nullptr);
    DWORD error = ERROR_SUCCESS;
    /* logged where it fails: */ RegisterProduct(&error);
    recording = false;
}

void BeginRecordBatch() {
    if (recording && batchStart < 0) batchStart = record.count;
}

bool EndRecordBatch() {
    if (batchStart < 0) return true;
    int from = batchStart;
    batchStart = -1;
    return from == record.count || Save(from);
}

bool RecordPlacedFile(const char *source, const char *target) {
    if (!recording) return true;
    char hash[kSha256TextSize];
    if (!HashText(source, hash)) return true; // a source that cannot be read is copied by nobody
    return Add(RecordItemKind::File, hash, target, "");
}

bool RecordBackup(const char *original, const char *backup) {
    if (!recording) return true;
    char hash[kSha256TextSize];
    if (!HashText(original, hash)) return false;
    // A file an earlier run placed is no original to put back.
    if (PlacedWithHash(record, original, hash)) return true;
    return Add(RecordItemKind::Backup, hash, original, backup);
}

bool RecordRuntime(const char *home) {
    if (!recording || RuntimeRecorded(record, home)) return true;
    return Add(RecordItemKind::Runtime, "", home, "");
}
