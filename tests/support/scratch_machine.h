// A scratch folder as the current directory, on the simulated machine (Linux
// build) or on the real one (Windows build under Wine), so that the same
// tests check the installer's code and the simulation against Windows.
#pragma once

#include <gtest/gtest.h>

#include <cstdint>
#include <string>
#include <vector>

#include "platform/win32.h"

namespace scratch {

// A fresh empty folder becomes the current directory; Stop removes it and
// releases whatever the test held open.
void Start();
void Stop();

// Paths are relative to the scratch folder. MakeFile creates missing folders.
void MakeDirs(const std::string &path);
void MakeFile(const std::string &path, const std::string &content);
std::string ReadFile(const std::string &path);
bool Exists(const std::string &path);
void SetLastWriteTime(const std::string &path, uint64_t fileTime);
uint64_t LastWriteTime(const std::string &path);

// Another program holds the file open without sharing it.
void HoldOpen(const std::string &path);

// The next conflict prompts are answered in this order; Prompts() lists the
// texts and captions of those that were shown.
struct Prompt {
    std::string text;
    std::string caption;
};
void AnswerPrompts(const std::vector<int> &answers);
std::vector<Prompt> Prompts();

// Waits until a started program has ended (on the simulated machine nothing
// runs, so there is nothing to wait for).
void WaitForExit(HANDLE process);

// A FILETIME value (100 ns since 1601, UTC) for a calendar time.
uint64_t FileTimeOf(int year, int month, int day, int hour, int minute, int second);

// Handles of any kind the code under test left open (always 0 where the
// platform cannot count them).
int OpenHandleCount();

} // namespace scratch

// Every test of this kind starts in a fresh scratch folder.
class ScratchTest : public ::testing::Test {
  protected:
    void SetUp() override { scratch::Start(); }
    void TearDown() override { scratch::Stop(); }
};
