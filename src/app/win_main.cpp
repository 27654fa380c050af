// The entry point: the command line decides the mode; one installer runs at
// a time; the log, when asked for, records the run and its exit code.
#include "app/command_line.h"
#include "app/exit_codes.h"
#include "app/installer_modes.h"
#include "app/single_instance.h"
#include "app/version.h"
#include "fileops/bounded_text.h"
#include "log/run_log.h"
#include "platform/win32.h"

namespace {

const char kCaption[] = "Instalator czytnika kart mikropr. dla przeglądarek internetowych";
const char kBadArgumentFormat[] = "Nieprawidłowy argument wiersza poleceń: %s\n\n%s";
const char kLogNotOpenedFormat[] = "Nie można otworzyć pliku dziennika: %s (błąd %lu)";
const char kAnotherRunning[] =
    "Instalator jest już uruchomiony na tym komputerze. Poczekaj, aż zakończy pracę, i uruchom go ponownie.";
// Room for the usage with a cut argument, or a message with a path.
const int kNoticeCapacity = 2048;

// A notice for the user at the screen; an unattended run shows none.
void Tell(const CommandLine &commandLine, UINT icon, const char *text) {
    if (!commandLine.unattended) MessageBoxA(nullptr, text, kCaption, MB_OK | icon);
}

int Finish(int exitCode) {
    LogEvent("exit code %d", exitCode);
    CloseRunLog();
    return exitCode;
}

int RunWithLog(HINSTANCE instance, const CommandLine &commandLine) {
    HANDLE claim = ClaimSingleInstance();
    if (!claim) {
        LogEvent("another installer is running on this computer; nothing was done");
        Tell(commandLine, MB_ICONWARNING, kAnotherRunning);
        return kExitAnotherRunning;
    }
    int exitCode = commandLine.unattended
                       ? RunUnattended(commandLine.choices)
                       : RunInteractive(instance, commandLine.choicesGiven ? &commandLine.choices : nullptr);
    ReleaseSingleInstance(claim);
    return exitCode;
}

} // namespace

// NOLINTNEXTLINE(readability-non-const-parameter): Windows declares the text LPSTR
int WINAPI WinMain(HINSTANCE instance, HINSTANCE, LPSTR cmdLine, int) {
    const char *text = cmdLine ? cmdLine : "";
    CommandLine commandLine;
    char badArgument[kArgumentCapacity];
    CommandLineStatus status = ParseCommandLine(text, &commandLine, badArgument);

    if (commandLine.logPath[0] != '\0' && !OpenRunLog(commandLine.logPath)) {
        char notice[kNoticeCapacity];
        FormatText(notice, sizeof notice, kLogNotOpenedFormat, commandLine.logPath,
                   static_cast<unsigned long>(GetLastError()));
        Tell(commandLine, MB_ICONERROR, notice);
        return status == CommandLineStatus::Valid ? kExitFailed : kExitBadCommandLine;
    }
    LogEvent("start: version %d.%d, command line: %s", kVersionMajor, kVersionMinor, text);

    if (status == CommandLineStatus::Invalid) {
        char notice[kNoticeCapacity];
        FormatText(notice, sizeof notice, kBadArgumentFormat, badArgument, kCommandLineUsage);
        LogLines("", notice);
        Tell(commandLine, MB_ICONERROR, notice);
        return Finish(kExitBadCommandLine);
    }
    if (commandLine.help) {
        LogLines("", kCommandLineUsage);
        Tell(commandLine, MB_ICONINFORMATION, kCommandLineUsage);
        return Finish(kExitInteractive);
    }
    return Finish(RunWithLog(instance, commandLine));
}
