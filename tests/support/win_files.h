// File chores of the Windows-side test programs, on absolute Windows paths.
#pragma once

#include <string>

namespace winfiles {

// Removes the folder and everything in it, read-only files included.
void RemoveTree(const std::string &folder);
// Copies the folder's files and subfolders into `to`, creating it.
void CopyTree(const std::string &from, const std::string &to);
// The whole file, or "" when it cannot be read.
std::string Read(const std::string &path);
// Creates or replaces the file; false when it cannot be written.
bool Write(const std::string &path, const std::string &content);

} // namespace winfiles
