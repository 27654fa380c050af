#include "app/installer_dialog.h"

#include "app/details_report.h"
#include "app/reader_models.h"
#include "fileops/bounded_text.h"
#include "res/resource.h"
#include "steps/step_message.h"

const InstallStepTable kInstallSteps = {RemoveOldOcf, InstallIeComponents, InstallNetscapeComponents,
                                        InstallJavaPluginComponents, InstallReaderDriver};

namespace {

enum DialogState { BeforeInstall = -1, DetailsShown = 0, DetailsHidden = 1 };

const int kVersionMajor = 1;
const int kVersionMinor = 4;
const char kCaptionFormat[] = "Instalator czytnika kart mikroproc. [v%d.%d]";
const char kToggleFormat[] = "&Szczegóły %s";
const char kShowDetails[] = ">>";
const char kHideDetails[] = "<<";
const char kCloseCaption[] = "&Zamknij";
const char kRestartNotice[] = "Dla poprawnego zakończenia instalacji konieczne jest zrestartowanie komputera.";
const char kRestartCaption[] = "Info";
const char kReaderOutOfRange[] = "Wybór czytnika kart spoza dostępnej listy";
const int kCaptionCapacity = 64; // room for either caption

// Each step's status label, by InstallStep; old OCF removal has none.
const int kNoLabel = 0;
const int kStatusLabels[kInstallStepCount] = {kNoLabel, IDC_STATUS_IE, IDC_STATUS_NETSCAPE, IDC_STATUS_JAVA,
                                              IDC_STATUS_DRIVER};

// The choice boxes, in the order a run reads and then freezes them.
const int kChoiceBoxes[] = {IDC_CHK_IE, IDC_CHK_NETSCAPE, IDC_CHK_JAVA, IDC_CHK_DRIVER};

struct Choices {
    bool ie;
    bool netscape;
    bool javaPlugin;
    bool readerDriver;
};

// The one dialog of the process owns these for its lifetime.
InstallStepTable steps = kInstallSteps;
DialogState dialogState = BeforeInstall;
int collapsedHeight = 0;
int fullHeight = 0;
// Set while the Install command runs the steps. A step's conflict prompt has
// no owner, so the dialog's commands still arrive while it is open.
bool runInProgress = false;

bool IsChecked(HWND dialog, int id) { return IsDlgButtonChecked(dialog, id) != BST_UNCHECKED; }

// Keeps the window's current left and top edges and width.
void ResizeTo(HWND dialog, int height) {
    RECT window;
    GetWindowRect(dialog, &window);
    MoveWindow(dialog, window.left, window.top, window.right - window.left, height, TRUE);
}

void SetResultViewCaptions(HWND dialog) {
    char caption[kCaptionCapacity];
    /* result not examined: */ FormatText(caption, sizeof caption, kToggleFormat,
                                          dialogState != DetailsShown ? kShowDetails : kHideDetails);
    SetDlgItemTextA(dialog, IDOK, caption);
    SetDlgItemTextA(dialog, IDCANCEL, kCloseCaption);
}

void Initialise(HWND dialog) {
    SetFocus(GetDlgItem(dialog, IDOK));

    char caption[kCaptionCapacity];
    /* result not examined: */ FormatText(caption, sizeof caption, kCaptionFormat, kVersionMajor, kVersionMinor);
    SetWindowTextA(dialog, caption);

    // The window opens collapsed, cut off at the details panel's top edge,
    // which lies below every other control.
    RECT panel;
    RECT window;
    GetWindowRect(GetDlgItem(dialog, IDC_DETAILS), &panel);
    GetWindowRect(dialog, &window);
    fullHeight = window.bottom - window.top;
    collapsedHeight = panel.top - window.top;
    ResizeTo(dialog, collapsedHeight);

    dialogState = BeforeInstall;
    runInProgress = false;
    CheckDlgButton(dialog, IDC_CHK_DRIVER, BST_CHECKED);
    CheckDlgButton(dialog, IDC_CHK_JAVA, BST_CHECKED);
    // The driver's label takes the reader list's place after the run.
    ShowWindow(GetDlgItem(dialog, IDC_STATUS_DRIVER), SW_HIDE);

    HWND readerList = GetDlgItem(dialog, IDC_READER_MODEL);
    for (const ReaderModel &model : ReaderModelTable)
        SendMessageA(readerList, CB_ADDSTRING, 0, reinterpret_cast<LPARAM>(model.displayName));
    SendMessageA(readerList, CB_SETCURSEL, 0, 0);
}

// Runs the chosen steps in their fixed order. An Abort answered in a
// component step's conflict prompt ends the run there.
void RunSteps(HWND dialog, const Choices &choices, RunOutcome *outcome) {
    int *results = outcome->results;
    char(*messages)[kStepMessageCapacity] = outcome->messages;

    results[kOldOcfStep] = steps.removeOldOcf(messages[kOldOcfStep], kStepMessageCapacity);
    if (choices.ie) {
        results[kIeStep] = steps.installIeComponents(messages[kIeStep], kStepMessageCapacity);
        if (results[kIeStep] == kStepAborted) return;
    }
    if (choices.netscape) {
        results[kNetscapeStep] = steps.installNetscapeComponents(messages[kNetscapeStep], kStepMessageCapacity);
        if (results[kNetscapeStep] == kStepAborted) return;
    }
    if (choices.javaPlugin) {
        results[kJavaPluginStep] = steps.installJavaPluginComponents(messages[kJavaPluginStep], kStepMessageCapacity);
        if (results[kJavaPluginStep] == kStepAborted) return;
    }
    if (!choices.readerDriver) return;

    int model = static_cast<int>(SendMessageA(GetDlgItem(dialog, IDC_READER_MODEL), CB_GETCURSEL, 0, 0));
    if (model < 0 || model >= kReaderModelCount) {
        results[kReaderDriverStep] = kStepError;
        WriteStepMessage(messages[kReaderDriverStep], kStepMessageCapacity, kReaderOutOfRange);
        return;
    }
    results[kReaderDriverStep] = steps.installReaderDriver(ReaderModelTable[model].driverCode,
                                                           messages[kReaderDriverStep], kStepMessageCapacity);
}

void ShowOutcome(HWND dialog, const RunOutcome &outcome) {
    DetailsReport report;
    ComposeDetailsReport(outcome, &report);
    for (int step = 0; step < kInstallStepCount; ++step)
        if (report.statusLabels[step]) SetDlgItemTextA(dialog, kStatusLabels[step], report.statusLabels[step]);
    SetDlgItemTextA(dialog, IDC_DETAILS, report.text);
}

// An installation runs once per dialog: afterwards the choices stay as they
// were run, and the Install button shows and hides the details instead.
void EnterResultView(HWND dialog) {
    for (int id : kChoiceBoxes) EnableWindow(GetDlgItem(dialog, id), FALSE);
    ShowWindow(GetDlgItem(dialog, IDC_READER_MODEL), SW_HIDE);
    ShowWindow(GetDlgItem(dialog, IDC_STATUS_DRIVER), SW_SHOW);
    dialogState = DetailsHidden;
    SetResultViewCaptions(dialog);
}

void Install(HWND dialog) {
    Choices choices = {IsChecked(dialog, IDC_CHK_IE), IsChecked(dialog, IDC_CHK_NETSCAPE),
                       IsChecked(dialog, IDC_CHK_JAVA), IsChecked(dialog, IDC_CHK_DRIVER)};
    HCURSOR previousCursor = SetCursor(LoadCursorA(nullptr, IDC_WAIT));

    RunOutcome outcome;
    StartRunOutcome(&outcome);
    runInProgress = true;
    RunSteps(dialog, choices, &outcome);
    runInProgress = false;

    ShowOutcome(dialog, outcome);
    SetCursor(previousCursor);
    EnterResultView(dialog);
}

void ToggleDetails(HWND dialog) {
    if (dialogState != DetailsShown) {
        ResizeTo(dialog, fullHeight);
        dialogState = DetailsShown;
    } else {
        ResizeTo(dialog, collapsedHeight);
        dialogState = DetailsHidden;
    }
    SetResultViewCaptions(dialog);
}

void Close(HWND dialog) {
    if (dialogState != BeforeInstall) MessageBoxA(dialog, kRestartNotice, kRestartCaption, MB_OK);
    EndDialog(dialog, 0);
}

} // namespace

void UseInstallSteps(const InstallStepTable &table) { steps = table; }

INT_PTR CALLBACK InstallerDialogProc(HWND dialog, UINT message, WPARAM wParam, LPARAM) {
    switch (message) {
    case WM_INITDIALOG: Initialise(dialog); return FALSE; // the focus is set already
    case WM_COMMAND:
        switch (LOWORD(wParam)) {
        case IDOK:
            // No second run nested in the one whose prompt is open.
            if (runInProgress) return FALSE;
            if (dialogState == BeforeInstall)
                Install(dialog);
            else
                ToggleDetails(dialog);
            return FALSE;
        case IDCANCEL:
            // Cancel, Escape or the close box must not end the dialog under
            // a running step; they are ignored until the run is over.
            if (!runInProgress) Close(dialog);
            return TRUE;
        }
        return FALSE;
    }
    return FALSE;
}
