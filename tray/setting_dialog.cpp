#include <string.h>
#include "apps/tv_apps.h"
#include "res/resource.h"
#include "tray/dialog_placement.h"
#include "tray/dialogs.h"
#include "tray/settings.h"
#include "tray/tray_window.h"

int settingSelectionIndex = -1;
char settingSelectionText[128] = "";

namespace {

BOOL OnSettingInitDialog(HWND dialog) {
    PlaceDialog(dialog);
    SendDlgItemMessageA(dialog, IDC_DEFAULT_APP, CB_RESETCONTENT, 0, 0);
    int position = 0;
    for (const TvApp &app : kTvApps) {
        if (!IsInstalled(app.id)) continue;
        SendDlgItemMessageA(dialog, IDC_DEFAULT_APP, CB_ADDSTRING, 0, (LPARAM)app.identity.name);
        if (app.id == defaultTvApp) settingSelectionIndex = position;
        ++position;
    }
    // A default that is not installed keeps the position of the last opening.
    if (settingSelectionIndex == -1) settingSelectionIndex = 0;
    SendDlgItemMessageA(dialog, IDC_DEFAULT_APP, CB_SETCURSEL, (WPARAM)settingSelectionIndex, 0);
    return TRUE;
}

// The application whose entry text is `text`, or 0: the confirmed choice is
// matched against the entries' names.
int TvAppIdForEntryText(const char *text) {
    for (const TvApp &app : kTvApps)
        if (strcmp(text, app.identity.name) == 0) return app.id;
    return 0;
}

void OnSettingOk(HWND dialog) {
    settingSelectionIndex = (int)SendDlgItemMessageA(dialog, IDC_DEFAULT_APP, CB_GETCURSEL, 0, 0);
    // Nothing selected must match nothing, not the text of an earlier choice.
    settingSelectionText[0] = '\0';
    if (settingSelectionIndex >= 0) {
        LRESULT length =
            SendDlgItemMessageA(dialog, IDC_DEFAULT_APP, CB_GETLBTEXTLEN, (WPARAM)settingSelectionIndex, 0);
        if (length >= 0 && length < (LRESULT)sizeof settingSelectionText)
            SendDlgItemMessageA(dialog, IDC_DEFAULT_APP, CB_GETLBTEXT, (WPARAM)settingSelectionIndex,
                                (LPARAM)settingSelectionText);
    }
    int chosen = TvAppIdForEntryText(settingSelectionText);
    if (chosen != 0 && chosen != defaultTvApp) {
        defaultTvApp = chosen;
        SaveSettings();
    }
    EndDialog(dialog, IDOK);
}

BOOL OnSettingCommand(HWND dialog, int id) {
    switch (id) {
    case IDOK: OnSettingOk(dialog); return TRUE;
    case IDCANCEL: EndDialog(dialog, IDCANCEL); return TRUE;
    default: return FALSE;
    }
}

} // namespace

INT_PTR CALLBACK SettingDialogProc(HWND dialog, UINT message, WPARAM wParam, LPARAM) {
    switch (message) {
    case WM_INITDIALOG: return OnSettingInitDialog(dialog);
    case WM_COMMAND: return OnSettingCommand(dialog, LOWORD(wParam));
    default: return FALSE;
    }
}

void ShowSettingDialog(HWND owner) {
    DialogBoxParamA(appInstance, MAKEINTRESOURCEA(IDD_SETTING), owner, SettingDialogProc, 0);
}
