// The Windows the installer runs on, for the log and the reader model.
#pragma once

#include "platform/win32.h"

struct RunningWindows {
    DWORD major; // 0 when the version could not be read
    DWORD minor;
    DWORD build;
    bool sixtyFourBit; // the system, whatever this program's build
};

RunningWindows QueryRunningWindows();
