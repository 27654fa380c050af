// Copying one file over an existing target, asking the user on a conflict.
#pragma once

#include "fileops/copy_outcome.h"

// Copies source to target, replacing the target whenever the platform can.
// When the copy fails and both files can be inspected, the user is asked to
// abort, retry or keep the existing target; with compare set, a target of the
// same size and last-write time is kept without asking. Returns kCopyDone,
// kCopyCannotInspect or kCopyAborted.
CopyOutcome CopyFileGuarded(const char *source, const char *target, int compare);

// What a run that keeps a record is told before each copy: a copy it refuses
// (false) is not made and counts as failed. nullptr: copies are not watched.
typedef bool (*CopyWitness)(const char *source, const char *target);
void WatchCopies(CopyWitness witness);
// Tells the witness of a file about to be placed otherwise (renamed into place).
bool WitnessCopy(const char *source, const char *target);
