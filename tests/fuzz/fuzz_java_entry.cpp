// Fuzzes a Java runtime's home as the registry read leaves it, and the paths
// and commands formed from it. An input is the byte count the registry read
// reports (2 bytes, little endian; above the read's capacity the read counts
// as failed) and the bytes it wrote into the home buffer, which is the last
// member of a runtime record in a block of exactly its size; its unwritten
// bytes are filler, never NUL. The home must be the value up to its
// terminator, refused when empty or when it fills the read without one; for
// a JRE and a JDK each path, backup name and command must be the plain join
// when it fits and be empty otherwise; a command is refused for a home
// holding a quote, so its program is always quoted whole, and its class
// path is the package folder given.
#include <cstdio>

#include "fuzz_support.h"
#include "steps/java_entry.h"

namespace {

const char kFiller = 'J';
const char kQuote = '"';
const char kClassFolder[] = "C:\\Instalator\\sun";

bool Fits(const std::string &text, size_t capacity) { return text.size() < capacity; }

// The member holds the expected text when it fits the capacity, and is empty otherwise.
template <size_t Capacity> void CheckMember(const char (&member)[Capacity], const std::string &expected) {
    fuzz::Check(strnlen(member, Capacity) < Capacity);
    fuzz::Check(std::string(member) == (Fits(expected, Capacity) ? expected : ""));
}

std::string Command(const std::string &home, const char *argument) {
    const std::string program = fuzz::Joined(home, "bin\\java.exe");
    const std::string unformed(kCommandCapacity, 'x');
    if (home.find(kQuote) != std::string::npos || !Fits(program, kPathCapacity)) return unformed;
    return "\"" + program + "\" -classpath \"" + kClassFolder + "\" CopyPolicyFile " + argument;
}

void CheckFiles(JavaRuntime &runtime, RuntimeKind kind, const std::string &home) {
    runtime.kind = kind;
    std::unique_ptr<RuntimeFiles> files(new RuntimeFiles);
    std::memset(files.get(), kFiller, sizeof(RuntimeFiles));
    FormRuntimeFiles(runtime, kClassFolder, files.get());

    const std::string folder = kind == RuntimeKind::Jdk ? fuzz::Joined(home, "jre") : home;
    const std::string policy = fuzz::Joined(folder, "lib\\security\\java.policy");
    CheckMember(files->archive, fuzz::Joined(folder, "lib\\ext\\ocf1.2.jar"));
    CheckMember(files->properties, fuzz::Joined(folder, "lib\\opencard.properties"));
    CheckMember(files->policy, policy);
    CheckMember(files->library, fuzz::Joined(folder, "lib\\ext\\ocfpcsc1.dll"));
    const std::string unformed(kPathCapacity, 'x');
    CheckMember(files->policyBackup, Fits(policy, kPathCapacity) ? policy + ".ocf-bak" : unformed);
    CheckMember(files->partialBackup, Fits(policy, kPathCapacity) ? policy + ".ocf-new" : unformed);
    CheckMember(files->policyCommand, Command(home, ".java.policy"));
    CheckMember(files->propertiesCommand, Command(home, ".opencard.properties"));
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t *data, size_t size) {
    if (size < 2) return 0;
    DWORD valueSize = static_cast<DWORD>(data[0]) | static_cast<DWORD>(data[1]) << 8;
    std::unique_ptr<JavaRuntime> runtime(new JavaRuntime);
    std::memset(runtime->home, kFiller, kHomeCapacity);
    // The read writes at most its capacity; what the input lacks stays filler.
    size_t written = valueSize <= kHomeCapacity ? valueSize : 0;
    if (written > size - 2) written = size - 2;
    std::memcpy(runtime->home, data + 2, written);

    std::string value(runtime->home, valueSize <= kHomeCapacity ? valueSize : 0);
    std::string home = value.c_str();
    bool expectedUsable =
        valueSize <= kHomeCapacity && !home.empty() && (home.size() < value.size() || valueSize < kHomeCapacity);
    bool usable = EndHomeText(runtime->home, valueSize);
    fuzz::Check(usable == expectedUsable);
    if (!usable) return 0;
    fuzz::Check(strnlen(runtime->home, kHomeCapacity) < kHomeCapacity);
    fuzz::Check(home == runtime->home);

    CheckFiles(*runtime, RuntimeKind::Jre, home);
    CheckFiles(*runtime, RuntimeKind::Jdk, home);
    return 0;
}
