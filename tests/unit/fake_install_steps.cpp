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

int RemoveOldOcf(char *message, int capacity) { return Run(kOldOcfStep, 0, message, capacity); }
StepResult InstallIe(char *message, int capacity) { return Run(kIeStep, 0, message, capacity); }
StepResult InstallNetscape(char *message, int capacity) { return Run(kNetscapeStep, 0, message, capacity); }
StepResult InstallJavaPlugin(char *message, int capacity) { return Run(kJavaPluginStep, 0, message, capacity); }
StepResult InstallReaderDriver(int driverCode, char *message, int capacity) {
    return Run(kReaderDriverStep, driverCode, message, capacity);
}

} // namespace

const InstallStepTable kSteps = {RemoveOldOcf, InstallIe, InstallNetscape, InstallJavaPlugin, InstallReaderDriver};

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
