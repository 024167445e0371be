#include <gtest/gtest.h>
#include <windows.h>
#include "res/resource.h"
#include "tests/support/effects_recorder.h"
#include "tests/support/test_windows.h"
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

TEST(DialogPlacement, ThePromptIsTopmostAtEveryWidthOnItsMonitorAndCentredWhereTheTableHasNoRow) {
    // Work areas that are not their monitor's corner: a taskbar on the left
    // and on top; the second monitor left of and above the primary.
    const MonitorArea areas[] = {{{0, 0, 1920, 1080}, {60, 40, 1920, 1040}, true},
                                 {{-1920, -300, 0, 780}, {-1860, -260, 0, 740}, false}};
    for (const MonitorArea &area : areas) {
        for (const PlacementCase &c : kCases) {
            ModelessDialog prompt(IDD_SHUTDOWN);
            ASSERT_NE(prompt.window, nullptr);
            RECT before = prompt.Rect();
            int width = before.right - before.left, height = before.bottom - before.top;
            PlacePromptForWidth(prompt.window, c.width, area);
            RECT after = prompt.Rect();
            EXPECT_TRUE(prompt.Topmost()) << c.width;
            EXPECT_EQ(after.right - after.left, width) << "never resized: " << c.width;
            if (c.known) {
                EXPECT_EQ(after.left, area.monitor.left + c.x) << c.width;
                EXPECT_EQ(after.top, area.monitor.top + c.y) << c.width;
            } else {
                EXPECT_EQ(after.left, area.work.left + (1860 - width) / 2) << c.width;
                EXPECT_EQ(after.top, area.work.top + (1000 - height) / 2) << c.width;
            }
        }
    }
}

TEST(DialogPlacement, ThePromptOpensOnTheMonitorOfTheForegroundWindow) {
    FakeEffects effects;
    FakeEffects::monitors = {{0, 0, 1024, 768}, {1024, 0, 2304, 720}};
    TestWindow player("PlayerOnTheTv", "player");
    FakeEffects::foreground = player.hwnd();
    struct Case {
        int left, width; // the foreground window's place
        LONG x, y;       // the prompt's
    } cases[] = {
        {1100, 300, 1024 + 420, 300}, // the TV, 1280 wide: its row, from its corner
        {100, 300, -1, -1},           // the primary: the screen's own width, as every dialog
    };
    for (const Case &c : cases) {
        MoveWindow(player.hwnd(), c.left, 100, c.width, 200, FALSE);
        ModelessDialog prompt(IDD_SHUTDOWN);
        PlacePrompt(prompt.window, ForegroundMonitor());
        POINT table;
        if (c.x < 0) ASSERT_TRUE(DialogPositionForWidth(GetSystemMetrics(SM_CXFULLSCREEN), &table));
        else table = {c.x, c.y};
        EXPECT_EQ(prompt.Rect().left, table.x) << c.left;
        EXPECT_EQ(prompt.Rect().top, table.y) << c.left;
    }
}
