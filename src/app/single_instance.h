// One installer at a time on the machine: two at once could both find a
// runtime without a policy backup, and the second would then back up the
// policy the first had just replaced, losing the runtime's own.
#pragma once

#include "platform/win32.h"

// Claims the machine-wide mark of a running installer (across terminal
// sessions and users). nullptr when another installer holds it, or when the
// mark cannot be made at all: then no step may run.
HANDLE ClaimSingleInstance();
void ReleaseSingleInstance(HANDLE claim);
