// Windows-1250 text as UTF-8, for the log.
#pragma once

#include <cstddef>

// Converts the Windows-1250 text into a buffer of capacity bytes, always
// terminated and never cutting a character in two. Bytes that Windows-1250
// leaves undefined become U+FFFD. Returns false when the text was cut.
bool Cp1250ToUtf8(char *utf8, size_t capacity, const char *text);
