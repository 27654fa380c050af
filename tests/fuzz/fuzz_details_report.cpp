// Fuzzes the composition of the details report. An input gives, for each of
// the five steps in run order, its result (1 byte, as a signed value, so
// unexpected results come too), its message's length (2 bytes, little endian,
// up to the buffer's capacity: a full buffer holds no terminator) and the
// message's bytes. The report must be the sections built from these alone,
// each message read only up to its terminator or its buffer's end, with the
// matching status labels; it is never cut and always terminated.
#include "app/details_report.h"
#include "fuzz_support.h"

namespace {

// The report's literals, the same as the report's.
const char kOldOcfFailed[] = "Detekcja/deinstalacja poprzedniego środowiska OCF: BŁĄD - ";
const char kSectionEnd[] = "\r\n\r\n";
const char kOk[] = "OK";
const char kError[] = "BŁĄD";
const char kErrorPrefix[] = "BŁĄD - ";
const char kWarning[] = "UWAGA";
const char kWarningPrefix[] = "UWAGA - ";

struct Section {
    InstallStep step;
    const char *heading;
};
const Section kSections[] = {
    {kReaderDriverStep, "Instalacja sterownika czytnika kart: "},
    {kIeStep, "Instalacja komponentów dla MS Internet Explorera: "},
    {kNetscapeStep, "Instalacja komponentów dla Netscape 4.x: "},
    {kJavaPluginStep, "Instalacja komponentów dla Sun Java Plug-in: "},
};

const char kFiller = 'm';

std::string Message(const RunOutcome &outcome, int step) {
    const char *message = outcome.messages[step];
    return std::string(message, strnlen(message, kStepMessageCapacity - 1));
}

bool SameLabel(const char *label, const char *expected) {
    if (!label || !expected) return label == expected;
    return std::strcmp(label, expected) == 0;
}

} // namespace

// The step table names the steps' entry points; the report never calls them.
int RemoveOldOcf(char *, int) { return kOldOcfRemoved; }
StepResult InstallIeComponents(char *, int) { return kStepOk; }
StepResult InstallNetscapeComponents(char *, int) { return kStepOk; }
StepResult InstallJavaPluginComponents(char *, int) { return kStepOk; }
StepResult InstallReaderDriver(int, char *, int) { return kStepOk; }

extern "C" int LLVMFuzzerTestOneInput(const uint8_t *data, size_t size) {
    std::unique_ptr<RunOutcome> outcome(new RunOutcome);
    size_t at = 0;
    for (int step = 0; step < kInstallStepCount; ++step) {
        outcome->results[step] = at < size ? static_cast<int8_t>(data[at++]) : kStepNotRun;
        size_t length = 0;
        if (at + 2 <= size) {
            length =
                (static_cast<size_t>(data[at]) | static_cast<size_t>(data[at + 1]) << 8) % (kStepMessageCapacity + 1);
            at += 2;
        }
        char *message = outcome->messages[step];
        std::memset(message, kFiller, kStepMessageCapacity);
        size_t given = length < size - at ? length : size - at;
        std::memcpy(message, data + at, given);
        at += given;
        if (length < static_cast<size_t>(kStepMessageCapacity)) message[length] = '\0';
    }

    std::unique_ptr<DetailsReport> report(new DetailsReport);
    std::memset(report->text, kFiller, sizeof report->text);
    ComposeDetailsReport(*outcome, report.get());

    std::string expected;
    const char *expectedLabels[kInstallStepCount] = {};
    if (outcome->results[kOldOcfStep] == kOldOcfNotRemoved)
        expected += kOldOcfFailed + Message(*outcome, kOldOcfStep) + kSectionEnd;
    for (const Section &section : kSections) {
        int result = outcome->results[section.step];
        if (result == kStepNotRun || result == kStepAborted) continue;
        expected += section.heading;
        if (result == kStepOk) {
            expected += kOk;
            expectedLabels[section.step] = kOk;
        } else if (result == kStepError) {
            expected += kErrorPrefix + Message(*outcome, section.step);
            expectedLabels[section.step] = kError;
        } else {
            expected += kWarningPrefix + Message(*outcome, section.step);
            expectedLabels[section.step] = kWarning;
        }
        expected += kSectionEnd;
    }

    fuzz::Check(expected.size() < kDetailsReportCapacity);
    fuzz::Check(strnlen(report->text, kDetailsReportCapacity) < kDetailsReportCapacity);
    fuzz::Check(expected == report->text);
    for (int step = 0; step < kInstallStepCount; ++step)
        fuzz::Check(SameLabel(report->statusLabels[step], expectedLabels[step]));
    return 0;
}
