#include "tray/tray_window.h"
#include <windowsx.h>
#include "apps/tv_app.h"
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

struct AppMenuEntry {
    int tvAppId;
    UINT command;
};

const AppMenuEntry kAppMenuEntries[] = {
    {kHomeTheater, IDM_HOME_THEATER},
    {kPowerVcr, IDM_POWERVCR},
    {kQuickTv, IDM_QUICK_TV},
    {kTvAnywhere, IDM_TV_ANYWHERE},
};

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

void OnDestroy(HWND window) {
    RemoveTrayIcon(window, kTrayIconId);
    PostQuitMessage(0);
}

// Returns false for commands that are not ours.
bool OnCommand(HWND window, int id) {
    switch (id) {
    case IDM_ABOUT: ShowAboutDialog(window); return true;
    case IDM_SETTING: ShowSettingDialog(window); return true;
    case IDM_QUIT:
    case IDM_EXIT: QuitFromTray(window); return true;
    case IDM_HOME_THEATER: SelectHomeTheater(); defaultTvApp = kHomeTheater; return true;
    case IDM_POWERVCR: SelectPowerVcr(); defaultTvApp = kPowerVcr; return true;
    case IDM_QUICK_TV: SelectQuickTv(); defaultTvApp = kQuickTv; return true;
    case IDM_TV_ANYWHERE: SelectTvAnywhere(); defaultTvApp = kTvAnywhere; return true;
    default: return false;
    }
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
    for (const AppMenuEntry &entry : kAppMenuEntries) {
        if (defaultTvApp == entry.tvAppId && IsInstalled(entry.tvAppId)) {
            UINT check = IsRunning(entry.tvAppId) ? MF_CHECKED : MF_UNCHECKED;
            AppendMenuA(popupMenu, check, entry.command, TvAppName(entry.tvAppId));
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
    case WM_DESTROY: OnDestroy(window); return 0;
    case WM_TRAY_CALLBACK: OnTrayCallback(window, lParam); return 0;
    default: break;
    }
    return DefWindowProcA(window, message, wParam, lParam);
}
