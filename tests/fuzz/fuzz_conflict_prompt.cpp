// Fuzzes the composition of the conflict prompt. An input starts with the
// buffer's capacity (2 bytes), the two sizes (4 bytes each) and the twelve
// calendar fields (2 bytes each), all little endian; the source and the
// target path follow, separated by a NUL. The text must be the prompt's
// format filled in when it fits; when it does not, the fixed lines, sizes
// and dates stay whole and each path is either whole or shortened from its
// start behind "...", using the room there is. It is always terminated and
// never written past the capacity.
#include "fileops/conflict_prompt.h"
#include <cstdio>

#include "fuzz_support.h"

namespace {

// The prompt's text around the two paths, the same literals as the prompt's.
const char kBeforeSource[] = "Wykryto problem przy próbie skopiowania pliku do katalogu docelowego.\n"
                             "Podany plik już istnieje.\n"
                             "\n"
                             "Informacje o plikach:\n"
                             "\n"
                             "ŹRÓDŁOWY\n"
                             "Nazwa: ";
const char kSourceFacts[] = "\nRozmiar: %d\n"
                            "Data modyfikacji: %d-%02d-%02d, %02d:%02d:%02d\n"
                            "\n"
                            "DOCELOWY\n"
                            "Nazwa: ";
const char kTargetFacts[] = "\nRozmiar: %d\n"
                            "Data modyfikacji: %d-%02d-%02d, %02d:%02d:%02d\n"
                            "\n";
const char kEllipsis[] = "...";
const size_t kHeaderBytes = 2 + 4 + 4 + 12 * 2;

class Reader {
  public:
    explicit Reader(const uint8_t *data) : data_(data) {}
    uint32_t Next(size_t bytes) {
        uint32_t value = 0;
        for (size_t i = 0; i < bytes; ++i) value |= static_cast<uint32_t>(data_[position_++]) << (8 * i);
        return value;
    }
    WORD Word() { return static_cast<WORD>(Next(2)); }

  private:
    const uint8_t *data_;
    size_t position_ = 0;
};

SYSTEMTIME ReadTime(Reader &in) {
    SYSTEMTIME time = {};
    time.wYear = in.Word();
    time.wMonth = in.Word();
    time.wDay = in.Word();
    time.wHour = in.Word();
    time.wMinute = in.Word();
    time.wSecond = in.Word();
    return time;
}

std::string Facts(const char *format, const PromptedFile &file) {
    char text[256];
    const SYSTEMTIME &t = file.lastWrite;
    std::snprintf(text, sizeof text, format, static_cast<int>(file.sizeLow), t.wYear, t.wMonth, t.wDay, t.wHour,
                  t.wMinute, t.wSecond);
    return text;
}

// The path whole, nothing, or its end behind "..." and shorter than the path.
bool ShownAs(const std::string &shown, const std::string &path) {
    if (shown == path || shown.empty()) return true;
    size_t prefix = sizeof kEllipsis - 1;
    return shown.size() < path.size() && shown.compare(0, prefix, kEllipsis) == 0 &&
           path.compare(path.size() - (shown.size() - prefix), std::string::npos, shown, prefix) == 0;
}

// The text between the fixed beginning and the target's facts is the shown
// source, the source's facts and the shown target: some split must fit.
bool PathsShownWithinRoom(const std::string &middle, const std::string &sourceFacts, const std::string &source,
                          const std::string &target, size_t textLength, size_t capacity) {
    for (size_t at = middle.find(sourceFacts); at != std::string::npos; at = middle.find(sourceFacts, at + 1)) {
        std::string shownSource = middle.substr(0, at);
        std::string shownTarget = middle.substr(at + sourceFacts.size());
        if (!ShownAs(shownSource, source) || !ShownAs(shownTarget, target)) continue;
        // A path shortened behind "..." means the text takes all the room,
        // unless the other path's share was too small even for "..." and is
        // shown as nothing.
        bool shortened = shownSource != source || shownTarget != target;
        bool emptied = (shownSource.empty() && !source.empty()) || (shownTarget.empty() && !target.empty());
        if (!shortened || emptied || textLength == capacity - 1) return true;
    }
    return false;
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t *data, size_t size) {
    if (size < kHeaderBytes) return 0;
    Reader in(data);
    size_t capacity = in.Next(2) % 1024;
    uint32_t sourceSize = in.Next(4);
    uint32_t targetSize = in.Next(4);
    SYSTEMTIME sourceTime = ReadTime(in);
    SYSTEMTIME targetTime = ReadTime(in);
    std::vector<std::string> paths = fuzz::Fields(data + kHeaderBytes, size - kHeaderBytes, 2);
    std::unique_ptr<char[]> sourcePath = fuzz::ExactCopy(paths[0]);
    std::unique_ptr<char[]> targetPath = fuzz::ExactCopy(paths[1]);
    PromptedFile source = {sourcePath.get(), sourceSize, sourceTime};
    PromptedFile target = {targetPath.get(), targetSize, targetTime};

    fuzz::GuardedBuffer text(capacity);
    ComposeConflictPrompt(text.get(), capacity, source, target);
    fuzz::Check(text.Intact());
    if (capacity == 0) return 0;
    fuzz::Check(text.Terminated());

    std::string sourceFacts = Facts(kSourceFacts, source);
    std::string targetFacts = Facts(kTargetFacts, target);
    std::string whole = kBeforeSource + paths[0] + sourceFacts + paths[1] + targetFacts;
    std::string shown = text.Text();
    if (whole.size() < capacity) {
        fuzz::Check(shown == whole);
        return 0;
    }
    std::string fixed = kBeforeSource + sourceFacts + targetFacts;
    if (fixed.size() >= capacity) {
        // Not even the fixed lines fit: they are cut, with no path at all.
        fuzz::Check(shown == fixed.substr(0, capacity - 1));
        return 0;
    }
    std::string before = kBeforeSource;
    fuzz::Check(shown.size() < capacity && shown.size() >= before.size() + targetFacts.size());
    fuzz::Check(shown.compare(0, before.size(), before) == 0);
    fuzz::Check(shown.compare(shown.size() - targetFacts.size(), std::string::npos, targetFacts) == 0);
    std::string middle = shown.substr(before.size(), shown.size() - before.size() - targetFacts.size());
    fuzz::Check(PathsShownWithinRoom(middle, sourceFacts, paths[0], paths[1], shown.size(), capacity));
    return 0;
}
