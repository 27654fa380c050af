// The restore: undoes, on this machine, what installations did for the
// browsers' Java, comparing with the distribution folder (the current
// directory). The reader's driver has its own uninstaller and is not
// touched; the system directory's ocfpcsc1.dll stays, since other programs
// may load it, and the ocf1.2.jar that installation removes from there is
// not brought back.
#pragma once

#include "restore/restore_report.h"

void RestoreMachine(RestoreReport *report);
