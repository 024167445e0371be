#include "tray/key_display.h"
#include <stdio.h>
#include "platform/effects.h"
#include "platform/locale.h"
#include "platform/monitor.h"
#include "platform/product_texts.h"
#include "routing/tray_hooks.h"
#include "tray/key_editor_notify.h"
#include "tray/settings.h"
#include "tray/tray_window.h"

int onScreenDisplay = kDisplayOff;

namespace {

const UINT_PTR kHideTimer = 1;
const BYTE kOpacity = 224; // of 255: the picture behind shows through a little

HWND display = NULL;
int dpi = 96;

DWORD settingRead;

void CALLBACK HideTimer(HWND window, UINT, UINT_PTR, DWORD) {
    KillTimer(window, kHideTimer);
    ShowWindow(window, SW_HIDE);
}

// A static control, as a window of its own, draws the text; under a class
// of our own name, so that it can be found.
bool CreateDisplay() {
    WNDCLASSA wc;
    if (!GetClassInfoA(NULL, "STATIC", &wc)) return false;
    wc.hInstance = GetModuleHandleA(NULL);
    wc.lpszClassName = kTelvixDisplayClass;
    RegisterClassA(&wc);
    // Owned by the hidden tray window: no taskbar button, whatever the shell.
    HWND owner = IsWindow(trayWindow) ? trayWindow : NULL;
    display = CreateWindowExA(WS_EX_TOPMOST | WS_EX_TOOLWINDOW | WS_EX_NOACTIVATE | WS_EX_LAYERED | WS_EX_TRANSPARENT,
                              kTelvixDisplayClass, "", WS_POPUP | SS_CENTER | SS_NOPREFIX, 0, 0, 0, 0, owner, NULL,
                              wc.hInstance, NULL);
    if (!display) return false;
    SetLayeredWindowAttributes(display, 0, kOpacity, LWA_ALPHA);
    // The program is DPI-aware as a whole (its manifest): Windows scales its
    // windows on a monitor of another DPI, so the system's DPI is the one.
    HDC screen = GetDC(NULL);
    dpi = GetDeviceCaps(screen, LOGPIXELSY);
    ReleaseDC(NULL, screen);
    // One font for the life of the display.
    HFONT font = CreateFontA(-MulDiv(20, dpi, 96), 0, 0, 0, FW_SEMIBOLD, FALSE, FALSE, FALSE, DEFAULT_CHARSET,
                             OUT_DEFAULT_PRECIS, CLIP_DEFAULT_PRECIS, CLEARTYPE_QUALITY, DEFAULT_PITCH, "Segoe UI");
    SendMessageA(display, WM_SETFONT, (WPARAM)font, FALSE);
    return true;
}

void Hide() {
    if (display && IsWindowVisible(display)) HideTimer(display, WM_TIMER, kHideTimer, 0);
}

// Where the user looks: the monitor of the window in front.
void Place() {
    SIZE size = {MulDiv(kKeyDisplayWidth, dpi, 96), MulDiv(kKeyDisplayHeight, dpi, 96)};
    RECT at = DisplayPlacement(ForegroundMonitor().work, size, dpi);
    fx.SetWindowPos(display, HWND_TOPMOST, at.left, at.top, at.right - at.left, at.bottom - at.top,
                    SWP_NOACTIVATE | SWP_SHOWWINDOW);
}

} // namespace

bool DisplayShows(int mode, const KeyOutcome &outcome) {
    if (outcome.reason == kRepeatDropped || outcome.place == kToPrompt) return false;
    if (mode == kDisplayEveryKey) return true;
    return mode == kDisplayUntakenKeys && outcome.reason != kTaken;
}

RECT DisplayPlacement(const RECT &work, SIZE size, int dpi) {
    int width = size.cx < work.right - work.left ? size.cx : work.right - work.left;
    int left = work.left + (work.right - work.left - width) / 2;
    int bottom = work.bottom - MulDiv(48, dpi, 96);
    return {left, bottom - size.cy, left + width, bottom};
}

void ShowKeyOutcome(const KeyOutcome *outcome) {
    if (!outcome) return Hide();
    NotifyKeyEditor(*outcome); // whatever the display's setting, and a dropped repeat too
    DWORD now = fx.GetTickCount();
    if ((DWORD)(now - settingRead) >= 1000) {
        settingRead = now;
        onScreenDisplay = ReadOnScreenDisplaySetting();
    }
    if (promptOpen || onScreenDisplay == kDisplayOff) return Hide();
    if (outcome->reason == kRepeatDropped && display && IsWindowVisible(display)) {
        SetTimer(display, kHideTimer, kKeyDisplayMs, HideTimer); // the held key stays shown
        return;
    }
    // A key that is not shown takes away what an earlier one showed.
    if (!DisplayShows(onScreenDisplay, *outcome)) return Hide();
    if (!display && !CreateDisplay()) return;
    char line[128], text[160];
    FormatKeyOutcome(*outcome, JapanLayout, line, sizeof line);
    const char *label = RemoteKeyLabel(outcome->code, JapanLayout);
    if (*label) (void)snprintf(text, sizeof text, "%s\n%s", label, line);
    else (void)snprintf(text, sizeof text, "key %d\n%s", outcome->code, line);
    SetWindowTextA(display, text);
    Place();
    UpdateWindow(display); // drawn now, not at the next idle moment
    SetTimer(display, kHideTimer, kKeyDisplayMs, HideTimer);
}

HWND KeyDisplayWindow() { return display; }
