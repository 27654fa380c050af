// Times one tree copy by CopyTree over the simulated machine, or one host
// command, with the same clock, for scripts/benchmark.sh. Prints the
// milliseconds on standard output.
//
//   copy_benchmark copytree <host folder> <source> <target>
//       maps drive C: onto the host folder and copies C:\<source>\* with its
//       subfolders into C:\<target>, which it creates
//   copy_benchmark run <program> [argument...]
//       runs the program (looked up in PATH) and waits for it
//
// Exit status 0 when the copy or the program succeeded, 1 when not, 2 for a
// wrong command line.
#include <spawn.h>
#include <sys/wait.h>

#include <chrono>
#include <cstdio>
#include <cstring>
#include <string>

#include "fileops/copy_tree.h"
#include "fileops/join_path.h"
#include "platform/sim/sim_machine.h"
#include "platform/win32.h"

extern char **environ;

namespace {

const int kDone = 0;
const int kFailed = 1;
const int kUsage = 2;

using Clock = std::chrono::steady_clock;

void PrintMilliseconds(Clock::time_point start, Clock::time_point end) {
    std::printf("%.1f\n", std::chrono::duration<double, std::milli>(end - start).count());
}

int TimeCopyTree(const char *hostFolder, const std::string &source, const std::string &target) {
    sim::Reset(hostFolder);
    const std::string pattern = "C:\\" + source + "\\*";
    const std::string targetFolder = "C:\\" + target;
    char failingPath[kPathCapacity];

    // Creating the top folder is timed too: cp -r creates it as well.
    Clock::time_point start = Clock::now();
    bool created = CreateDirectoryA(targetFolder.c_str(), nullptr) != FALSE;
    CopyOutcome outcome = created ? CopyTree(pattern.c_str(), targetFolder.c_str(), 1, failingPath) : kCopyDone;
    Clock::time_point end = Clock::now();

    if (!created) {
        std::fprintf(stderr, "cannot create %s (error %lu)\n", targetFolder.c_str(),
                     static_cast<unsigned long>(GetLastError()));
        return kFailed;
    }
    if (outcome != kCopyDone) {
        std::fprintf(stderr, "CopyTree returned %d at %s\n", outcome, failingPath);
        return kFailed;
    }
    if (sim::OpenHandles() != 0) {
        std::fprintf(stderr, "CopyTree left %d handles open\n", sim::OpenHandles());
        return kFailed;
    }
    PrintMilliseconds(start, end);
    return kDone;
}

int TimeProgram(char **arguments) {
    Clock::time_point start = Clock::now();
    pid_t child = 0;
    int spawnError = posix_spawnp(&child, arguments[0], nullptr, nullptr, arguments, environ);
    int status = 0;
    bool waited = spawnError == 0 && waitpid(child, &status, 0) == child;
    Clock::time_point end = Clock::now();

    if (spawnError != 0) {
        std::fprintf(stderr, "cannot run %s: %s\n", arguments[0], std::strerror(spawnError));
        return kFailed;
    }
    if (!waited || !WIFEXITED(status) || WEXITSTATUS(status) != 0) {
        std::fprintf(stderr, "%s failed\n", arguments[0]);
        return kFailed;
    }
    PrintMilliseconds(start, end);
    return kDone;
}

} // namespace

int main(int argc, char **argv) {
    if (argc == 5 && std::strcmp(argv[1], "copytree") == 0) return TimeCopyTree(argv[2], argv[3], argv[4]);
    if (argc >= 3 && std::strcmp(argv[1], "run") == 0) return TimeProgram(argv + 2);
    std::fprintf(stderr, "usage: copy_benchmark copytree <host folder> <source> <target>\n"
                         "       copy_benchmark run <program> [argument...]\n");
    return kUsage;
}
