// The two ways the restore undoes what an installation did to one file.
// Neither ever forces anything: a read-only or locked file is reported, and
// a file is deleted only once nothing but a copy of the installer's own is
// lost with it.
#pragma once

#include "restore/restore_report.h"

// Whether the path names an existing file, or an existing folder.
bool IsFile(const char *path);
bool IsFolder(const char *path);

// Puts the original back from its backup in place of target: copied to
// partial, compared with the backup, renamed over target; only then is the
// backup deleted, so the original is whole in one of them wherever it stops.
void PutBack(const char *target, const char *backup, const char *partial, RestoreReport *report);

// Deletes target when it is byte for byte the installer's file
// (installedFrom, in the distribution folder); a target that differs stays,
// noted as whenDifferent (KeptChanged or LeftAlone). A target that is not
// there, or cannot be named (empty), is not noted.
void RemoveIfInstallers(const char *target, const char *installedFrom, RestoreNote whenDifferent,
                        RestoreReport *report);

// Puts target back from its backup, made when an installation replaced it
// with installedFrom. The backup is copied to partial (target's name with
// ".ocf-new"), compared with the backup, and renamed to target in place of
// the installer's file; only then is the backup deleted. Wherever this
// stops, the original is whole in the backup or in target. A target changed
// since the installation is not overwritten: it and its backup stay. Without
// a backup (or with an empty backup name), as RemoveIfInstallers. A partial
// left by a stopped installation or restore is deleted first.
void RestoreFromBackup(const char *target, const char *backup, const char *partial, const char *installedFrom,
                       RestoreNote whenDifferent, RestoreReport *report);
