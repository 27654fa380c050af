// What the installer knows of the release it is, for the record, the product
// entry and the check: its version, its publisher, and through the manifest
// built into it, the hash that names its payload, its card sites and the hash
// each package file must have.
#pragma once

#include "fileops/sha256.h"

extern const char kReleasePublisher[];

// Room for the version as text.
const int kReleaseVersionCapacity = 16;

// "1.4".
void FormatReleaseVersion(char *text, int capacity);

// The manifest's hash, as hex.
void ReleaseManifestHash(char text[kSha256TextSize]);

// The sites the release's policy grants the card.
const char *ReleaseSites();

// The hash the package file (relative to the distribution folder, e.g.
// "sun\\java.policy") is expected to have; false when the release has no such file.
bool ExpectedPackageHash(const char *relativePath, unsigned char sha256[kSha256Size]);
