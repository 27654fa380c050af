#include <cstdio>
#include <cstdlib>

#include "platform/win32.h"

namespace {

// The longest command line that cmd.exe accepts, and the terminator.
const int kCommandLineCapacity = 8192;
const int kNoInterpreter = -1;

} // namespace

int RunCommand(const char *command) {
    // system() runs "cmd /c <text>", and cmd strips the first and the last
    // quote of a text it does not take for one quoted program name (a program
    // path holding parentheses, as "Program Files (x86)" does). An outer pair
    // of quotes is what it strips then, so the command arrives as written.
    char line[kCommandLineCapacity];
    int length = std::snprintf(line, sizeof line, "\"%s\"", command);
    if (length < 0 || length >= kCommandLineCapacity) return kNoInterpreter;
    // Running a command line through the interpreter is this function's whole job.
    return std::system(line); // NOLINT(cert-env33-c)
}
