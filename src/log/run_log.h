// The log of a run, for the administrator who deployed it: UTF-8 text,
// appended, one line per event, each led by its UTC time (ISO 8601). While
// no log is open, nothing is written and nothing fails.
#pragma once

#include "fileops/bounded_text.h"
#include "platform/win32.h"

enum class LogOpening {
    Opened,
    Failed,       // the Windows error code tells why
    NotPlainFile, // a reparse point (a link) or a file with more than one name (a hard link)
};

// Opens (or creates) the log for appending, creating the missing folders of
// its path first. The installer runs with the highest rights, and anyone may
// make a link in a folder such as C:\Windows\Temp: a log that is a link to
// another file, or another name of one, is refused and left as it is.
// On failure, *error receives the Windows error code.
LogOpening OpenRunLog(const char *path, DWORD *error);
void CloseRunLog();
// Whether events are being written, so that a caller can skip preparing them.
bool RunLogOpen();

// One event, formatted from Windows-1250 text. A line longer than the
// log's line buffer is cut and ends in "...".
void LogEvent(const char *format, ...) TEXT_FORMAT(1, 2);

// A text of several lines (line ends \r\n or \n), one event per non-empty line.
void LogLines(const char *prefix, const char *text);
