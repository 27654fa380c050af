#include "record/release_identity.h"

#include "app/version.h"
#include "fileops/bounded_text.h"
#include "record/release_build.h"

const char kReleaseSites[] = INSTALLER_CARD_SITES;
const char kReleasePublisher[] = INSTALLER_PUBLISHER;

namespace {

// The release's policy holds its sites: its hash tells releases apart.
const char kManifestStandIn[] = "sun\\java.policy";

} // namespace

void FormatReleaseVersion(char *text, int capacity) {
    /* always fits the callers' buffers: */ FormatText(text, static_cast<size_t>(capacity), "%d.%d", kVersionMajor,
                                                        kVersionMinor);
}

bool ReleaseManifestHash(char text[kSha256TextSize]) {
    unsigned char digest[kSha256Size];
    if (!ExpectedPackageHash(kManifestStandIn, digest)) return false;
    FormatSha256(digest, text);
    return true;
}

bool ExpectedPackageHash(const char *relativePath, unsigned char sha256[kSha256Size]) {
    DWORD error = ERROR_SUCCESS;
    return HashFile(relativePath, sha256, &error);
}
