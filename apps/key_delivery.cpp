#include "apps/key_delivery.h"
#include "platform/effects.h"
#include "platform/foreground.h"

KeyReason PostKey(HWND window, UINT message, WPARAM code, LPARAM lParam) {
    return PostMessageA(window, message, code, lParam) ? kTaken : PostFailure(GetLastError());
}

bool SendChord(HWND window, bool activate, const BYTE *modifiers, int modifierCount, BYTE key) {
    if (activate) {
        fx.SetForegroundWindow(window);
        SetActiveWindow(window);
        // Keys synthesized now go to whatever is in front, perhaps an editor
        // where Ctrl+X would cut the user's text.
        if (!ForegroundBelongsToOwnerOf(window)) return false;
    }
    const DWORD down = KEYEVENTF_EXTENDEDKEY;
    const DWORD up = KEYEVENTF_EXTENDEDKEY | KEYEVENTF_KEYUP;
    for (int i = 0; i < modifierCount; ++i) fx.keybd_event(modifiers[i], 0, down, 0);
    fx.keybd_event(key, 0, down, 0);
    fx.keybd_event(key, 0, up, 0);
    for (int i = modifierCount - 1; i >= 0; --i) fx.keybd_event(modifiers[i], 0, up, 0);
    return true;
}

void ToggleShow(HWND window) {
    ShowWindow(window, IsIconic(window) ? SW_RESTORE : SW_MINIMIZE);
}

KeyReason PostPrivate(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
    return PostKey(window, message, wParam, lParam);
}

KeyReason PostFailure(DWORD error) { return error == ERROR_ACCESS_DENIED ? kRunsElevated : kWindowGone; }

HWND FindForKeyAction(TvAppDescriptor &app, HWND (*search)()) {
    app.lastWindow = search();
    return app.lastWindow;
}
