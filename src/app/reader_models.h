// The reader models offered in the main dialog, in the order of its list.
#pragma once

#include "app/running_windows.h"

struct ReaderModel {
    const char *displayName;
    int driverCode; // chooses the driver package InstallReaderDriver starts
};

constexpr int kReaderModelCount = 4;

extern const ReaderModel ReaderModelTable[kReaderModelCount];

// The model for the running Windows, as /READER=auto picks it: the Windows 8
// ones from version 6.2 on, the 64-bit ones on a 64-bit system.
int ReaderModelFor(const RunningWindows &running);
