// What a restore did to each file, for the log (every note, as it happens),
// the exit code (the counts) and the message box (the counts and as many
// lines as fit, each whole).
#pragma once

#include <cstddef>

#include "platform/win32.h"

enum class RestoreNote {
    Restored,      // put back from its backup, and the backup deleted
    Removed,       // the installer's copy, deleted
    KeptChanged,   // differs from the installer's file: someone else's, it stays
    KeptShared,    // the installer's, but it stays: other programs may load it
    LeftAlone,     // a runtime's or the user's own file; logged only
    NotRestored,   // its backup could not be copied back (error)
    NotVerified,   // the copy back does not match its backup
    ChangedSince,  // changed since the installation: it and its backup stay
    BackupNotKept, // restored, but its backup could not be deleted (error)
    NotRemoved,    // the installer's copy could not be deleted (error)
    NotCompared,   // could not be read to compare with the installer's (error)
    NotSearched,   // a place the installer writes to could not be looked at (error)
};

// Room for the lines of the message box; the rest are counted, not shown.
constexpr size_t kRestoreLinesCapacity = 3072;
// The whole message: counts, lines, how many were left out, what stays.
constexpr size_t kRestoreMessageCapacity = 4096;

struct RestoreReport {
    int restored;
    int removed;
    int kept;
    int notUndone; // anything of the installer's left behind, or not looked at
    int omitted;   // lines that did not fit
    size_t used;
    char lines[kRestoreLinesCapacity];
};

void StartRestoreReport(RestoreReport *report);

// Records one note about path: a line in the log, a count, a line of the
// message when it fits whole. error is the Windows error where the note has one.
void NoteRestore(RestoreReport *report, RestoreNote note, const char *path, DWORD error);

// The message box text, into a buffer of kRestoreMessageCapacity bytes.
void ComposeRestoreMessage(const RestoreReport &report, char *text);
