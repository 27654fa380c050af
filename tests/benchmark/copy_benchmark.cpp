// Times copies through the Windows API, for scripts/benchmark.sh (which runs
// it under Wine), with QueryPerformanceCounter. Prints the milliseconds on
// standard output; whatever is prepared before the clock starts is not timed.
//
//   copy_benchmark copytree <source folder> <target folder>
//       creates the target folder and copies the source's files and
//       subfolders into it with CopyTree, as the installer does
//   copy_benchmark copyloop <source folder> <target folder>
//       the floor of the API for the same copy: walks the tree as CopyTree
//       does and only creates the same folders and copies the same files
//       with CopyFileA, in the same order
//   copy_benchmark run <command line>
//       starts the program with CreateProcessA, its standard output going to
//       NUL, and waits for it; it must end with status 0
//   copy_benchmark plan <folder> <plan file>
//       in that folder, does what the plan's lines say, in their order:
//       "copy|<source>|<target>" with CopyFileA, "system|<command line>" with
//       the C run-time's system(), which must return 0. It leaves its console
//       first: the installer has none, so each cmd that system() starts gets
//       a console of its own (conhost.exe), and here it must too. Its output
//       must therefore go to a file or a pipe.
//   copy_benchmark check <distribution folder> <package folder>...
//       the installer's check of those package folders against the
//       manifest built into it; they must pass
//   copy_benchmark sha256 <megabytes>
//       hashes that many megabytes held in memory with the installer's SHA-256
//
// Exit status 0 when everything succeeded, 1 when not (no time printed), 2
// for a wrong command line.
#include <fcntl.h>
#include <io.h>
#include <windows.h>

#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <fstream>
#include <string>
#include <vector>

#include "fileops/copy_tree.h"
#include "fileops/join_path.h"
#include "fileops/sha256.h"
#include "release/payload_check.h"

namespace {

const int kDone = 0;
const int kFailed = 1;
const int kUsage = 2;

const char kCopyLine[] = "copy|";
const char kSystemLine[] = "system|";

class Stopwatch {
  public:
    Stopwatch() {
        QueryPerformanceFrequency(&frequency_);
        QueryPerformanceCounter(&start_);
    }
    void Stop() { QueryPerformanceCounter(&end_); }
    int Print() const {
        _setmode(_fileno(stdout), _O_BINARY);
        std::printf("%.1f\n", 1000.0 * static_cast<double>(end_.QuadPart - start_.QuadPart) /
                                  static_cast<double>(frequency_.QuadPart));
        return kDone;
    }

