// The record kept by a run that changes the machine. It is begun before the
// first change; each later item is written ahead of the change it describes,
// so that a run stopped at any point leaves a record naming everything it may
// have placed, from which the next run or a restore completes.
#pragma once

#include "platform/win32.h"

enum class RecordStart {
    Ready,     // the record, the kept installer and the product entry are in place
    Torn,      // a record is there but cannot be read whole: nothing was changed
    Unwritable // the record cannot be written: nothing else was changed
};

// Loads the record, adds this run's release item, keeps a copy of the
// running installer and registers the product; from then on every copy the
// run makes is recorded before it is made. error tells why it failed.
RecordStart BeginRecordedRun(DWORD *error);

// Updates the product entry's size and stops recording.
void EndRecordedRun();

// Each writes its item ahead of the change; without a recorded run they do
// nothing and allow it. False: the item could not be written, so the change
// must not be made.
bool RecordPlacedFile(const char *source, const char *target);

// Items recorded between these are written once, at the end, before any of
// their changes is made: one write for all a runtime may receive. False:
// none of them is recorded, so none of the changes may be made.
void BeginRecordBatch();
bool EndRecordBatch();
bool RecordBackup(const char *original, const char *backup);
bool RecordRuntime(const char *home);
