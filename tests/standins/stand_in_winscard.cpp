// Stands in for winscard.dll (the PC/SC service) in the end-to-end tests and
// the demo. It lists the readers named in STANDIN_READERS, separated by '|';
// without them it knows no readers, as Wine's own winscard.dll answers. When
// loaded, it appends its own path to the file STANDIN_WINSCARD_LOG names.
#include <windows.h>

#include <cstdlib>
#include <cstring>

namespace {

const LONG kSuccess = 0;
const LONG kInsufficientBuffer = static_cast<LONG>(0x80100008);
const LONG kNoReadersAvailable = static_cast<LONG>(0x8010002E);
const size_t kLongestList = 4096;

// The multi-string: each name NUL-terminated, one more NUL at the end.
size_t ReaderList(char *list) {
    const char *names = std::getenv("STANDIN_READERS");
    if (!names || !*names) return 0;
    size_t length = 0;
    for (const char *c = names; *c && length + 2 < kLongestList; ++c) list[length++] = *c == '|' ? '\0' : *c;
    list[length++] = '\0';
    list[length++] = '\0';
    return length;
}

void NoteLoad(HINSTANCE self) {
    const char *logPath = std::getenv("STANDIN_WINSCARD_LOG");
    char path[MAX_PATH + 1];
    DWORD length = GetModuleFileNameA(self, path, sizeof path);
    if (!logPath || !*logPath || length == 0 || length >= sizeof path) return;
    HANDLE log = CreateFileA(logPath, FILE_APPEND_DATA, FILE_SHARE_READ | FILE_SHARE_WRITE, nullptr, OPEN_ALWAYS,
                             FILE_ATTRIBUTE_NORMAL, nullptr);
    if (log == INVALID_HANDLE_VALUE) return;
    path[length++] = '\n';
    DWORD written;
    WriteFile(log, path, length, &written, nullptr);
    CloseHandle(log);
}

} // namespace

extern "C" BOOL WINAPI DllMain(HINSTANCE self, DWORD reason, LPVOID) {
    if (reason == DLL_PROCESS_ATTACH) NoteLoad(self);
    return TRUE;
}

extern "C" LONG WINAPI SCardListReadersA(ULONG_PTR, LPCSTR, LPSTR readers, LPDWORD length) {
    char list[kLongestList];
    size_t size = ReaderList(list);
    if (size == 0) return kNoReadersAvailable;
    if (!readers) {
        *length = static_cast<DWORD>(size);
        return kSuccess;
    }
    if (*length < size) {
        *length = static_cast<DWORD>(size);
        return kInsufficientBuffer;
    }
    std::memcpy(readers, list, size);
    *length = static_cast<DWORD>(size);
    return kSuccess;
}
