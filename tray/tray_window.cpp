#include "tray/tray_window.h"
#include <windowsx.h>
#include "apps/tv_apps.h"
#include "platform/effects.h"
#include "platform/product.h"
#include "receiver/receiver.h"
#include "res/resource.h"
#include "routing/pointer.h"
#include "tray/dialogs.h"
#include "tray/settings.h"
#include "tray/tray_icon.h"

HINSTANCE appInstance = NULL;
HWND trayWindow = NULL;
int deviceFound = 1;
HMENU popupMenu = NULL;

namespace {

void QuitFromTray(HWND window) {
    RemoveTrayIcon(window, kTrayIconId);
    PostQuitMessage(0);
}

void ShowPopupMenu(HWND window) {
    POINT cursor = {0, 0};
    fx.GetCursorPos(&cursor);
    HMENU menu = BuildPopupMenu();
    SetForegroundWindow(trayWindow);
    TrackPopupMenu(menu, 0, cursor.x, cursor.y, 0, window, NULL);
}

BOOL OnCreate(HWND window, LPCREATESTRUCT) {
    if (!OpenReceiver()) deviceFound = 0;
    InitScreenMetrics();
    AddTrayIcon(window, kTrayIconId, LoadIconA(appInstance, MAKEINTRESOURCEA(IDI_TELVIX)), kTelvixCaption);
    return TRUE;
}

// Returns false for commands that are not ours.
bool OnCommand(HWND window, int id) {
    switch (id) {
    case IDM_ABOUT: ShowAboutDialog(window); return true;
    case IDM_SETTING: ShowSettingDialog(window); return true;
    case IDM_QUIT:
    case IDM_EXIT: QuitFromTray(window); return true;
    default: break;
    }
    for (const TvApp &app : kTvApps) {
        if (app.menuCommand == (UINT)id) {
            SelectTvApp(app);
            defaultTvApp = app.id;
            return true;
        }
    }
    return false;
}

void OnTrayCallback(HWND window, LPARAM event) {
    switch (event) {
    case WM_MOUSEMOVE: RefreshTrayIcon(); break;
    case WM_LBUTTONDOWN:
    case WM_RBUTTONDOWN:
        if (deviceFound) {
            ShowPopupMenu(window);
        } else {
            fx.MessageBoxA(NULL, "Can't find the Video Capture Filter.\n\nPlease check your hardware or drivers. ",
                           kTelvixCaption, MB_SETFOREGROUND);
            QuitFromTray(window);
        }
        break;
    default: break;
    }
}

} // namespace

HMENU BuildPopupMenu() {
    if (popupMenu) DestroyMenu(popupMenu);
    popupMenu = CreatePopupMenu();
    for (const TvApp &app : kTvApps) {
        if (defaultTvApp == app.id && IsInstalled(app.id)) {
            UINT check = IsRunning(app.id) ? MF_CHECKED : MF_UNCHECKED;
            AppendMenuA(popupMenu, check, app.menuCommand, app.identity.name);
        }
    }
    AppendMenuA(popupMenu, MF_SEPARATOR, 0, NULL);
    AppendMenuA(popupMenu, MF_STRING, IDM_SETTING, "Setting");
    AppendMenuA(popupMenu, MF_SEPARATOR, 0, NULL);
    AppendMenuA(popupMenu, MF_STRING, IDM_ABOUT, "About");
    AppendMenuA(popupMenu, MF_SEPARATOR, 0, NULL);
    AppendMenuA(popupMenu, MF_STRING, IDM_EXIT, "Exit");
    return popupMenu;
}

LRESULT CALLBACK TrayWindowProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
    switch (message) {
    case WM_CREATE: return OnCreate(window, (LPCREATESTRUCT)lParam) ? 0 : -1;
    case WM_DISPLAYCHANGE: UpdateScreenMetrics(wParam, lParam); return 0;
    case WM_COMMAND:
        if (OnCommand(window, LOWORD(wParam))) return 0;
        break;
    case WM_DESTROY: QuitFromTray(window); return 0;
    case WM_TRAY_CALLBACK: OnTrayCallback(window, lParam); return 0;
    default: break;
    }
    return DefWindowProcA(window, message, wParam, lParam);
}
