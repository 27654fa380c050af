#include "fileops/bounded_text.h"

#include <cstdarg>
#include <cstdio>
#include <cstring>

bool CopyText(char *buffer, size_t capacity, const char *text) {
    if (capacity == 0) return false;
    size_t length = BoundedLength(text, capacity);
    bool whole = length < capacity;
    if (!whole) length = capacity - 1;
    std::memcpy(buffer, text, length);
    std::memset(buffer + length, 0, capacity - length);
    return whole;
}

bool FormatText(char *buffer, size_t capacity, const char *format, ...) {
    va_list args;
    va_start(args, format);
    bool whole = FormatTextV(buffer, capacity, format, args);
    va_end(args);
    return whole;
}

bool FormatTextV(char *buffer, size_t capacity, const char *format, va_list args) {
    if (capacity == 0) return false;
#ifdef _WIN32
    // The C run-time that Windows ships (msvcrt), not MinGW's own printf, which
    // would be nearly half the executable. Its bounded formatter writes at most
    // capacity characters: a text that fills them is left unterminated, and a
    // longer one is cut there and returns -1.
    int length = _vsnprintf(buffer, capacity, format, args);
    if (length >= 0 && static_cast<size_t>(length) < capacity) return true;
    buffer[capacity - 1] = '\0';
    return false;
#else
    // NOLINTNEXTLINE(clang-analyzer-valist.Uninitialized): the caller started args; the analyser loses that
    int length = std::vsnprintf(buffer, capacity, format, args);
    if (length < 0) {
        buffer[0] = '\0';
        return false;
    }
    return static_cast<size_t>(length) < capacity;
#endif
}

const char *AfterPrefixIgnoringCase(const char *text, const char *prefix) {
    for (; *prefix; ++text, ++prefix) {
        char a = *text >= 'A' && *text <= 'Z' ? static_cast<char>(*text - 'A' + 'a') : *text;
        char b = *prefix >= 'A' && *prefix <= 'Z' ? static_cast<char>(*prefix - 'A' + 'a') : *prefix;
        if (a != b) return nullptr;
    }
    return text;
}
