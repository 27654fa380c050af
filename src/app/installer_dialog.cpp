#include "app/installer_dialog.h"

#include "app/details_report.h"
#include "app/installer_modes.h"
#include "app/reader_models.h"
#include "app/run_outcome_log.h"
#include "app/version.h"
#include "fileops/bounded_text.h"
#include "res/resource.h"

namespace {

enum DialogState { BeforeInstall, DetailsShown, DetailsHidden };

const char kCaptionFormat[] = "Instalator czytnika kart mikroproc. [v%d.%d]";
const char kToggleFormat[] = "&Szczegóły %s";
const char kShowDetails[] = ">>";
const char kHideDetails[] = "<<";
const char kCloseCaption[] = "&Zamknij";
const char kRestartNotice[] = "Dla poprawnego zakończenia instalacji konieczne jest zrestartowanie komputera.";
const char kRestartCaption[] = "Info";
const int kCaptionCapacity = 64; // room for either caption

// The one dialog of the process owns these for its lifetime.
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

void Initialise(HWND dialog, const InstallChoices &choices) {
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
    for (const InstallStepRow &row : kInstallStepTable)
        if (row.choiceBox && choices.chosen[row.step]) CheckDlgButton(dialog, row.choiceBox, BST_CHECKED);
    // The driver's label takes the reader list's place after the run.
    ShowWindow(GetDlgItem(dialog, IDC_STATUS_DRIVER), SW_HIDE);

    HWND readerList = GetDlgItem(dialog, IDC_READER_MODEL);
    for (const ReaderModel &model : ReaderModelTable)
        SendMessageA(readerList, CB_ADDSTRING, 0, reinterpret_cast<LPARAM>(model.displayName));
    SendMessageA(readerList, CB_SETCURSEL, static_cast<WPARAM>(choices.readerModel), 0);
}

// The choices as they stand when Install is pressed; the run reads nothing
// of the dialog after this.
InstallChoices ReadChoices(HWND dialog) {
    InstallChoices choices = {};
    for (const InstallStepRow &row : kInstallStepTable)
        if (row.choiceBox) choices.chosen[row.step] = IsChecked(dialog, row.choiceBox);
    choices.readerModel = static_cast<int>(SendMessageA(GetDlgItem(dialog, IDC_READER_MODEL), CB_GETCURSEL, 0, 0));
    return choices;
}

// The choice controls, in the order the run reads them.
void EnableChoices(HWND dialog, BOOL enable) {
    for (const InstallStepRow &row : kInstallStepTable)
        if (row.choiceBox) EnableWindow(GetDlgItem(dialog, row.choiceBox), enable);
    EnableWindow(GetDlgItem(dialog, IDC_READER_MODEL), enable);
}

void ShowOutcome(HWND dialog, const RunOutcome &outcome) {
    DetailsReport report;
    ComposeDetailsReport(outcome, &report);
    for (const InstallStepRow &row : kInstallStepTable)
        if (report.statusLabels[row.step]) SetDlgItemTextA(dialog, row.statusLabel, report.statusLabels[row.step]);
    SetDlgItemTextA(dialog, IDC_DETAILS, report.text);
}

// An installation runs once per dialog: afterwards the choices stay as they
// were run (disabled since the run started), and the Install button shows
// and hides the details instead.
void EnterResultView(HWND dialog) {
    ShowWindow(GetDlgItem(dialog, IDC_READER_MODEL), SW_HIDE);
    ShowWindow(GetDlgItem(dialog, IDC_STATUS_DRIVER), SW_SHOW);
    dialogState = DetailsHidden;
    SetResultViewCaptions(dialog);
}

void Install(HWND dialog) {
    InstallChoices choices = ReadChoices(dialog);
    HCURSOR previousCursor = SetCursor(LoadCursorA(nullptr, IDC_WAIT));

    // A step's conflict prompt has no owner, so the user could still change
    // the choices while it is open: they stay as the run was started with.
    EnableChoices(dialog, FALSE);
    RunOutcome outcome;
    StartRunOutcome(&outcome);
    runInProgress = true;
    RunInstallation(choices, &outcome);
    runInProgress = false;
    LogRunOutcome(outcome);
    if (outcome.refusedPayload[0] != '\0') TellPayloadRefused(dialog, outcome.refusedPayload);

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

INT_PTR CALLBACK InstallerDialogProc(HWND dialog, UINT message, WPARAM wParam, LPARAM lParam) {
    switch (message) {
    case WM_INITDIALOG: {
        const InstallChoices *given = reinterpret_cast<const InstallChoices *>(lParam);
        Initialise(dialog, given ? *given : DefaultChoices());
        return FALSE; // the focus is set already
    }
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
