#include "app/command_line.h"

#include <cstring>

#include "app/reader_models.h"
#include "fileops/bounded_text.h"

const char kCommandLineUsage[] =
    "Użycie: installer.exe [/S] [/COMPONENTS=lista] [/READER=n] [/LOG=plik] [/RESTORE | /CHECK]\n"
    "\n"
    "/S, /quiet - instalacja bez okien i pytań\n"
    "/COMPONENTS=lista - składniki oddzielone przecinkami: driver, java, ie, ns (domyślnie driver,java)\n"
    "/READER=n - model czytnika, od 1 do 4 w kolejności listy w oknie instalatora (domyślnie 1); "
    "/READER=auto - model dla uruchomionej wersji Windows (domyślnie z /S)\n"
    "/LOG=plik - dopisuje przebieg instalacji do pliku (UTF-8)\n"
    "/RESTORE - cofa instalację: przywraca własne pliki java.policy środowisk Java i usuwa pliki OCF "
    "identyczne z plikami instalatora (bez /COMPONENTS i /READER; kod wyjścia z /S: 0 - nie zostało nic "
    "do cofnięcia, 1603 - czegoś nie cofnięto)\n"
    "/CHECK - tylko sprawdza, czy komputer jest przygotowany (z /COMPONENTS wybranych składników; kod wyjścia: "
    "0 - tak, 1 - nie; bez /RESTORE i /READER)\n"
    "/?, /help - ten opis\n"
    "\n"
    "Kody wyjścia: 3010 - zainstalowano, potrzebny restart komputera; 1603 - błąd instalacji; "
    "1618 - trwa inna instalacja; 1639 - nieprawidłowy wiersz poleceń; 0 - instalacja z oknem lub ten opis.";

namespace {

// An argument as typed: long enough for a switch with a whole path.
const int kTokenCapacity = kPathCapacity + 32;

enum Switch { kUnattended, kHelp, kComponents, kReader, kLog, kRestore, kCheck, kSwitchCount };

struct SwitchName {
    const char *name;
    Switch meaning;
    bool takesValue;
};

const SwitchName kSwitchNames[] = {
    {"S", kUnattended, false},         {"QUIET", kUnattended, false}, {"?", kHelp, false}, {"HELP", kHelp, false},
    {"COMPONENTS", kComponents, true}, {"READER", kReader, true},     {"LOG", kLog, true}, {"RESTORE", kRestore, false},
    {"CHECK", kCheck, false},
};

char Upper(char c) { return c >= 'a' && c <= 'z' ? static_cast<char>(c - 'a' + 'A') : c; }

bool SameIgnoringCase(const char *a, const char *b, size_t length) {
    for (size_t i = 0; i < length; ++i)
        // NOLINTNEXTLINE(clang-analyzer-core.CallAndMessage): length is strlen's or less; the analyser loses that
        if (Upper(a[i]) != Upper(b[i])) return false;
    return true;
}

bool IsBlank(char c) { return c == ' ' || c == '\t'; }

// Compared as a byte: a Windows-1250 letter is no control character.
bool IsBlankOrControl(char c) { return static_cast<unsigned char>(c) <= ' '; }

// The next argument: blanks separate arguments outside quotes; the quotes
// themselves are dropped. False when none is left or it is too long.
bool NextArgument(const char **text, char *argument, bool *tooLong) {
    const char *at = *text;
    while (IsBlank(*at)) ++at;
    if (*at == '\0') return false;
    int length = 0;
    bool quoted = false;
    *tooLong = false;
    for (; *at && (quoted || !IsBlank(*at)); ++at) {
        if (*at == '"') {
            quoted = !quoted;
        } else if (length < kTokenCapacity - 1) {
            argument[length++] = *at;
        } else {
            *tooLong = true;
        }
    }
    argument[length] = '\0';
    *text = at;
    return true;
}

bool ParseComponents(const char *list, InstallChoices *choices) {
    bool chosen[kInstallStepCount] = {};
    const char *at = list;
    for (;;) {
        size_t length = std::strcspn(at, ",");
        bool known = false;
        for (const InstallStepRow &row : kInstallStepTable) {
            if (row.componentName && std::strlen(row.componentName) == length &&
                SameIgnoringCase(at, row.componentName, length)) {
                chosen[row.step] = true;
                known = true;
            }
        }
        if (!known) return false;
        if (at[length] == '\0') break;
        at += length + 1;
    }
    std::memcpy(choices->chosen, chosen, sizeof chosen);
    return true;
}

const char kReaderAuto[] = "AUTO";

// 1 to kReaderModelCount, in the dialog's order, or auto.
bool ParseReader(const char *value, int *model, bool *automatic) {
    if (std::strlen(value) == sizeof kReaderAuto - 1 && SameIgnoringCase(value, kReaderAuto, sizeof kReaderAuto - 1)) {
        *automatic = true;
        return true;
    }
    if (std::strlen(value) != 1 || value[0] < '1' || value[0] > '0' + kReaderModelCount) return false;
    *model = value[0] - '1';
    return true;
}

bool ParseSwitch(const char *argument, CommandLine *parsed, bool (&seen)[kSwitchCount]) {
    if (argument[0] != '/' && argument[0] != '-') return false;
    const char *name = argument + 1;
    const char *equals = std::strchr(name, '=');
    size_t nameLength = equals ? static_cast<size_t>(equals - name) : std::strlen(name);
    for (const SwitchName &known : kSwitchNames) {
        if (std::strlen(known.name) != nameLength || !SameIgnoringCase(name, known.name, nameLength)) continue;
        if (seen[known.meaning] || known.takesValue != (equals != nullptr)) return false;
        seen[known.meaning] = true;
        const char *value = equals ? equals + 1 : "";
        switch (known.meaning) {
        case kUnattended: parsed->unattended = true; return true;
        case kHelp: parsed->help = true; return true;
        case kComponents: parsed->choicesGiven = true; return ParseComponents(value, &parsed->choices);
        case kReader: parsed->choicesGiven = true; return ParseReader(value, &parsed->choices.readerModel, &parsed->readerAuto);
        case kLog: return value[0] != '\0' && CopyText(parsed->logPath, sizeof parsed->logPath, value);
        case kRestore: parsed->restore = true; return true;
        case kCheck: parsed->check = true; return true;
        case kSwitchCount: break;
        }
    }
    return false;
}

} // namespace

