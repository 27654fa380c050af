#include "log/run_log.h"

#include <cstring>

#include "fileops/join_path.h"
#include "log/utf8_text.h"
#include "platform/win32.h"

namespace {

// Room for a path or two and a message; longer events are cut.
const size_t kEventCapacity = 1024;
const char kCutMark[] = "...";
// Every Windows-1250 character takes at most three bytes in UTF-8.
const size_t kLineCapacity = 3 * kEventCapacity + 32;
const char kLineEnd[] = "\r\n";

// Null while no log is open: a constant, which the installer's entry point
// needs (it runs no initialisers of globals).
HANDLE logFile = nullptr;

void WriteLine(const char *event) {
    SYSTEMTIME now;
    GetSystemTime(&now);
    char line[kLineCapacity];
    /* always fits: */ FormatText(line, sizeof line, "%04u-%02u-%02uT%02u:%02u:%02uZ ", now.wYear, now.wMonth, now.wDay,
                                  now.wHour, now.wMinute, now.wSecond);
    size_t used = std::strlen(line);
    /* cut only past kEventCapacity, which the event never is: */ Cp1250ToUtf8(line + used, sizeof line - used, event);
    used += std::strlen(line + used);
    CopyText(line + used, sizeof line - used, kLineEnd);
    used += std::strlen(line + used);
    DWORD written;
    /* a log that cannot be written to is not a reason to stop the run: */
    WriteFile(logFile, line, static_cast<DWORD>(used), &written, nullptr);
}

// Creates each missing folder of the path, from the top down. What cannot be
// created is left to the opening, which then fails and says why.
void CreateFoldersOf(const char *path) {
    char folder[kPathCapacity];
    if (!CopyText(folder, sizeof folder, path)) return;
    for (char *separator = std::strchr(folder + 1, '\\'); separator; separator = std::strchr(separator + 1, '\\')) {
        // A drive's root ("C:\") and a share's server need no creating.
        if (separator[-1] == ':' || separator[-1] == '\\') continue;
        *separator = '\0';
        /* result not examined, it may exist: */ CreateDirectoryA(folder, nullptr);
        *separator = '\\';
    }
}

} // namespace

LogOpening OpenRunLog(const char *path, DWORD *error) {
    CloseRunLog();
    CreateFoldersOf(path);
    // Appending: every write lands at the end, after what an earlier run (or
    // a second installer refused at the same time) wrote. A reparse point is
    // opened as itself, so that it is judged, not followed.
    HANDLE file = CreateFileA(path, FILE_APPEND_DATA, FILE_SHARE_READ | FILE_SHARE_WRITE, nullptr, OPEN_ALWAYS,
                              FILE_ATTRIBUTE_NORMAL | FILE_FLAG_OPEN_REPARSE_POINT, nullptr);
    if (file == INVALID_HANDLE_VALUE) {
        *error = GetLastError();
        return LogOpening::Failed;
    }
    // Judged on the handle, not on the name, which could change in between.
    BY_HANDLE_FILE_INFORMATION information;
    if (!GetFileInformationByHandle(file, &information)) {
        *error = GetLastError();
        /* result not examined: */ CloseHandle(file);
        return LogOpening::Failed;
    }
    if ((information.dwFileAttributes & FILE_ATTRIBUTE_REPARSE_POINT) || information.nNumberOfLinks > 1) {
        /* result not examined: */ CloseHandle(file);
        return LogOpening::NotPlainFile;
    }
    logFile = file;
    return LogOpening::Opened;
}

void CloseRunLog() {
    if (!logFile) return;
    /* result not examined: */ CloseHandle(logFile);
    logFile = nullptr;
}

bool RunLogOpen() { return logFile != nullptr; }

void LogEvent(const char *format, ...) {
    if (!logFile) return;
    char event[kEventCapacity];
    va_list args;
    va_start(args, format);
    bool whole = FormatTextV(event, sizeof event, format, args);
    va_end(args);
    if (!whole) std::memcpy(event + sizeof event - sizeof kCutMark, kCutMark, sizeof kCutMark);
    WriteLine(event);
}

void LogLines(const char *prefix, const char *text) {
    while (*text) {
        size_t length = std::strcspn(text, "\r\n");
        if (length > 0) LogEvent("%s%.*s", prefix, static_cast<int>(length), text);
        text += length;
        while (*text == '\r' || *text == '\n') ++text;
    }
}
