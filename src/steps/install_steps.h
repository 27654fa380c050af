// The contract between the main dialog and the install steps: each step takes
// a caller-owned message buffer with its capacity and returns a result.
#pragma once

typedef int StepResult;

constexpr StepResult kStepNotRun = -1; // the dialog's own value; no step returns it
constexpr StepResult kStepOk = 0;
constexpr StepResult kStepError = 1;
constexpr StepResult kStepAborted = 2; // the user answered Abort in a conflict prompt
constexpr StepResult kStepWarning = 3;

// RemoveOldOcf has its own convention.
constexpr int kOldOcfRemoved = 1;
constexpr int kOldOcfNotRemoved = 0;

// Every message a step writes fits, terminator included.
constexpr int kStepMessageCapacity = 592;

// Messages shared by several steps.
constexpr char kMessageIncompleteInstaller[] = "Instalator jest niekompletny";
constexpr char kMessageAborted[] = "Przerwa na życzenie użytkownika";
constexpr char kMessageCopyFailed[] = "Błąd kopiowania pliku: kod #%d, plik: `%s'";

// Each step may be given a null message (no message wanted). Steps with a
// package folder enter it from the distribution folder and leave it again.
int RemoveOldOcf(char *message, int capacity);
StepResult InstallIeComponents(char *message, int capacity);
StepResult InstallNetscapeComponents(char *message, int capacity);
StepResult InstallJavaPluginComponents(char *message, int capacity);
StepResult InstallReaderDriver(int driverCode, char *message, int capacity);

// While await is set (an unattended run, where nothing else would tell of
// the driver's failure), InstallReaderDriver waits for the driver installer
// it starts, up to kDriverInstallerWaitMs, and fails unless it ends with 0.
// Otherwise the installer runs on by itself, as the dialog has always had it.
constexpr unsigned long kDriverInstallerWaitMs = 10UL * 60 * 1000;
void AwaitDriverInstaller(bool await);
