// Fuzzes the scan for a GEMPLUS reader. An input is a reported length (its
// first four bytes, little endian) and a reader list (the rest). The list
// lies in a heap block of exactly its size, so AddressSanitizer stops any read
// past it, and the answer must agree with a plain search of the bytes that the
// smaller of the two lengths covers.
#include <cstdint>
#include <cstdlib>
#include <cstring>
#include <memory>

#include "steps/reader_family_scan.h"

namespace {

const size_t kLengthBytes = 4;
const char kUpperKey[] = "GEMPLUS";
const char kLowerKey[] = "gemplus";
const size_t kKeyLength = sizeof kUpperKey - 1;

// Is there a start from which each key letter follows, in upper or lower case?
bool PlainSearch(const char *bytes, size_t length) {
    for (size_t start = 0; start + kKeyLength <= length; ++start) {
        size_t letter = 0;
        while (letter < kKeyLength &&
               (bytes[start + letter] == kUpperKey[letter] || bytes[start + letter] == kLowerKey[letter]))
            ++letter;
        if (letter == kKeyLength) return true;
    }
    return false;
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t *data, size_t size) {
    if (size < kLengthBytes) return 0;
    uint32_t reported = static_cast<uint32_t>(data[0]) | static_cast<uint32_t>(data[1]) << 8 |
                        static_cast<uint32_t>(data[2]) << 16 | static_cast<uint32_t>(data[3]) << 24;
    size_t listSize = size - kLengthBytes;
    std::unique_ptr<char[]> block(new char[listSize]);
    std::memcpy(block.get(), data + kLengthBytes, listSize);

    bool listed = ListsReaderFamily(block.get(), reported, listSize);
    size_t covered = reported < listSize ? reported : listSize;
    if (listed != PlainSearch(block.get(), covered)) std::abort();
    return 0;
}
