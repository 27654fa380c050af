// The scratch folder on the simulated machine: a fresh drive C: in a host
// temporary folder, with C:\work as the current directory.
#include <cstdlib>
#include <filesystem>

#include "platform/sim/sim_machine.h"
#include "support/scratch_machine.h"

namespace scratch {
namespace {

std::string hostRoot;
const char kScratchFolder[] = "C:\\work";

std::string Full(const std::string &path) { return std::string(kScratchFolder) + "\\" + path; }

} // namespace

void Start() {
    char pattern[] = "/tmp/installer-sim-XXXXXX";
    const char *made = mkdtemp(pattern);
    ASSERT_NE(made, nullptr);
    hostRoot = made;
    sim::Reset(hostRoot);
    sim::MakeDirs(kScratchFolder);
    // The running installer's own file, which a run keeps a copy of.
    sim::MakeFile(std::string(kScratchFolder) + "\\installer.exe", "MZ the installer");
    ASSERT_TRUE(SetCurrentDirectoryA(kScratchFolder));
}

void Stop() {
    std::error_code ignored;
    std::filesystem::remove_all(hostRoot, ignored);
}

void MakeDirs(const std::string &path) { sim::MakeDirs(Full(path)); }
void MakeFile(const std::string &path, const std::string &content) { sim::MakeFile(Full(path), content); }
std::string ReadFile(const std::string &path) { return sim::ReadFile(Full(path)); }
bool Exists(const std::string &path) { return sim::Exists(Full(path)); }
void SetLastWriteTime(const std::string &path, uint64_t fileTime) { sim::SetLastWriteTime(Full(path), fileTime); }
uint64_t LastWriteTime(const std::string &path) { return sim::LastWriteTime(Full(path)); }
void HoldOpen(const std::string &path) { sim::LockFile(Full(path)); }
void AnswerPrompts(const std::vector<int> &answers) { sim::QueueMessageBoxAnswers(answers); }

std::vector<Prompt> Prompts() {
    std::vector<Prompt> prompts;
    for (const sim::MessageBoxCall &call : sim::MessageBoxes()) prompts.push_back({call.text, call.caption});
    return prompts;
}

void WaitForExit(HANDLE) {}

uint64_t FileTimeOf(int year, int month, int day, int hour, int minute, int second) {
    return sim::FileTimeOf(year, month, day, hour, minute, second);
}

int OpenHandleCount() { return sim::OpenHandles(); }

} // namespace scratch
