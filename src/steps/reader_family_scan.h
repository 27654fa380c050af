// Looking for a reader of the GEMPLUS family in the list of reader names that
// the smart-card service returns.
#pragma once

#include <cstddef>
#include <cstdint>

// The list is the service's run of NUL-terminated names, scanned as one run
// of bytes. Only the first min(reportedLength, blockSize) bytes are read: a
// service may report more than the block it was given room for. Returns true
// when "GEMPLUS", in any ASCII letter case, lies wholly within those bytes.
bool ListsReaderFamily(const char *readerList, uint32_t reportedLength, size_t blockSize);
