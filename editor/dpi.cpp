#include "editor/editor.h"
#include "editor/layout.h"

UINT WindowDpi(HWND window) {
    // Windows 10's; earlier systems have one DPI for every monitor.
    typedef UINT(WINAPI * DpiForWindow)(HWND);
    static DpiForWindow forWindow =
        (DpiForWindow)(void *)GetProcAddress(GetModuleHandleW(L"user32.dll"), "GetDpiForWindow");
    if (forWindow && window) {
        UINT dpi = forWindow(window);
        if (dpi) return dpi;
    }
    HDC screen = GetDC(NULL);
    int dpi = GetDeviceCaps(screen, LOGPIXELSY);
    ReleaseDC(NULL, screen);
    return dpi > 0 ? (UINT)dpi : 96;
}

HFONT CreateMessageFont(UINT dpi) {
    NONCLIENTMETRICSW metrics = {};
    // Built for XP: without the field Vista added, which every system answers.
    metrics.cbSize = sizeof metrics;
    if (!SystemParametersInfoW(SPI_GETNONCLIENTMETRICS, metrics.cbSize, &metrics, 0)) return NULL;
    // The system gives it at the system's DPI; this window may be on another monitor.
    HDC screen = GetDC(NULL);
    int systemDpi = GetDeviceCaps(screen, LOGPIXELSY);
    ReleaseDC(NULL, screen);
    if (systemDpi > 0) metrics.lfMessageFont.lfHeight = MulDiv(metrics.lfMessageFont.lfHeight, (int)dpi, systemDpi);
    return CreateFontIndirectW(&metrics.lfMessageFont);
}
