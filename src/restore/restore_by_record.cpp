#include "restore/restore_by_record.h"

#include <cstring>

#include "fileops/bounded_text.h"
#include "fileops/directory_path.h"
#include "log/run_log.h"
#include "record/product_entry.h"
#include "restore/restore_file.h"

namespace {

const char kSystemLibrary[] = "ocfpcsc1.dll";
const char kPartialSuffix[] = ".ocf-new";
const char kBackupSuffix[] = ".ocf-bak";

// Whether an earlier item of the record names the same path as item i.
bool SeenBefore(const InstallRecord &record, int i) {
    for (int j = 0; j < i; ++j)
        if (record.items[j].kind == record.items[i].kind && SamePath(record.items[j].path, record.items[i].path))
            return true;
    return false;
}

void Remove(const char *path, RestoreReport *report) {
    if (DeleteFileA(path))
        NoteRestore(report, RestoreNote::Removed, path, ERROR_SUCCESS);
    else
        NoteRestore(report, RestoreNote::NotRemoved, path, GetLastError());
}

// The original goes back where the target still holds what a run placed,
// already the original (a restore stopped before the backup went), or is
// gone; a target changed since stays, its backup beside it.
void RestoreBackup(const InstallRecord &record, const RecordItem &backupItem, RestoreReport *report) {
    const char *target = backupItem.path;
    const char *backup = backupItem.other;
    char partial[kPathCapacity];
    if (!FormatText(partial, sizeof partial, "%s%s", target, kPartialSuffix)) partial[0] = '\0';
    if (partial[0] != '\0' && IsFile(partial)) Remove(partial, report);
    if (!IsFile(backup)) return; // put back already, or never made: the target is handled as a placed file
    DWORD error = ERROR_SUCCESS;
    char hash[kSha256TextSize];
    if (!HashFileText(backup, hash, &error)) {
        NoteRestore(report, RestoreNote::NotCompared, backup, error);
        return;
    }
    if (std::strcmp(hash, backupItem.hash) != 0) {
        // Not the original the run saw: someone's, and not put back.
        NoteRestore(report, RestoreNote::KeptChanged, backup, ERROR_SUCCESS);
        return;
    }
    if (IsFile(target)) {
        if (!HashFileText(target, hash, &error)) {
            NoteRestore(report, RestoreNote::NotCompared, target, error);
            return;
        }
        if (std::strcmp(hash, backupItem.hash) != 0 && !PlacedWithHash(record, target, hash)) {
            NoteRestore(report, RestoreNote::ChangedSince, target, ERROR_SUCCESS);
            return;
        }
    }
    if (partial[0] == '\0') {
        NoteRestore(report, RestoreNote::NotRestored, target, ERROR_FILENAME_EXCED_RANGE);
        return;
    }
    PutBack(target, backup, partial, report);
}

// A file a run placed goes while it holds what some run placed under its name.
void RemovePlaced(const InstallRecord &record, const char *path, RestoreReport *report) {
    if (!IsFile(path)) return;
    char hash[kSha256TextSize];
    DWORD error = ERROR_SUCCESS;
    if (!HashFileText(path, hash, &error)) {
        NoteRestore(report, RestoreNote::NotCompared, path, error);
        return;
    }
    if (!PlacedWithHash(record, path, hash)) {
        NoteRestore(report, RestoreNote::KeptChanged, path, ERROR_SUCCESS);
        return;
    }
    Remove(path, report);
}

// A backup that CopyPolicyFile made of a file an earlier run had placed holds
// nothing of the user's (the record names no backup for it): it goes too.
void RemoveBackupOfPlaced(const InstallRecord &record, const char *path, RestoreReport *report) {
    char backup[kPathCapacity];
    char hash[kSha256TextSize];
    DWORD error = ERROR_SUCCESS;
    if (!FormatText(backup, sizeof backup, "%s%s", path, kBackupSuffix) || !IsFile(backup)) return;
    if (HashFileText(backup, hash, &error) && PlacedWithHash(record, path, hash)) Remove(backup, report);
}

} // namespace

void RestoreByRecord(const InstallRecord &record, RestoreReport *report) {
    for (int i = 0; i < record.count; ++i)
        if (record.items[i].kind == RecordItemKind::Backup && !SeenBefore(record, i))
            RestoreBackup(record, record.items[i], report);
    char systemLibrary[kPathCapacity];
    if (!PathInDirectory(GetSystemDirectoryA, systemLibrary, kSystemLibrary)) systemLibrary[0] = '\0';
    for (int i = 0; i < record.count; ++i) {
        const RecordItem &item = record.items[i];
        if (item.kind != RecordItemKind::File || SeenBefore(record, i)) continue;
        // A file with a recorded backup was put back (or kept) above.
        const RecordItem *backup = BackupOf(record, item.path);
        if (backup) continue;
        // Other programs may load the system directory's library.
        if (SamePath(item.path, systemLibrary)) {
            if (IsFile(systemLibrary)) NoteRestore(report, RestoreNote::KeptShared, systemLibrary, ERROR_SUCCESS);
            continue;
        }
        RemovePlaced(record, item.path, report);
        RemoveBackupOfPlaced(record, item.path, report);
    }
    if (report->notUndone == 0) RemoveProductRecord(report);
}

void RemoveProductRecord(RestoreReport *report) {
    char folder[kPathCapacity];
    char kept[kPathCapacity];
    char recordFile[kPathCapacity];
    char running[kPathCapacity];
    if (!RecordFolder(folder) || !KeptInstallerPath(kept) || !RecordFilePath(recordFile)) return;
    DWORD length = GetModuleFileNameA(nullptr, running, sizeof running);
    bool keptIsRunning = length > 0 && length < sizeof running && SamePath(running, kept);
    // The kept installer goes first and the record last, so that a restore
    // stopped in between is completed by the next one from the record.
    if (keptIsRunning) {
        // Windows deletes the running program, then its folder, when it next
        // starts (MoveFileEx without a target; Windows 2000 and later, for an
        // administrator).
        if (!MoveFileExA(kept, nullptr, MOVEFILE_DELAY_UNTIL_REBOOT) ||
            !MoveFileExA(folder, nullptr, MOVEFILE_DELAY_UNTIL_REBOOT)) {
            NoteRestore(report, RestoreNote::NotRemoved, kept, GetLastError());
            return;
        }
        LogEvent("removed at the next restart: %s", kept);
    } else if (IsFile(kept) && !DeleteFileA(kept)) {
        NoteRestore(report, RestoreNote::NotRemoved, kept, GetLastError());
        return;
    }
    LONG status = ERROR_SUCCESS;
    if (!RemoveProductEntry(&status)) {
        NoteRestore(report, RestoreNote::NotRemoved, kProductEntryKey, static_cast<DWORD>(status));
        return;
    }
    if (IsFile(recordFile) && !DeleteFileA(recordFile)) {
        NoteRestore(report, RestoreNote::NotRemoved, recordFile, GetLastError());
        return;
    }
    if (!keptIsRunning && IsFolder(folder) && !RemoveDirectoryA(folder))
        NoteRestore(report, RestoreNote::NotRemoved, folder, GetLastError());
}
