// Where the tray program's dialogs appear: a fixed screen position for each
// known screen width, always on top. At other widths About and Setting keep
// their template's place; the Shut Down prompt is centred on the work area,
// and opens on the monitor the user looks at.
#pragma once
#include <windows.h>
#include "platform/monitor.h"

// True with the position for a screen `width` (SM_CXFULLSCREEN) in the table.
bool DialogPositionForWidth(int width, POINT *position);
// Moves `dialog` for `width` and makes it topmost; does nothing for other widths.
void PlaceDialogForWidth(HWND dialog, int width);
// PlaceDialogForWidth with the screen's own width; every dialog's WM_INITDIALOG.
void PlaceDialog(HWND dialog);

// Top-left corner that centres a `width` x `height` window in `area`.
POINT CentredIn(const RECT &area, int width, int height);
// The Shut Down prompt on `area`: the table's place for `width` from the
// monitor's corner, else centred on its work area; topmost at every width.
void PlacePromptForWidth(HWND prompt, int width, const MonitorArea &area);
// PlacePromptForWidth on `area`, the monitor where the user looked when the
// prompt was asked for: the primary monitor by the screen's own width as every
// dialog, another by its own width.
void PlacePrompt(HWND prompt, const MonitorArea &area);
