#include "routing/pointer.h"
#include <stdio.h>
#include "platform/effects.h"
#include "routing/poll_timing.h"

int pointerAcceleration = 0;
PointerArea pointerArea = {0, 0, 0, 0, 0, 0};
bool pointerButtonHeld = false;

namespace {

PointerArea AreaOfSize(int width, int height) {
    return {0, 0, width - 1, height - 1, width / 160, width / 80};
}

// Laid out like the remote's number pad: 1 2 3 on top, 7 8 9 at the bottom.
const struct {
    signed char code;
    signed char dx, dy; // in steps
    char name[11];
} kDirections[] = {
    {1, -1, -1, "up-left"},
    {2, 0, -1, "up"},
    {3, +1, -1, "up-right"},
    {4, -1, 0, "left"},
    {6, +1, 0, "right"},
    {7, -1, +1, "down-left"},
    {8, 0, +1, "down"},
    {9, +1, +1, "down-right"},
};

void SendButton(DWORD flag, POINT at) {
    fx.mouse_event(flag, (DWORD)at.x, (DWORD)at.y, 0, (ULONG_PTR)GetMessageExtraInfo());
}

POINT CursorPos() {
    POINT p = {0, 0};
    fx.GetCursorPos(&p);
    return p;
}

// The primary screen's bounds alone would keep the pointer off every other
// monitor (often the TV itself), and refuse every move once the mouse had put
// it there; with several monitors any point on one of them will do.
bool MayMoveTo(POINT to) {
    if (fx.GetSystemMetrics(SM_CMONITORS) > 1) return fx.MonitorFromPoint(to, MONITOR_DEFAULTTONULL) != NULL;
    return InsideArea(pointerArea, to);
}

void Move(RemoteKeyCode code, KeyOutcome &outcome) {
    int step = MoveStep(pointerArea, ++pointerAcceleration);
    POINT to;
    if (!MoveTarget(code, CursorPos(), step, &to)) return;
    if (MayMoveTo(to)) {
        fx.SetCursorPos(to.x, to.y);
        (void)snprintf(outcome.sent, sizeof outcome.sent, "pointer %s %d px", MoveDirectionName(code), step);
    } else {
        // Stay put; the next move starts slowly again.
        pointerAcceleration = 0;
        outcome.reason = kPointerAtEdge;
    }
}

} // namespace

PointerArea AreaFromFullScreen(int fullWidth, int fullHeight) {
    if (fullHeight % 2 != 0) fullHeight += 19;
    return AreaOfSize(fullWidth, fullHeight);
}

int MoveStep(const PointerArea &area, int count) {
    if (count >= kPointerLargeStepFrom) return area.largeStep;
    if (count >= kPointerSmallStepFrom) return area.smallStep;
    return 1;
}

bool MoveTarget(RemoteKeyCode code, POINT from, int step, POINT *to) {
    for (const auto &d : kDirections) {
        if (d.code != code) continue;
        *to = {from.x + d.dx * step, from.y + d.dy * step};
        return true;
    }
    return false;
}

const char *MoveDirectionName(RemoteKeyCode code) {
    for (const auto &d : kDirections)
        if (d.code == code) return d.name;
    return "";
}

bool InsideArea(const PointerArea &area, POINT p) {
    return area.left < p.x && p.x < area.right && area.top < p.y && p.y < area.bottom;
}

DWORD ToggleButtonFlag(bool wasHeld, bool swapped) {
    if (wasHeld) return swapped ? MOUSEEVENTF_RIGHTUP : MOUSEEVENTF_LEFTUP;
    return swapped ? MOUSEEVENTF_RIGHTDOWN : MOUSEEVENTF_LEFTDOWN;
}

void InitScreenMetrics() {
    pointerArea = AreaFromFullScreen(fx.GetSystemMetrics(SM_CXFULLSCREEN), fx.GetSystemMetrics(SM_CYFULLSCREEN));
}

void UpdateScreenMetrics(int width, int height) {
    // Taken as it is: the odd-height adjustment is the start-up metrics' own.
    pointerArea = AreaOfSize(width, height);
}

// A whole click where the pointer is: the button's down, then its up.
void Click(DWORD down, DWORD up, KeyOutcome &outcome, const char *words) {
    POINT at = CursorPos();
    SendButton(down, at);
    SendButton(up, at);
    SetOutcomeSent(outcome, words);
}

KeyOutcome PointerKey(RemoteKeyCode code) {
    KeyOutcome outcome = {};
    outcome.code = code;
    outcome.place = kToPointer;
    if ((unsigned)code > 10) {
        outcome.place = kToNowhere;
        outcome.reason = kNothingMapped;
        return outcome;
    }
    switch (code) {
    case 0: Click(MOUSEEVENTF_LEFTDOWN, MOUSEEVENTF_LEFTUP, outcome, "left click"); break;
    case 10: Click(MOUSEEVENTF_RIGHTDOWN, MOUSEEVENTF_RIGHTUP, outcome, "right click"); break;
    case 5: {
        // Only the drag toggle follows swapped buttons; 0 and 10 are fixed.
        bool swapped = fx.GetSystemMetrics(SM_SWAPBUTTON) != 0;
        POINT at = CursorPos();
        DWORD flag = ToggleButtonFlag(pointerButtonHeld, swapped);
        pointerButtonHeld = !pointerButtonHeld;
        SendButton(flag, at);
        SetOutcomeSent(outcome, pointerButtonHeld ? "button held down" : "button let go");
        break;
    }
    default: Move(code, outcome); break;
    }
    return outcome;
}
