#include "app/restore_mode.h"

#include "app/exit_codes.h"
#include "app/installer_modes.h"
#include "log/run_log.h"
#include "platform/win32.h"
#include "release/payload_check.h"
#include "record/install_record.h"
#include "restore/restore.h"
#include "restore/restore_by_record.h"

namespace {

const char kPrompt[] =
    "Za chwilę zostaną cofnięte zmiany, które instalator wprowadził na tym komputerze:\n"
    "\n"
    "- w każdym zarejestrowanym środowisku JRE/JDK plik java.policy wróci z kopii zapasowej "
    "java.policy.ocf-bak, a pliki ocf1.2.jar, opencard.properties i ocfpcsc1.dll zostaną usunięte;\n"
    "- w katalogu użytkownika pliki .java.policy i .opencard.properties wrócą z kopii zapasowych "
    "albo zostaną usunięte;\n"
    "- zostaną usunięte pliki OCF dla MS Internet Explorera i Netscape 4.x.\n"
    "\n"
    "Usuwane są tylko pliki identyczne z plikami instalatora: plik zmieniony przez kogoś innego pozostaje. "
    "Pozostają też: biblioteka ocfpcsc1.dll w katalogu systemowym (mogą jej używać inne programy) "
    "i sterownik czytnika kart, który odinstalowuje się osobno. "
    "Usunięty przez instalację plik ocf1.2.jar nie wraca do katalogu systemowego.\n"
    "\n"
    "Czy chcesz kontynuować?";

// The package folders whose files the restore compares installed files with.
const char *const kComparedFolders[] = {"sun", "msie", "ns"};
const char kRecordTorn[] = "Nic nie zmieniono: zapis instalacji (record.txt w folderze SmartCardReaderSupport) "
                          "jest uszkodzony, więc nie wiadomo, co cofnąć.";

// Large: not on the stack.
InstallRecord record;

} // namespace

int RunRestore(bool unattended) {
    RecordState state = LoadInstallRecord(&record);
    // Without a record the restore compares with the distribution folder's
    // files: a changed one would make it remove what is not the installer's.
    char refused[kPathCapacity];
    if (state == RecordState::Missing && !CheckPayloadFolders(kComparedFolders, sizeof kComparedFolders / sizeof kComparedFolders[0], refused)) {
        LogEvent("restore not started: %s is not the release's file; nothing was changed", refused);
        if (!unattended) TellPayloadRefused(nullptr, refused);
        return unattended ? kExitFailed : kExitInteractive;
    }
    // Nothing on the machine changes unless the user answers Yes.
    if (!unattended && MessageBoxA(nullptr, kPrompt, kInstallerCaption, MB_YESNO | MB_ICONQUESTION) != IDYES) {
        LogEvent("the restore prompt was declined");
        return kExitInteractive;
    }
    RestoreReport report;
    StartRestoreReport(&report);
    switch (state) {
    case RecordState::Whole: RestoreByRecord(record, &report); break;
    // Without a record (a PC set up by an earlier version), from the distribution folder.
    // What a stopped restore left of the product goes with the rest.
    case RecordState::Missing:
        RestoreMachine(&report);
        if (report.notUndone == 0) RemoveProductRecord(&report);
        break;
    case RecordState::Torn:
        LogEvent("the record cannot be read whole; nothing was done");
        if (!unattended) MessageBoxA(nullptr, kRecordTorn, kInstallerCaption, MB_OK | MB_ICONERROR);
        return unattended ? kExitFailed : kExitInteractive;
    }
    LogEvent("restore: %d restored, %d removed, %d kept, %d not undone", report.restored, report.removed, report.kept,
             report.notUndone);
    if (unattended) return report.notUndone > 0 ? kExitFailed : kExitRestored;

    char message[kRestoreMessageCapacity];
    ComposeRestoreMessage(report, message);
    /* only OK to press: */ MessageBoxA(nullptr, message, kInstallerCaption,
                                        MB_OK | (report.notUndone > 0 ? MB_ICONWARNING : MB_ICONINFORMATION));
    return kExitInteractive;
}
