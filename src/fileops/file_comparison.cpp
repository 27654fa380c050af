#include "fileops/file_comparison.h"

#include <cstring>

namespace {

// Read in blocks of this size from each file.
const DWORD kBlockSize = 4096;

HANDLE OpenForReading(const char *path) {
    return CreateFileA(path, GENERIC_READ, FILE_SHARE_READ, nullptr, OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL, nullptr);
}

bool SameSize(HANDLE first, HANDLE second, bool *same) {
    BY_HANDLE_FILE_INFORMATION a;
    BY_HANDLE_FILE_INFORMATION b;
    if (!GetFileInformationByHandle(first, &a) || !GetFileInformationByHandle(second, &b)) return false;
    *same = a.nFileSizeHigh == b.nFileSizeHigh && a.nFileSizeLow == b.nFileSizeLow;
    return true;
}

// Both files are open; reads them block by block until they differ or end.
Comparison CompareContents(HANDLE first, HANDLE second, DWORD *error) {
    bool sameSize = false;
    if (!SameSize(first, second, &sameSize)) {
        *error = GetLastError();
        return Comparison::Unreadable;
    }
    if (!sameSize) return Comparison::Different;
    char a[kBlockSize];
    char b[kBlockSize];
    for (;;) {
        DWORD readA = 0;
        DWORD readB = 0;
        if (!ReadFile(first, a, sizeof a, &readA, nullptr) || !ReadFile(second, b, sizeof b, &readB, nullptr)) {
            *error = GetLastError();
            return Comparison::Unreadable;
        }
        if (readA != readB || std::memcmp(a, b, readA) != 0) return Comparison::Different;
        if (readA == 0) return Comparison::Same;
    }
}

} // namespace

Comparison CompareFiles(const char *first, const char *second, DWORD *error) {
    *error = ERROR_SUCCESS;
    HANDLE a = OpenForReading(first);
    if (a == INVALID_HANDLE_VALUE) {
        *error = GetLastError();
        return Comparison::Unreadable;
    }
    HANDLE b = OpenForReading(second);
    if (b == INVALID_HANDLE_VALUE) {
        *error = GetLastError();
        /* result not examined: */ CloseHandle(a);
        return Comparison::Unreadable;
    }
    Comparison comparison = CompareContents(a, b, error);
    /* result not examined: */ CloseHandle(b);
    /* result not examined: */ CloseHandle(a);
    return comparison;
}
