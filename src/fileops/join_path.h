// Paths in fixed buffers of kPathCapacity characters, joined with a backslash.
#pragma once

// MAX_PATH characters and the terminator.
constexpr int kPathCapacity = 261;
constexpr int kLongestPath = kPathCapacity - 1;

// Appends component to the path in a kPathCapacity buffer, with one backslash
// between them unless the path is empty or already ends in one. The text never
// grows past kLongestPath characters: what does not fit is dropped. Returns
// false when anything was dropped, so a cut path is never used as a file name.
bool JoinPath(char *path, const char *component);
