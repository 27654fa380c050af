#include "steps/java_entry.h"

#include <cstring>

#include "fileops/bounded_text.h"

namespace {

bool JoinToEntry(char (&joined)[kPathCapacity], const char *entry, const char *component) {
    return entry[0] == kEntryQuote && CopyText(joined, sizeof joined, entry) && JoinPath(joined, component);
}

} // namespace

bool EndEntryText(char *entry, DWORD valueSize) {
    if (valueSize > kHomeReadCapacity) return false;
    char *home = entry + 1;
    size_t length = strnlen(home, valueSize);
    if (length == valueSize) {
        // Stored without a terminator: there is room for one only when the
        // value left the last byte of the read free.
        if (valueSize == kHomeReadCapacity) return false;
        home[length] = '\0';
    }
    return length > 0;
}

bool FormEntryPath(char *path, const char *entry, const char *component) {
    char joined[kPathCapacity];
    return JoinToEntry(joined, entry, component) && CopyText(path, kPathCapacity, joined + 1);
}

bool FormEntryCommand(char *command, const char *entry, const char *commandComponent) {
    if (entry[0] != kEntryQuote || std::strchr(entry + 1, kEntryQuote)) return false;
    char joined[kPathCapacity];
    return JoinToEntry(joined, entry, commandComponent) && CopyText(command, kPathCapacity, joined);
}

bool FormBackupName(char *backup, const char *policyPath) {
    return FormatText(backup, kBackupNameCapacity, "%s.ocf-bak", policyPath);
}
