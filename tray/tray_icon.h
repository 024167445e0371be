// The tray icon of the TrayWindow.
#pragma once
#include <windows.h>
#include <shellapi.h>
#include "platform/tray_window_ids.h"

const UINT kTrayIconId = 10;

extern NOTIFYICONDATAA trayIconData; // kept for NIM_MODIFY

// At logon the shell may not be ready, or Shell_NotifyIcon times out under
// load: a refused NIM_ADD is tried again this often, this many times (a shell
// that starts later announces itself with TaskbarCreated).
const UINT kTrayIconRetryMs = 2000;
const int kTrayIconAttempts = 30;

// The program's icon at the size the tray shows (the system's small icon).
HICON LoadTrayIcon(HINSTANCE instance, int resource);
void AddTrayIcon(HWND window, UINT id, HICON icon, const char *tip);
void RemoveTrayIcon(HWND window, UINT id);
// Adds the icon again with the same data, unless it was removed: a restarted
// shell's tray has forgotten it.
void RestoreTrayIcon();
// Re-applies icon and tip.
void RefreshTrayIcon();
