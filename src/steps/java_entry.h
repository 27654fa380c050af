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
// empty, and so is a command for a home holding a double quote, which would
// end the program's quoting early.
struct RuntimeFiles {
    char archive[kPathCapacity];             // lib\ext\ocf1.2.jar
    char properties[kPathCapacity];          // lib\opencard.properties
    char policy[kPathCapacity];              // lib\security\java.policy
    char policyBackup[kBackupNameCapacity];  // lib\security\java.policy.ocf-bak
    char partialBackup[kBackupNameCapacity]; // lib\security\java.policy.ocf-new: the backup while it is made
    char library[kPathCapacity];             // lib\ext\ocfpcsc1.dll
    char policyCommand[kPathCapacity];       // "<home>\bin\java.exe" CopyPolicyFile .java.policy
    char propertiesCommand[kPathCapacity];   // "<home>\bin\java.exe" CopyPolicyFile .opencard.properties
};

void FormRuntimeFiles(const JavaRuntime &runtime, RuntimeFiles *files);
