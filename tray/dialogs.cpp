// PLACEHOLDER until the dialogs land.
#include "tray/dialogs.h"
void ShowAboutDialog(HWND) {}
void ShowSettingDialog(HWND) {}
