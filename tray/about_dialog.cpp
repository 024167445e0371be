#include "res/resource.h"
#include "tray/dialog_placement.h"
#include "tray/dialogs.h"
#include "tray/tray_dialog.h"

namespace {

BOOL OnAboutInitDialog(HWND dialog, HWND, LPARAM) {
    PlaceDialog(dialog);
    return TRUE;
}

void OnAboutCommand(HWND dialog, int id, HWND, UINT) {
    if (id == IDOK || id == IDCANCEL) EndDialog(dialog, id);
}

} // namespace

INT_PTR CALLBACK AboutDialogProc(HWND dialog, UINT message, WPARAM wParam, LPARAM lParam) {
    return CrackDialogMessage<OnAboutInitDialog, OnAboutCommand>(dialog, message, wParam, lParam);
}

void ShowAboutDialog(HWND owner) { RunTrayDialog(owner, IDD_ABOUT, AboutDialogProc); }
