// Pointer emulation: area and steps from the screen size, moves with their
// acceleration and strict bounds, clicks and the held-button toggle.
#include <gtest/gtest.h>
#include <string>
#include <vector>
#include "routing/pointer.h"
#include "routing/poll_timing.h"
#include "tests/support/effects_recorder.h"
#include "tray/tray_window.h"

namespace {

// Area and steps for a given screen, applied as a display change.
void UseScreen(int width, int height) { UpdateScreenMetrics(width, height); }

struct PointerState {
    PointerArea area = pointerArea;
    bool held = pointerButtonHeld;
    int acceleration = pointerAcceleration;
    ~PointerState() {
        pointerArea = area;
        pointerButtonHeld = held;
        pointerAcceleration = acceleration;
    }
};

// Distances moved by `presses` events of one direction key from the centre.
std::vector<int> StepsOf(int presses) {
    std::vector<int> steps;
    for (int i = 0; i < presses; ++i) {
        int before = FakeEffects::cursor.x;
        PointerKey(6);
        steps.push_back(FakeEffects::cursor.x - before);
    }
    return steps;
}

} // namespace

TEST(PointerMetrics, StartupAreaAddsNineteenToOddHeights) {
    struct Case {
        int width, height;
        PointerArea area;
    } cases[] = {
        {1024, 719, {0, 0, 1023, 737, 6, 12}},
        {1024, 720, {0, 0, 1023, 719, 6, 12}},
        {800, 600, {0, 0, 799, 599, 5, 10}},
        {640, 469, {0, 0, 639, 487, 4, 8}},
        {159, 1, {0, 0, 158, 19, 0, 1}},
    };
    for (const Case &c : cases) {
        PointerArea a = AreaFromFullScreen(c.width, c.height);
        SCOPED_TRACE(c.height);
        EXPECT_EQ(a.left, 0);
        EXPECT_EQ(a.top, 0);
        EXPECT_EQ(a.right, c.area.right);
        EXPECT_EQ(a.bottom, c.area.bottom);
        EXPECT_EQ(a.smallStep, c.area.smallStep);
        EXPECT_EQ(a.largeStep, c.area.largeStep);
    }
}

TEST(PointerMetrics, DisplayChangeTakesTheNewSizeAsItIs) {
    PointerState saved;
    struct Case {
        int width, height;
        int right, bottom, smallStep, largeStep;
    } cases[] = {
        {1280, 1024, 1279, 1023, 8, 16},
        {1024, 767, 1023, 766, 6, 12}, // no odd-height adjustment here
        {800, 600, 799, 599, 5, 10},
        {640, 480, 639, 479, 4, 8},
    };
    for (const Case &c : cases) {
        pointerArea = {9, 9, 9, 9, 9, 9};
        TrayWindowProc(NULL, WM_DISPLAYCHANGE, 12345, MAKELPARAM(c.width, c.height));
        SCOPED_TRACE(c.width);
        EXPECT_EQ(pointerArea.left, 0);
        EXPECT_EQ(pointerArea.top, 0);
        EXPECT_EQ(pointerArea.right, c.right);
        EXPECT_EQ(pointerArea.bottom, c.bottom);
        EXPECT_EQ(pointerArea.smallStep, c.smallStep);
        EXPECT_EQ(pointerArea.largeStep, c.largeStep);
    }
}

TEST(PointerMetrics, StartupReadsTheFullScreenMetrics) {
    PointerState saved;
    InitScreenMetrics();
    int w = GetSystemMetrics(SM_CXFULLSCREEN), h = GetSystemMetrics(SM_CYFULLSCREEN);
    EXPECT_EQ(pointerArea.right, w - 1);
    EXPECT_EQ(pointerArea.bottom, h % 2 ? h + 18 : h - 1);
    EXPECT_EQ(pointerArea.largeStep, w / 80);
}

TEST(PointerMoves, StepGrowsAfterFourAndNineEventsOnEachScreenWidth) {
    PointerState saved;
    FakeEffects effects;
    struct Case {
        int width;
        int smallStep, largeStep;
    } cases[] = {{640, 4, 8}, {800, 5, 10}, {1024, 6, 12}, {1280, 8, 16}};
    for (const Case &c : cases) {
        UseScreen(c.width, 480);
        FakeEffects::cursor = {c.width / 4, 240};
        pointerAcceleration = 0;
        int s = c.smallStep, l = c.largeStep;
        EXPECT_EQ(StepsOf(12), (std::vector<int>{1, 1, 1, 1, s, s, s, s, s, l, l, l})) << c.width;
        EXPECT_EQ(pointerAcceleration, 12);
    }
}

