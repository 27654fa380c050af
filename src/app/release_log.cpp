#include "app/release_log.h"

#include "log/run_log.h"
#include "release/payload_manifest.h"

void LogRelease() {
    const PayloadManifest &manifest = ActiveManifest();
    char hash[kSha256TextSize];
    FormatSha256(manifest.sha256, hash);
    LogEvent("manifest: SHA-256 %s, %d files", hash, manifest.count);
    LogEvent("card sites: %s", manifest.cardSites);
}
