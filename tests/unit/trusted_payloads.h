// The manifest of what the distribution folder (the current directory) holds
// now, in place of the one built into the installer: tests of what a run does
// with the files take them as the release's, and tests of the check change
// them afterwards.
#pragma once

#include <string>
#include <vector>

#include "platform/win32.h"
#include "release/payload_manifest.h"

namespace trusted {

// Every file below the folder, in the order the search gives them.
inline void Walk(const std::string &folder, std::vector<std::string> *paths) {
    WIN32_FIND_DATAA entry;
    HANDLE search = FindFirstFileA((folder + "\\*").c_str(), &entry);
    if (search == INVALID_HANDLE_VALUE) return;
    do {
        std::string name = entry.cFileName;
        if (name == "." || name == "..") continue;
        if (entry.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY)
            Walk(folder + "\\" + name, paths);
        else
            paths->push_back(folder + "\\" + name);
    } while (FindNextFileA(search, &entry));
    FindClose(search);
}

inline void TrustPayloadsAsTheyAre() {
    static std::vector<std::string> paths;
    static std::vector<ManifestEntry> entries;
    static PayloadManifest manifest;
    paths.clear();
    for (const char *folder : {"sun", "msie", "ns", "Drivers"}) Walk(folder, &paths);
    entries.assign(paths.size(), ManifestEntry{});
    for (size_t i = 0; i < paths.size(); ++i) {
        DWORD error = 0;
        entries[i].relativePath = paths[i].c_str();
        HashFile(entries[i].relativePath, entries[i].sha256, &error);
    }
    manifest = PayloadManifest{entries.data(), static_cast<int>(entries.size()), {}, "https://bank.example.pl/-"};
    UseManifest(&manifest);
}

} // namespace trusted
