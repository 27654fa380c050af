// The details report and status labels that an installation run leaves,
// composed from the steps' results and messages alone.
#pragma once

#include <cstddef>

#include "app/install_steps.h"

// The install steps, in the order a run calls them.
enum InstallStep { kOldOcfStep, kIeStep, kNetscapeStep, kJavaPluginStep, kReaderDriverStep, kInstallStepCount };

// What one run produced: each step's result, kStepNotRun for a step that did
// not run (old OCF removal reports in its own convention), and the message
// each step left in its buffer.
struct RunOutcome {
    int results[kInstallStepCount];
    char messages[kInstallStepCount][kStepMessageCapacity];
};

// Every step reported, each message at its longest, still fits.
constexpr size_t kDetailsReportCapacity = 3552;

struct DetailsReport {
    char text[kDetailsReportCapacity];
    // The text for each step's status label; nullptr where the label keeps
    // its text (old OCF removal has no label at all).
    const char *statusLabels[kInstallStepCount];
};

// A run with every result at kStepNotRun and every message empty.
void StartRunOutcome(RunOutcome *outcome);

void ComposeDetailsReport(const RunOutcome &outcome, DetailsReport *report);
