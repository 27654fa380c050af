#include "support/win_files.h"

#include <windows.h>

namespace winfiles {
namespace {

// Calls visit with each entry's name and attributes, "." and ".." left out.
template <typename Visit> void ForEachEntry(const std::string &folder, Visit visit) {
    WIN32_FIND_DATAA entry;
    HANDLE search = FindFirstFileA((folder + "\\*").c_str(), &entry);
    if (search == INVALID_HANDLE_VALUE) return;
    do {
        std::string name = entry.cFileName;
        if (name != "." && name != "..") visit(name, (entry.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY) != 0);
    } while (FindNextFileA(search, &entry));
    FindClose(search);
}

} // namespace

void RemoveTree(const std::string &folder) {
    ForEachEntry(folder, [&](const std::string &name, bool isFolder) {
        std::string path = folder + "\\" + name;
        SetFileAttributesA(path.c_str(), FILE_ATTRIBUTE_NORMAL);
        if (isFolder)
            RemoveTree(path);
        else
            DeleteFileA(path.c_str());
    });
    RemoveDirectoryA(folder.c_str());
}

void CopyTree(const std::string &from, const std::string &to) {
    CreateDirectoryA(to.c_str(), nullptr);
    ForEachEntry(from, [&](const std::string &name, bool isFolder) {
        if (isFolder)
            CopyTree(from + "\\" + name, to + "\\" + name);
        else
            CopyFileA((from + "\\" + name).c_str(), (to + "\\" + name).c_str(), FALSE);
    });
}

std::string Read(const std::string &path) {
    HANDLE file = CreateFileA(path.c_str(), GENERIC_READ, FILE_SHARE_READ, nullptr, OPEN_EXISTING, 0, nullptr);
    if (file == INVALID_HANDLE_VALUE) return "";
    std::string content;
    char chunk[4096];
    DWORD read = 0;
    while (ReadFile(file, chunk, sizeof chunk, &read, nullptr) && read > 0) content.append(chunk, read);
    CloseHandle(file);
    return content;
}

bool Write(const std::string &path, const std::string &content) {
    HANDLE file = CreateFileA(path.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS, FILE_ATTRIBUTE_NORMAL, nullptr);
    if (file == INVALID_HANDLE_VALUE) return false;
    DWORD written = 0;
    BOOL wrote = WriteFile(file, content.data(), static_cast<DWORD>(content.size()), &written, nullptr);
    CloseHandle(file);
    return wrote && written == content.size();
}

} // namespace winfiles
