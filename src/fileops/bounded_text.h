// Copying and formatting text into fixed-size buffers: always terminated,
// never written past the capacity, and telling the caller when text was cut.
#pragma once

#include <cstdarg>
#include <cstddef>
#include <cstring>

// Lets the compiler check a format's arguments against the formatter that
// runs: msvcrt's in the Windows build (ms_printf, which knows no C99 length
// modifiers such as %zu or %lld), the C library's otherwise. clang, used for
// fuzzing and analysis, knows the latter only as printf.
#if defined(__clang__)
#define TEXT_FORMAT(formatIndex, firstArgument) __attribute__((format(printf, formatIndex, firstArgument)))
#elif defined(_WIN32)
#define TEXT_FORMAT(formatIndex, firstArgument) __attribute__((format(ms_printf, formatIndex, firstArgument)))
#else
#define TEXT_FORMAT(formatIndex, firstArgument) __attribute__((format(gnu_printf, formatIndex, firstArgument)))
#endif

// The length of text, or capacity when its first capacity bytes hold no
// terminator: strnlen, which Windows 2000's msvcrt lacks. MinGW's own copy
// brings an unwind table, a 512-byte section of the executable on its own.
inline size_t BoundedLength(const char *text, size_t capacity) {
    const void *end = std::memchr(text, '\0', capacity);
    return end ? static_cast<size_t>(static_cast<const char *>(end) - text) : capacity;
}

// The rest of text after the letters that match prefix, ASCII letter case
// aside (as Windows compares file names), or nullptr when they do not match.
const char *AfterPrefixIgnoringCase(const char *text, const char *prefix);

// Copies text into a buffer of capacity bytes: at most capacity - 1
// characters, then NULs up to the end of the buffer. Returns false when the
// text did not fit whole (or capacity is 0, when nothing is written).
bool CopyText(char *buffer, size_t capacity, const char *text);

// Formats into a buffer of capacity bytes, always terminated. Returns false
// when the text was cut (or capacity is 0, when nothing is written).
bool FormatText(char *buffer, size_t capacity, const char *format, ...) TEXT_FORMAT(3, 4);
bool FormatTextV(char *buffer, size_t capacity, const char *format, va_list args);
