// Stands in for a Java runtime's bin\java.exe in the Windows tests: appends
// its current directory and arguments to calls.log beside itself, one line
// per run ("directory|argument|argument"), and exits with the number in
// exit-status.txt beside itself, or 0 when there is none.
#include <windows.h>

#include <cstdio>
#include <cstring>
#include <string>

namespace {

const int kCannotLocateItself = 100;
const int kCannotLog = 101;
const int kUnreadableStatus = 102;

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

    int status = 0;
    FILE *scripted = std::fopen((folder + "exit-status.txt").c_str(), "r");
    if (scripted) {
        if (std::fscanf(scripted, "%d", &status) != 1) status = kUnreadableStatus;
        std::fclose(scripted);
    }
    return status;
}
