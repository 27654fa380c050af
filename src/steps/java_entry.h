// A registered Java runtime: its kind and its home folder, read from its
// registry entry, and every path and command formed from that home. The
// installation and the restore take them from here, so that both see the
// same files and skip the same homes.
#pragma once

#include "fileops/join_path.h"
#include "platform/win32.h"

enum class RuntimeKind { Jre, Jdk };

// One more character than the longest path: a home that long is still read
// whole and counted as a runtime, and every path formed from it is refused.
constexpr DWORD kHomeCapacity = kPathCapacity + 1;
// The backup names "<policy>.ocf-bak" and "<policy>.ocf-new", terminator included.
constexpr int kBackupNameCapacity = 260;
// A CopyPolicyFile command: two quoted paths of up to kLongestPath characters
// (the program and the class folder), the switch, the class, the longest
// argument and the terminator.
constexpr int kCommandCapacity =
    2 * kLongestPath + static_cast<int>(sizeof "\"\" -classpath \"\" CopyPolicyFile .opencard.properties");

struct JavaRuntime {
    RuntimeKind kind;
    char home[kHomeCapacity]; // a plain path, terminated
};

// Ends the home after the registry read valueSize bytes into it: at the
// value's own terminator, or right behind a value stored without one.
// Returns false for a home that cannot be used: an empty one, or one that
// fills the whole read (kHomeCapacity bytes) without a terminator.
bool EndHomeText(char *home, DWORD valueSize);

// What the installer puts into a runtime (a JDK's runtime is its jre
// folder) and the commands it runs through the runtime's bin\java.exe, each
// formed once from the home. A path or command that would have to be cut is
// empty, and so is a command for a home or class folder holding a double
// quote, which would end its quoting early, or a class folder ending in a
// backslash, which would escape its closing quote.
struct RuntimeFiles {
    char archive[kPathCapacity];             // lib\ext\ocf1.2.jar
    char properties[kPathCapacity];          // lib\opencard.properties
    char policy[kPathCapacity];              // lib\security\java.policy
    char policyBackup[kBackupNameCapacity];  // lib\security\java.policy.ocf-bak
    char partialBackup[kBackupNameCapacity]; // lib\security\java.policy.ocf-new: the backup while it is made
    char library[kPathCapacity];             // lib\ext\ocfpcsc1.dll
    // "<home>\bin\java.exe" -classpath "<class folder>" CopyPolicyFile .java.policy
    char policyCommand[kCommandCapacity];
    // "<home>\bin\java.exe" -classpath "<class folder>" CopyPolicyFile .opencard.properties
    char propertiesCommand[kCommandCapacity];
};

// The commands take CopyPolicyFile from classFolder only, whatever CLASSPATH
// says (a machine-wide one would hide the class or put another in its
// place); an empty classFolder forms no command.
void FormRuntimeFiles(const JavaRuntime &runtime, const char *classFolder, RuntimeFiles *files);
