// The prompt shown when a file cannot be copied over an existing target.
#pragma once

#include <cstddef>

#include "platform/win32.h"

constexpr size_t kConflictPromptCapacity = 512;
constexpr UINT kConflictPromptFlags = MB_ABORTRETRYIGNORE | MB_ICONQUESTION | MB_DEFBUTTON2;
extern const char kConflictPromptCaption[];

// What the prompt shows of one file.
struct PromptedFile {
    const char *path;
    DWORD sizeLow;
    SYSTEMTIME lastWrite; // UTC
};

// Composes the prompt text into a buffer of capacity bytes. When the two
// paths make the text too long, each is shortened from its start (keeping
// the file name) so that sizes and dates always stay readable.
void ComposeConflictPrompt(char *text, size_t capacity, const PromptedFile &source, const PromptedFile &target);

// What AskAboutConflict returns when nobody is there to answer.
constexpr int kConflictNotAsked = -1;

// With no one at the screen (an unattended run) no prompt can be answered:
// while keep is set, every conflict keeps its target without asking.
void KeepConflictsWithoutAsking(bool keep);

// Shows the prompt, without an owner window, and returns the button pressed;
// kConflictNotAsked when conflicts are kept without asking.
int AskAboutConflict(const PromptedFile &source, const PromptedFile &target);
