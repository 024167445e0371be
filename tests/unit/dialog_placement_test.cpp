#include <gtest/gtest.h>
#include <windows.h>
#include "res/resource.h"
#include "tests/unit/dialog_driver.h"
#include "tray/dialog_placement.h"

namespace {

struct PlacementCase {
    int width;
    bool known;
    int x, y;
};

const PlacementCase kCases[] = {
    {640, true, 160, 200},   {800, true, 280, 250},  {1024, true, 350, 300},
    {1152, true, 420, 300},  {1280, true, 420, 300}, {1600, true, 580, 340},
    {1366, false, 0, 0},     {1920, false, 0, 0},    {0, false, 0, 0},
    {1023, false, 0, 0},     {-1024, false, 0, 0},
};

INT_PTR CALLBACK InertDialogProc(HWND, UINT, WPARAM, LPARAM) { return FALSE; }

// A real dialog from a real template, not yet placed.
struct ModelessDialog {
    explicit ModelessDialog(int templateId = IDD_SETTING)
        : window(CreateDialogParamA(TelvixResources(), MAKEINTRESOURCEA(templateId), NULL, InertDialogProc, 0)) {}
    HWND window;
    ~ModelessDialog() { DestroyWindow(window); }
    RECT Rect() const {
        RECT r;
        GetWindowRect(window, &r);
        return r;
    }
    bool Topmost() const { return (GetWindowLongA(window, GWL_EXSTYLE) & WS_EX_TOPMOST) != 0; }
};

} // namespace

TEST(DialogPlacement, PositionByScreenWidth) {
    for (const PlacementCase &c : kCases) {
        POINT p = {-7, -7};
        EXPECT_EQ(DialogPositionForWidth(c.width, &p), c.known) << c.width;
        if (c.known) {
            EXPECT_EQ(p.x, c.x) << c.width;
            EXPECT_EQ(p.y, c.y) << c.width;
        } else {
            EXPECT_EQ(p.x, -7) << "an unknown width leaves the position alone: " << c.width;
        }
    }
}

TEST(DialogPlacement, KnownWidthsMoveTheDialogAndMakeItTopmostOthersLeaveIt) {
    for (const PlacementCase &c : kCases) {
        ModelessDialog dialog;
        ASSERT_NE(dialog.window, nullptr);
        RECT before = dialog.Rect();
        PlaceDialogForWidth(dialog.window, c.width);
        RECT after = dialog.Rect();
        EXPECT_EQ(after.right - after.left, before.right - before.left) << "never resized: " << c.width;
        EXPECT_EQ(after.bottom - after.top, before.bottom - before.top) << c.width;
        EXPECT_EQ(dialog.Topmost(), c.known) << c.width;
        if (c.known) {
            EXPECT_EQ(after.left, c.x) << c.width;
            EXPECT_EQ(after.top, c.y) << c.width;
        } else {
            EXPECT_EQ(after.left, before.left) << c.width;
            EXPECT_EQ(after.top, before.top) << c.width;
        }
    }
}

TEST(DialogPlacement, ThePromptIsTopmostAtEveryWidthAndCentredWhereTheTableHasNoRow) {
    // A work area that is not the screen's origin: a taskbar on the left and on top.
    const RECT workArea = {60, 40, 1920, 1040};
    for (const PlacementCase &c : kCases) {
        ModelessDialog prompt(IDD_SHUTDOWN);
        ASSERT_NE(prompt.window, nullptr);
        RECT before = prompt.Rect();
        int width = before.right - before.left, height = before.bottom - before.top;
        PlacePromptForWidth(prompt.window, c.width, workArea);
        RECT after = prompt.Rect();
        EXPECT_TRUE(prompt.Topmost()) << c.width;
        EXPECT_EQ(after.right - after.left, width) << "never resized: " << c.width;
        if (c.known) {
            EXPECT_EQ(after.left, c.x) << c.width;
            EXPECT_EQ(after.top, c.y) << c.width;
        } else {
            EXPECT_EQ(after.left, 60 + (1860 - width) / 2) << c.width;
            EXPECT_EQ(after.top, 40 + (1000 - height) / 2) << c.width;
        }
    }
}
