// What the installer remembers of a machine: the record of every file it
// placed, every backup it made and every runtime it handled, run by run. It
// lives in a folder of the product under Program Files, beside a kept copy of
// the installer, so that undoing needs no distribution folder. The run
// writes it, the restore and the check read it; nothing else parses it.
#pragma once

#include "fileops/join_path.h"
#include "fileops/sha256.h"

enum class RecordItemKind { Release, File, Backup, Runtime };

struct RecordItem {
    RecordItemKind kind;
    int run;                     // which run (1, 2, ...) recorded it
    char hash[kSha256TextSize];  // File: what was placed; Backup: the original's; Release: the manifest's
    char path[kPathCapacity];    // File: the target; Backup: the original; Runtime: the home; Release: the version
    char other[kPathCapacity];   // Backup: the backup's path; Release: the sites; otherwise empty
};

// Room for many runs over many runtimes; a record that would outgrow it
// refuses the change it would describe.
constexpr int kRecordCapacity = 600;

enum class RecordState { Missing, Whole, Torn };

struct InstallRecord {
    RecordState state;
    int lastRun; // 0: no run recorded
    int count;
    RecordItem items[kRecordCapacity];
};

// The product's folder under the running program's Program Files folder
// (for a 32-bit program on 64-bit Windows, the x86 one), and the files in it.
bool RecordFolder(char *folder);
bool RecordFilePath(char *path);
bool KeptInstallerPath(char *path);

// Reads the record. Missing when there is none; Torn when it cannot be read
// whole (a line that does not parse, no end mark, too many items): it is then
// never written over.
RecordState LoadInstallRecord(InstallRecord *record);

// Adds an item in memory; false when the record is torn or full.
bool AppendRecordItem(InstallRecord *record, const RecordItem &item);

// Writes the whole record atomically: aside, flushed, then renamed over the
// old one, which stays whole until then. False with error when it cannot.
bool SaveInstallRecord(InstallRecord *record, DWORD *error);

// Whether a file named like path (its last component, letter case aside)
// was placed by any recorded run with exactly this content.
bool PlacedWithHash(const InstallRecord &record, const char *path, const char *hash);

// The first backup recorded for this original (an upgrade keeps the first
// backup as the original's); nullptr when none.
const RecordItem *BackupOf(const InstallRecord &record, const char *original);

// Whether a runtime with this home was handled by any recorded run.
bool RuntimeRecorded(const InstallRecord &record, const char *home);

// Case-insensitive comparison of two Windows paths.
bool SamePath(const char *first, const char *second);
