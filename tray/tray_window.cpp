#include "tray/tray_window.h"
#include <windowsx.h>
#include "apps/tv_app_table.h"
#include "platform/effects.h"
#include "platform/product_texts.h"
#include "receiver/receiver.h"
#include "res/resource.h"
#include "routing/pointer.h"
#include "routing/session_gate.h"
#include "tray/dialogs.h"
#include "tray/recovery.h"
#include "tray/settings.h"
#include "tray/tray_icon.h"

HINSTANCE appInstance = NULL;
HWND trayWindow = NULL;
int deviceFound = 1;
HMENU popupMenu = NULL;

namespace {

void QuitFromTray(HWND window) {
    StopSessionGate(window);
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
    StartSessionGate(window);
    AddTrayIcon(window, kTrayIconId, LoadTrayIcon(appInstance, IDI_TELVIX), kTelvixCaption);
    return TRUE;
}

void OnDisplayChange(HWND, UINT, UINT width, UINT height) {
    UpdateScreenMetrics((int)width, (int)height);
}

void OnCommand(HWND window, int id, HWND control, UINT notification) {
    switch (id) {
    case IDM_ABOUT: ShowAboutDialog(window); return;
    case IDM_SETTING: ShowSettingDialog(window); return;
    case IDM_QUIT:
    case IDM_EXIT: QuitFromTray(window); return;
    default: break;
    }
    for (const TvApp *app : kTvApps) {
        if (app->menuCommand == (UINT)id) {
            SelectTvApp(*app);
            defaultTvApp = app->id;
            return;
        }
    }
    FORWARD_WM_COMMAND(window, id, control, notification, DefWindowProcA);
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
                           kTelvixCaption, MB_SETFOREGROUND | MB_TOPMOST);
            QuitFromTray(window);
        }
        break;
    default: break;
    }
}

// Broadcast by the shell when its taskbar is created anew (Explorer crashed
// or was restarted): every program must add its tray icon again.
UINT TaskbarCreatedMessage() {
    static const UINT message = RegisterWindowMessageA(kTaskbarCreatedMessageName);
    return message;
}

} // namespace

HMENU BuildPopupMenu() {
    if (popupMenu) DestroyMenu(popupMenu);
    popupMenu = CreatePopupMenu();
    for (const TvApp *app : kTvApps) {
        if (defaultTvApp == app->id && IsInstalled(app->id)) {
            UINT check = IsRunning(app->id) ? MF_CHECKED : MF_UNCHECKED;
            AppendMenuA(popupMenu, check, app->menuCommand, app->identity.name);
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
    // A registered message, so no case of the switch.
    if (message == TaskbarCreatedMessage() && message != 0) {
        RestoreTrayIcon();
        return 0;
    }
    switch (message) {
        HANDLE_MSG(window, WM_CREATE, OnCreate);
    // Not through windowsx.h's cracker, which takes the height from wParam.
    case WM_DISPLAYCHANGE: OnDisplayChange(window, (UINT)wParam, LOWORD(lParam), HIWORD(lParam)); return 0;
        HANDLE_MSG(window, WM_COMMAND, OnCommand);
        HANDLE_MSG(window, WM_DESTROY, QuitFromTray);
    case WM_TRAY_CALLBACK: OnTrayCallback(window, lParam); return 0;
    case WM_WTSSESSION_CHANGE: NoteSessionChange(wParam); return 0;
    case WM_DEVICECHANGE:
        OnDeviceNotice(window, DeviceChangeNotice(wParam, (const DEV_BROADCAST_HDR *)lParam));
        return TRUE;
    case WM_POWERBROADCAST: OnDeviceNotice(window, PowerNotice(wParam)); return TRUE;
    case WM_RECEIVER_LOST: OnReceiverLost(window); return 0;
    default: return DefWindowProcA(window, message, wParam, lParam);
    }
}
