#include "fileops/sha256.h"

#include <cstring>

// The shifts, rotations, word counts and constants below are the algorithm's
// own, named by their values in FIPS 180-4.
// NOLINTBEGIN(readability-magic-numbers)

namespace {

const DWORD kRoundConstants[64] = {
    0x428a2f98, 0x71374491, 0xb5c0fbcf, 0xe9b5dba5, 0x3956c25b, 0x59f111f1, 0x923f82a4, 0xab1c5ed5,
    0xd807aa98, 0x12835b01, 0x243185be, 0x550c7dc3, 0x72be5d74, 0x80deb1fe, 0x9bdc06a7, 0xc19bf174,
    0xe49b69c1, 0xefbe4786, 0x0fc19dc6, 0x240ca1cc, 0x2de92c6f, 0x4a7484aa, 0x5cb0a9dc, 0x76f988da,
    0x983e5152, 0xa831c66d, 0xb00327c8, 0xbf597fc7, 0xc6e00bf3, 0xd5a79147, 0x06ca6351, 0x14292967,
    0x27b70a85, 0x2e1b2138, 0x4d2c6dfc, 0x53380d13, 0x650a7354, 0x766a0abb, 0x81c2c92e, 0x92722c85,
    0xa2bfe8a1, 0xa81a664b, 0xc24b8b70, 0xc76c51a3, 0xd192e819, 0xd6990624, 0xf40e3585, 0x106aa070,
    0x19a4c116, 0x1e376c08, 0x2748774c, 0x34b0bcb5, 0x391c0cb3, 0x4ed8aa4a, 0x5b9cca4f, 0x682e6ff3,
    0x748f82ee, 0x78a5636f, 0x84c87814, 0x8cc70208, 0x90befffa, 0xa4506ceb, 0xbef9a3f7, 0xc67178f2,
};

const DWORD kInitialState[8] = {0x6a09e667, 0xbb67ae85, 0x3c6ef372, 0xa54ff53a,
                                0x510e527f, 0x9b05688c, 0x1f83d9ab, 0x5be0cd19};

// Read files in blocks of this size (a multiple of 64, so whole blocks are
// hashed straight from the buffer).
const DWORD kReadSize = 16384;

inline DWORD Rotate(DWORD x, int n) { return (x >> n) | (x << (32 - n)); }

inline DWORD BigEndian(const unsigned char *p) {
    return (DWORD(p[0]) << 24) | (DWORD(p[1]) << 16) | (DWORD(p[2]) << 8) | DWORD(p[3]);
}

void Compress(DWORD state[kSha256Words], const unsigned char *block) {
    DWORD w[64];
    for (size_t i = 0; i < 16; ++i) w[i] = BigEndian(block + 4 * i);
    for (int i = 16; i < 64; ++i) {
        DWORD s0 = Rotate(w[i - 15], 7) ^ Rotate(w[i - 15], 18) ^ (w[i - 15] >> 3);
        DWORD s1 = Rotate(w[i - 2], 17) ^ Rotate(w[i - 2], 19) ^ (w[i - 2] >> 10);
        w[i] = w[i - 16] + s0 + w[i - 7] + s1;
    }
    DWORD a = state[0];
    DWORD b = state[1];
    DWORD c = state[2];
    DWORD d = state[3];
    DWORD e = state[4];
    DWORD f = state[5];
    DWORD g = state[6];
    DWORD h = state[7];
    for (int i = 0; i < 64; ++i) {
        DWORD t1 = h + (Rotate(e, 6) ^ Rotate(e, 11) ^ Rotate(e, 25)) + ((e & f) ^ (~e & g)) + kRoundConstants[i] + w[i];
        DWORD t2 = (Rotate(a, 2) ^ Rotate(a, 13) ^ Rotate(a, 22)) + ((a & b) ^ (a & c) ^ (b & c));
        h = g;
        g = f;
        f = e;
        e = d + t1;
        d = c;
        c = b;
        b = a;
        a = t1 + t2;
    }
    state[0] += a;
    state[1] += b;
    state[2] += c;
    state[3] += d;
    state[4] += e;
    state[5] += f;
    state[6] += g;
    state[7] += h;
}

} // namespace

