#include "app/details_report.h"

#include <cstring>

#include "fileops/bounded_text.h"

namespace {

const char kSectionEnd[] = "\r\n\r\n";
const char kOk[] = "OK";
const char kError[] = "BŁĄD";
const char kErrorPrefix[] = "BŁĄD - ";
const char kWarning[] = "UWAGA";
const char kWarningPrefix[] = "UWAGA - ";

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

void AppendSection(const InstallStepRow &row, const RunOutcome &outcome, DetailsReport *report, size_t *used) {
    char *text = report->text;
    int result = outcome.results[row.step];
    const char *message = outcome.messages[row.step];
    if (row.convention == ResultConvention::RemovalResult) {
        if (result != kOldOcfNotRemoved) return;
        Append(text, used, row.heading);
        AppendMessage(text, used, message);
        Append(text, used, kSectionEnd);
        return;
    }
    if (result == kStepNotRun || result == kStepAborted) return;
    Append(text, used, row.heading);
    if (result == kStepOk) {
        Append(text, used, kOk);
        report->statusLabels[row.step] = kOk;
    } else {
        // Any result other than success or error counts as a warning.
        bool error = result == kStepError;
        Append(text, used, error ? kErrorPrefix : kWarningPrefix);
        AppendMessage(text, used, message);
        report->statusLabels[row.step] = error ? kError : kWarning;
    }
    Append(text, used, kSectionEnd);
}

} // namespace

void ComposeDetailsReport(const RunOutcome &outcome, DetailsReport *report) {
    // cppcheck-suppress ctuuninitvar ; the report is only written, from its start
    char *text = report->text;
    size_t used = 0;
    text[0] = '\0';
    for (const char *&label : report->statusLabels) label = nullptr;

    for (int position = 0; position < kInstallStepCount; ++position) {
        for (const InstallStepRow &row : kInstallStepTable) {
            if (row.reportPosition == position) AppendSection(row, outcome, report, &used);
        }
    }
}
