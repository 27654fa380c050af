#include "app/reader_models.h"

// The third name has lost its closing parenthesis; it is shown as it always was.
const ReaderModel ReaderModelTable[kReaderModelCount] = {
    {"GemPC(Twin,Tokens)-Win7/XP/Vista/2000-32bit", 0},
    {"GemPC(Twin,Tokens)-Win7/XP/Vista/2000-64bit", 2},
    {"GemPC(Twin,Tokens-Win8-32bit", 4},
    {"GemPC(Twin,Tokens)-Win8-64bit", 5},
};
