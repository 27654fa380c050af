#include "app/run_outcome_log.h"

#include "app/details_report.h"
#include "log/run_log.h"

namespace {

const char *ResultName(const InstallStepRow &row, int result) {
    if (row.convention == ResultConvention::RemovalResult)
        return result == kOldOcfNotRemoved ? "stale archive not removed" : "no stale archive left";
    switch (result) {
    case kStepOk: return "OK";
    case kStepError: return "error";
    case kStepAborted: return "stopped by the user";
    default: return "warning";
    }
}

} // namespace

void LogRunOutcome(const RunOutcome &outcome) {
    if (!RunLogOpen()) return;
    for (const InstallStepRow &row : kInstallStepTable) {
        int result = outcome.results[row.step];
        if (result == kStepNotRun) continue;
        LogEvent("step %s: %s (%d)", row.componentName ? row.componentName : "old-ocf", ResultName(row, result),
                 result);
    }
    DetailsReport report;
    ComposeDetailsReport(outcome, &report);
    LogLines("report: ", report.text);
}
