// The forms in which a key action reaches a TV application window. Every key
// map and close operation delivers through these, and only these.
#pragma once
#include <windows.h>
#include "apps/tv_app_descriptor.h"
#include "platform/remote_words.h"

// Standard keystroke lParam: repeat count, scan code, extended-key bit.
constexpr LPARAM KeyLParam(unsigned repeat, unsigned scan, bool extended) {
    return (LPARAM)((repeat & 0xFFFF) | ((scan & 0xFF) << 16) | ((extended ? 1u : 0u) << 24));
}

// Posted key: WM_KEYDOWN or WM_CHAR with the given code and lParam. The
// posts answer kTaken, or why the message could not be posted.
KeyReason PostKey(HWND window, UINT message, WPARAM code, LPARAM lParam);

// Chord through keybd_event: modifiers down in order, the main key down and
// up, modifiers up in reverse. With `activate`, the window is brought to the
// foreground and activated first, and nothing is sent unless its program is
// then in front (Windows may refuse); otherwise the focused window gets it.
// True when the chord was sent.
bool SendChord(HWND window, bool activate, const BYTE *modifiers, int modifierCount, BYTE key);

// Restore an iconic window, minimise any other.
void ToggleShow(HWND window);

// Private message with the map's values.
KeyReason PostPrivate(HWND window, UINT message, WPARAM wParam, LPARAM lParam);
// Why a post failed: a window that went, or a program with more rights than
// ours, which Windows keeps our messages from (since Vista).
KeyReason PostFailure(DWORD error);

// Key action shape: search, record in lastWindow, then deliver only if found.
HWND FindForKeyAction(TvAppDescriptor &app, HWND (*search)());
