#include "fileops/directory_path.h"

bool PathInDirectory(UINT(WINAPI *query)(LPSTR, UINT), char *path, const char *name) {
    UINT length = query(path, kPathCapacity);
    return length != 0 && length < static_cast<UINT>(kPathCapacity) && JoinPath(path, name);
}