char *ArgumentsAfterProgramName(char *commandLine) {
    char *at = commandLine;
    bool quoted = false;
    for (; *at != '\0' && (quoted || !IsBlankOrControl(*at)); ++at)
        if (*at == '"') quoted = !quoted;
    while (*at != '\0' && IsBlankOrControl(*at)) ++at;
    return at;
}

CommandLineStatus ParseCommandLine(const char *text, CommandLine *parsed, char *badArgument) {
    *parsed = {};
    parsed->choices = DefaultChoices();
    badArgument[0] = '\0';
    bool seen[kSwitchCount] = {};
    char argument[kTokenCapacity] = "";
    bool tooLong = false;
    CommandLineStatus status = CommandLineStatus::Valid;
    // Read to the end even past a bad argument: a /S or /LOG after it still
    // decides where the error is told.
    while (NextArgument(&text, argument, &tooLong)) {
        bool valid = !tooLong && ParseSwitch(argument, parsed, seen);
        if (!valid && status == CommandLineStatus::Valid) {
            /* a long argument is named by its start: */ CopyText(badArgument, kArgumentCapacity, argument);
            status = CommandLineStatus::Invalid;
        }
    }
    // No one at the screen to pick the model: the running Windows decides it.
    if (parsed->unattended && !parsed->restore && !seen[kReader]) parsed->readerAuto = true;
    // A restore undoes every component whatever was chosen: choices with it are a mistake.
    if (status == CommandLineStatus::Valid && parsed->restore && parsed->choicesGiven) {
        CopyText(badArgument, kArgumentCapacity, "/RESTORE");
        status = CommandLineStatus::Invalid;
    }
    // The check changes nothing, so it neither restores nor picks a reader.
    if (status == CommandLineStatus::Valid && parsed->check && (parsed->restore || seen[kReader])) {
        CopyText(badArgument, kArgumentCapacity, "/CHECK");
        status = CommandLineStatus::Invalid;
    }
    return status;
}
