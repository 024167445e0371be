// Where the main window's controls go, in pixels at a DPI: laid out in units
// of a 96-DPI pixel and scaled, so the window is the same at 100 % and 200 %.
// No Windows header.
#pragma once

enum LayoutItem {
    kProgramsLabel, kProgramsList, kAddButton, kRenameButton, kRemoveButton, kCopyButton,
    kKeysLabel, kKeysList, kChangeButton, kClearButton, kLastKeyText,
    kProblemsLabel, kProblemsList, kSettingsButton, kSaveButton,
    kLayoutItemCount
};

struct LayoutBox {
    int x, y, width, height;
};

// 96-DPI units to pixels at `dpi`, rounded.
int ScaleToDpi(int units, int dpi);
// The smallest client area the controls fit in.
void MinimumClientSize(int dpi, int *width, int *height);
// Every item's box in a client area of `width` x `height` (at least the minimum).
void LayOutMainWindow(int width, int height, int dpi, LayoutBox boxes[kLayoutItemCount]);
