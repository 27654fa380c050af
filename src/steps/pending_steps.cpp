// Stand-ins for the install steps whose own source files are not in this
// build yet, so that the installer links and runs: each reports that its
// component cannot be installed. Each goes when its step's file comes in.
#include "app/install_steps.h"
#include "steps/step_message.h"

namespace {

const char kStepNotBuiltIn[] = "Ten składnik nie jest wbudowany w tę wersję instalatora";

StepResult StepNotBuiltIn(char *message, int capacity) {
    WriteStepMessage(message, capacity, kStepNotBuiltIn);
    return kStepError;
}

} // namespace

StepResult InstallIeComponents(char *message, int capacity) { return StepNotBuiltIn(message, capacity); }

StepResult InstallNetscapeComponents(char *message, int capacity) { return StepNotBuiltIn(message, capacity); }

StepResult InstallJavaPluginComponents(char *message, int capacity) { return StepNotBuiltIn(message, capacity); }

StepResult InstallReaderDriver(int, char *message, int capacity) { return StepNotBuiltIn(message, capacity); }
