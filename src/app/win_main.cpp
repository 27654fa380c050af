// The entry point: the command line decides the mode; one installer runs at
// a time; the log, when asked for, records the run and its exit code.
#include "app/check_mode.h"
#include "app/command_line.h"
#include "app/exit_codes.h"
#include "app/installer_modes.h"
#include "app/restore_mode.h"
#include "app/single_instance.h"
#include "app/version.h"
#include "fileops/bounded_text.h"
#include "log/run_log.h"
#include "platform/win32.h"

namespace {

const char kBadArgumentFormat[] = "Nieprawidłowy argument wiersza poleceń: %s\n\n%s";
const char kLogNotOpenedFormat[] = "Nie można otworzyć pliku dziennika: %s (błąd %lu)";
const char kAnotherRunning[] =
    "Instalator jest już uruchomiony na tym komputerze. Poczekaj, aż zakończy pracę, i uruchom go ponownie.";
// Room for the usage with a cut argument, or a message with a path.
const int kNoticeCapacity = 2048;

// A notice for the user at the screen; an unattended run shows none.
void Tell(const CommandLine &commandLine, UINT icon, const char *text) {
    if (!commandLine.unattended) MessageBoxA(nullptr, text, kInstallerCaption, MB_OK | icon);
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
    int exitCode = commandLine.restore ? RunRestore(commandLine.unattended)
                   : commandLine.unattended
                       ? RunUnattended(commandLine.choices)
                       : RunInteractive(instance, commandLine.choicesGiven ? &commandLine.choices : nullptr);
    ReleaseSingleInstance(claim);
    return exitCode;
}

} // namespace

// The command line as Windows passes it: the arguments after the program's
// name. The signature is Windows' own (the SDK names its parameters otherwise).
// NOLINTNEXTLINE(readability-non-const-parameter,readability-inconsistent-declaration-parameter-name)
int WINAPI WinMain(HINSTANCE instance, HINSTANCE, LPSTR commandLine, int) {
    const char *text = commandLine ? commandLine : "";
    CommandLine parsed;
    char badArgument[kArgumentCapacity];
    CommandLineStatus status = ParseCommandLine(text, &parsed, badArgument);

    if (parsed.logPath[0] != '\0' && !OpenRunLog(parsed.logPath)) {
        char notice[kNoticeCapacity];
        FormatText(notice, sizeof notice, kLogNotOpenedFormat, parsed.logPath,
                   static_cast<unsigned long>(GetLastError()));
        Tell(parsed, MB_ICONERROR, notice);
        return status == CommandLineStatus::Valid ? kExitFailed : kExitBadCommandLine;
    }
    LogEvent("start: version %d.%d, command line: %s", kVersionMajor, kVersionMinor, text);

    if (status == CommandLineStatus::Invalid) {
        char notice[kNoticeCapacity];
        FormatText(notice, sizeof notice, kBadArgumentFormat, badArgument, kCommandLineUsage);
        LogLines("", notice);
        Tell(parsed, MB_ICONERROR, notice);
        return Finish(kExitBadCommandLine);
    }
    if (parsed.help) {
        LogLines("", kCommandLineUsage);
        Tell(parsed, MB_ICONINFORMATION, kCommandLineUsage);
        return Finish(kExitInteractive);
    }
    // The check only reads: it takes no lock and runs beside an installer.
    if (parsed.check) return Finish(RunCheck(parsed.choices, parsed.unattended));
    return Finish(RunWithLog(instance, parsed));
}
