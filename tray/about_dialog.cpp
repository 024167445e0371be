#include "res/resource.h"
#include "tray/dialog_placement.h"
#include "tray/dialogs.h"
#include "tray/tray_dialog.h"

namespace {

BOOL OnAboutInitDialog(HWND dialog, HWND, LPARAM) {
    PlaceDialog(dialog);
    return TRUE;
}

bool OnAboutCommand(HWND dialog, int id) {
    if (id != IDOK && id != IDCANCEL) return false;
    EndDialog(dialog, id);
    return true;
}

} // namespace

INT_PTR CALLBACK AboutDialogProc(HWND dialog, UINT message, WPARAM wParam, LPARAM lParam) {
    return CrackDialogMessage<OnAboutInitDialog, OnAboutCommand>(dialog, message, wParam, lParam);
}

void ShowAboutDialog(HWND owner) { RunTrayDialog(owner, IDD_ABOUT, AboutDialogProc); }
