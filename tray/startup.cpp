// Start-up of the tray program, in its fixed order, and the message loop.
#include <objbase.h>
#include "apps/timers.h"
#include "platform/locale.h"
#include "platform/product_texts.h"
#include "platform/trace.h"
#include "platform/window_search.h"
#include "platform/windows_dir.h"
#include "receiver/receiver.h"
#include "res/resource.h"
#include "routing/poll_cycle.h"
#include "tray/key_display.h"
#include "tray/recovery.h"
#include "tray/settings.h"
#include "tray/shutdown_prompt.h"
#include "tray/tray_icon.h"
#include "tray/tray_window.h"

namespace {

// The competing manager starts from this shortcut; removing it keeps it from
// grabbing the remote at the next log-on.
void DeleteWinCinemaShortcut() {
    char path[MAX_PATH];
    if (WindowsDirPath("\\Start Menu\\Programs\\StartUp\\InterVideo WinCinema Manager.lnk", path, sizeof path))
        DeleteFileA(path);
}

void CloseCompetingPrograms() {
    if (HWND manager = FindWindowByTitlePrefix("InterVideo WinCinema Manager")) {
        PostMessageA(manager, WM_COMMAND, 57665, 0);
        PostMessageA(manager, WM_CLOSE, 0, 0);
        PostMessageA(manager, WM_DESTROY, 0, 0);
    }
    if (HWND remote = FindWindowByTitlePrefix("Tuner Remote Control")) {
        PostMessageA(remote, WM_CLOSE, 0, 0);
        PostMessageA(remote, WM_DESTROY, 0, 0);
    }
}

// Copies started at the same instant all pass the window checks below, as
// none has its window yet. The first to create this name in the session
// holds it until its message loop ends; the others see it already there. Without
// it (the name taken by another kind of object) the window checks decide.
HANDLE instanceMutex = NULL;

bool AnotherCopyStarting() {
    instanceMutex = CreateMutexA(NULL, FALSE, kInstanceMutexName);
    return instanceMutex != NULL && GetLastError() == ERROR_ALREADY_EXISTS;
}

// The tray window's class, from the resources like its title.
void LoadTrayClass(HINSTANCE instance, char *className, int size) {
    className[0] = '\0';
    LoadStringA(instance, IDS_TRAY_CLASS, className, size);
}

bool AnotherRemoteRuns(HINSTANCE instance) {
    char className[100];
    LoadTrayClass(instance, className, sizeof className);
    return FindWindowA("Tarnel Remote Control", NULL) || (className[0] && FindWindowA(className, NULL));
}

// Read before anything else, so the binding and the settings are traced.
void StartTraceFromSettings() {
    char folder[MAX_PATH];
    if (ReadTraceSetting() && DefaultTraceFolder(folder, sizeof folder)) StartTrace(folder);
    Trace("start: Telvix, process %lu", (unsigned long)GetCurrentProcessId());
}

// Everything from the tray window's creation to the end of the message loop.
void RunTrayProgram(HINSTANCE instance) {
    char title[100], className[100];
    title[0] = className[0] = '\0';
    LoadStringA(instance, IDS_TRAY_TITLE, title, sizeof title);
    LoadTrayClass(instance, className, sizeof className);

    WNDCLASSEXA wc = {};
    wc.cbSize = sizeof wc;
    wc.style = CS_HREDRAW | CS_VREDRAW;
    wc.lpfnWndProc = TrayWindowProc;
    wc.hInstance = instance;
    wc.hIcon = LoadIconA(instance, MAKEINTRESOURCEA(IDI_TELVIX));
    wc.hIconSm = LoadTrayIcon(instance, IDI_TELVIX);
    wc.hCursor = LoadCursorA(NULL, IDC_ARROW);
    wc.hbrBackground = (HBRUSH)(COLOR_WINDOW + 1);
    wc.lpszClassName = className;
    RegisterClassExA(&wc);

    appInstance = instance;
    HWND window = CreateWindowExA(0, className, title, WS_OVERLAPPEDWINDOW, CW_USEDEFAULT, 0, CW_USEDEFAULT, 0,
                                  NULL, NULL, instance, NULL);
    if (!window) return;
    trayWindow = window;
    LoadSettings();
    onScreenDisplay = ReadOnScreenDisplaySetting();
    Trace("settings: OnScreenDisplay %d", onScreenDisplay);
    if (alwaysRemoteOff) {
        Trace("start: AlwaysRemoteOff is 1, ending");
        // Leave no dead icon behind in the tray.
        RemoveTrayIcon(trayWindow, kTrayIconId);
        return;
    }

    ShowWindow(trayWindow, SW_HIDE);
    UpdateWindow(trayWindow);
    WatchCaptureDevices(trayWindow);
    if (deviceFound) StartRemote(trayWindow);
    else StartRebinding(trayWindow);

    HACCEL accelerators = LoadAcceleratorsA(instance, MAKEINTRESOURCEA(IDR_ACCELERATORS));
    MSG msg;
    while (GetMessageA(&msg, NULL, 0, 0) > 0) {
        // Both act on keyboard messages only; the poll's timer messages,
        // fifteen a second, skip them.
        bool key = msg.message >= WM_KEYFIRST && msg.message <= WM_KEYLAST;
        if (key && TranslateAcceleratorA(msg.hwnd, accelerators, &msg)) continue;
        if (key) TranslateMessage(&msg);
        DispatchMessageA(&msg);
    }
    StopWatchingCaptureDevices();
    // Exit from the menu ends the loop with the window still there, and a new
    // copy would take that window for a running one.
    if (IsWindow(trayWindow)) DestroyWindow(trayWindow);
}

} // namespace

void StartRemote(HWND window) {
    StartPolling(window);
    DetermineJapanLayout();
    AppWatchTimer.bind(window, kAppWatchPeriodMs);
    AppWatchTimer.disarm();
}

int RunTelvix(HINSTANCE instance) {
    StartTraceFromSettings();
    openShutdownPrompt = ShowShutdownPrompt;
    showKeyOutcome = ShowKeyOutcome;
    DeleteWinCinemaShortcut();
    CloseCompetingPrograms();
    if (AnotherCopyStarting() || AnotherRemoteRuns(instance)) {
        Trace("start: another remote program runs, ending");
    } else {
        // One apartment for the thread that binds and polls the card, however
        // often the card is bound again; balanced once it is let go.
        HRESULT com = CoInitialize(NULL);
        if (FAILED(com)) Trace("start: no COM (0x%08lX)", (unsigned long)com);
        RunTrayProgram(instance);
        CloseReceiver();
        if (SUCCEEDED(com)) CoUninitialize();
    }
    // Free the name as soon as the loop has ended, not when the process has:
    // a copy started right after Exit must not take this one for running.
    if (instanceMutex) CloseHandle(instanceMutex);
    instanceMutex = NULL;
    // Every way out is a quit request of ours, or a refusal, with code 0.
    return 0;
}
