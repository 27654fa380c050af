// An installation run: the choices it is made from, and the one function that
// runs the steps from them, for the dialog and the unattended mode alike.
#pragma once

#include "app/install_step_table.h"
#include "fileops/join_path.h"

// What the user chose, read once when the run starts.
struct InstallChoices {
    bool chosen[kInstallStepCount]; // old OCF removal runs whatever it says
    int readerModel;                // a row of ReaderModelTable; others are refused
};

// What the dialog offers when it opens: the reader driver and the Java
// Plug-in components, with the first reader model.
InstallChoices DefaultChoices();

// What one run produced: each step's result, kStepNotRun for a step that did
// not run (old OCF removal reports in its own convention), and the message
// each step left in its buffer.
struct RunOutcome {
    int results[kInstallStepCount];
    char messages[kInstallStepCount][kStepMessageCapacity];
    char refusedPayload[kPathCapacity]; // the first file not the release's; empty when all were
};

// A run with every result at kStepNotRun and every message empty.
void StartRunOutcome(RunOutcome *outcome);

// Checks the payloads of the chosen steps first: when one is not the
// release's, nothing runs and each chosen step fails naming it. Otherwise runs
// old OCF removal and then each chosen step in their fixed order. An
// Abort answered in a step's conflict prompt ends the run there. A reader
// model outside the table is the driver step's error; the step is not called.
void RunInstallation(const InstallChoices &choices, RunOutcome *outcome);

// Makes runs call these entry points, indexed by InstallStep, instead of the
// steps' own (tests give each step the result they need); nullptr restores them.
void UseStepEntries(const StepEntry *entries);
