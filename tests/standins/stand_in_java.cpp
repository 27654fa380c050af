// Stands in for a Java runtime's bin\java.exe in the Windows tests and the
// demo. Each run appends its current directory and arguments to calls.log
// beside itself ("directory|argument|argument"). Started as
// "java [-classpath <folder>] CopyPolicyFile .<name>", it does what that class
// does: copies <name> from the current directory into the user's home folder
// (%USERPROFILE%) as .<name>, keeping a file already there once as
// .<name>.ocf-bak. Like java, it takes the class from -classpath or else from
// CLASSPATH, and fails (1) when the class file is not there; with neither it
// does not look. It ends with the number in exit-status.txt beside itself
// when there is one, otherwise with 0 when it did its work.
#include <windows.h>

#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <string>

namespace {

const char kPolicyClass[] = "CopyPolicyFile";
const char kClassPathSwitch[] = "-classpath";
const char kBackupSuffix[] = ".ocf-bak";
const int kInstalled = 0;
const int kNotInstalled = 1;
const int kWrongArgument = 2;
const int kCannotLocateItself = 100;
const int kCannotLog = 101;
const int kUnreadableStatus = 102;

bool Exists(const std::string &path) { return GetFileAttributesA(path.c_str()) != INVALID_FILE_ATTRIBUTES; }

int CopyIntoHome(const char *dottedName) {
    const char *home = std::getenv("USERPROFILE");
    if (dottedName[0] != '.' || dottedName[1] == '\0' || std::strpbrk(dottedName, "\\/:")) return kWrongArgument;
    if (!home || !*home) return kNotInstalled;
    const std::string target = std::string(home) + "\\" + dottedName;
    const std::string backup = target + kBackupSuffix;
    if (Exists(target) && !Exists(backup) && !CopyFileA(target.c_str(), backup.c_str(), TRUE)) return kNotInstalled;
    return CopyFileA(dottedName + 1, target.c_str(), FALSE) ? kInstalled : kNotInstalled;
}

// The class file in the class path that -classpath or CLASSPATH names.
bool ClassFound(const char *classPath) {
    if (!classPath || !*classPath) return true;
    if (Exists(std::string(classPath) + "\\" + kPolicyClass + ".class")) return true;
    std::fprintf(stderr, "Error: Could not find or load main class %s\n", kPolicyClass);
    return false;
}

} // namespace

int main(int argc, char **argv) {
    char self[MAX_PATH + 1];
    DWORD length = GetModuleFileNameA(nullptr, self, sizeof self);
    const char *lastSeparator = length > 0 && length < sizeof self ? std::strrchr(self, '\\') : nullptr;
    if (!lastSeparator) return kCannotLocateItself;
    const std::string folder(self, static_cast<size_t>(lastSeparator + 1 - self));

    char current[MAX_PATH + 1] = "";
    GetCurrentDirectoryA(sizeof current, current);
    std::string line = current;
    for (int i = 1; i < argc; ++i) line += std::string("|") + argv[i];
    FILE *log = std::fopen((folder + "calls.log").c_str(), "a");
    if (!log) return kCannotLog;
    std::fprintf(log, "%s\n", line.c_str());
    std::fclose(log);

    int first = 1;
    const char *classPath = std::getenv("CLASSPATH");
    if (argc > 2 && std::strcmp(argv[1], kClassPathSwitch) == 0) {
        classPath = argv[2];
        first = 3;
    }
    int status = kWrongArgument;
    if (argc == first + 2 && std::strcmp(argv[first], kPolicyClass) == 0)
        status = ClassFound(classPath) ? CopyIntoHome(argv[first + 1]) : kNotInstalled;
    FILE *scripted = std::fopen((folder + "exit-status.txt").c_str(), "r");
    if (scripted) {
        if (std::fscanf(scripted, "%d", &status) != 1) status = kUnreadableStatus;
        std::fclose(scripted);
    }
    return status;
}
