#include "steps/step_message.h"

#include "fileops/bounded_text.h"

void WriteStepMessage(char *message, int capacity, const char *text) {
    if (message && capacity > 0) CopyText(message, static_cast<size_t>(capacity), text);
}

void FormatStepMessage(char *message, int capacity, const char *format, ...) {
    if (!message || capacity <= 0) return;
    va_list args;
    va_start(args, format);
    FormatTextV(message, static_cast<size_t>(capacity), format, args);
    va_end(args);
}
