// The first lines of every run's log: where and as whom the installer runs.
#pragma once

// The computer, the account and whether it is an administrator, the Windows
// version and whether it is 64-bit, and the distribution folder (empty: it
// could not be named).
void LogRunContext(const char *distributionFolder);
