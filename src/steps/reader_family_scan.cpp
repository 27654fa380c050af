#include "steps/reader_family_scan.h"

namespace {

const char kFamilyKey[] = "GEMPLUS";
const size_t kFamilyKeyLength = sizeof kFamilyKey - 1;
// Setting this bit folds an ASCII letter to lower case. A NUL or a byte of
// 0x80 and above never folds onto a key letter, so a match never crosses a
// name's terminator.
const unsigned char kLowerCaseBit = 0x20;

bool SameLetter(unsigned char listByte, char keyLetter) {
    return (listByte | kLowerCaseBit) == (static_cast<unsigned char>(keyLetter) | kLowerCaseBit);
}

} // namespace

bool ListsReaderFamily(const char *readerList, uint32_t reportedLength, size_t blockSize) {
    if (!readerList) return false;
    size_t length = reportedLength < blockSize ? reportedLength : blockSize;
    const unsigned char *bytes = reinterpret_cast<const unsigned char *>(readerList);
    size_t position = 0;
    size_t matched = 0;
    while (position < length && matched < kFamilyKeyLength) {
        if (SameLetter(bytes[position], kFamilyKey[matched])) {
            ++position;
            ++matched;
        } else if (matched == 0) {
            ++position;
        } else {
            // Try again one byte after where the partial match began, so
            // "GGEMPLUS" and "GEMPGEMPLUS" are found.
            position = position - matched + 1;
            matched = 0;
        }
    }
    return matched == kFamilyKeyLength;
}