TEST(PointerMoves, EightDirectionsLikeTheNumberPad) {
    PointerState saved;
    FakeEffects effects;
    UseScreen(800, 600);
    struct Case {
        int code, dx, dy;
    } cases[] = {{1, -1, -1}, {2, 0, -1}, {3, 1, -1}, {4, -1, 0}, {6, 1, 0}, {7, -1, 1}, {8, 0, 1}, {9, 1, 1}};
    for (const Case &c : cases) {
        FakeEffects::cursor = {400, 300};
        FakeEffects::calls.clear();
        pointerAcceleration = kPointerLargeStepFrom - 1; // the next event takes the large step of 10
        PointerKey(c.code);
        SCOPED_TRACE(c.code);
        char expected[64];
        snprintf(expected, sizeof expected, "SetCursorPos %d %d", 400 + 10 * c.dx, 300 + 10 * c.dy);
        EXPECT_EQ(FakeEffects::calls, std::vector<std::string>{expected});
        EXPECT_EQ(pointerAcceleration, kPointerLargeStepFrom);
    }
}

TEST(PointerMoves, MovesOntoOrPastAnEdgeAreRefusedAndResetTheAcceleration) {
    PointerState saved;
    FakeEffects effects;
    UseScreen(800, 600); // right 799, bottom 599
    struct Case {
        POINT from;
        int code;
        int acceleration; // before the move
        bool moves;
    } cases[] = {
        {{1, 300}, 4, 0, false},    // x = 0
        {{2, 300}, 4, 0, true},     // x = 1
        {{798, 300}, 6, 0, false},  // x = right
        {{797, 300}, 6, 0, true},
        {{400, 1}, 2, 0, false},    // y = 0
        {{400, 598}, 8, 0, false},  // y = bottom
        {{400, 597}, 8, 0, true},
        {{5, 300}, 4, 9, false},    // the large step would pass the edge
        {{11, 300}, 4, 9, true},    // lands on 1
        {{1, 300}, 7, 0, false},    // diagonal: x fails, y would be fine
        {{400, 598}, 9, 0, false},  // diagonal: y fails
    };
    for (const Case &c : cases) {
        SCOPED_TRACE(testing::Message() << c.from.x << "," << c.from.y << " code " << c.code);
        FakeEffects::cursor = c.from;
        FakeEffects::calls.clear();
        pointerAcceleration = c.acceleration;
        PointerKey(c.code);
        EXPECT_EQ(FakeEffects::calls.size(), c.moves ? 1u : 0u);
        EXPECT_EQ(pointerAcceleration, c.moves ? c.acceleration + 1 : 0);
        if (!c.moves) {
            EXPECT_EQ(FakeEffects::cursor.x, c.from.x);
            EXPECT_EQ(FakeEffects::cursor.y, c.from.y);
        }
    }
}

TEST(PointerMoves, WithSeveralMonitorsAMoveMayLandAnywhereOnOne) {
    PointerState saved;
    FakeEffects effects;
    UseScreen(1920, 1080); // the primary: right 1919, bottom 1079
    const RECT primary = {0, 0, 1920, 1080};
    const std::vector<RECT> sideBySide = {primary, {1920, 0, 3200, 720}}; // a smaller one to the right
    const std::vector<RECT> above = {primary, {0, -1080, 1920, 0}};
    struct Case {
        const char *layout;
        std::vector<RECT> monitors;
        POINT from;
        int code;
        bool moves;
    } cases[] = {
        {"one", {primary}, {1918, 500}, 6, false}, // one monitor: the old bounds
        {"one", {primary}, {500, 1}, 2, false},
        {"one", {primary}, {1917, 500}, 6, true},
        {"side", sideBySide, {1918, 500}, 6, true},  // onto the primary's last column
        {"side", sideBySide, {1919, 500}, 6, true},  // across to the second
        {"side", sideBySide, {2500, 500}, 4, true},  // the mouse put it there: it moves on
        {"side", sideBySide, {3199, 500}, 6, false}, // past the second's right edge
        {"side", sideBySide, {1919, 800}, 9, false}, // below the second: no monitor
        {"side", sideBySide, {500, 1079}, 8, false}, // below the primary
        {"side", sideBySide, {0, 500}, 4, false},
        {"above", above, {500, 1}, 2, true},
        {"above", above, {500, 0}, 2, true},         // up onto the upper monitor
        {"above", above, {500, -1080}, 2, false},    // past its top
        {"above", above, {1919, -5}, 3, false},      // right of it: nothing
        {"above", above, {0, -500}, 1, false},
    };
    for (const Case &c : cases) {
        SCOPED_TRACE(testing::Message() << c.layout << " " << c.from.x << "," << c.from.y << " code " << c.code);
        FakeEffects::monitors = c.monitors;
        FakeEffects::cursor = c.from;
        FakeEffects::calls.clear();
        pointerAcceleration = 0;
        PointerKey(c.code);
        EXPECT_EQ(FakeEffects::calls.size(), c.moves ? 1u : 0u);
        EXPECT_EQ(pointerAcceleration, c.moves ? 1 : 0) << "a refused move starts the next at one pixel";
    }
    // Steps and acceleration are the primary's, as before.
    FakeEffects::monitors = sideBySide;
    FakeEffects::cursor = {2000, 300};
    pointerAcceleration = 0;
    EXPECT_EQ(StepsOf(11), (std::vector<int>{1, 1, 1, 1, 12, 12, 12, 12, 12, 24, 24}));
}

