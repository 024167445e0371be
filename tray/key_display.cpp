#include "tray/key_display.h"
#include <stdio.h>
#include "platform/effects.h"
#include "platform/locale.h"
#include "platform/product_texts.h"
#include "routing/tray_hooks.h"
#include "tray/settings.h"
#include "tray/tray_window.h"

int onScreenDisplay = kDisplayOff;

namespace {

const UINT_PTR kHideTimer = 1;
const BYTE kOpacity = 224; // of 255: the picture behind shows through a little

HWND display = NULL;
HFONT font = NULL;
int fontDpi = 0;
char text[160];
DWORD settingRead;

// Never activated, never hit: a click goes to the window below.
LRESULT CALLBACK DisplayProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
    switch (message) {
    case WM_MOUSEACTIVATE: return MA_NOACTIVATE;
    case WM_NCHITTEST: return HTTRANSPARENT;
    case WM_TIMER:
        KillTimer(window, kHideTimer);
        ShowWindow(window, SW_HIDE);
        return 0;
    case WM_PAINT: {
        PAINTSTRUCT paint;
        HDC dc = BeginPaint(window, &paint);
        RECT area;
        GetClientRect(window, &area);
        HGDIOBJ old = SelectObject(dc, font);
        SetBkMode(dc, TRANSPARENT);
        SetTextColor(dc, RGB(255, 255, 255));
        DrawTextA(dc, text, -1, &area, DT_CENTER | DT_VCENTER | DT_NOPREFIX);
        SelectObject(dc, old);
        EndPaint(window, &paint);
        return 0;
    }
    default: return DefWindowProcA(window, message, wParam, lParam);
    }
}

bool CreateDisplay() {
    WNDCLASSA wc = {};
    wc.lpfnWndProc = DisplayProc;
    wc.hInstance = appInstance;
    wc.hbrBackground = (HBRUSH)GetStockObject(BLACK_BRUSH);
    wc.lpszClassName = kTelvixDisplayClass;
    RegisterClassA(&wc);
    display = CreateWindowExA(WS_EX_TOPMOST | WS_EX_TOOLWINDOW | WS_EX_NOACTIVATE | WS_EX_LAYERED | WS_EX_TRANSPARENT,
                              kTelvixDisplayClass, "", WS_POPUP, 0, 0, 0, 0, NULL, NULL, appInstance, NULL);
    if (display) SetLayeredWindowAttributes(display, 0, kOpacity, LWA_ALPHA);
    return display != NULL;
}

// One font at a time, made anew only when the DPI changed.
void UseFontFor(int dpi) {
    if (font && dpi == fontDpi) return;
    if (font) DeleteObject(font);
    font = CreateFontA(-MulDiv(20, dpi, 96), 0, 0, 0, FW_SEMIBOLD, FALSE, FALSE, FALSE, DEFAULT_CHARSET,
                       OUT_DEFAULT_PRECIS, CLIP_DEFAULT_PRECIS, CLEARTYPE_QUALITY, DEFAULT_PITCH, "Segoe UI");
    fontDpi = dpi;
}

void Hide() {
    if (display && IsWindowVisible(display)) {
        KillTimer(display, kHideTimer);
        ShowWindow(display, SW_HIDE);
    }
}

// Where the user looks: the monitor of the window in front.
void Place() {
    MONITORINFO monitor = {};
    monitor.cbSize = sizeof monitor;
    GetMonitorInfoA(MonitorFromWindow(fx.GetForegroundWindow(), MONITOR_DEFAULTTOPRIMARY), &monitor);
    HDC dc = GetDC(display);
    // The program is DPI-aware as a whole (its manifest): Windows scales its
    // windows on monitors of another DPI, so the system's DPI is the one.
    int dpi = GetDeviceCaps(dc, LOGPIXELSY);
    UseFontFor(dpi);
    HGDIOBJ old = SelectObject(dc, font);
    RECT extent = {0, 0, 0, 0};
    DrawTextA(dc, text, -1, &extent, DT_CALCRECT | DT_NOPREFIX);
    SelectObject(dc, old);
    ReleaseDC(display, dc);
    int padding = MulDiv(12, dpi, 96);
    SIZE size = {extent.right + 2 * padding, extent.bottom + padding};
    RECT at = DisplayPlacement(monitor.rcWork, size, dpi);
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
    DWORD now = fx.GetTickCount();
    if ((DWORD)(now - settingRead) >= 1000) {
        settingRead = now;
        onScreenDisplay = ReadOnScreenDisplaySetting();
    }
    if (promptOpen || onScreenDisplay == kDisplayOff) return Hide();
    if (outcome->reason == kRepeatDropped && display && IsWindowVisible(display)) {
        SetTimer(display, kHideTimer, kKeyDisplayMs, NULL); // the held key stays shown
        return;
    }
    if (!DisplayShows(onScreenDisplay, *outcome)) return;
    if (!display && !CreateDisplay()) return;
    char line[128];
    FormatKeyOutcome(*outcome, JapanLayout, line, sizeof line);
    const char *label = RemoteKeyLabel(outcome->code, JapanLayout);
    if (*label) (void)snprintf(text, sizeof text, "%s\n%s", label, line);
    else (void)snprintf(text, sizeof text, "key %d\n%s", outcome->code, line);
    // Its title holds the text too, for whoever reads windows (tests, screen readers).
    SetWindowTextA(display, text);
    Place();
    InvalidateRect(display, NULL, TRUE);
    UpdateWindow(display);
    SetTimer(display, kHideTimer, kKeyDisplayMs, NULL);
}

HWND KeyDisplayWindow() { return display; }
