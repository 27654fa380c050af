// Paths and commands of one registered Java runtime, formed from its entry
// text: a double quote followed by the runtime's home folder. Each is formed
// afresh from the entry text in a path buffer, where the quote counts as a
// character, and is refused rather than cut when it would not fit.
#pragma once

#include "fileops/join_path.h"
#include "platform/win32.h"

// The first character of every entry text.
constexpr char kEntryQuote = '"';

// The entry buffer: first a subkey name from enumeration, then the entry text.
constexpr int kEntryCapacity = 263;
// What is read of the home behind the quote, terminator included.
constexpr DWORD kHomeReadCapacity = kEntryCapacity - 1;
// The backup name "%s.ocf-bak", terminator included.
constexpr int kBackupNameCapacity = 260;

// Ends the entry text after a home of valueSize bytes was read behind the
// quote: at the value's own terminator, or right behind a value stored
// without one. Returns false for a home that cannot be used: an empty one,
// or one that fills the whole read without a terminator.
bool EndEntryText(char *entry, DWORD valueSize);

// The home joined with component, without the quote, into a kPathCapacity
// buffer. Returns false, leaving the buffer empty, when it would not fit.
bool FormEntryPath(char *path, const char *entry, const char *component);

// The entry text joined with commandComponent into a kPathCapacity buffer:
// the quoted path of a program in the home and what follows it. Returns
// false, leaving the buffer empty, when it would not fit, and when the home
// holds a double quote, which would end the program's quoting early.
bool FormEntryCommand(char *command, const char *entry, const char *commandComponent);

// The backup name of a policy path into a kBackupNameCapacity buffer.
// Returns false when it would not fit.
bool FormBackupName(char *backup, const char *policyPath);
