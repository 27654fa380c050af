// Fuzzes the paths a tree copy builds for a folder entry. An input is a
// pattern, a target folder and an entry name, separated by NULs. Each path
// must be the plain join of its parts when that fits in 260 characters and
// be refused otherwise; the pattern's split must agree with its last
// backslash; every output stays terminated within its buffer.
#include "fileops/tree_paths.h"
#include "fuzz_support.h"

namespace {

// A path as a tree copy must build it, or refused.
struct Expected {
    bool built;
    std::string path;
};

Expected Join(const Expected &base, const std::string &name) {
    if (!base.built || base.path.size() > fuzz::kLongestPath) return {false, ""};
    std::string joined = fuzz::Joined(base.path, name);
    return {joined.size() <= fuzz::kLongestPath, joined};
}

void CheckBuilt(bool built, fuzz::GuardedBuffer &out, const Expected &expected) {
    fuzz::Check(out.Intact() && out.Terminated());
    fuzz::Check(built == expected.built);
    if (built) fuzz::Check(out.Text() == expected.path);
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t *data, size_t size) {
    std::vector<std::string> fields = fuzz::Fields(data, size, 3);
    const std::string &patternText = fields[0];
    const std::string &targetText = fields[1];
    const std::string &nameText = fields[2];
    std::unique_ptr<char[]> pattern = fuzz::ExactCopy(patternText);
    std::unique_ptr<char[]> targetFolder = fuzz::ExactCopy(targetText);
    std::unique_ptr<char[]> name = fuzz::ExactCopy(nameText);

    size_t lastBackslash = patternText.rfind('\\');
    std::string directoryPart = lastBackslash == std::string::npos ? "" : patternText.substr(0, lastBackslash + 1);
    std::unique_ptr<TreePattern> split(new TreePattern);
    bool splitWhole = SplitTreePattern(pattern.get(), split.get());
    fuzz::Check(splitWhole == (directoryPart.size() <= fuzz::kLongestPath));
    if (!splitWhole) return 0;
    fuzz::Check(directoryPart == split->directoryPart);
    fuzz::Check(split->lastComponent == pattern.get() + directoryPart.size());

    // A file's source, an entry's target, and a subfolder's pattern.
    Expected source = Join({true, directoryPart}, nameText);
    fuzz::GuardedBuffer sourceOut(kPathCapacity);
    CheckBuilt(EntryPath(sourceOut.get(), split->directoryPart, name.get()), sourceOut, source);

    fuzz::GuardedBuffer targetOut(kPathCapacity);
    CheckBuilt(EntryPath(targetOut.get(), targetFolder.get(), name.get()), targetOut,
               Join({true, targetText}, nameText));

    fuzz::GuardedBuffer patternOut(kPathCapacity);
    CheckBuilt(SubfolderPattern(patternOut.get(), *split, name.get()), patternOut,
               Join(source, patternText.substr(directoryPart.size())));
    return 0;
}
