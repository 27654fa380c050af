#include "app/exit_codes.h"

namespace {

bool StepSucceeded(const InstallStepRow &row, int result) {
    if (row.convention == ResultConvention::RemovalResult) return result == kOldOcfRemoved;
    // A reader of the family already present is what the driver would give.
    if (row.step == kReaderDriverStep && result == kStepWarning) return true;
    return result == kStepOk;
}

} // namespace

int UnattendedExitCode(const InstallChoices &choices, const RunOutcome &outcome) {
    for (const InstallStepRow &row : kInstallStepTable) {
        bool runs = !row.componentName || choices.chosen[row.step];
        // A chosen step that did not run was cut off by an Abort.
        if (runs && !StepSucceeded(row, outcome.results[row.step])) return kExitFailed;
    }
    return kExitRestartNeeded;
}
