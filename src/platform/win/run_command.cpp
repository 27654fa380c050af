#include <cstdlib>

#include "platform/win32.h"

int RunCommand(const char *command) { return std::system(command); }
