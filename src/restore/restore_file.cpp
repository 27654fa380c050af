#include "restore/restore_file.h"

#include "fileops/file_comparison.h"

bool IsFile(const char *path) {
    DWORD attributes = GetFileAttributesA(path);
    return attributes != INVALID_FILE_ATTRIBUTES && !(attributes & FILE_ATTRIBUTE_DIRECTORY);
}

bool IsFolder(const char *path) {
    DWORD attributes = GetFileAttributesA(path);
    return attributes != INVALID_FILE_ATTRIBUTES && (attributes & FILE_ATTRIBUTE_DIRECTORY);
}

namespace {

// Copies source to partial and compares the two; a copy that is not whole
// is deleted again. False with the error (ERROR_SUCCESS: the copy differs).
bool CopyWhole(const char *source, const char *partial, DWORD *error) {
    *error = ERROR_SUCCESS;
    if (!CopyFileA(source, partial, FALSE))
        *error = GetLastError();
    else if (CompareFiles(partial, source, error) == Comparison::Same)
        return true;
    /* result not examined, it may not exist: */ DeleteFileA(partial);
    return false;
}

} // namespace

void PutBack(const char *target, const char *backup, const char *partial, RestoreReport *report) {
    DWORD error = ERROR_SUCCESS;
    if (!IsFile(target) || CompareFiles(target, backup, &error) != Comparison::Same) {
        if (!CopyWhole(backup, partial, &error)) {
            NoteRestore(report, error ? RestoreNote::NotRestored : RestoreNote::NotVerified, target, error);
            return;
        }
        // A read-only or locked target refuses to go: it is never forced.
        if ((IsFile(target) && !DeleteFileA(target)) || !MoveFileA(partial, target)) {
            NoteRestore(report, RestoreNote::NotRestored, target, GetLastError());
            /* result not examined: */ DeleteFileA(partial);
            return;
        }
    }
    if (!DeleteFileA(backup)) {
        NoteRestore(report, RestoreNote::BackupNotKept, backup, GetLastError());
        return;
    }
    NoteRestore(report, RestoreNote::Restored, target, ERROR_SUCCESS);
}

void RemoveIfInstallers(const char *target, const char *installedFrom, RestoreNote whenDifferent,
                        RestoreReport *report) {
    if (target[0] == '\0' || !IsFile(target)) return;
    DWORD error = ERROR_SUCCESS;
    switch (CompareFiles(target, installedFrom, &error)) {
    case Comparison::Different: NoteRestore(report, whenDifferent, target, ERROR_SUCCESS); return;
    case Comparison::Unreadable: NoteRestore(report, RestoreNote::NotCompared, target, error); return;
    case Comparison::Same: break;
    }
    if (DeleteFileA(target))
        NoteRestore(report, RestoreNote::Removed, target, ERROR_SUCCESS);
    else
        NoteRestore(report, RestoreNote::NotRemoved, target, GetLastError());
}

void RestoreFromBackup(const char *target, const char *backup, const char *partial, const char *installedFrom,
                       RestoreNote whenDifferent, RestoreReport *report) {
    if (target[0] == '\0') return;
    // A target that is gone while the partial copy is there was deleted by
    // a restore that stopped before renaming the copy in its place.
    bool restoreStopped = !IsFile(target) && partial[0] != '\0' && IsFile(partial);
    // Never the only copy of an original: an installation renames its
    // partial backup before it replaces anything, a restore its partial
    // copy before it deletes the backup.
    if (partial[0] != '\0' && IsFile(partial)) {
        if (DeleteFileA(partial)) {
            NoteRestore(report, RestoreNote::Removed, partial, ERROR_SUCCESS);
        } else {
            NoteRestore(report, RestoreNote::NotRemoved, partial, GetLastError());
            return;
        }
    }
    if (backup[0] == '\0' || !IsFile(backup)) {
        RemoveIfInstallers(target, installedFrom, whenDifferent, report);
        return;
    }
    DWORD error = ERROR_SUCCESS;
    // A backup of the installer's own file (a later installation found the
    // file an earlier one had put there) holds nothing to put back.
    if (CompareFiles(backup, installedFrom, &error) == Comparison::Same) {
        RemoveIfInstallers(backup, installedFrom, whenDifferent, report);
        RemoveIfInstallers(target, installedFrom, whenDifferent, report);
        return;
    }
    // The target is put back only where the installation left it: still the
    // installer's file, already the original (a restore stopped before it
    // deleted the backup), or gone. Anything else was changed since: it is
    // someone's, and stays with the backup beside it.
    // Without a record, a backup beside no file is not known to be one the
    // installer made (a user's own .java.policy.ocf-bak): it is never made
    // the active file.
    if (!IsFile(target) && !restoreStopped) {
        NoteRestore(report, RestoreNote::LeftAlone, backup, ERROR_SUCCESS);
        return;
    }
    if (IsFile(target)) {
        Comparison withBackup = CompareFiles(target, backup, &error);
        Comparison withInstallers =
            withBackup == Comparison::Different ? CompareFiles(target, installedFrom, &error) : withBackup;
        if (withInstallers == Comparison::Unreadable) {
            NoteRestore(report, RestoreNote::NotCompared, target, error);
            return;
        }
        if (withInstallers == Comparison::Different) {
            NoteRestore(report, RestoreNote::ChangedSince, target, ERROR_SUCCESS);
            return;
        }
    }
    PutBack(target, backup, partial, report);
}
