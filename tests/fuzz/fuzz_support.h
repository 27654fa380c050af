// What the fuzz targets share: inputs in heap blocks of exactly their size,
// so AddressSanitizer stops a read past them; outputs followed by guard bytes
// that must come back untouched; and the plain path join the code is checked
// against.
#pragma once

#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <cstring>
#include <memory>
#include <string>
#include <vector>

namespace fuzz {

// The longest path a kPathCapacity buffer holds.
const size_t kLongestPath = 260;

// A terminated copy of text in a block of exactly its length and the terminator.
inline std::unique_ptr<char[]> ExactCopy(const std::string &text) {
    std::unique_ptr<char[]> copy(new char[text.size() + 1]);
    std::memcpy(copy.get(), text.c_str(), text.size() + 1);
    return copy;
}

// An output buffer of capacity bytes followed by guard bytes; every byte
// starts as filler, never NUL, so the code must terminate what it writes.
class GuardedBuffer {
  public:
    explicit GuardedBuffer(size_t capacity) : capacity_(capacity), bytes_(new char[capacity + kGuardBytes]) {
        std::memset(bytes_.get(), kFiller, capacity + kGuardBytes);
    }
    char *get() { return bytes_.get(); }
    size_t capacity() const { return capacity_; }
    // The guard bytes are untouched and the text is terminated within the capacity.
    bool Intact() const {
        for (size_t i = capacity_; i < capacity_ + kGuardBytes; ++i)
            if (bytes_[i] != kFiller) return false;
        return true;
    }
    bool Terminated() const { return capacity_ > 0 && strnlen(bytes_.get(), capacity_) < capacity_; }
    std::string Text() const { return std::string(bytes_.get()); }

  private:
    static const size_t kGuardBytes = 32;
    static const char kFiller = '\xA5';
    size_t capacity_;
    std::unique_ptr<char[]> bytes_;
};

// Stops the run with a crash that libFuzzer records as a failing input.
inline void Check(bool holds) {
    if (!holds) std::abort();
}

// The input's fields, separated by NULs; missing fields are empty.
inline std::vector<std::string> Fields(const uint8_t *data, size_t size, size_t count) {
    std::vector<std::string> fields(count);
    size_t field = 0;
    for (size_t i = 0; i < size && field < count; ++i) {
        if (data[i] == 0)
            ++field;
        else
            fields[field] += static_cast<char>(data[i]);
    }
    return fields;
}

// path and component with one backslash between them unless path is empty
// or already ends in one; nothing is cut.
inline std::string Joined(const std::string &path, const std::string &component) {
    if (path.empty() || path.back() == '\\') return path + component;
    return path + "\\" + component;
}

} // namespace fuzz
