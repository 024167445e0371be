// Pointer emulation: the remote as a mouse when no TV application runs.
#pragma once
#include <windows.h>
#include "platform/remote_words.h"
#include "receiver/remote_key.h"

// Movement events since the last reset; the poll cycle resets it on fresh keys.
extern int pointerAcceleration;

void InitScreenMetrics();
// The display changed to `width` x `height` pixels.
void UpdateScreenMetrics(int width, int height);
// The pointer's action for a key: a click, a move ("pointer right 6 px"), or
// kNothingMapped for a key that is none of the pointer's.
KeyOutcome PointerKey(RemoteKeyCode code);

// Where the pointer may go (exclusive bounds) and how far one move takes it.
struct PointerArea {
    int left, top, right, bottom;
    int smallStep, largeStep;
};
extern PointerArea pointerArea;
extern bool pointerButtonHeld; // while code 5 holds the button down

// The decisions of pointer emulation, free of Windows calls.
// Area from SM_CXFULLSCREEN / SM_CYFULLSCREEN at start-up (odd heights get 19 more).
PointerArea AreaFromFullScreen(int fullWidth, int fullHeight);
// Pixels moved by the `count`-th movement event since the last reset.
int MoveStep(const PointerArea &area, int count);
// Where a direction code (1-4, 6-9, keypad layout) takes `from`; false for other codes.
bool MoveTarget(RemoteKeyCode code, POINT from, int step, POINT *to);
// "up-left" ... "down-right" for a direction code; "" for others.
const char *MoveDirectionName(RemoteKeyCode code);
bool InsideArea(const PointerArea &area, POINT p);
// mouse_event flag of the held-button toggle.
DWORD ToggleButtonFlag(bool wasHeld, bool swapped);
