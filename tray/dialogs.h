// The About and Setting dialogs of the tray menu.
#pragma once
#include <windows.h>

// The Setting list position kept for the whole process life across openings;
// -1 until the first opening.
extern int settingSelectionIndex;
// The text of the entry chosen when the Setting dialog was last confirmed.
extern char settingSelectionText[128];

void ShowAboutDialog(HWND owner);
void ShowSettingDialog(HWND owner);

INT_PTR CALLBACK AboutDialogProc(HWND dialog, UINT message, WPARAM wParam, LPARAM lParam);
INT_PTR CALLBACK SettingDialogProc(HWND dialog, UINT message, WPARAM wParam, LPARAM lParam);
