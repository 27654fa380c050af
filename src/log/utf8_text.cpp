#include "log/utf8_text.h"

#include <cstdint>

namespace {

// The code points of the bytes 0x80 to 0xFF.
const uint16_t kUpperHalf[128] = {
    0x20AC, 0xFFFD, 0x201A, 0xFFFD, 0x201E, 0x2026, 0x2020, 0x2021, 0xFFFD, 0x2030, 0x0160, 0x2039, 0x015A,
    0x0164, 0x017D, 0x0179, 0xFFFD, 0x2018, 0x2019, 0x201C, 0x201D, 0x2022, 0x2013, 0x2014, 0xFFFD, 0x2122,
    0x0161, 0x203A, 0x015B, 0x0165, 0x017E, 0x017A, 0x00A0, 0x02C7, 0x02D8, 0x0141, 0x00A4, 0x0104, 0x00A6,
    0x00A7, 0x00A8, 0x00A9, 0x015E, 0x00AB, 0x00AC, 0x00AD, 0x00AE, 0x017B, 0x00B0, 0x00B1, 0x02DB, 0x0142,
    0x00B4, 0x00B5, 0x00B6, 0x00B7, 0x00B8, 0x0105, 0x015F, 0x00BB, 0x013D, 0x02DD, 0x013E, 0x017C, 0x0154,
    0x00C1, 0x00C2, 0x0102, 0x00C4, 0x0139, 0x0106, 0x00C7, 0x010C, 0x00C9, 0x0118, 0x00CB, 0x011A, 0x00CD,
    0x00CE, 0x010E, 0x0110, 0x0143, 0x0147, 0x00D3, 0x00D4, 0x0150, 0x00D6, 0x00D7, 0x0158, 0x016E, 0x00DA,
    0x0170, 0x00DC, 0x00DD, 0x0162, 0x00DF, 0x0155, 0x00E1, 0x00E2, 0x0103, 0x00E4, 0x013A, 0x0107, 0x00E7,
    0x010D, 0x00E9, 0x0119, 0x00EB, 0x011B, 0x00ED, 0x00EE, 0x010F, 0x0111, 0x0144, 0x0148, 0x00F3, 0x00F4,
    0x0151, 0x00F6, 0x00F7, 0x0159, 0x016F, 0x00FA, 0x0171, 0x00FC, 0x00FD, 0x0163, 0x02D9,
};

// UTF-8: a code point below 0x80 is its own byte; below 0x800 it takes a
// lead byte and one continuation byte, otherwise a lead and two. Each
// continuation byte carries six bits.
const unsigned kOneByteEnd = 0x80;
const unsigned kTwoBytesEnd = 0x800;
const unsigned kTwoByteLead = 0xC0;
const unsigned kThreeByteLead = 0xE0;
const unsigned kContinuation = 0x80;
const unsigned kContinuationBits = 6;
const unsigned kContinuationMask = 0x3F;

} // namespace

bool Cp1250ToUtf8(char *utf8, size_t capacity, const char *text) {
    if (capacity == 0) return false;
    size_t used = 0;
    for (const unsigned char *c = reinterpret_cast<const unsigned char *>(text); *c; ++c) {
        unsigned code = *c < kOneByteEnd ? *c : kUpperHalf[*c - kOneByteEnd];
        unsigned char bytes[3];
        size_t count;
        if (code < kOneByteEnd) {
            bytes[0] = static_cast<unsigned char>(code);
            count = 1;
        } else if (code < kTwoBytesEnd) {
            bytes[0] = static_cast<unsigned char>(kTwoByteLead | code >> kContinuationBits);
            bytes[1] = static_cast<unsigned char>(kContinuation | (code & kContinuationMask));
            count = 2;
        } else {
            bytes[0] = static_cast<unsigned char>(kThreeByteLead | code >> (2 * kContinuationBits));
            bytes[1] = static_cast<unsigned char>(kContinuation | (code >> kContinuationBits & kContinuationMask));
            bytes[2] = static_cast<unsigned char>(kContinuation | (code & kContinuationMask));
            count = 3;
        }
        if (capacity - used <= count) {
            utf8[used] = '\0';
            return false;
        }
        for (size_t i = 0; i < count; ++i) utf8[used++] = static_cast<char>(bytes[i]);
    }
    utf8[used] = '\0';
    return true;
}
