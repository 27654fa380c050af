#include "app/reader_models.h"

// The third name has lost its closing parenthesis; it is shown as it always was.
const ReaderModel ReaderModelTable[kReaderModelCount] = {
    {"GemPC(Twin,Tokens)-Win7/XP/Vista/2000-32bit", 0},
    {"GemPC(Twin,Tokens)-Win7/XP/Vista/2000-64bit", 2},
    {"GemPC(Twin,Tokens-Win8-32bit", 4},
    {"GemPC(Twin,Tokens)-Win8-64bit", 5},
};

int ReaderModelFor(const RunningWindows &running) {
    const DWORD kWindows8Major = 6;
    const DWORD kWindows8Minor = 2;
    const int kFirstWindows8Model = 2;
    const int kSixtyFourBitOffset = 1;
    bool windows8 =
        running.major > kWindows8Major || (running.major == kWindows8Major && running.minor >= kWindows8Minor);
    return (windows8 ? kFirstWindows8Model : 0) + (running.sixtyFourBit ? kSixtyFourBitOffset : 0);
}
