// The tray icon of the TrayWindow.
#pragma once
#include <windows.h>
#include <shellapi.h>

const UINT kTrayIconId = 10;
const UINT WM_TRAY_CALLBACK = 1001;

extern NOTIFYICONDATAA trayIconData; // kept for NIM_MODIFY

void AddTrayIcon(HWND window, UINT id, HICON icon, const char *tip);
void RemoveTrayIcon(HWND window, UINT id);
// Adds the icon again with the same data, unless it was removed: a restarted
// shell's tray has forgotten it.
void RestoreTrayIcon();
// Re-applies icon and tip.
void RefreshTrayIcon();
