// The details report and status labels that an installation run leaves,
// composed from the steps' results and messages alone.
#pragma once

#include <cstddef>

#include "app/install_run.h"

// Every step reported, each message at its longest, still fits.
constexpr size_t kDetailsReportCapacity = 3552;

struct DetailsReport {
    char text[kDetailsReportCapacity];
    // The text for each step's status label; nullptr where the label keeps
    // its text (old OCF removal has no label at all).
    const char *statusLabels[kInstallStepCount];
};

void ComposeDetailsReport(const RunOutcome &outcome, DetailsReport *report);
