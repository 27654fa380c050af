#include "record/release_identity.h"

#include <cstring>

#include "app/version.h"
#include "fileops/bounded_text.h"
#include "record/release_build.h"
#include "release/payload_manifest.h"

const char kReleasePublisher[] = INSTALLER_PUBLISHER;

void FormatReleaseVersion(char *text, int capacity) {
    /* always fits the callers' buffers: */ FormatText(text, static_cast<size_t>(capacity), "%d.%d", kVersionMajor,
                                                        kVersionMinor);
}

void ReleaseManifestHash(char text[kSha256TextSize]) { FormatSha256(ActiveManifest().sha256, text); }

const char *ReleaseSites() { return ActiveManifest().cardSites; }

bool ExpectedPackageHash(const char *relativePath, unsigned char sha256[kSha256Size]) {
    const ManifestEntry *entry = FindManifestEntry(relativePath);
    if (!entry) return false;
    std::memcpy(sha256, entry->sha256, kSha256Size);
    return true;
}
