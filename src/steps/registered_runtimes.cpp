#include "steps/registered_runtimes.h"

namespace {

const char kJavaSoftKey[] = "SOFTWARE\\JavaSoft";
const char kJreListKey[] = "Java Runtime Environment";
const char kJdkListKey[] = "Java Development Kit";
const char kJavaHomeValue[] = "JavaHome";
// Registry key names are at most 255 characters.
const DWORD kKeyNameCapacity = 256;

// A key that is there but refuses is counted: the walk could not see what
// lies below it.
void CountRefusal(RuntimeWalk &walk, LONG error) {
    if (walk.keysRefused++ == 0) walk.refusal = error;
}

// Opens a key for full access.
bool OpenKey(HKEY parent, const char *name, HKEY *key, RuntimeWalk &walk) {
    LONG error = RegOpenKeyExA(parent, name, 0, KEY_ALL_ACCESS, key);
    if (error != ERROR_SUCCESS && error != ERROR_FILE_NOT_FOUND) CountRefusal(walk, error);
    return error == ERROR_SUCCESS;
}

bool ReadHome(HKEY entryKey, char *home) {
    DWORD size = kHomeCapacity;
    if (RegQueryValueExA(entryKey, kJavaHomeValue, nullptr, nullptr, reinterpret_cast<LPBYTE>(home), &size) !=
        ERROR_SUCCESS)
        return false;
    return EndHomeText(home, size);
}

// Returns false when the visitor ended the walk.
bool WalkList(HKEY list, RuntimeKind kind, RuntimeVisitor visit, void *context, RuntimeWalk &walk) {
    char name[kKeyNameCapacity];
    for (DWORD index = 0;; ++index) {
        LONG error = RegEnumKeyA(list, index, name, sizeof name);
        if (error != ERROR_SUCCESS) {
            if (error != ERROR_NO_MORE_ITEMS) CountRefusal(walk, error);
            return true;
        }
        HKEY entryKey;
        if (!OpenKey(list, name, &entryKey, walk)) continue;
        JavaRuntime runtime = {kind, ""};
        bool goOn = !ReadHome(entryKey, runtime.home) || visit(runtime, context);
        /* result not examined: */ RegCloseKey(entryKey);
        if (!goOn) return false;
    }
}

} // namespace

RuntimeWalk WalkRegisteredRuntimes(RuntimeVisitor visit, void *context) {
    RuntimeWalk walk = {false, 0, ERROR_SUCCESS};
    HKEY javaSoft;
    if (!OpenKey(HKEY_LOCAL_MACHINE, kJavaSoftKey, &javaSoft, walk)) return walk;
    HKEY jreList;
    HKEY jdkList;
    bool jreListOpen = OpenKey(javaSoft, kJreListKey, &jreList, walk);
    bool jdkListOpen = OpenKey(javaSoft, kJdkListKey, &jdkList, walk);
    bool goOn = true;
    if (jreListOpen) {
        goOn = WalkList(jreList, RuntimeKind::Jre, visit, context, walk);
        /* result not examined: */ RegCloseKey(jreList);
    }
    if (jdkListOpen) {
        if (goOn) WalkList(jdkList, RuntimeKind::Jdk, visit, context, walk);
        /* result not examined: */ RegCloseKey(jdkList);
    }
    /* result not examined: */ RegCloseKey(javaSoft);
    walk.listFound = jreListOpen || jdkListOpen;
    return walk;
}
