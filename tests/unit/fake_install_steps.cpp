#include "fake_install_steps.h"

#include "fileops/bounded_text.h"

namespace fake {

StepScript scripts[kInstallStepCount];
std::vector<StepCall> calls;
InstallStep actingStep = kInstallStepCount;
std::function<void()> userDuringStep;

namespace {

int Run(InstallStep step, int driverCode, char *message, int capacity) {
    calls.push_back({step, driverCode, capacity, GetCursor()});
    // Once: a nested run that should not happen must not recurse for ever.
    if (step == actingStep && userDuringStep) {
        std::function<void()> user = userDuringStep;
        userDuringStep = nullptr;
        user();
    }
    if (!scripts[step].message.empty()) CopyText(message, static_cast<size_t>(capacity), scripts[step].message.c_str());
    return scripts[step].result;
}

template <InstallStep step> int Fake(int driverCode, char *message, int capacity) {
    return Run(step, driverCode, message, capacity);
}

} // namespace

const StepEntry kSteps[kInstallStepCount] = {Fake<kOldOcfStep>, Fake<kIeStep>, Fake<kNetscapeStep>,
                                             Fake<kJavaPluginStep>, Fake<kReaderDriverStep>};

void Reset() {
    for (StepScript &script : scripts) script = {kStepOk, ""};
    scripts[kOldOcfStep] = {kOldOcfRemoved, ""};
    calls.clear();
    actingStep = kInstallStepCount;
    userDuringStep = nullptr;
}

std::vector<InstallStep> StepsCalled() {
    std::vector<InstallStep> steps;
    for (const StepCall &call : calls) steps.push_back(call.step);
    return steps;
}

} // namespace fake
