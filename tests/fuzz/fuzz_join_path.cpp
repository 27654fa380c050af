// Fuzzes JoinPath. An input is a path and a component separated by a NUL;
// the path is cut to the longest a buffer holds, as the function requires.
// The result must be the plain join cut at 260 characters, reported whole
// exactly when nothing was cut, terminated, and never written past the buffer.
#include "fileops/join_path.h"
#include "fuzz_support.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t *data, size_t size) {
    std::vector<std::string> fields = fuzz::Fields(data, size, 2);
    std::string path = fields[0].substr(0, fuzz::kLongestPath);
    std::unique_ptr<char[]> component = fuzz::ExactCopy(fields[1]);

    fuzz::GuardedBuffer buffer(kPathCapacity);
    std::memcpy(buffer.get(), path.c_str(), path.size() + 1);
    bool whole = JoinPath(buffer.get(), component.get());

    std::string expected = fuzz::Joined(path, fields[1]);
    fuzz::Check(buffer.Intact() && buffer.Terminated());
    fuzz::Check(whole == (expected.size() <= fuzz::kLongestPath));
    fuzz::Check(buffer.Text() == expected.substr(0, fuzz::kLongestPath));
    return 0;
}
