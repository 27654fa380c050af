#include "app/details_report.h"

#include <cstring>

#include "fileops/bounded_text.h"

namespace {

const char kOldOcfFailed[] = "Detekcja/deinstalacja poprzedniego środowiska OCF: BŁĄD - ";
const char kSectionEnd[] = "\r\n\r\n";
const char kOk[] = "OK";
const char kError[] = "BŁĄD";
const char kErrorPrefix[] = "BŁĄD - ";
const char kWarning[] = "UWAGA";
const char kWarningPrefix[] = "UWAGA - ";

struct ComponentSection {
    InstallStep step;
    const char *heading;
};

// The driver's section leads, although its step runs last.
const ComponentSection kComponentSections[] = {
    {kReaderDriverStep, "Instalacja sterownika czytnika kart: "},
    {kIeStep, "Instalacja komponentów dla MS Internet Explorera: "},
    {kNetscapeStep, "Instalacja komponentów dla Netscape 4.x: "},
    {kJavaPluginStep, "Instalacja komponentów dla Sun Java Plug-in: "},
};

// Appends within the report's capacity; `used` is the text's length so far.
// The longest report fits, so nothing is ever cut.
void Append(char *report, size_t *used, const char *piece, size_t length) {
    /* result not examined: */ FormatText(report + *used, kDetailsReportCapacity - *used, "%.*s",
                                          static_cast<int>(length), piece);
    *used += std::strlen(report + *used);
}

void Append(char *report, size_t *used, const char *piece) { Append(report, used, piece, std::strlen(piece)); }

// A step's message is read only within its buffer, so one left without a
// terminator cannot carry the report past the buffer's end.
void AppendMessage(char *report, size_t *used, const char *message) {
    const void *end = std::memchr(message, '\0', kStepMessageCapacity);
    Append(report, used, message, end ? static_cast<const char *>(end) - message : kStepMessageCapacity - 1);
}

} // namespace

void StartRunOutcome(RunOutcome *outcome) {
    // cppcheck-suppress ctuuninitvar ; the outcome is only written here, never read
    for (int &result : outcome->results) result = kStepNotRun;
    std::memset(outcome->messages, 0, sizeof outcome->messages);
}

void ComposeDetailsReport(const RunOutcome &outcome, DetailsReport *report) {
    // cppcheck-suppress ctuuninitvar ; the report is only written, from its start
    char *text = report->text;
    size_t used = 0;
    text[0] = '\0';
    for (const char *&label : report->statusLabels) label = nullptr;

    if (outcome.results[kOldOcfStep] == kOldOcfNotRemoved) {
        Append(text, &used, kOldOcfFailed);
        AppendMessage(text, &used, outcome.messages[kOldOcfStep]);
        Append(text, &used, kSectionEnd);
    }
    for (const ComponentSection &section : kComponentSections) {
        int result = outcome.results[section.step];
        if (result == kStepNotRun || result == kStepAborted) continue;
        Append(text, &used, section.heading);
        if (result == kStepOk) {
            Append(text, &used, kOk);
            report->statusLabels[section.step] = kOk;
        } else {
            // Any result other than success or error counts as a warning.
            bool error = result == kStepError;
            Append(text, &used, error ? kErrorPrefix : kWarningPrefix);
            AppendMessage(text, &used, outcome.messages[section.step]);
            report->statusLabels[section.step] = error ? kError : kWarning;
        }
        Append(text, &used, kSectionEnd);
    }
}
