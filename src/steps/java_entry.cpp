#include "steps/java_entry.h"

#include <cstring>

#include "fileops/bounded_text.h"

namespace {

const char kJdkRuntimeFolder[] = "jre";
const char kArchive[] = "lib\\ext\\ocf1.2.jar";
const char kProperties[] = "lib\\opencard.properties";
const char kPolicy[] = "lib\\security\\java.policy";
const char kLibrary[] = "lib\\ext\\ocfpcsc1.dll";
const char kBackupSuffix[] = ".ocf-bak";
const char kPartialBackupSuffix[] = ".ocf-new";
const char kProgram[] = "bin\\java.exe";
const char kCommandFormat[] = "\"%s\" -classpath \"%s\" CopyPolicyFile %s";
const char kQuote = '"';

// Empties the path when it was cut, so that no caller can use a cut name.
void KeepWhole(char *path, bool whole) {
    if (!whole) path[0] = '\0';
}

// An empty base is one that could not be named: nothing is formed below it.
void FormPath(char (&path)[kPathCapacity], const char *base, const char *component) {
    bool whole = base[0] != '\0' && CopyText(path, sizeof path, base) && JoinPath(path, component);
    KeepWhole(path, whole);
}

void FormBackup(char (&backup)[kBackupNameCapacity], const char *policy, const char *suffix) {
    bool whole = policy[0] != '\0' && FormatText(backup, sizeof backup, "%s%s", policy, suffix);
    KeepWhole(backup, whole);
}

// Quoted whole: nothing in it ends the quoting early or escapes its end.
bool Quotable(const char *path) {
    size_t length = std::strlen(path);
    return length > 0 && !std::strchr(path, kQuote) && path[length - 1] != '\\';
}

// The program's path and the class folder are quoted whole; the command
// interpreter runs the text as written.
void FormCommand(char (&command)[kCommandCapacity], const char (&home)[kPathCapacity], const char *classFolder,
                 const char *argument) {
    char program[kPathCapacity];
    FormPath(program, home, kProgram);
    bool whole = program[0] != '\0' && !std::strchr(home, kQuote) && Quotable(classFolder) &&
                 FormatText(command, sizeof command, kCommandFormat, program, classFolder, argument);
    KeepWhole(command, whole);
}

} // namespace

bool EndHomeText(char *home, DWORD valueSize) {
    if (valueSize > kHomeCapacity) return false;
    size_t length = BoundedLength(home, valueSize);
    if (length == valueSize) {
        // Stored without a terminator: there is room for one only when the
        // value left the last byte of the read free.
        if (valueSize == kHomeCapacity) return false;
        home[length] = '\0';
    }
    return length > 0;
}

void FormRuntimeFiles(const JavaRuntime &runtime, const char *classFolder, RuntimeFiles *files) {
    // A home too long for a path names nothing.
    char home[kPathCapacity];
    KeepWhole(home, CopyText(home, sizeof home, runtime.home));
    char runtimeFolder[kPathCapacity]; // the one that holds lib
    if (runtime.kind == RuntimeKind::Jdk)
        FormPath(runtimeFolder, home, kJdkRuntimeFolder);
    else
        /* always fits, the buffers are alike: */ CopyText(runtimeFolder, sizeof runtimeFolder, home);
    FormPath(files->archive, runtimeFolder, kArchive);
    FormPath(files->properties, runtimeFolder, kProperties);
    FormPath(files->policy, runtimeFolder, kPolicy);
    FormPath(files->library, runtimeFolder, kLibrary);
    FormBackup(files->policyBackup, files->policy, kBackupSuffix);
    FormBackup(files->partialBackup, files->policy, kPartialBackupSuffix);
    FormCommand(files->policyCommand, home, classFolder, ".java.policy");
    FormCommand(files->propertiesCommand, home, classFolder, ".opencard.properties");
}
