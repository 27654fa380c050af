#include "app/installer_modes.h"

#include "app/exit_codes.h"
#include "app/installer_dialog.h"
#include "app/run_outcome_log.h"
#include "fileops/bounded_text.h"
#include "fileops/conflict_prompt.h"
#include "log/run_log.h"
#include "res/resource.h"
#include "steps/install_steps.h"

const char kInstallerCaption[] = "Instalator czytnika kart mikropr. dla przeglądarek internetowych";

namespace {

const char kWelcomeText[] =
    "Za chwilę rozpocznie się instalacja i konfiguracja środowiska obsługi czytnika kart mikroprocesorowych,\n"
    "dla współpracy z przeglądarkami internetowymi: MS Internet Explorer i tych pracujących\n"
    "na bazie silnika Sun Java Plug-in (m.in. przeglądarki: Mozilla, Netscape 7.x, Opera)\n"
    "\n"
    "Instalator spróbuje samodzielnie wykryć przeglądarki zainstalowane na tym komputerze i dokonać dla nich\n"
    "konfiguracji odpowiedniego środowiska. Dlatego też należy mieć już zainstalowane przeglądarki internetowe,\n"
    "które mają współpracować z czytnikiem kart, lub gdy ich nie ma, opuścić ten instalator, zainstalować wymagane\n"
    "przeglądarki i uruchomić go ponownie.\n"
    "\n"
    "Czy chcesz kontynuować instalacje ?";

const char kPayloadRefusedFormat[] =
    "Plik %s w folderze instalatora nie należy do tego wydania albo został zmieniony.\n"
    "\n"
    "Instalator niczego nie zmienił na tym komputerze. Użyj instalatora z oryginalnej paczki.";
// Room for the text and a whole path.
const int kPayloadNoticeCapacity = 512;

} // namespace

void TellPayloadRefused(HWND owner, const char *file) {
    char notice[kPayloadNoticeCapacity];
    FormatText(notice, sizeof notice, kPayloadRefusedFormat, file);
    /* only OK to press: */ MessageBoxA(owner, notice, kInstallerCaption, MB_OK | MB_ICONERROR);
}

int RunInteractive(HINSTANCE instance, const InstallChoices *preset) {
    // Nothing on the machine changes unless the user answers Yes.
    if (MessageBoxA(nullptr, kWelcomeText, kInstallerCaption, MB_YESNO) != IDYES) {
        LogEvent("the welcome prompt was declined");
        return kExitInteractive;
    }
    /* result not examined: */ DialogBoxParamA(instance, MAKEINTRESOURCEA(IDD_INSTALLER), nullptr, InstallerDialogProc,
                                               reinterpret_cast<LPARAM>(preset));
    return kExitInteractive;
}

int RunUnattended(const InstallChoices &choices) {
    KeepConflictsWithoutAsking(true);
    AwaitDriverInstaller(true);
    RunOutcome outcome;
    StartRunOutcome(&outcome);
    RunInstallation(choices, &outcome);
    AwaitDriverInstaller(false);
    KeepConflictsWithoutAsking(false);
    LogRunOutcome(outcome);
    return UnattendedExitCode(choices, outcome);
}
