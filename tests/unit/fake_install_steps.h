// Install steps that a test scripts: each returns the result and leaves the
// message the test chose, and every call is recorded, so the dialog can be
// driven through every outcome without touching the machine.
#pragma once

#include <functional>
#include <string>
#include <vector>

#include "app/install_run.h"
#include "platform/win32.h"

namespace fake {

struct StepScript {
    int result;
    std::string message; // written when not empty, whatever the result
};

struct StepCall {
    InstallStep step;
    int driverCode; // the reader driver step only
    int capacity;   // as passed
    HCURSOR cursor; // current while the step ran
};

// Every step succeeds without a message until a test says otherwise.
extern StepScript scripts[kInstallStepCount];
extern std::vector<StepCall> calls;
// Runs inside the first call of the given step, as the user acting while
// that step's conflict prompt is open.
extern InstallStep actingStep;
extern std::function<void()> userDuringStep;

// The entry points to give UseStepEntries, indexed by InstallStep.
extern const StepEntry kSteps[kInstallStepCount];

void Reset();
std::vector<InstallStep> StepsCalled();

} // namespace fake
