// The simulated registry: HKEY_LOCAL_MACHINE and HKEY_CURRENT_USER, loaded
// from .reg text, with the size rules and errors of the ANSI calls.
#include <cstring>
#include <map>
#include <memory>
#include <sstream>

#include "platform/sim/sim_internal.h"
#include "platform/sim/sim_machine.h"

namespace sim {
namespace {

// Access rights beyond reading that a user without administrator rights is
// refused on a protected key (KEY_ALL_ACCESS asks for all of them).
const REGSAM kWriteRights = KEY_SET_VALUE | KEY_CREATE_SUB_KEY | KEY_CREATE_LINK | 0x00010000 /* DELETE */ |
                            0x00040000 /* WRITE_DAC */ | 0x00080000 /* WRITE_OWNER */;

struct Value {
    DWORD type;
    std::string data; // the bytes the ANSI call returns, terminator included when stored
};

struct Key {
    std::string name;
    Key *parent = nullptr;
    bool writeProtected = false;
    std::map<std::string, std::unique_ptr<Key>> subkeys;         // by upper-case name: the order enumeration gives
    std::map<std::string, std::pair<std::string, Value>> values; // by upper-case name
};

struct Registry {
    Key localMachine;
    Key currentUser;
    std::map<HKEY, Key *> openKeys;
};

Registry registry;

std::string Upper(const std::string &text) {
    std::string upper = text;
    for (char &c : upper)
        if (c >= 'a' && c <= 'z') c = static_cast<char>(c - 0x20);
    return upper;
}

std::vector<std::string> SplitPath(const std::string &path) {
    std::vector<std::string> parts;
    std::string part;
    std::istringstream in(path);
    while (std::getline(in, part, '\\'))
        if (!part.empty()) parts.push_back(part);
    return parts;
}

Key *RootNamed(const std::string &name) {
    std::string upper = Upper(name);
    if (upper == "HKEY_LOCAL_MACHINE" || upper == "HKLM") return &registry.localMachine;
    if (upper == "HKEY_CURRENT_USER" || upper == "HKCU") return &registry.currentUser;
    return nullptr;
}

Key *KeyOfHandle(HKEY key) {
    if (key == HKEY_LOCAL_MACHINE) return &registry.localMachine;
    if (key == HKEY_CURRENT_USER) return &registry.currentUser;
    auto it = registry.openKeys.find(key);
    return it != registry.openKeys.end() ? it->second : nullptr;
}

Key *Child(Key *key, const std::string &name, bool create) {
    auto it = key->subkeys.find(Upper(name));
    if (it != key->subkeys.end()) return it->second.get();
    if (!create) return nullptr;
    auto child = std::make_unique<Key>();
    child->name = name;
    child->parent = key;
    Key *made = child.get();
    key->subkeys[Upper(name)] = std::move(child);
    return made;
}

// A full path such as HKEY_LOCAL_MACHINE\SOFTWARE\JavaSoft.
Key *KeyAtPath(const std::string &path, bool create) {
    std::vector<std::string> parts = SplitPath(path);
    if (parts.empty()) return nullptr;
    Key *key = RootNamed(parts[0]);
    for (size_t i = 1; key && i < parts.size(); ++i) key = Child(key, parts[i], create);
    return key;
}

bool IsWriteProtected(const Key *key) {
    for (; key; key = key->parent)
        if (key->writeProtected) return true;
    return false;
}

// The text of a quoted .reg string starting at text[at] (the opening quote);
// `at` is left just after the closing quote.
std::string QuotedText(const std::string &text, size_t &at) {
    std::string value;
    for (++at; at < text.size() && text[at] != '"'; ++at) {
        if (text[at] == '\\' && at + 1 < text.size()) ++at;
        value += text[at];
    }
    ++at;
    return value;
}

std::string HexBytes(const std::string &text) {
    std::string bytes;
    std::istringstream in(text);
    std::string byte;
    while (std::getline(in, byte, ','))
        if (byte.find_first_not_of(" \t\\") != std::string::npos)
            bytes += static_cast<char>(std::stoul(byte, nullptr, 16));
    return bytes;
}

void LoadValueLine(Key *key, const std::string &line) {
    size_t at = 0;
    std::string name;
    if (line[0] == '@') {
        at = 1;
    } else {
        name = QuotedText(line, at);
    }
    if (at >= line.size() || line[at] != '=') return;
    std::string data = line.substr(at + 1);
    if (data == "-") {
        key->values.erase(Upper(name));
        return;
    }
    Value value;
    if (!data.empty() && data[0] == '"') {
        size_t start = 0;
        value = {REG_SZ, QuotedText(data, start) + std::string(1, '\0')};
    } else if (data.compare(0, 6, "dword:") == 0) {
        uint32_t number = static_cast<uint32_t>(std::stoul(data.substr(6), nullptr, 16));
        value = {REG_DWORD, std::string(reinterpret_cast<const char *>(&number), sizeof number)};
    } else if (data.compare(0, 4, "hex:") == 0) {
        value = {REG_BINARY, HexBytes(data.substr(4))};
    } else if (data.compare(0, 4, "hex(") == 0) {
        size_t close = data.find("):");
        if (close == std::string::npos) return;
        value = {static_cast<DWORD>(std::stoul(data.substr(4, close - 4), nullptr, 16)),
                 HexBytes(data.substr(close + 2))};
    } else {
        return;
    }
    key->values[Upper(name)] = {name, value};
}

} // namespace

void ResetRegistry() {
    registry.localMachine = Key();
    registry.currentUser = Key();
    registry.localMachine.name = "HKEY_LOCAL_MACHINE";
    registry.currentUser.name = "HKEY_CURRENT_USER";
    registry.openKeys.clear();
    // Every Windows names its Program Files folder here.
    LoadRegistry("[HKEY_LOCAL_MACHINE\\SOFTWARE\\Microsoft\\Windows\\CurrentVersion]\n"
                 "\"ProgramFilesDir\"=\"C:\\\\Program Files\"\n");
}

void LoadRegistry(const std::string &regText) {
    std::istringstream in(regText);
    std::string line;
    std::string logical;
    Key *key = nullptr;
    while (std::getline(in, line)) {
        if (!line.empty() && line.back() == '\r') line.pop_back();
        size_t first = line.find_first_not_of(" \t");
        line = first == std::string::npos ? "" : line.substr(first);
        if (!line.empty() && line.back() == '\\' && line.find("=hex") != std::string::npos) { // continued hex data
            logical += line.substr(0, line.size() - 1);
            continue;
        }
        logical += line;
        if (logical.empty() || logical[0] == ';') {
            logical.clear();
            continue;
        }
        if (logical[0] == '[' && logical.back() == ']') {
            std::string path = logical.substr(1, logical.size() - 2);
            if (!path.empty() && path[0] == '-') {
                Key *gone = KeyAtPath(path.substr(1), false);
                if (gone && gone->parent) gone->parent->subkeys.erase(Upper(gone->name));
                key = nullptr;
            } else {
                key = KeyAtPath(path, true);
            }
        } else if (key) {
            LoadValueLine(key, logical);
        }
        logical.clear();
    }
}

void SetRegistryValue(const std::string &keyPath, const std::string &name, DWORD type, const std::string &bytes) {
    Key *key = KeyAtPath(keyPath, true);
    if (key) key->values[Upper(name)] = {name, {type, bytes}};
}

void DenyFullAccess(const std::string &keyPath) {
    Key *key = KeyAtPath(keyPath, true);
    if (key) key->writeProtected = true;
}

} // namespace sim

