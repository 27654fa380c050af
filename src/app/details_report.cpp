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

class ReportText {
  public:
    explicit ReportText(char *text) : text_(text) { text_[0] = '\0'; }

    void Append(const char *piece) { Append(piece, std::strlen(piece)); }

    // A step's message is read only within its buffer, so one left without a
    // terminator cannot carry the report past the buffer's end.
    void AppendMessage(const char *message) {
        const void *end = std::memchr(message, '\0', kStepMessageCapacity);
        Append(message, end ? static_cast<const char *>(end) - message : kStepMessageCapacity - 1);
    }

  private:
    void Append(const char *piece, size_t length) {
        FormatText(text_ + used_, kDetailsReportCapacity - used_, "%.*s", static_cast<int>(length), piece);
        used_ += std::strlen(text_ + used_);
    }

    char *text_;
    size_t used_ = 0;
};

} // namespace

void StartRunOutcome(RunOutcome *outcome) {
    for (int &result : outcome->results) result = kStepNotRun;
    std::memset(outcome->messages, 0, sizeof outcome->messages);
}

void ComposeDetailsReport(const RunOutcome &outcome, DetailsReport *report) {
    ReportText text(report->text);
    for (const char *&label : report->statusLabels) label = nullptr;

    if (outcome.results[kOldOcfStep] == kOldOcfNotRemoved) {
        text.Append(kOldOcfFailed);
        text.AppendMessage(outcome.messages[kOldOcfStep]);
        text.Append(kSectionEnd);
    }
    for (const ComponentSection &section : kComponentSections) {
        int result = outcome.results[section.step];
        if (result == kStepNotRun || result == kStepAborted) continue;
        text.Append(section.heading);
        if (result == kStepOk) {
            text.Append(kOk);
            report->statusLabels[section.step] = kOk;
        } else {
            // Any result other than success or error counts as a warning.
            bool error = result == kStepError;
            text.Append(error ? kErrorPrefix : kWarningPrefix);
            text.AppendMessage(outcome.messages[section.step]);
            report->statusLabels[section.step] = error ? kError : kWarning;
        }
        text.Append(kSectionEnd);
    }
}
