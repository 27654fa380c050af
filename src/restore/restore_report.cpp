#include "restore/restore_report.h"

#include <cstring>

#include "fileops/bounded_text.h"
#include "log/run_log.h"

namespace {

enum class Count { None, Restored, Removed, Kept, NotUndone };

struct NoteText {
    Count count;
    bool withError;
    const char *logWhat;  // in the log, before the error and the path
    const char *lineWhat; // in the message, before the reason and the path; nullptr: not shown
};

// Indexed by RestoreNote.
const NoteText kNoteTexts[] = {
    {Count::Restored, false, "restored from its backup", "Przywrócono z kopii zapasowej"},
    {Count::Removed, false, "removed", "Usunięto"},
    {Count::Kept, false, "kept, it differs from the installer's file",
     "Pozostawiono, bo różni się od pliku instalatora"},
    {Count::Kept, false, "kept, other programs may load it", "Pozostawiono, bo mogą go używać inne programy"},
    {Count::None, false, "left alone, not the installer's", nullptr},
    {Count::NotUndone, true, "not restored", "Nie przywrócono z kopii zapasowej"},
    {Count::NotUndone, false, "not restored, the copy differs from its backup",
     "Nie przywrócono, kopia różni się od kopii zapasowej"},
    {Count::NotUndone, false, "not restored, changed since the installation; its backup is kept",
     "Nie przywrócono, bo zmieniono go po instalacji (kopia zapasowa pozostaje obok)"},
    {Count::NotUndone, true, "restored, but its backup not deleted", "Przywrócono, ale nie usunięto kopii zapasowej"},
    {Count::NotUndone, true, "not removed", "Nie usunięto"},
    {Count::NotUndone, true, "not compared with the installer's file", "Nie porównano z plikiem instalatora"},
    {Count::NotUndone, true, "not searched", "Nie przeszukano"},
};
static_assert(sizeof kNoteTexts / sizeof kNoteTexts[0] == static_cast<size_t>(RestoreNote::NotSearched) + 1,
              "one text for every note");

// Room for one reason, one line (what, reason and a whole path) and the counts.
const size_t kReasonCapacity = 96;
const size_t kLineCapacity = 512;
const size_t kCountsCapacity = 128;

const char kCountsFormat[] = "Przywrócono: %d, usunięto: %d, pozostawiono: %d, nie cofnięto: %d.\n\n";
const char kNothingFound[] = "Nie znaleziono niczego do cofnięcia.\n\n";
const char kOmittedFormat[] = "... i %d dalszych pozycji (wszystkie zapisuje dziennik /LOG).\n";
const char kStaysAnyway[] = "\nPlik ocf1.2.jar usunięty z katalogu systemowego przez instalację nie wraca. "
                            "Sterownik czytnika kart odinstalowuje się osobno.";
const char kLineEnd[] = "\n";

// Why a file was not undone, as the user reads it.
void DescribeError(char *reason, size_t capacity, DWORD error) {
    switch (error) {
    case ERROR_ACCESS_DENIED:
        FormatText(reason, capacity, "błąd %lu, plik tylko do odczytu lub brak uprawnień",
                   static_cast<unsigned long>(error));
        break;
    case ERROR_SHARING_VIOLATION:
        FormatText(reason, capacity, "błąd %lu, plik otwarty przez inny program", static_cast<unsigned long>(error));
        break;
    case ERROR_FILE_NOT_FOUND:
    case ERROR_PATH_NOT_FOUND:
        FormatText(reason, capacity, "błąd %lu, brak pliku", static_cast<unsigned long>(error));
        break;
    case ERROR_DISK_FULL:
        FormatText(reason, capacity, "błąd %lu, brak miejsca na dysku", static_cast<unsigned long>(error));
        break;
    default: FormatText(reason, capacity, "błąd %lu", static_cast<unsigned long>(error)); break;
    }
}

void Tally(RestoreReport *report, Count count) {
    switch (count) {
    case Count::Restored: ++report->restored; break;
    case Count::Removed: ++report->removed; break;
    case Count::Kept: ++report->kept; break;
    case Count::NotUndone: ++report->notUndone; break;
    case Count::None: break;
    }
}

// Appends the line when it fits whole, with its line end; otherwise counts it.
void AddLine(RestoreReport *report, const char *line) {
    size_t length = std::strlen(line) + std::strlen(kLineEnd);
    if (report->used + length >= sizeof report->lines) {
        ++report->omitted;
        return;
    }
    FormatText(report->lines + report->used, sizeof report->lines - report->used, "%s%s", line, kLineEnd);
    report->used += length;
}

} // namespace

void StartRestoreReport(RestoreReport *report) { std::memset(report, 0, sizeof *report); }

void NoteRestore(RestoreReport *report, RestoreNote note, const char *path, DWORD error) {
    const NoteText &text = kNoteTexts[static_cast<int>(note)];
    if (text.withError)
        LogEvent("%s (error %lu): %s", text.logWhat, static_cast<unsigned long>(error), path);
    else
        LogEvent("%s: %s", text.logWhat, path);
    Tally(report, text.count);
    if (!text.lineWhat) return;
    char line[kLineCapacity];
    if (text.withError) {
        char reason[kReasonCapacity];
        DescribeError(reason, sizeof reason, error);
        /* always fits, a path is shorter than a line: */ FormatText(line, sizeof line, "%s (%s): %s", text.lineWhat,
                                                                     reason, path);
    } else {
        /* always fits: */ FormatText(line, sizeof line, "%s: %s", text.lineWhat, path);
    }
    AddLine(report, line);
}

void ComposeRestoreMessage(const RestoreReport &report, char *text) {
    size_t used = 0;
    auto append = [&](const char *part) {
        CopyText(text + used, kRestoreMessageCapacity - used, part);
        used += std::strlen(text + used);
    };
    char counts[kCountsCapacity];
    bool anything = report.restored + report.removed + report.kept + report.notUndone > 0;
    FormatText(counts, sizeof counts, kCountsFormat, report.restored, report.removed, report.kept, report.notUndone);
    append(anything ? counts : kNothingFound);
    append(report.lines);
    if (report.omitted > 0) {
        char omitted[kCountsCapacity];
        FormatText(omitted, sizeof omitted, kOmittedFormat, report.omitted);
        append(omitted);
    }
    append(kStaysAnyway);
}
