// The About and Setting dialogs of the tray menu.
#pragma once
#include <windows.h>

void ShowAboutDialog(HWND owner);
void ShowSettingDialog(HWND owner);
