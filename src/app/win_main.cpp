// The entry point: the welcome prompt, then the main dialog.
#include "app/installer_dialog.h"
#include "platform/win32.h"
#include "res/resource.h"

namespace {

const char kWelcomeCaption[] = "Instalator czytnika kart mikropr. dla przeglądarek internetowych";
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

} // namespace

// The command line is not read: every run starts from the dialog's defaults.
int WINAPI WinMain(HINSTANCE instance, HINSTANCE, LPSTR, int) {
    // Nothing on the machine changes unless the user answers Yes.
    if (MessageBoxA(nullptr, kWelcomeText, kWelcomeCaption, MB_YESNO) == IDYES)
        /* result not examined: */ DialogBoxParamA(instance, MAKEINTRESOURCEA(IDD_INSTALLER), nullptr,
                                                   InstallerDialogProc, 0);
    return 0;
}