LONG RegOpenKeyExA(HKEY key, LPCSTR subKey, DWORD, REGSAM desired, PHKEY result) {
    sim::Key *opened = sim::KeyOfHandle(key);
    if (!opened) return ERROR_INVALID_HANDLE;
    for (const std::string &part : sim::SplitPath(subKey ? subKey : "")) {
        opened = sim::Child(opened, part, false);
        if (!opened) return ERROR_FILE_NOT_FOUND;
    }
    if ((desired & sim::kWriteRights) && sim::IsWriteProtected(opened)) return ERROR_ACCESS_DENIED;
    HKEY handle = static_cast<HKEY>(sim::NewHandle(sim::HandleKind::Key));
    sim::registry.openKeys[handle] = opened;
    *result = handle;
    return ERROR_SUCCESS;
}

LONG RegEnumKeyA(HKEY key, DWORD index, LPSTR name, DWORD nameSize) {
    sim::Key *parent = sim::KeyOfHandle(key);
    if (!parent) return ERROR_INVALID_HANDLE;
    if (index >= parent->subkeys.size()) return ERROR_NO_MORE_ITEMS;
    auto it = parent->subkeys.begin();
    std::advance(it, index);
    const std::string &found = it->second->name;
    if (found.size() + 1 > nameSize) return ERROR_MORE_DATA;
    std::memcpy(name, found.c_str(), found.size() + 1);
    return ERROR_SUCCESS;
}

