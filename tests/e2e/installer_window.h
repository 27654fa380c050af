// Driving the installer's windows from another process, as a user would:
// find a window by caption, click buttons, read what the controls show.
#pragma once

#include <windows.h>

#include <functional>
#include <string>

namespace e2e {

// How long any wait for the installer lasts before the test gives up.
const DWORD kWaitMs = 30000;

// A visible top-level window of the process (of any process for 0) with
// exactly this caption, or nullptr when none appeared within the time.
HWND WaitForWindow(DWORD processId, const char *caption, DWORD timeoutMs = kWaitMs);
// How often a wait looks again.
const DWORD kPollMs = 50;

// True as soon as condition holds; false when the time ran out.
bool WaitUntil(const std::function<bool()> &condition, DWORD timeoutMs = kWaitMs, DWORD pollMs = kPollMs);

std::string WindowText(HWND window);
std::string ItemText(HWND dialog, int id);
// A message box's text (its static control).
std::string MessageText(HWND box);
bool IsChecked(HWND dialog, int id);
bool IsItemVisible(HWND dialog, int id);
bool IsItemEnabled(HWND dialog, int id);
RECT WindowRectangle(HWND window);
// The combo box's items, each followed by '\n', and its selection.
std::string ComboItems(HWND dialog, int id);
int ComboSelection(HWND dialog, int id);
// Selects an item as the user would, telling the dialog about it.
void SelectComboItem(HWND dialog, int id, int index);

// Posted, so the test never waits for what the click sets off (the
// installation runs inside the click's handler).
void Click(HWND dialog, int id);
// Ticks or clears a check box the way a click does.
void SetChecked(HWND dialog, int id, bool checked);

} // namespace e2e