TEST(PointerMoves, AfterARefusedMoveTheNextStartsAtOnePixel) {
    PointerState saved;
    FakeEffects effects;
    UseScreen(1024, 768);
    FakeEffects::cursor = {990, 400};
    pointerAcceleration = 0;
    // Right is 1023: the ninth move (6 pixels from 1018) would reach 1024.
    std::vector<int> steps = StepsOf(12);
    EXPECT_EQ(steps, (std::vector<int>{1, 1, 1, 1, 6, 6, 6, 6, 0, 1, 1, 1}));
    EXPECT_EQ(pointerAcceleration, 3);
}

TEST(PointerButtons, ClicksAndTheHeldToggle) {
    PointerState saved;
    FakeEffects effects;
    FakeEffects::cursor = {321, 123};
    pointerButtonHeld = false;
    struct Case {
        int code;
        std::vector<std::string> events;
        bool heldAfter;
    } cases[] = {
        {0, {"mouse 2 321 123 0", "mouse 4 321 123 0"}, false},
        {10, {"mouse 8 321 123 0", "mouse 16 321 123 0"}, false},
        {5, {"mouse 2 321 123 0"}, true},
        {0, {"mouse 2 321 123 0", "mouse 4 321 123 0"}, true}, // a click leaves the held button alone
        {5, {"mouse 4 321 123 0"}, false},
        {5, {"mouse 2 321 123 0"}, true},
        {5, {"mouse 4 321 123 0"}, false},
    };
    ASSERT_EQ(GetSystemMetrics(SM_SWAPBUTTON), 0);
    for (const Case &c : cases) {
        FakeEffects::calls.clear();
        PointerKey(c.code);
        EXPECT_EQ(FakeEffects::calls, c.events) << c.code;
        EXPECT_EQ(pointerButtonHeld, c.heldAfter);
    }
}

TEST(PointerButtons, OnlyTheToggleFollowsSwappedButtons) {
    struct Case {
        bool held, swapped;
        DWORD flag;
    } cases[] = {
        {false, false, MOUSEEVENTF_LEFTDOWN},
        {true, false, MOUSEEVENTF_LEFTUP},
        {false, true, MOUSEEVENTF_RIGHTDOWN},
        {true, true, MOUSEEVENTF_RIGHTUP},
    };
    for (const Case &c : cases) EXPECT_EQ(ToggleButtonFlag(c.held, c.swapped), c.flag);

    // With the system's buttons really swapped.
    PointerState saved;
    FakeEffects effects;
    FakeEffects::cursor = {50, 60};
    pointerButtonHeld = false;
    SwapMouseButton(TRUE);
    bool swapped = GetSystemMetrics(SM_SWAPBUTTON) != 0;
    PointerKey(5);
    PointerKey(5);
    PointerKey(0);
    PointerKey(10);
    SwapMouseButton(FALSE);
    ASSERT_TRUE(swapped) << "the system did not take the swap";
    EXPECT_EQ(FakeEffects::calls, (std::vector<std::string>{"mouse 8 50 60 0", "mouse 16 50 60 0", "mouse 2 50 60 0",
                                                            "mouse 4 50 60 0", "mouse 8 50 60 0", "mouse 16 50 60 0"}));
}

TEST(PointerButtons, CodesAboveTenDoNothing) {
    PointerState saved;
    FakeEffects effects;
    UseScreen(800, 600);
    pointerAcceleration = 3;
    pointerButtonHeld = false;
    for (int code : {11, 12, 21, 31, 255, 256, 512, 65536, -1, -100}) {
        PointerKey(code);
        EXPECT_EQ(FakeEffects::calls, std::vector<std::string>{}) << code;
        EXPECT_EQ(pointerAcceleration, 3) << code;
        EXPECT_FALSE(pointerButtonHeld) << code;
    }
}
