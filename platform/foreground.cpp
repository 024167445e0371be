#include "platform/foreground.h"
#include "platform/effects.h"

bool ForegroundBelongsTo(DWORD processId) {
    HWND front = fx.GetForegroundWindow();
    if (!front || processId == 0) return false; // nothing in front, e.g. while it changes
    DWORD owner = 0;
    GetWindowThreadProcessId(front, &owner);
    return owner == processId;
}

bool ForegroundBelongsToOwnerOf(HWND window) {
    DWORD owner = 0;
    if (!window || !GetWindowThreadProcessId(window, &owner)) return false;
    return ForegroundBelongsTo(owner);
}
