#include "tray/tray_icon.h"
#include "platform/effects.h"
#include "platform/trace.h"

NOTIFYICONDATAA trayIconData;

// The icon data in its original 88-byte form (cbSize up to szTip[64]).
static_assert(NOTIFYICONDATAA_V1_SIZE == (sizeof(void *) == 4 ? 88 : 88 + 2 * 4 + 8),
              "88-byte NOTIFYICONDATAA on the 32-bit build");

namespace {

int addAttempts = 0;

void CALLBACK RetryAdd(HWND, UINT, UINT_PTR, DWORD);

// A timed-out NIM_ADD may have added the icon all the same: then the next
// NIM_ADD is refused and NIM_MODIFY works, and either means it is there.
void AddIconNow() {
    HWND window = trayIconData.hWnd;
    if (!window) return;
    ++addAttempts;
    bool shown = fx.Shell_NotifyIconA(NIM_ADD, &trayIconData) ||
                 (addAttempts > 1 && fx.Shell_NotifyIconA(NIM_MODIFY, &trayIconData));
    if (!shown || addAttempts > 1) Trace("start: tray icon %s at attempt %d", shown ? "shown" : "refused", addAttempts);
    if (shown || addAttempts >= kTrayIconAttempts) KillTimer(window, kTrayIconTimerId);
    else if (addAttempts == 1) SetTimer(window, kTrayIconTimerId, kTrayIconRetryMs, RetryAdd);
}

void CALLBACK RetryAdd(HWND, UINT, UINT_PTR, DWORD) { AddIconNow(); }

void AddIconAgain() {
    if (trayIconData.hWnd) KillTimer(trayIconData.hWnd, kTrayIconTimerId);
    addAttempts = 0;
    AddIconNow();
}

} // namespace

HICON LoadTrayIcon(HINSTANCE instance, int resource) {
    // The image made for the size, not the 32-pixel one scaled down; shared,
    // so it is never destroyed.
    return (HICON)LoadImageA(instance, MAKEINTRESOURCEA(resource), IMAGE_ICON, GetSystemMetrics(SM_CXSMICON),
                             GetSystemMetrics(SM_CYSMICON), LR_SHARED);
}

void AddTrayIcon(HWND window, UINT id, HICON icon, const char *tip) {
    ZeroMemory(&trayIconData, sizeof trayIconData);
    trayIconData.cbSize = NOTIFYICONDATAA_V1_SIZE;
    trayIconData.hWnd = window;
    trayIconData.uID = id;
    trayIconData.uFlags = NIF_MESSAGE | NIF_ICON | NIF_TIP;
    trayIconData.uCallbackMessage = WM_TRAY_CALLBACK;
    trayIconData.hIcon = icon;
    lstrcpynA(trayIconData.szTip, tip ? tip : "", 64);
    AddIconAgain();
}

void RestoreTrayIcon() { AddIconAgain(); }

void RemoveTrayIcon(HWND window, UINT id) {
    NOTIFYICONDATAA data;
    ZeroMemory(&data, sizeof data);
    data.cbSize = NOTIFYICONDATAA_V1_SIZE;
    data.hWnd = window;
    data.uID = id;
    fx.Shell_NotifyIconA(NIM_DELETE, &data);
    // A removed icon is never brought back by a restarting shell, nor by a retry.
    if (trayIconData.hWnd == window && trayIconData.uID == id) {
        KillTimer(window, kTrayIconTimerId);
        trayIconData.hWnd = NULL;
    }
}

void RefreshTrayIcon() {
    fx.Shell_NotifyIconA(NIM_MODIFY, &trayIconData);
}
