// Where the tray program's dialogs appear: a fixed screen position for each
// known screen width, always on top. Unknown widths keep the template's place.
#pragma once
#include <windows.h>

// True with the position for a screen `width` (SM_CXFULLSCREEN) in the table.
bool DialogPositionForWidth(int width, POINT *position);
// Moves `dialog` for `width` and makes it topmost; does nothing for other widths.
void PlaceDialogForWidth(HWND dialog, int width);
// PlaceDialogForWidth with the screen's own width; every dialog's WM_INITDIALOG.
void PlaceDialog(HWND dialog);
