// The log of a run, for the administrator who deployed it: UTF-8 text,
// appended, one line per event, each led by its UTC time (ISO 8601). While
// no log is open, nothing is written and nothing fails.
#pragma once

#include "fileops/bounded_text.h"

// Opens (or creates) the log for appending. False when it cannot be opened;
// GetLastError then tells why.
bool OpenRunLog(const char *path);
void CloseRunLog();
// Whether events are being written, so that a caller can skip preparing them.
bool RunLogOpen();

// One event, formatted from Windows-1250 text. A line longer than the
// log's line buffer is cut and ends in "...".
void LogEvent(const char *format, ...) TEXT_FORMAT(1, 2);

// A text of several lines (line ends \r\n or \n), one event per non-empty line.
void LogLines(const char *prefix, const char *text);
