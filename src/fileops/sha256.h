// SHA-256 of blocks and of files. Windows 2000's CryptoAPI has no SHA-256,
// so the installer carries its own: small, and checked against the FIPS
// 180-4 example vectors.
#pragma once

#include "platform/win32.h"

const int kSha256Size = 32;
// The hash as lower-case hex with its terminator.
const int kSha256TextSize = 2 * kSha256Size + 1;

const int kSha256Words = 8;
const int kSha256BlockSize = 64;

struct Sha256 {
    DWORD state[kSha256Words];
    DWORD lengthLow; // bytes hashed so far, modulo 2^64
    DWORD lengthHigh;
    unsigned char block[kSha256BlockSize];
    DWORD used; // bytes waiting in block
};

void Sha256Begin(Sha256 *hash);
void Sha256Add(Sha256 *hash, const void *data, DWORD size);
void Sha256End(Sha256 *hash, unsigned char digest[kSha256Size]);

// The file's hash; false with error set when it cannot be opened or read.
bool HashFile(const char *path, unsigned char digest[kSha256Size], DWORD *error);

void FormatSha256(const unsigned char digest[kSha256Size], char text[kSha256TextSize]);

// The file's hash as text; false with error set, as HashFile.
bool HashFileText(const char *path, char text[kSha256TextSize], DWORD *error);
