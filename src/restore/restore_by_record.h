// The restore from the record: undoes what the recorded runs did, with no
// distribution folder. Backups are put back first, then each file a run
// placed is removed while it still holds what some run placed; a file
// changed since stays and is reported. When nothing is left undone, the
// product entry, the record and the kept installer go too.
#pragma once

#include "record/install_record.h"
#include "restore/restore_report.h"

void RestoreByRecord(const InstallRecord &record, RestoreReport *report);

// Removes the kept installer, the product entry, the record and its folder:
// what is left of the product once nothing else is.
void RemoveProductRecord(RestoreReport *report);
