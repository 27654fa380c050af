// Fuzzes the Netscape install-directory handling. An input is the length of
// a profile folder's name (1 byte), that name, and then the bytes of the
// "Install Directory" value as the registry returned them: terminated or
// not, in a block of exactly their size. The paths must be those built from
// the value up to its terminator (trailing backslashes dropped, the holding
// folder up to the last backslash), or none at all, leaving the record
// untouched, when the value is longer than a path, names no holding folder,
// or a path would not fit.
#include "fuzz_support.h"
#include "steps/netscape_paths.h"

namespace {

struct Expected {
    bool found = false;
    std::string classesFolder, libraryFile, profilesFolder, profilesPattern;
};

bool Fits(const std::string &path) { return path.size() <= fuzz::kLongestPath; }

Expected ExpectedPaths(const char *value, size_t size) {
    Expected expected;
    std::string installDirectory(value, strnlen(value, size));
    if (!Fits(installDirectory)) return expected;
    while (!installDirectory.empty() && installDirectory.back() == '\\') installDirectory.pop_back();
    size_t lastBackslash = installDirectory.rfind('\\');
    if (lastBackslash == std::string::npos) return expected;
    std::string holdingFolder = installDirectory.substr(0, lastBackslash + 1);
    expected.classesFolder = fuzz::Joined(installDirectory, "Program\\java\\classes");
    expected.libraryFile = fuzz::Joined(installDirectory, "Program\\java\\bin\\ocfpcsc1.dll");
    expected.profilesFolder = fuzz::Joined(holdingFolder, "Users");
    expected.profilesPattern = fuzz::Joined(expected.profilesFolder, "*");
    expected.found = Fits(expected.classesFolder) && Fits(expected.libraryFile) && Fits(expected.profilesFolder) &&
                     Fits(expected.profilesPattern);
    return expected;
}

bool Same(const char (&path)[kPathCapacity], const std::string &expected) {
    return strnlen(path, kPathCapacity) < kPathCapacity && expected == path;
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t *data, size_t size) {
    if (size < 1) return 0;
    size_t nameLength = data[0];
    if (size < 1 + nameLength) return 0;
    std::string profile(reinterpret_cast<const char *>(data + 1), nameLength);
    profile = profile.c_str(); // a folder name ends at a NUL
    size_t valueSize = size - 1 - nameLength;
    std::unique_ptr<char[]> value(new char[valueSize]);
    std::memcpy(value.get(), data + 1 + nameLength, valueSize);

    const unsigned char kUntouched = 0x5A;
    std::unique_ptr<NetscapePaths> paths(new NetscapePaths);
    std::memset(paths.get(), kUntouched, sizeof *paths);
    bool found = FindNetscapePaths(value.get(), valueSize, paths.get());

    Expected expected = ExpectedPaths(value.get(), valueSize);
    fuzz::Check(found == expected.found);
    if (!found) {
        const unsigned char *bytes = reinterpret_cast<const unsigned char *>(paths.get());
        for (size_t i = 0; i < sizeof *paths; ++i) fuzz::Check(bytes[i] == kUntouched);
        return 0;
    }
    fuzz::Check(Same(paths->classesFolder, expected.classesFolder));
    fuzz::Check(Same(paths->libraryFile, expected.libraryFile));
    fuzz::Check(Same(paths->profilesFolder, expected.profilesFolder));
    fuzz::Check(Same(paths->profilesPattern, expected.profilesPattern));

    std::unique_ptr<char[]> profileName = fuzz::ExactCopy(profile);
    fuzz::GuardedBuffer file(kPathCapacity);
    bool named = ProfilePropertiesFile(file.get(), *paths, profileName.get());
    std::string expectedFile = fuzz::Joined(fuzz::Joined(expected.profilesFolder, profile), ".opencard.properties");
    fuzz::Check(file.Intact() && file.Terminated());
    fuzz::Check(named == Fits(expectedFile));
    if (named) fuzz::Check(file.Text() == expectedFile);
    return 0;
}
