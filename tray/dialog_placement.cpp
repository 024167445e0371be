#include "tray/dialog_placement.h"

namespace {

struct PlacementRow {
    int width;
    int x, y; // screen pixels
};

const PlacementRow kPlacements[] = {
    {640, 160, 200},
    {800, 280, 250},
    {1024, 350, 300},
    {1152, 420, 300},
    {1280, 420, 300},
    {1600, 580, 340},
};

} // namespace

bool DialogPositionForWidth(int width, POINT *position) {
    for (const PlacementRow &row : kPlacements) {
        if (row.width == width) {
            position->x = row.x;
            position->y = row.y;
            return true;
        }
    }
    return false;
}

void PlaceDialogForWidth(HWND dialog, int width) {
    POINT position;
    if (!DialogPositionForWidth(width, &position)) return;
    SetWindowPos(dialog, HWND_TOPMOST, position.x, position.y, 0, 0, SWP_NOSIZE);
}

void PlaceDialog(HWND dialog) {
    PlaceDialogForWidth(dialog, GetSystemMetrics(SM_CXFULLSCREEN));
}

POINT CentredIn(const RECT &area, int width, int height) {
    POINT p = {area.left + (area.right - area.left - width) / 2, area.top + (area.bottom - area.top - height) / 2};
    return p;
}

// The next power key confirms the prompt, so it must never open hidden: behind
// a full-screen program, at its template's place in the screen's corner, or
// on a monitor the user does not look at. Centred where the table has no row,
// as the table's rows roughly centre it.
void PlacePromptForWidth(HWND prompt, int width, const MonitorArea &area) {
    POINT position;
    if (DialogPositionForWidth(width, &position)) {
        position.x += area.monitor.left;
        position.y += area.monitor.top;
    } else {
        RECT frame;
        GetWindowRect(prompt, &frame);
        position = CentredIn(area.work, frame.right - frame.left, frame.bottom - frame.top);
    }
    SetWindowPos(prompt, HWND_TOPMOST, position.x, position.y, 0, 0, SWP_NOSIZE);
}

void PlacePrompt(HWND prompt, const MonitorArea &area) {
    int width = area.primary ? GetSystemMetrics(SM_CXFULLSCREEN) : area.monitor.right - area.monitor.left;
    PlacePromptForWidth(prompt, width, area);
}
