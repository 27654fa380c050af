// What a run leaves in the log: each step's result and the details report.
#pragma once

#include "app/install_run.h"

void LogRunOutcome(const RunOutcome &outcome);
