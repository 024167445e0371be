#include "editor/layout.h"

namespace {

// In 96-DPI units.
const int kMargin = 8, kGap = 6, kLabel = 16, kButton = 24, kButtonWidth = 96;
const int kProgramsMin = 228, kKeysMin = 420, kListMin = 120, kProblems = 84;

int Larger(int a, int b) { return a > b ? a : b; }

} // namespace

int ScaleToDpi(int units, int dpi) {
    return (units * dpi + 48) / 96;
}

void MinimumClientSize(int dpi, int *width, int *height) {
    *width = ScaleToDpi(kMargin * 3 + kProgramsMin + kKeysMin, dpi);
    *height = ScaleToDpi(kMargin * 2 + kLabel * 2 + kListMin + kButton * 3 + kGap * 5 + kProblems, dpi);
}

void LayOutMainWindow(int width, int height, int dpi, LayoutBox boxes[kLayoutItemCount]) {
    int minWidth, minHeight;
    MinimumClientSize(dpi, &minWidth, &minHeight);
    width = Larger(width, minWidth);
    height = Larger(height, minHeight);
    auto s = [dpi](int units) { return ScaleToDpi(units, dpi); };
    const int margin = s(kMargin), gap = s(kGap), label = s(kLabel), button = s(kButton);

    // Columns: the programs take a third, the keys the rest.
    const int left = margin;
    const int programsWidth = Larger(s(kProgramsMin), (width - margin * 3) / 3);
    const int right = left + programsWidth + margin;
    const int keysWidth = width - margin - right;

    // Rows from the bottom: Settings and Save, the problems, their label.
    const int bottomRow = height - margin - button;
    const int problemsTop = bottomRow - gap - s(kProblems);
    const int problemsLabelTop = problemsTop - label;
    const int secondButtons = problemsLabelTop - gap - button;
    const int firstButtons = secondButtons - gap - button;
    const int listTop = margin + label;
    const int listHeight = firstButtons - gap - listTop;
    const int half = (programsWidth - gap) / 2;

    boxes[kProgramsLabel] = {left, margin, programsWidth, label};
    boxes[kProgramsList] = {left, listTop, programsWidth, listHeight};
    boxes[kAddButton] = {left, firstButtons, half, button};
    boxes[kRenameButton] = {left + half + gap, firstButtons, programsWidth - half - gap, button};
    boxes[kRemoveButton] = {left, secondButtons, half, button};
    boxes[kCopyButton] = {left + half + gap, secondButtons, programsWidth - half - gap, button};

    const int buttonWidth = s(kButtonWidth);
    boxes[kKeysLabel] = {right, margin, keysWidth, label};
    boxes[kKeysList] = {right, listTop, keysWidth, listHeight};
    boxes[kChangeButton] = {right, firstButtons, buttonWidth, button};
    boxes[kClearButton] = {right + buttonWidth + gap, firstButtons, buttonWidth, button};
    boxes[kLastKeyText] = {right, secondButtons, keysWidth, button};

    boxes[kProblemsLabel] = {left, problemsLabelTop, width - margin * 2, label};
    boxes[kProblemsList] = {left, problemsTop, width - margin * 2, s(kProblems)};
    boxes[kSettingsButton] = {left, bottomRow, buttonWidth, button};
    boxes[kSaveButton] = {width - margin - buttonWidth, bottomRow, buttonWidth, button};
}
