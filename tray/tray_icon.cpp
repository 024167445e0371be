#include "tray/tray_icon.h"
#include "platform/effects.h"

NOTIFYICONDATAA trayIconData;

// The icon data in its original 88-byte form (cbSize up to szTip[64]).
static_assert(NOTIFYICONDATAA_V1_SIZE == (sizeof(void *) == 4 ? 88 : 88 + 2 * 4 + 8),
              "88-byte NOTIFYICONDATAA on the 32-bit build");

void AddTrayIcon(HWND window, UINT id, HICON icon, const char *tip) {
    ZeroMemory(&trayIconData, sizeof trayIconData);
    trayIconData.cbSize = NOTIFYICONDATAA_V1_SIZE;
    trayIconData.hWnd = window;
    trayIconData.uID = id;
    trayIconData.uFlags = NIF_MESSAGE | NIF_ICON | NIF_TIP;
    trayIconData.uCallbackMessage = WM_TRAY_CALLBACK;
    trayIconData.hIcon = icon;
    lstrcpynA(trayIconData.szTip, tip ? tip : "", 64);
    fx.Shell_NotifyIconA(NIM_ADD, &trayIconData);
}

void RestoreTrayIcon() {
    if (trayIconData.hWnd) fx.Shell_NotifyIconA(NIM_ADD, &trayIconData);
}

void RemoveTrayIcon(HWND window, UINT id) {
    NOTIFYICONDATAA data;
    ZeroMemory(&data, sizeof data);
    data.cbSize = NOTIFYICONDATAA_V1_SIZE;
    data.hWnd = window;
    data.uID = id;
    fx.Shell_NotifyIconA(NIM_DELETE, &data);
    // A removed icon is never brought back by a restarting shell.
    if (trayIconData.hWnd == window && trayIconData.uID == id) trayIconData.hWnd = NULL;
}

void RefreshTrayIcon() {
    fx.Shell_NotifyIconA(NIM_MODIFY, &trayIconData);
}