  private:
    LARGE_INTEGER frequency_;
    LARGE_INTEGER start_;
    LARGE_INTEGER end_ = {};
};

int Fail(const char *what, const std::string &path) {
    std::fprintf(stderr, "%s %s (error %lu)\n", what, path.c_str(), GetLastError());
    return kFailed;
}

int TimeCopyTree(const std::string &source, const std::string &target) {
    const std::string pattern = source + "\\*";
    char failingPath[kPathCapacity];
    // Creating the top folder is timed too: the other copies create it as well.
    Stopwatch clock;
    bool created = CreateDirectoryA(target.c_str(), nullptr) != FALSE;
    CopyOutcome outcome = created ? CopyTree(pattern.c_str(), target.c_str(), 1, failingPath) : kCopyDone;
    clock.Stop();
    if (!created) return Fail("cannot create", target);
    if (outcome != kCopyDone) {
        std::fprintf(stderr, "CopyTree returned %d at %s\n", outcome, failingPath);
        return kFailed;
    }
    return clock.Print();
}

// The floor of the API for CopyTree's work: the same walk (depth first,
// each folder created as its search meets it and then walked before the
// search goes on) with nothing but FindFirstFileA, FindNextFileA,
// CreateDirectoryA and CopyFileA. Paths are assumed to fit.
bool CopyFolderPlainly(const std::string &source, const std::string &target) {
    WIN32_FIND_DATAA entry;
    HANDLE search = FindFirstFileA((source + "\\*").c_str(), &entry);
    if (search == INVALID_HANDLE_VALUE) return false;
    bool copied = true;
    do {
        const std::string name = entry.cFileName;
        if (name == "." || name == "..") continue;
        const std::string sourceEntry = source + "\\" + name;
        const std::string targetEntry = target + "\\" + name;
        if (entry.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY)
            copied = CreateDirectoryA(targetEntry.c_str(), nullptr) && CopyFolderPlainly(sourceEntry, targetEntry);
        else
            copied = CopyFileA(sourceEntry.c_str(), targetEntry.c_str(), FALSE);
        if (!copied) std::fprintf(stderr, "cannot make %s (error %lu)\n", targetEntry.c_str(), GetLastError());
    } while (copied && FindNextFileA(search, &entry));
    if (copied && GetLastError() != ERROR_NO_MORE_FILES) copied = false;
    FindClose(search);
    return copied;
}

int TimeCopyLoop(const std::string &source, const std::string &target) {
    Stopwatch clock;
    bool copied = CreateDirectoryA(target.c_str(), nullptr) && CopyFolderPlainly(source, target);
    clock.Stop();
    if (!copied) return Fail("cannot copy", source);
    return clock.Print();
}

int TimeProgram(const char *commandLine) {
    SECURITY_ATTRIBUTES inherited = {sizeof inherited, nullptr, TRUE};
    HANDLE nul =
        CreateFileA("NUL", GENERIC_WRITE, FILE_SHARE_READ | FILE_SHARE_WRITE, &inherited, OPEN_EXISTING, 0, nullptr);
    if (nul == INVALID_HANDLE_VALUE) return Fail("cannot open", "NUL");
    STARTUPINFOA startup = {};
    startup.cb = sizeof startup;
    startup.dwFlags = STARTF_USESTDHANDLES;
    startup.hStdInput = GetStdHandle(STD_INPUT_HANDLE);
    startup.hStdOutput = nul;
    startup.hStdError = GetStdHandle(STD_ERROR_HANDLE);
    PROCESS_INFORMATION process = {};
    std::vector<char> line(commandLine, commandLine + std::strlen(commandLine) + 1); // CreateProcessA may write it

    Stopwatch clock;
    bool started =
        CreateProcessA(nullptr, line.data(), nullptr, nullptr, TRUE, 0, nullptr, nullptr, &startup, &process) != FALSE;
    if (started) WaitForSingleObject(process.hProcess, INFINITE);
    clock.Stop();

    if (!started) {
        Fail("cannot start", commandLine);
        CloseHandle(nul);
        return kFailed;
    }
    CloseHandle(nul);
    DWORD status = 1;
    GetExitCodeProcess(process.hProcess, &status);
    CloseHandle(process.hThread);
    CloseHandle(process.hProcess);
    if (status != 0) {
        std::fprintf(stderr, "%s ended with status %lu\n", commandLine, status);
        return kFailed;
    }
    return clock.Print();
}

// A plan line: a copy (source and target) or a command (source empty).
struct PlanStep {
    std::string source;
    std::string target;
    std::string command;
};

// The rest of the line behind the prefix, or false when the line does not start with it.
bool TakePrefix(const std::string &line, const char *prefix, std::string &rest) {
    const size_t length = std::strlen(prefix);
    if (line.compare(0, length, prefix) != 0) return false;
    rest = line.substr(length);
    return true;
}

bool ReadPlan(const char *file, std::vector<PlanStep> &steps) {
    std::ifstream plan(file);
    std::string line;
    std::string rest;
    while (std::getline(plan, line)) {
        if (!line.empty() && line.back() == '\r') line.pop_back();
        const size_t bar = TakePrefix(line, kCopyLine, rest) ? rest.find('|') : std::string::npos;
        if (bar != std::string::npos)
            steps.push_back({rest.substr(0, bar), rest.substr(bar + 1), ""});
        else if (TakePrefix(line, kSystemLine, rest) && !rest.empty())
            steps.push_back({"", "", rest});
        else
            return false;
    }
    return plan.eof() && !steps.empty();
}

int TimePlan(const char *folder, const char *file) {
    std::vector<PlanStep> steps;
    if (!ReadPlan(file, steps)) return Fail("cannot read the plan", file);
    if (!SetCurrentDirectoryA(folder)) return Fail("cannot enter", folder);
    FreeConsole();
    Stopwatch clock;
    for (const PlanStep &step : steps) {
        if (step.command.empty()) {
            if (!CopyFileA(step.source.c_str(), step.target.c_str(), FALSE)) return Fail("cannot copy to", step.target);
        } else if (std::system(step.command.c_str()) != 0) { // NOLINT(cert-env33-c): as the installer runs it
            std::fprintf(stderr, "%s failed\n", step.command.c_str());
            return kFailed;
        }
    }
    clock.Stop();
    return clock.Print();
}

int TimeCheck(const char *folder, const char *const *packageFolders, int count) {
    if (!SetCurrentDirectoryA(folder)) return Fail("cannot enter", folder);
    char offender[kPathCapacity];
    Stopwatch clock;
    const bool intact = CheckPayloadFolders(packageFolders, count, offender);
    clock.Stop();
    if (!intact) return Fail("not the release's file:", offender);
    return clock.Print();
}

int TimeSha256(const char *megabytes) {
    const long count = std::strtol(megabytes, nullptr, 10);
    if (count <= 0) return Fail("not a number of megabytes:", megabytes);
    std::vector<unsigned char> block(1 << 20, 0x5a);
    unsigned char digest[kSha256Size];
    Sha256 hash;
    Stopwatch clock;
    Sha256Begin(&hash);
    for (long i = 0; i < count; ++i) Sha256Add(&hash, block.data(), static_cast<DWORD>(block.size()));
    Sha256End(&hash, digest);
    clock.Stop();
    return clock.Print();
}

} // namespace

int main(int argc, char **argv) {
    const std::string command = argc > 1 ? argv[1] : "";
    if (command == "copytree" && argc == 4) return TimeCopyTree(argv[2], argv[3]);
    if (command == "copyloop" && argc == 4) return TimeCopyLoop(argv[2], argv[3]);
    if (command == "run" && argc == 3) return TimeProgram(argv[2]);
    if (command == "plan" && argc == 4) return TimePlan(argv[2], argv[3]);
    if (command == "check" && argc >= 4) return TimeCheck(argv[2], argv + 3, argc - 3);
    if (command == "sha256" && argc == 3) return TimeSha256(argv[2]);
    std::fprintf(stderr, "usage: copy_benchmark copytree|copyloop <source folder> <target folder>\n"
                         "       copy_benchmark run <command line>\n"
                         "       copy_benchmark plan <folder> <plan file>\n"
                         "       copy_benchmark check <distribution folder> <package folder>...\n"
                         "       copy_benchmark sha256 <megabytes>\n");
    return kUsage;
}
