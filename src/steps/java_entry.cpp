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
    size_t length = BoundedLength(home, valueSize);
    if (length == valueSize) {
        // Stored without a terminator: there is room for one only when the
        // value left the last byte of the read free.
        if (valueSize == kHomeReadCapacity) return false;
        home[length] = '\0';
    }
    return length > 0;
}

// A refused path or command is left empty, so no caller can take the
// buffer's earlier content for it.
bool FormEntryPath(char *path, const char *entry, const char *component) {
    char joined[kPathCapacity];
    bool formed = JoinToEntry(joined, entry, component);
    CopyText(path, kPathCapacity, formed ? joined + 1 : "");
    return formed;
}

bool FormEntryCommand(char *command, const char *entry, const char *commandComponent) {
    char joined[kPathCapacity];
    bool formed =
        entry[0] == kEntryQuote && !std::strchr(entry + 1, kEntryQuote) && JoinToEntry(joined, entry, commandComponent);
    CopyText(command, kPathCapacity, formed ? joined : "");
    return formed;
}

bool FormBackupName(char *backup, const char *policyPath) {
    return FormatText(backup, kBackupNameCapacity, "%s.ocf-bak", policyPath);
}
