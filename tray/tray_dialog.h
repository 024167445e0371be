// What the tray program's dialogs share: running one modally from the
// program's resources, and a dialog procedure that cracks the messages every
// one of them handles into typed handlers.
#pragma once
#include <windows.h>
#include <windowsx.h>
#include "tray/tray_window.h"

inline INT_PTR RunTrayDialog(HWND owner, int templateId, DLGPROC procedure) {
    return DialogBoxParamA(appInstance, MAKEINTRESOURCEA(templateId), owner, procedure, 0);
}

// OnCommand tells whether it handled the command: a dialog procedure returns
// TRUE for what it handled (windowsx's cracker for a void handler gives 0).
template <BOOL (*OnInitDialog)(HWND dialog, HWND focus, LPARAM), bool (*OnCommand)(HWND dialog, int id)>
INT_PTR CrackDialogMessage(HWND dialog, UINT message, WPARAM wParam, LPARAM lParam) {
    switch (message) {
        HANDLE_MSG(dialog, WM_INITDIALOG, OnInitDialog);
    case WM_COMMAND: return OnCommand(dialog, GET_WM_COMMAND_ID(wParam, lParam)) ? TRUE : FALSE;
    default: return FALSE;
    }
}
