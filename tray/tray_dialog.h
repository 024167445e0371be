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

template <BOOL (*OnInitDialog)(HWND dialog, HWND focus, LPARAM), void (*OnCommand)(HWND dialog, int id, HWND, UINT)>
INT_PTR CrackDialogMessage(HWND dialog, UINT message, WPARAM wParam, LPARAM lParam) {
    switch (message) {
        HANDLE_MSG(dialog, WM_INITDIALOG, OnInitDialog);
        HANDLE_MSG(dialog, WM_COMMAND, OnCommand);
    default: return FALSE;
    }
}
