// A simulated machine with Java runtimes registered under SOFTWARE\JavaSoft
// and the distribution folder's sun package, as the Java Plug-in step and
// the restore find them.
#pragma once

#include <string>

#include "platform/sim/sim_machine.h"

namespace java_machine {

const char kDistribution[] = "C:\\work";
const char kPackage[] = "C:\\work\\sun";
const char kSystemLibrary[] = "C:\\Windows\\System32\\ocfpcsc1.dll";

// Contents that tell where a file came from. The third-party files are
// placeholders, never copies of the real ones.
const char kArchive[] = "placeholder for the third-party ocf1.2.jar";
const char kLibrary[] = "placeholder for the third-party ocfpcsc1.dll";
const char kProperties[] = "OpenCard.terminals = (package)";
const char kPackagePolicy[] = "grant { /* package */ };";
const char kOwnPolicy[] = "grant { /* the runtime's own */ };";

const char kJreList[] = "Java Runtime Environment";
const char kJdkList[] = "Java Development Kit";
const char kJre6[] = "C:\\Program Files\\Java\\jre6";
const char kJre7[] = "C:\\Program Files (x86)\\Java\\jre7";
const char kJdk6[] = "C:\\Program Files\\Java\\jdk1.6.0_45";

enum class Kind { Jre, Jdk };

inline void MakePackage() {
    sim::MakeFile(std::string(kPackage) + "\\ocf1.2.jar", kArchive);
    sim::MakeFile(std::string(kPackage) + "\\opencard.properties", kProperties);
    sim::MakeFile(std::string(kPackage) + "\\java.policy", kPackagePolicy);
    sim::MakeFile(std::string(kPackage) + "\\ocfpcsc1.dll", kLibrary);
}

// A file of the runtime: below the home for a JRE, below its jre for a JDK.
inline std::string In(const std::string &home, const char *relative, Kind kind = Kind::Jre) {
    return home + (kind == Kind::Jdk ? "\\jre\\" : "\\") + relative;
}
inline std::string Policy(const std::string &home, Kind kind = Kind::Jre) {
    return In(home, "lib\\security\\java.policy", kind);
}
inline std::string Backup(const std::string &home, Kind kind = Kind::Jre) { return Policy(home, kind) + ".ocf-bak"; }

// A runtime on disk: lib\ext and lib\security, with a policy of its own.
inline void MakeRuntime(const std::string &home, Kind kind = Kind::Jre, bool ownPolicy = true) {
    sim::MakeDirs(In(home, "lib\\ext", kind));
    sim::MakeDirs(In(home, "lib\\security", kind));
    if (ownPolicy) sim::MakeFile(Policy(home, kind), kOwnPolicy);
}

// Text as a .reg string value holds it.
inline std::string RegString(const std::string &text) {
    std::string escaped;
    for (char c : text) {
        if (c == '\\' || c == '"') escaped += '\\';
        escaped += c;
    }
    return escaped;
}

inline std::string EntryKey(const char *list, const std::string &entry) {
    return std::string("HKEY_LOCAL_MACHINE\\SOFTWARE\\JavaSoft\\") + list + "\\" + entry;
}

inline void Register(const char *list, const std::string &entry, const std::string &home) {
    sim::LoadRegistry("[" + EntryKey(list, entry) + "]\n\"JavaHome\"=\"" + RegString(home) + "\"\n");
}

inline void AddJre(const std::string &entry, const std::string &home) {
    MakeRuntime(home);
    Register(kJreList, entry, home);
}

inline void AddJdk(const std::string &entry, const std::string &home) {
    MakeRuntime(home, Kind::Jdk);
    Register(kJdkList, entry, home);
}

} // namespace java_machine
