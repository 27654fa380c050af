#include "fileops/join_path.h"

#include "fileops/bounded_text.h"

bool JoinPath(char *path, const char *component) {
    size_t length = BoundedLength(path, kLongestPath);
    bool whole = true;
    if (length > 0 && path[length - 1] != '\\') {
        if (length < static_cast<size_t>(kLongestPath))
            path[length++] = '\\';
        else
            whole = false;
    }
    while (*component && length < static_cast<size_t>(kLongestPath)) path[length++] = *component++;
    path[length] = '\0';
    return whole && *component == '\0';
}
