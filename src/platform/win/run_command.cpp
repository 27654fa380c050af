#include <cstdlib>
#include <cstring>

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
    size_t length = std::strlen(command);
    // The command, a quote on either side and the terminator.
    if (length + 3 > sizeof line) return kNoInterpreter;
    line[0] = '"';
    std::memcpy(line + 1, command, length);
    line[length + 1] = '"';
    line[length + 2] = '\0';
    // Running a command line through the interpreter is this function's whole job.
    return std::system(line); // NOLINT(cert-env33-c)
}
