#include "app/install_run.h"

#include <cstring>

#include "app/reader_models.h"
#include "release/payload_check.h"
#include "record/run_record.h"
#include "steps/step_message.h"

namespace {

const char kReaderOutOfRange[] = "Wybór czytnika kart spoza dostępnej listy";
const char kPayloadRefused[] =
    "Plik %s nie należy do tego wydania instalatora albo został zmieniony - nic nie zostało zmienione";
const char kRecordTorn[] =
    "Nic nie zmieniono: zapis poprzednich instalacji (record.txt w folderze SmartCardReaderSupport) jest uszkodzony";
const char kRecordUnwritable[] =
    "Nic nie zmieniono: nie można zapisać zapisu instalacji w folderze Program Files (błąd %lu); "
    "potrzebne są prawa administratora";

const StepEntry *substitutes = nullptr;

StepEntry EntryOf(InstallStep step) { return substitutes ? substitutes[step] : kInstallStepTable[step].entry; }

bool ChosenPayloadsIntact(const InstallChoices &choices, RunOutcome *outcome) {
    const char *folders[kInstallStepCount];
    int count = 0;
    for (const InstallStepRow &row : kInstallStepTable)
        if (row.payloadFolder && choices.chosen[row.step]) folders[count++] = row.payloadFolder;
    if (CheckPayloadFolders(folders, count, outcome->refusedPayload)) return true;
    for (const InstallStepRow &row : kInstallStepTable) {
        if (!row.componentName || !choices.chosen[row.step]) continue;
        outcome->results[row.step] = kStepError;
        FormatStepMessage(outcome->messages[row.step], kStepMessageCapacity, kPayloadRefused, outcome->refusedPayload);
    }
    return false;
}

} // namespace

InstallChoices DefaultChoices() {
    InstallChoices choices = {};
    choices.chosen[kReaderDriverStep] = true;
    choices.chosen[kJavaPluginStep] = true;
    choices.readerModel = 0;
    return choices;
}

void StartRunOutcome(RunOutcome *outcome) {
    // cppcheck-suppress ctuuninitvar ; the outcome is only written here, never read
    for (int &result : outcome->results) result = kStepNotRun;
    std::memset(outcome->messages, 0, sizeof outcome->messages);
    outcome->refusedPayload[0] = '\0';
}

namespace {

// A run that cannot be recorded changes nothing: each chosen step reports why.
void RefuseRun(const InstallChoices &choices, RecordStart start, DWORD error, RunOutcome *outcome) {
    for (const InstallStepRow &row : kInstallStepTable) {
        if (!row.componentName || !choices.chosen[row.step]) continue;
        outcome->results[row.step] = kStepError;
        if (start == RecordStart::Torn)
            WriteStepMessage(outcome->messages[row.step], kStepMessageCapacity, kRecordTorn);
        else
            FormatStepMessage(outcome->messages[row.step], kStepMessageCapacity, kRecordUnwritable,
                              static_cast<unsigned long>(error));
    }
}

void RunSteps(const InstallChoices &choices, RunOutcome *outcome) {
    for (const InstallStepRow &row : kInstallStepTable) {
        if (row.componentName && !choices.chosen[row.step]) continue;
        int &result = outcome->results[row.step];
        char *message = outcome->messages[row.step];
        int driverCode = 0;
        if (row.step == kReaderDriverStep) {
            if (choices.readerModel < 0 || choices.readerModel >= kReaderModelCount) {
                result = kStepError;
                WriteStepMessage(message, kStepMessageCapacity, kReaderOutOfRange);
                continue;
            }
            driverCode = ReaderModelTable[choices.readerModel].driverCode;
        }
        result = EntryOf(row.step)(driverCode, message, kStepMessageCapacity);
        // Old OCF removal never stops a run; its result is in its own convention.
        if (row.convention == ResultConvention::StepResult && result == kStepAborted) return;
    }
}

} // namespace

void RunInstallation(const InstallChoices &choices, RunOutcome *outcome) {
    if (!ChosenPayloadsIntact(choices, outcome)) return;
    DWORD error = ERROR_SUCCESS;
    RecordStart start = BeginRecordedRun(&error);
    if (start != RecordStart::Ready) {
        RefuseRun(choices, start, error, outcome);
        return;
    }
    RunSteps(choices, outcome);
    EndRecordedRun();
}

void UseStepEntries(const StepEntry *entries) { substitutes = entries; }
