// The entry point: the command line decides the mode; one installer runs at
// a time; the log, when asked for, records the run and its exit code.
#include "app/check_mode.h"
#include "app/command_line.h"
#include "app/distribution_folder.h"
#include "app/exit_codes.h"
#include "app/installer_modes.h"
#include "app/reader_models.h"
#include "app/release_log.h"
#include "app/restore_mode.h"
#include "app/run_context_log.h"
#include "app/running_windows.h"
#include "app/single_instance.h"
#include "app/version.h"
#include "fileops/bounded_text.h"
#include "log/run_log.h"
#include "platform/win32.h"

namespace {

const char kBadArgumentFormat[] = "Nieprawidłowy argument wiersza poleceń: %s\n\n%s";
const char kLogNotOpenedFormat[] = "Nie można otworzyć pliku dziennika: %s (błąd %lu)";
const char kLogRefusedFormat[] =
    "Plik dziennika %s nie jest zwykłym plikiem (jest łączem albo ma kilka nazw - dowiązań twardych). "
    "Instalator nie zapisze do niego dziennika i nic nie zmienił.";
const char kNoDistributionFolderFormat[] = "Nie można ustalić folderu instalatora (błąd %lu)";
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

// The choices with the reader model that /READER=auto stands for.
InstallChoices ChoicesToRun(const CommandLine &commandLine) {
    InstallChoices choices = commandLine.choices;
    if (commandLine.readerAuto) {
        choices.readerModel = ReaderModelFor(QueryRunningWindows());
        LogEvent("reader model chosen for this Windows: %d, %s", choices.readerModel + 1,
                 ReaderModelTable[choices.readerModel].displayName);
    }
    return choices;
}

int RunWithLog(HINSTANCE instance, const CommandLine &commandLine) {
    HANDLE claim = ClaimSingleInstance();
    if (!claim) {
        LogEvent("another installer is running on this computer; nothing was done");
        Tell(commandLine, MB_ICONWARNING, kAnotherRunning);
        return kExitAnotherRunning;
    }
    InstallChoices choices = ChoicesToRun(commandLine);
    int exitCode = commandLine.restore ? RunRestore(commandLine.unattended)
                   : commandLine.unattended ? RunUnattended(choices)
                                            : RunInteractive(instance, commandLine.choicesGiven ? &choices : nullptr);
    ReleaseSingleInstance(claim);
    return exitCode;
}

// A relative log path names a file in the folder the installer was started
// from: resolved before the distribution folder becomes the current one.
LogOpening OpenLog(const char *path, DWORD *error) {
    char fullPath[kPathCapacity];
    DWORD length = GetFullPathNameA(path, sizeof fullPath, fullPath, nullptr);
    *error = length == 0 ? GetLastError() : ERROR_FILENAME_EXCED_RANGE;
    if (length == 0 || length >= sizeof fullPath) return LogOpening::Failed;
    return OpenRunLog(fullPath, error);
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

    if (parsed.logPath[0] != '\0') {
        DWORD error = ERROR_SUCCESS;
        LogOpening opening = OpenLog(parsed.logPath, &error);
        if (opening != LogOpening::Opened) {
            char notice[kNoticeCapacity];
            if (opening == LogOpening::NotPlainFile)
                FormatText(notice, sizeof notice, kLogRefusedFormat, parsed.logPath);
            else
                FormatText(notice, sizeof notice, kLogNotOpenedFormat, parsed.logPath, static_cast<unsigned long>(error));
            Tell(parsed, MB_ICONERROR, notice);
            return status == CommandLineStatus::Valid ? kExitFailed : kExitBadCommandLine;
        }
    }
    LogEvent("start: version %d.%d, command line: %s", kVersionMajor, kVersionMinor, text);
    char distributionFolder[kPathCapacity];
    DWORD folderError = EnterDistributionFolder(distributionFolder);
    LogRunContext(distributionFolder);
    LogRelease();

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
    if (folderError != ERROR_SUCCESS) {
        char notice[kNoticeCapacity];
        FormatText(notice, sizeof notice, kNoDistributionFolderFormat, static_cast<unsigned long>(folderError));
        LogLines("", notice);
        Tell(parsed, MB_ICONERROR, notice);
        return Finish(kExitFailed);
    }
    return Finish(RunWithLog(instance, parsed));
}
