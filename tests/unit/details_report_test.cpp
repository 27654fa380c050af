// The details report and status labels, composed from results and messages.
#include <gtest/gtest.h>

#include <cstring>
#include <string>

#include "app/details_report.h"
#include "fileops/bounded_text.h"

namespace {

const char kDriver[] = "Instalacja sterownika czytnika kart: ";
const char kIe[] = "Instalacja komponentów dla MS Internet Explorera: ";
const char kNetscape[] = "Instalacja komponentów dla Netscape 4.x: ";
const char kJava[] = "Instalacja komponentów dla Sun Java Plug-in: ";
const char kOldOcf[] = "Detekcja/deinstalacja poprzedniego środowiska OCF: BŁĄD - ";
const char kEnd[] = "\r\n\r\n";

struct Step {
    int result;
    const char *message;
};

// Results and messages of the five steps, in the order they run.
RunOutcome Outcome(Step oldOcf, Step ie, Step netscape, Step javaPlugin, Step driver) {
    RunOutcome outcome;
    StartRunOutcome(&outcome);
    const Step steps[kInstallStepCount] = {oldOcf, ie, netscape, javaPlugin, driver};
    for (int i = 0; i < kInstallStepCount; ++i) {
        outcome.results[i] = steps[i].result;
        CopyText(outcome.messages[i], kStepMessageCapacity, steps[i].message);
    }
    return outcome;
}

const Step kRemoved = {kOldOcfRemoved, ""};
const Step kNotRun = {kStepNotRun, ""};

std::string Label(const DetailsReport &report, InstallStep step) {
    return report.statusLabels[step] ? report.statusLabels[step] : "(unchanged)";
}

TEST(DetailsReportTest, SectionsFollowTheirFixedOrderWithTheirResults) {
    struct Case {
        const char *name;
        RunOutcome outcome;
        std::string report;
        const char *labels[kInstallStepCount]; // nullptr: unchanged
    } cases[] = {
        {"the default run: driver OK, Java Plug-in warning",
         Outcome(kRemoved, kNotRun, kNotRun, {kStepWarning, "M"}, {kStepOk, ""}),
         std::string(kDriver) + "OK" + kEnd + kJava + "UWAGA - M" + kEnd,
         {nullptr, nullptr, nullptr, "UWAGA", "OK"}},
        {"old OCF removal failed: its section first, the others still follow",
         Outcome({kOldOcfNotRemoved, "Błąd kasowania pliku ocf1.2.jar w katalogu systemowym"}, kNotRun, kNotRun,
                 {kStepOk, ""}, {kStepOk, ""}),
         std::string(kOldOcf) + "Błąd kasowania pliku ocf1.2.jar w katalogu systemowym" + kEnd + kDriver + "OK" + kEnd +
             kJava + "OK" + kEnd,
         {nullptr, nullptr, nullptr, "OK", "OK"}},
        {"every component: driver, then Internet Explorer, Netscape and Java Plug-in",
         Outcome(kRemoved, {kStepError, "ie"}, {kStepWarning, "ns"}, {kStepOk, "not read"}, {kStepError, "drv"}),
         std::string(kDriver) + "BŁĄD - drv" + kEnd + kIe + "BŁĄD - ie" + kEnd + kNetscape + "UWAGA - ns" + kEnd +
             kJava + "OK" + kEnd,
         {nullptr, "BŁĄD", "UWAGA", "OK", "BŁĄD"}},
        {"unexpected results are warnings",
         Outcome(kRemoved, kNotRun, kNotRun, {42, "x"}, {-7, "y"}),
         std::string(kDriver) + "UWAGA - y" + kEnd + kJava + "UWAGA - x" + kEnd,
         {nullptr, nullptr, nullptr, "UWAGA", "UWAGA"}},
        {"an aborted step has no section and no label, its message unseen",
         Outcome(kRemoved, {kStepOk, ""}, {kStepAborted, "Przerwa na życzenie użytkownika"}, kNotRun, kNotRun),
         std::string(kIe) + "OK" + kEnd,
         {nullptr, "OK", nullptr, nullptr, nullptr}},
        {"nothing but a successful old OCF removal: empty",
         Outcome(kRemoved, kNotRun, kNotRun, kNotRun, kNotRun),
         "",
         {nullptr, nullptr, nullptr, nullptr, nullptr}},
        {"old OCF removal's other values are not failures",
         Outcome({7, "x"}, kNotRun, kNotRun, kNotRun, kNotRun),
         "",
         {nullptr, nullptr, nullptr, nullptr, nullptr}},
    };
    for (const Case &c : cases) {
        DetailsReport report;
        std::memset(&report, '#', sizeof report);
        ComposeDetailsReport(c.outcome, &report);
        EXPECT_EQ(report.text, c.report) << c.name;
        for (int step = 0; step < kInstallStepCount; ++step)
            EXPECT_EQ(Label(report, InstallStep(step)), c.labels[step] ? c.labels[step] : "(unchanged)")
                << c.name << ", step " << step;
    }
}

TEST(DetailsReportTest, LongestReportFitsWhole) {
    std::string longest(kStepMessageCapacity - 1, 'm');
    std::string oldOcf = "Błąd kasowania pliku ocf1.2.jar w katalogu systemowym";
    RunOutcome outcome =
        Outcome({kOldOcfNotRemoved, oldOcf.c_str()}, {kStepWarning, longest.c_str()}, {kStepWarning, longest.c_str()},
                {kStepWarning, longest.c_str()}, {kStepWarning, longest.c_str()});
    DetailsReport report;
    ComposeDetailsReport(outcome, &report);
    EXPECT_EQ(std::strlen(report.text) + 1, 2701u);
    EXPECT_EQ(std::string(report.text).substr(std::strlen(report.text) - 4), kEnd);
}

TEST(DetailsReportTest, MessageWithoutTerminatorIsReadOnlyWithinItsBuffer) {
    RunOutcome outcome = Outcome(kRemoved, kNotRun, kNotRun, kNotRun, {kStepError, ""});
    std::memset(outcome.messages[kReaderDriverStep], 'x', kStepMessageCapacity);
    DetailsReport report;
    ComposeDetailsReport(outcome, &report);
    EXPECT_EQ(report.text, std::string(kDriver) + "BŁĄD - " + std::string(kStepMessageCapacity - 1, 'x') + kEnd);
}

} // namespace
