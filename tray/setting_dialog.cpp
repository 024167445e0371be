#include <string.h>
#include "apps/tv_app_table.h"
#include "res/resource.h"
#include "tray/dialog_placement.h"
#include "tray/dialogs.h"
#include "tray/settings.h"
#include "tray/tray_dialog.h"

int settingSelectionIndex = -1;
char settingSelectionText[128] = "";

namespace {

BOOL OnSettingInitDialog(HWND dialog, HWND, LPARAM) {
    PlaceDialog(dialog);
    HWND list = GetDlgItem(dialog, IDC_DEFAULT_APP);
    ComboBox_ResetContent(list);
    int position = 0;
    for (const TvApp *app : kTvApps) {
        if (!IsInstalled(app->id)) continue;
        ComboBox_AddString(list, app->identity.name);
        if (app->id == defaultTvApp) settingSelectionIndex = position;
        ++position;
    }
    // A default that is not installed keeps the position of the last opening.
    if (settingSelectionIndex == -1) settingSelectionIndex = 0;
    ComboBox_SetCurSel(list, settingSelectionIndex);
    return TRUE;
}

// The application whose entry text is `text`, or 0: the confirmed choice is
// matched against the entries' names.
int TvAppIdForEntryText(const char *text) {
    for (const TvApp *app : kTvApps)
        if (strcmp(text, app->identity.name) == 0) return app->id;
    return 0;
}

void OnSettingOk(HWND dialog) {
    HWND list = GetDlgItem(dialog, IDC_DEFAULT_APP);
    settingSelectionIndex = ComboBox_GetCurSel(list);
    // Nothing selected must match nothing, not the text of an earlier choice.
    settingSelectionText[0] = '\0';
    if (settingSelectionIndex >= 0) {
        int length = ComboBox_GetLBTextLen(list, settingSelectionIndex);
        if (length >= 0 && length < (int)sizeof settingSelectionText)
            ComboBox_GetLBText(list, settingSelectionIndex, settingSelectionText);
    }
    int chosen = TvAppIdForEntryText(settingSelectionText);
    if (chosen != 0 && chosen != defaultTvApp) {
        defaultTvApp = chosen;
        SaveSettings();
    }
    EndDialog(dialog, IDOK);
}

bool OnSettingCommand(HWND dialog, int id) {
    switch (id) {
    case IDOK: OnSettingOk(dialog); return true;
    case IDCANCEL: EndDialog(dialog, IDCANCEL); return true;
    default: return false;
    }
}

} // namespace

INT_PTR CALLBACK SettingDialogProc(HWND dialog, UINT message, WPARAM wParam, LPARAM lParam) {
    return CrackDialogMessage<OnSettingInitDialog, OnSettingCommand>(dialog, message, wParam, lParam);
}

void ShowSettingDialog(HWND owner) { RunTrayDialog(owner, IDD_SETTING, SettingDialogProc); }
