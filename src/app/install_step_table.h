// The install steps of a run, each named once: the choice that runs it, its
// status label, its heading in the details report and its entry point.
#pragma once

#include "steps/install_steps.h"

// The install steps, in the order a run calls them.
enum InstallStep { kOldOcfStep, kIeStep, kNetscapeStep, kJavaPluginStep, kReaderDriverStep, kInstallStepCount };

// One entry point for every step; only the reader driver step reads
// driverCode (the chosen reader model's).
typedef int (*StepEntry)(int driverCode, char *message, int capacity);

// How the details report reads a step's result.
enum class ResultConvention {
    StepResult,   // OK, BŁĄD or UWAGA, with the message
    RemovalResult // old OCF removal: a section only when it failed, no label
};

struct InstallStepRow {
    InstallStep step;
    const char *componentName; // on the command line; nullptr: the step always runs
    int choiceBox;             // its check box in the dialog; 0: none
    int statusLabel;           // its status label in the dialog; 0: none
    int reportPosition;        // sections are written in this order, not the run's
    ResultConvention convention;
    const char *heading;
    const char *payloadFolder; // the package folder it takes its files from; nullptr: none
    StepEntry entry;
};

// In run order, indexed by InstallStep.
extern const InstallStepRow kInstallStepTable[kInstallStepCount];
