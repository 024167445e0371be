#include "res/resource.h"
#include "tray/dialog_placement.h"
#include "tray/dialogs.h"
#include "tray/tray_window.h"

namespace {

BOOL OnAboutInitDialog(HWND dialog) {
    PlaceDialog(dialog);
    return TRUE;
}

BOOL OnAboutCommand(HWND dialog, int id) {
    if (id != IDOK && id != IDCANCEL) return FALSE;
    EndDialog(dialog, id);
    return TRUE;
}

} // namespace

INT_PTR CALLBACK AboutDialogProc(HWND dialog, UINT message, WPARAM wParam, LPARAM) {
    switch (message) {
    case WM_INITDIALOG: return OnAboutInitDialog(dialog);
    case WM_COMMAND: return OnAboutCommand(dialog, LOWORD(wParam));
    default: return FALSE;
    }
}

void ShowAboutDialog(HWND owner) {
    DialogBoxParamA(appInstance, MAKEINTRESOURCEA(IDD_ABOUT), owner, AboutDialogProc, 0);
}
