// The on-screen display: for a moment after each key event, the key's name
// on the remote and what became of it, in a small window at the bottom of the
// screen the user looks at. It never takes activation, the focus or a click:
// whatever the user was typing into keeps the keyboard.
#pragma once
#include <windows.h>
#include "platform/remote_words.h"

const UINT kKeyDisplayMs = 1500; // how long a key stays shown
const int kKeyDisplayWidth = 440;  // its size at 96 DPI: two lines of its font
const int kKeyDisplayHeight = 60;

// OnScreenDisplay: 0 (or missing) off, 1 every key, 2 only keys nothing took.
enum { kDisplayOff = 0, kDisplayEveryKey = 1, kDisplayUntakenKeys = 2 };
extern int onScreenDisplay;

// Whether a key's outcome is shown under `mode`. A dropped repeat is never
// shown on its own: it keeps what its held key showed.
bool DisplayShows(int mode, const KeyOutcome &outcome);
// The window's place: centred at the bottom of the work area, `size` big,
// above its bottom edge by a margin of the DPI.
RECT DisplayPlacement(const RECT &work, SIZE size, int dpi);

// The tray's showKeyOutcome: shows `outcome`, or hides the display for null;
// a running key-map editor is told of every outcome (NotifyKeyEditor).
// The setting is read again when it was read a second ago or more.
void ShowKeyOutcome(const KeyOutcome *outcome);
// The display's window; null until a key was first shown.
HWND KeyDisplayWindow();
