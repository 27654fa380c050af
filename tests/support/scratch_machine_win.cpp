// The scratch folder on Windows itself: a fresh folder under the temporary
// folder, and a watcher thread that answers conflict prompts like a user.
#include <windows.h>

#include <atomic>
#include <cstdio>
#include <deque>
#include <string>
#include <vector>

#include "support/scratch_machine.h"
#include "support/win_files.h"

namespace scratch {
namespace {

const char kPromptCaption[] = "Problem kopiowania pliku";
const int kMessageTextId = 0xFFFF; // the static control that holds a message box's text
const DWORD kWatchIntervalMs = 20;
const DWORD kLongestProgramRunMs = 30000;

std::string scratchFolder;
std::string parentFolder;
std::vector<HANDLE> heldFiles;

CRITICAL_SECTION promptLock;
std::deque<int> answers;
std::vector<Prompt> prompts;
std::atomic<bool> watching{false};
HANDLE watcher = nullptr;

DWORD WINAPI WatchForPrompts(LPVOID) {
    while (watching) {
        HWND box = FindWindowA("#32770", kPromptCaption);
        if (box && IsWindowVisible(box)) {
            char text[1024] = "";
            GetDlgItemTextA(box, kMessageTextId, text, sizeof text);
            EnterCriticalSection(&promptLock);
            prompts.push_back({text, kPromptCaption});
            int answer = IDIGNORE; // what an unscripted prompt gets, like a user who keeps the file
            if (!answers.empty()) {
                answer = answers.front();
                answers.pop_front();
            }
            LeaveCriticalSection(&promptLock);
            SendMessageA(GetDlgItem(box, answer), BM_CLICK, 0, 0);
            while (watching && IsWindow(box)) Sleep(kWatchIntervalMs);
        }
        Sleep(kWatchIntervalMs);
    }
    return 0;
}

std::string Full(const std::string &path) { return scratchFolder + "\\" + path; }

HANDLE Open(const std::string &path, DWORD access, DWORD share, DWORD creation) {
    return CreateFileA(Full(path).c_str(), access, share, nullptr, creation, FILE_ATTRIBUTE_NORMAL, nullptr);
}

} // namespace

void Start() {
    static bool initialised = false;
    if (!initialised) {
        InitializeCriticalSection(&promptLock);
        initialised = true;
    }
    char temp[MAX_PATH + 1];
    ASSERT_GT(GetTempPathA(sizeof temp, temp), 0u);
    static int counter = 0;
    char name[64];
    std::snprintf(name, sizeof name, "installer-test-%lu-%d", GetCurrentProcessId(), ++counter);
    parentFolder = temp;
    scratchFolder = parentFolder + name;
    ASSERT_TRUE(CreateDirectoryA(scratchFolder.c_str(), nullptr));
    ASSERT_TRUE(SetCurrentDirectoryA(scratchFolder.c_str()));
    answers.clear();
    prompts.clear();
    watching = true;
    watcher = CreateThread(nullptr, 0, WatchForPrompts, nullptr, 0, nullptr);
}

void Stop() {
    watching = false;
    if (watcher) {
        WaitForSingleObject(watcher, INFINITE);
        CloseHandle(watcher);
        watcher = nullptr;
    }
    for (HANDLE file : heldFiles) CloseHandle(file);
    heldFiles.clear();
    SetCurrentDirectoryA(parentFolder.c_str());
    winfiles::RemoveTree(scratchFolder);
}

void MakeDirs(const std::string &path) {
    for (size_t end = path.find('\\'); end != std::string::npos; end = path.find('\\', end + 1))
        CreateDirectoryA(Full(path.substr(0, end)).c_str(), nullptr);
    CreateDirectoryA(Full(path).c_str(), nullptr);
}

void MakeFile(const std::string &path, const std::string &content) {
    size_t slash = path.rfind('\\');
    if (slash != std::string::npos) MakeDirs(path.substr(0, slash));
    ASSERT_TRUE(winfiles::Write(Full(path), content)) << path;
}

std::string ReadFile(const std::string &path) { return winfiles::Read(Full(path)); }

bool Exists(const std::string &path) { return GetFileAttributesA(Full(path).c_str()) != INVALID_FILE_ATTRIBUTES; }

void SetLastWriteTime(const std::string &path, uint64_t fileTime) {
    HANDLE file = Open(path, FILE_WRITE_ATTRIBUTES, FILE_SHARE_READ | FILE_SHARE_WRITE, OPEN_EXISTING);
    ASSERT_NE(file, INVALID_HANDLE_VALUE) << path;
    FILETIME time = {static_cast<DWORD>(fileTime), static_cast<DWORD>(fileTime >> 32)};
    SetFileTime(file, nullptr, nullptr, &time);
    CloseHandle(file);
}

uint64_t LastWriteTime(const std::string &path) {
    WIN32_FILE_ATTRIBUTE_DATA data;
    if (!GetFileAttributesExA(Full(path).c_str(), GetFileExInfoStandard, &data)) return 0;
    return (static_cast<uint64_t>(data.ftLastWriteTime.dwHighDateTime) << 32) | data.ftLastWriteTime.dwLowDateTime;
}

void HoldOpen(const std::string &path) {
    HANDLE file = Open(path, GENERIC_READ | GENERIC_WRITE, 0, OPEN_EXISTING);
    ASSERT_NE(file, INVALID_HANDLE_VALUE) << path;
    heldFiles.push_back(file);
}

void AnswerPrompts(const std::vector<int> &next) {
    EnterCriticalSection(&promptLock);
    answers.insert(answers.end(), next.begin(), next.end());
    LeaveCriticalSection(&promptLock);
}

std::vector<Prompt> Prompts() {
    EnterCriticalSection(&promptLock);
    std::vector<Prompt> seen = prompts;
    LeaveCriticalSection(&promptLock);
    return seen;
}

void WaitForExit(HANDLE process) { WaitForSingleObject(process, kLongestProgramRunMs); }

uint64_t FileTimeOf(int year, int month, int day, int hour, int minute, int second) {
    SYSTEMTIME st = {};
    st.wYear = static_cast<WORD>(year);
    st.wMonth = static_cast<WORD>(month);
    st.wDay = static_cast<WORD>(day);
    st.wHour = static_cast<WORD>(hour);
    st.wMinute = static_cast<WORD>(minute);
    st.wSecond = static_cast<WORD>(second);
    FILETIME ft;
    SystemTimeToFileTime(&st, &ft);
    return (static_cast<uint64_t>(ft.dwHighDateTime) << 32) | ft.dwLowDateTime;
}

int OpenHandleCount() { return 0; }

} // namespace scratch
