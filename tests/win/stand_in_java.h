// Placing the stand-in java.exe (built in the stand-ins' folder) into a
// folder, scripting its exit status and reading its log.
#pragma once

#include <string>
#include <vector>

// The scratch folder's absolute path: what a registry value must hold.
std::string ScratchFolder();

// Copies the stand-in into binFolder (relative to the scratch folder) as java.exe.
void PlaceStandInJava(const std::string &binFolder);
void SetStandInExitStatus(const std::string &binFolder, int status);
// One entry per run: "directory|argument|argument".
std::vector<std::string> StandInCalls(const std::string &binFolder);
