#include "fileops/join_path.h"

#include <cstring>

bool JoinPath(char *path, const char *component) {
    size_t length = strnlen(path, kLongestPath);
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
