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
