// Drives the installer's windows from the command line, for the demo and for
// anyone checking the installer under Wine by hand. Captions and texts are
// Windows-1250 (Wine converts the arguments from the terminal's UTF-8);
// texts are written to standard output as they are.
//
//   ui_driver wait <caption>                  a window with this caption is shown
//   ui_driver wait-text <caption> <id> <text> the control's text has become <text>
//   ui_driver gone <caption>                  no window with this caption is left
//   ui_driver click <caption> <id>            clicks the button (posted: never waits for its work)
//   ui_driver timed-click <caption> <id> <text>
//                                             clicks the button, waits until its own text has become
//                                             <text> and prints the milliseconds in between
//   ui_driver text <caption> <id>             prints the control's text
//   ui_driver message <caption>               prints the message box's text
//
// Every wait is bounded; exit status 0 on success, 1 when the wait ran out or
// the window is not there, 2 for a wrong command line.
#include <fcntl.h>
#include <io.h>

#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <string>

#include "installer_window.h"

namespace {

const int kDone = 0;
const int kNotThere = 1;
const int kUsage = 2;

// A timed click waits for a whole installation, which may take minutes, and
// looks often so that the figure is not rounded up to the poll interval.
const DWORD kTimedWaitMs = 10 * 60 * 1000;
const DWORD kTimedPollMs = 1;

int Print(const std::string &text) {
    _setmode(_fileno(stdout), _O_BINARY);
    std::fwrite(text.data(), 1, text.size(), stdout);
    return kDone;
}

HWND Find(const char *caption) { return e2e::WaitForWindow(0, caption, 0); }

// Posts the click and waits for the button's new text. The clock starts
// just before the click is posted, so nothing of this program's own start
// is counted; it stops when the text is read back changed.
int TimedClick(HWND window, int id, const std::string &text) {
    LARGE_INTEGER frequency, start, end;
    QueryPerformanceFrequency(&frequency);
    QueryPerformanceCounter(&start);
    e2e::Click(window, id);
    if (!e2e::WaitUntil([&] { return e2e::ItemText(window, id) == text; }, kTimedWaitMs, kTimedPollMs))
        return kNotThere;
    QueryPerformanceCounter(&end);
    double milliseconds = 1000.0 * static_cast<double>(end.QuadPart - start.QuadPart) / frequency.QuadPart;
    char line[32];
    std::snprintf(line, sizeof line, "%.1f\n", milliseconds);
    return Print(line);
}

} // namespace

int main(int argc, char **argv) {
    if (argc < 3) return kUsage;
    const std::string command = argv[1];
    const char *caption = argv[2];
    if (command == "wait" && argc == 3) return e2e::WaitForWindow(0, caption) ? kDone : kNotThere;
    if (command == "gone" && argc == 3) return e2e::WaitUntil([&] { return !Find(caption); }) ? kDone : kNotThere;
    if (command == "message" && argc == 3) {
        HWND box = e2e::WaitForWindow(0, caption);
        return box ? Print(e2e::MessageText(box)) : kNotThere;
    }
    if (argc < 4) return kUsage;
    HWND window = e2e::WaitForWindow(0, caption);
    if (!window) return kNotThere;
    int id = std::atoi(argv[3]);
    if (command == "click" && argc == 4) {
        e2e::Click(window, id);
        return kDone;
    }
    if (command == "timed-click" && argc == 5) return TimedClick(window, id, argv[4]);
    if (command == "text" && argc == 4) return Print(e2e::ItemText(window, id));
    if (command == "wait-text" && argc == 5)
        return e2e::WaitUntil([&] { return e2e::ItemText(window, id) == argv[4]; }) ? kDone : kNotThere;
    return kUsage;
}
