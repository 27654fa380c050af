// What the installer knows of the release it is: its version, the hash that
// stands for its payload, its card sites, and the hash each package file is
// expected to have. Today the package's files are those of the distribution
// folder (the current directory); these functions are the one place that
// knows where the expected hashes come from.
#pragma once

#include "fileops/join_path.h"
#include "fileops/sha256.h"

// The sites compiled in, as one text (";" between them), and the publisher.
extern const char kReleaseSites[];
extern const char kReleasePublisher[];

// "1.4".
void FormatReleaseVersion(char *text, int capacity);

// The hash that names this release's payload, as hex; false when unknown.
bool ReleaseManifestHash(char text[kSha256TextSize]);

// The hash the package file (relative to the distribution folder, e.g.
// "sun\\java.policy") is expected to have; false when it is not known.
bool ExpectedPackageHash(const char *relativePath, unsigned char sha256[kSha256Size]);
