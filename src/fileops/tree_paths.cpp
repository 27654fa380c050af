#include "fileops/tree_paths.h"

#include <cstring>

#include "fileops/bounded_text.h"

bool SplitTreePattern(const char *pattern, TreePattern *split) {
    const char *lastBackslash = std::strrchr(pattern, '\\');
    split->lastComponent = lastBackslash ? lastBackslash + 1 : pattern;
    size_t directoryLength = static_cast<size_t>(split->lastComponent - pattern);
    if (directoryLength >= sizeof split->directoryPart) {
        split->directoryPart[0] = '\0';
        return false;
    }
    std::memcpy(split->directoryPart, pattern, directoryLength);
    split->directoryPart[directoryLength] = '\0';
    return true;
}

bool EntryPath(char *path, const char *base, const char *name) {
    bool whole = CopyText(path, kPathCapacity, base);
    return JoinPath(path, name) && whole;
}

bool SubfolderPattern(char *path, const TreePattern &pattern, const char *name) {
    return EntryPath(path, pattern.directoryPart, name) && JoinPath(path, pattern.lastComponent);
}

bool IsDotEntry(const char *name) { return std::strcmp(name, ".") == 0 || std::strcmp(name, "..") == 0; }
