#include "release/payload_manifest.h"

#include "fileops/bounded_text.h"

namespace {

const PayloadManifest *substitute = nullptr;

} // namespace

const PayloadManifest &ActiveManifest() { return substitute ? *substitute : kBuiltManifest; }

const ManifestEntry *FindManifestEntry(const char *relativePath) {
    const PayloadManifest &manifest = ActiveManifest();
    for (int i = 0; i < manifest.count; ++i) {
        const char *rest = AfterPrefixIgnoringCase(relativePath, manifest.entries[i].relativePath);
        if (rest && *rest == '\0') return &manifest.entries[i];
    }
    return nullptr;
}

bool IsInFolder(const char *relativePath, const char *folder) {
    const char *rest = AfterPrefixIgnoringCase(relativePath, folder);
    return rest && *rest == '\\';
}

void UseManifest(const PayloadManifest *manifest) { substitute = manifest; }
