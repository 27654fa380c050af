// Fuzzes a Java runtime's entry text and the paths and commands formed from
// it. An input is the byte count the registry read reports (2 bytes, little
// endian; above the read's capacity the read counts as failed) and the bytes
// it wrote behind the entry's quote. The entry buffer is a block of exactly
// its capacity whose unwritten bytes are filler, never NUL. The home must be
// the value up to its terminator, refused when empty or when it fills the
// read without one; each path, command and backup name must be the plain
// join when it fits and be refused otherwise; a command is refused for a
// home holding a quote, so its program is always quoted whole.
#include <cstdio>

#include "fuzz_support.h"
#include "steps/java_entry.h"

namespace {

// What the Java Plug-in step forms in every entry, JRE and JDK.
const char *const kPathComponents[] = {
    "lib\\ext\\ocf1.2.jar",      "lib\\opencard.properties",      "lib\\security\\java.policy",
    "jre\\lib\\ext\\ocf1.2.jar", "jre\\lib\\opencard.properties", "jre\\lib\\security\\java.policy",
    "lib\\ext\\ocfpcsc1.dll",
};
const char *const kCommandComponents[] = {
    "bin\\java.exe\" CopyPolicyFile .java.policy",
    "bin\\java.exe\" CopyPolicyFile .opencard.properties",
};
const char kBackupSuffix[] = ".ocf-bak";
const char kFiller = 'J';

bool Fits(const std::string &text, size_t capacity) { return text.size() < capacity; }

void CheckPath(const char *entry, const std::string &entryText, const char *component) {
    fuzz::GuardedBuffer path(kPathCapacity);
    bool formed = FormEntryPath(path.get(), entry, component);
    std::string joined = fuzz::Joined(entryText, component);
    fuzz::Check(path.Intact() && path.Terminated());
    fuzz::Check(formed == Fits(joined, kPathCapacity));
    if (!formed) return;
    fuzz::Check(path.Text() == joined.substr(1));

    fuzz::GuardedBuffer backup(kBackupNameCapacity);
    bool named = FormBackupName(backup.get(), path.get());
    std::string expectedBackup = path.Text() + kBackupSuffix;
    fuzz::Check(backup.Intact() && backup.Terminated());
    fuzz::Check(named == Fits(expectedBackup, kBackupNameCapacity));
    if (named) fuzz::Check(backup.Text() == expectedBackup);
}

void CheckCommand(const char *entry, const std::string &entryText, const char *component) {
    fuzz::GuardedBuffer command(kPathCapacity);
    bool formed = FormEntryCommand(command.get(), entry, component);
    std::string joined = fuzz::Joined(entryText, component);
    bool homeHoldsQuote = entryText.find(kEntryQuote, 1) != std::string::npos;
    fuzz::Check(command.Intact() && command.Terminated());
    fuzz::Check(formed == (!homeHoldsQuote && Fits(joined, kPathCapacity)));
    if (!formed) return;
    fuzz::Check(command.Text() == joined);
    // The program's path is the text between the first two quotes, and ends in java.exe.
    size_t closingQuote = joined.find(kEntryQuote, 1);
    fuzz::Check(joined.compare(closingQuote - 8, 8, "java.exe") == 0);
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t *data, size_t size) {
    if (size < 2) return 0;
    DWORD valueSize = static_cast<DWORD>(data[0]) | static_cast<DWORD>(data[1]) << 8;
    std::unique_ptr<char[]> entry(new char[kEntryCapacity]);
    std::memset(entry.get(), kFiller, kEntryCapacity);
    entry[0] = kEntryQuote;
    // The read writes at most its capacity; what the input lacks stays filler.
    size_t written = valueSize <= kHomeReadCapacity ? valueSize : 0;
    if (written > size - 2) written = size - 2;
    std::memcpy(entry.get() + 1, data + 2, written);

    std::string value(entry.get() + 1, valueSize <= kHomeReadCapacity ? valueSize : 0);
    std::string home = value.c_str();
    bool expectedUsable = valueSize <= kHomeReadCapacity && !home.empty() &&
                          (home.size() < value.size() || valueSize < kHomeReadCapacity);
    bool usable = EndEntryText(entry.get(), valueSize);
    fuzz::Check(usable == expectedUsable);
    if (!usable) return 0;
    fuzz::Check(strnlen(entry.get(), kEntryCapacity) < static_cast<size_t>(kEntryCapacity));
    std::string entryText = std::string(1, kEntryQuote) + home;
    fuzz::Check(entryText == entry.get());

    for (const char *component : kPathComponents) CheckPath(entry.get(), entryText, component);
    for (const char *component : kCommandComponents) CheckCommand(entry.get(), entryText, component);
    return 0;
}
