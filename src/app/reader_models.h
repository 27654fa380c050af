// The reader models offered in the main dialog, in the order of its list.
#pragma once

struct ReaderModel {
    const char *displayName;
    int driverCode; // chooses the driver package InstallReaderDriver starts
};

constexpr int kReaderModelCount = 4;

extern const ReaderModel ReaderModelTable[kReaderModelCount];