void Sha256Begin(Sha256 *hash) {
    std::memcpy(hash->state, kInitialState, sizeof hash->state);
    hash->lengthLow = 0;
    hash->lengthHigh = 0;
    hash->used = 0;
}

void Sha256Add(Sha256 *hash, const void *data, DWORD size) {
    const unsigned char *bytes = static_cast<const unsigned char *>(data);
    DWORD before = hash->lengthLow;
    hash->lengthLow += size;
    if (hash->lengthLow < before) ++hash->lengthHigh;
    if (hash->used > 0) {
        DWORD take = 64 - hash->used < size ? 64 - hash->used : size;
        std::memcpy(hash->block + hash->used, bytes, take);
        hash->used += take;
        bytes += take;
        size -= take;
        if (hash->used < 64) return;
        Compress(hash->state, hash->block);
        hash->used = 0;
    }
    for (; size >= 64; bytes += 64, size -= 64) Compress(hash->state, bytes);
    std::memcpy(hash->block, bytes, size);
    hash->used = size;
}

void Sha256End(Sha256 *hash, unsigned char digest[kSha256Size]) {
    // The length in bits, taken before the padding changes it.
    DWORD bitsHigh = (hash->lengthHigh << 3) | (hash->lengthLow >> 29);
    DWORD bitsLow = hash->lengthLow << 3;
    static const unsigned char kPadding[64] = {0x80};
    Sha256Add(hash, kPadding, hash->used < 56 ? 56 - hash->used : 120 - hash->used);
    unsigned char length[8];
    for (size_t i = 0; i < 4; ++i) {
        length[i] = static_cast<unsigned char>(bitsHigh >> (24 - 8 * i));
        length[4 + i] = static_cast<unsigned char>(bitsLow >> (24 - 8 * i));
    }
    Sha256Add(hash, length, sizeof length);
    for (size_t i = 0; i < 8; ++i)
        for (size_t j = 0; j < 4; ++j) digest[4 * i + j] = static_cast<unsigned char>(hash->state[i] >> (24 - 8 * j));
}

bool HashFile(const char *path, unsigned char digest[kSha256Size], DWORD *error) {
    *error = ERROR_SUCCESS;
    HANDLE file = CreateFileA(path, GENERIC_READ, FILE_SHARE_READ, nullptr, OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL, nullptr);
    if (file == INVALID_HANDLE_VALUE) {
        *error = GetLastError();
        return false;
    }
    Sha256 hash;
    Sha256Begin(&hash);
    static unsigned char buffer[kReadSize];
    bool whole = true;
    for (;;) {
        DWORD read = 0;
        if (!ReadFile(file, buffer, sizeof buffer, &read, nullptr)) {
            *error = GetLastError();
            whole = false;
            break;
        }
        if (read == 0) break;
        Sha256Add(&hash, buffer, read);
    }
    /* result not examined: */ CloseHandle(file);
    if (whole) Sha256End(&hash, digest);
    return whole;
}

// NOLINTEND(readability-magic-numbers)

void FormatSha256(const unsigned char digest[kSha256Size], char text[kSha256TextSize]) {
    static const char kHex[] = "0123456789abcdef";
    const unsigned kLowNibble = 0xf;
    char *out = text;
    for (int i = 0; i < kSha256Size; ++i) {
        *out++ = kHex[digest[i] >> 4];
        *out++ = kHex[digest[i] & kLowNibble];
    }
    *out = '\0';
}

bool HashFileText(const char *path, char text[kSha256TextSize], DWORD *error) {
    unsigned char digest[kSha256Size];
    if (!HashFile(path, digest, error)) return false;
    FormatSha256(digest, text);
    return true;
}
