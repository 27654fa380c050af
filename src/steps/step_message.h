// Writing a step's message into the caller's buffer, which may be null.
#pragma once

#include "fileops/bounded_text.h"

// Copies a fixed text: at most capacity - 1 characters, NULs behind it.
void WriteStepMessage(char *message, int capacity, const char *text);

// Formats a text within the capacity.
void FormatStepMessage(char *message, int capacity, const char *format, ...) TEXT_FORMAT(3, 4);
