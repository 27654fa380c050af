#include "release/payload_manifest.h"

namespace {

const PayloadManifest *substitute = nullptr;

char FoldCase(char letter) { return letter >= 'A' && letter <= 'Z' ? static_cast<char>(letter - 'A' + 'a') : letter; }

// The text at path after the letters that match prefix, or nullptr.
const char *AfterPrefix(const char *path, const char *prefix) {
    for (; *prefix; ++path, ++prefix)
        if (FoldCase(*path) != FoldCase(*prefix)) return nullptr;
    return path;
}

} // namespace

const PayloadManifest &ActiveManifest() { return substitute ? *substitute : kBuiltManifest; }

const ManifestEntry *FindManifestEntry(const char *relativePath) {
    const PayloadManifest &manifest = ActiveManifest();
    for (int i = 0; i < manifest.count; ++i) {
        const char *rest = AfterPrefix(relativePath, manifest.entries[i].relativePath);
        if (rest && *rest == '\0') return &manifest.entries[i];
    }
    return nullptr;
}

bool IsInFolder(const char *relativePath, const char *folder) {
    const char *rest = AfterPrefix(relativePath, folder);
    return rest && *rest == '\\';
}

void UseManifest(const PayloadManifest *manifest) { substitute = manifest; }