LONG RegQueryValueExA(HKEY key, LPCSTR valueName, LPDWORD, LPDWORD type, LPBYTE data, LPDWORD dataSize) {
    sim::Key *opened = sim::KeyOfHandle(key);
    if (!opened) return ERROR_INVALID_HANDLE;
    auto it = opened->values.find(sim::Upper(valueName ? valueName : ""));
    if (it == opened->values.end()) return ERROR_FILE_NOT_FOUND;
    if (data && !dataSize) return ERROR_INVALID_PARAMETER;
    const sim::Value &value = it->second.second;
    DWORD size = static_cast<DWORD>(value.data.size());
    if (type) *type = value.type;
    if (!data) {
        if (dataSize) *dataSize = size;
        return ERROR_SUCCESS;
    }
    if (*dataSize < size) {
        // The buffer's contents are undefined then: leave it full and unterminated.
        std::memcpy(data, value.data.data(), *dataSize);
        *dataSize = size;
        return ERROR_MORE_DATA;
    }
    // A value's bytes as stored: a string value need not end in a terminator.
    std::memcpy(data, value.data.data(), size); // NOLINT(bugprone-not-null-terminated-result)
    *dataSize = size;
    return ERROR_SUCCESS;
}

LONG RegCreateKeyExA(HKEY key, LPCSTR subKey, DWORD, LPSTR, DWORD, REGSAM desired, LPSECURITY_ATTRIBUTES, PHKEY result,
                     LPDWORD disposition) {
    sim::Key *opened = sim::KeyOfHandle(key);
    if (!opened) return ERROR_INVALID_HANDLE;
    bool created = false;
    for (const std::string &part : sim::SplitPath(subKey ? subKey : "")) {
        sim::Key *child = sim::Child(opened, part, false);
        if (!child) {
            if (sim::IsWriteProtected(opened)) return ERROR_ACCESS_DENIED;
            child = sim::Child(opened, part, true);
            created = true;
        }
        opened = child;
    }
    if ((desired & sim::kWriteRights) && sim::IsWriteProtected(opened)) return ERROR_ACCESS_DENIED;
    HKEY handle = static_cast<HKEY>(sim::NewHandle(sim::HandleKind::Key));
    sim::registry.openKeys[handle] = opened;
    *result = handle;
    if (disposition) *disposition = created ? 1 /* REG_CREATED_NEW_KEY */ : 2 /* REG_OPENED_EXISTING_KEY */;
    return ERROR_SUCCESS;
}

LONG RegSetValueExA(HKEY key, LPCSTR valueName, DWORD, DWORD type, const BYTE *data, DWORD size) {
    sim::Key *opened = sim::KeyOfHandle(key);
    if (!opened) return ERROR_INVALID_HANDLE;
    if (sim::IsWriteProtected(opened)) return ERROR_ACCESS_DENIED;
    std::string name = valueName ? valueName : "";
    opened->values[sim::Upper(name)] = {name, {type, std::string(reinterpret_cast<const char *>(data), size)}};
    return ERROR_SUCCESS;
}

// Only a key without subkeys can be deleted, as with RegDeleteKey on NT.
LONG RegDeleteKeyA(HKEY key, LPCSTR subKey) {
    sim::Key *parent = sim::KeyOfHandle(key);
    if (!parent) return ERROR_INVALID_HANDLE;
    sim::Key *doomed = parent;
    for (const std::string &part : sim::SplitPath(subKey ? subKey : "")) {
        doomed = sim::Child(doomed, part, false);
        if (!doomed) return ERROR_FILE_NOT_FOUND;
    }
    if (doomed == parent || !doomed->subkeys.empty()) return ERROR_ACCESS_DENIED;
    if (sim::IsWriteProtected(doomed)) return ERROR_ACCESS_DENIED;
    for (const auto &open : sim::registry.openKeys)
        if (open.second == doomed) return ERROR_ACCESS_DENIED;
    doomed->parent->subkeys.erase(sim::Upper(doomed->name));
    return ERROR_SUCCESS;
}

LONG RegCloseKey(HKEY key) {
    if (!sim::ReleaseHandle(key, sim::HandleKind::Key)) return ERROR_INVALID_HANDLE;
    sim::registry.openKeys.erase(key);
    return ERROR_SUCCESS;
}
