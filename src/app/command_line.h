// The command line an administrator deploys the installer with. Switches are
// Windows-style (/S or -S), case-insensitive, in any order, each at most once;
// a value may be quoted, whole or from its start ("/LOG=C:\Logs\a b.log" or
// /LOG="C:\Logs\a b.log").
#pragma once

#include "app/install_run.h"
#include "fileops/join_path.h"

// The longest argument that an error message names; longer ones are cut.
constexpr int kArgumentCapacity = 128;

struct CommandLine {
    bool unattended;             // /S, /quiet: no window of any kind
    bool help;                   // /?, /help
    bool restore;                // /RESTORE: undo installations instead; takes no choices
    bool check;                  // /CHECK: only tell whether the PC is set up; not with /RESTORE or /READER
    InstallChoices choices;      // /COMPONENTS=, /READER=; the dialog's defaults otherwise
    bool choicesGiven;           // either of those was given
    bool readerAuto;             // /READER=auto, the default with /S: the model for the running Windows
    char logPath[kPathCapacity]; // /LOG=; empty: no log
};

// What /? shows: the switches and the exit codes.
extern const char kCommandLineUsage[];

// The arguments in a whole command line as Windows gives it to a program
// (GetCommandLineA): what follows the program's name and the blanks after it.
// The name ends at the first blank or control character outside quotes, so a
// quoted name may hold blanks ("C:\Program Files\...\installer.exe"), and
// Windows-1250 letters belong to it.
char *ArgumentsAfterProgramName(char *commandLine);

enum class CommandLineStatus { Valid, Invalid };

// Parses text (the arguments, without the program's name). On an invalid
// command line, badArgument (kArgumentCapacity bytes) names the argument at
// fault (the first one); the valid arguments are still in `parsed`, so that
// the error can go where /S and /LOG say.
CommandLineStatus ParseCommandLine(const char *text, CommandLine *parsed, char *badArgument);
