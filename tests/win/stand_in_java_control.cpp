#include <windows.h>

#include <sstream>

#include "stand_in_java.h"
#include "support/scratch_machine.h"

namespace {

const char kStandInJava[] = STAND_IN_FOLDER "\\java.exe";

} // namespace

std::string ScratchFolder() {
    char current[MAX_PATH + 1] = "";
    GetCurrentDirectoryA(sizeof current, current);
    return current;
}

void PlaceStandInJava(const std::string &binFolder) {
    scratch::MakeDirs(binFolder);
    const std::string target = ScratchFolder() + "\\" + binFolder + "\\java.exe";
    ASSERT_TRUE(CopyFileA(kStandInJava, target.c_str(), FALSE)) << target;
}

void SetStandInExitStatus(const std::string &binFolder, int status) {
    scratch::MakeFile(binFolder + "\\exit-status.txt", std::to_string(status));
}

std::vector<std::string> StandInCalls(const std::string &binFolder) {
    std::istringstream log(scratch::ReadFile(binFolder + "\\calls.log"));
    std::vector<std::string> calls;
    for (std::string line; std::getline(log, line);) {
        if (!line.empty() && line.back() == '\r') line.pop_back();
        calls.push_back(line);
    }
    return calls;
}
