// The simulated process environment: variables matched without regard to
// letter case, as Windows matches them. After Reset it is empty.
#include <cstring>
#include <map>
#include <string>

#include "platform/sim/sim_internal.h"

namespace sim {
namespace {

std::map<std::string, std::string> variables; // by upper-case name

std::string Key(const char *name) {
    std::string key = name;
    for (char &c : key)
        if (c >= 'a' && c <= 'z') c = static_cast<char>(c - 'a' + 'A');
    return key;
}

} // namespace

void ResetEnvironment() { variables.clear(); }

} // namespace sim

DWORD GetEnvironmentVariableA(LPCSTR name, LPSTR buffer, DWORD size) {
    auto it = sim::variables.find(sim::Key(name));
    if (it == sim::variables.end()) {
        SetLastError(ERROR_ENVVAR_NOT_FOUND);
        return 0;
    }
    const std::string &value = it->second;
    // Too small: the size needed, terminator included, and the buffer untouched.
    if (!buffer || size <= value.size()) return static_cast<DWORD>(value.size() + 1);
    std::memcpy(buffer, value.c_str(), value.size() + 1);
    return static_cast<DWORD>(value.size());
}

BOOL SetEnvironmentVariableA(LPCSTR name, LPCSTR value) {
    if (value)
        sim::variables[sim::Key(name)] = value;
    else
        sim::variables.erase(sim::Key(name));
    return TRUE;
}
