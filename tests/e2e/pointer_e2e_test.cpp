// The remote as a mouse: with no TV application about, the tray program moves
// the real pointer and presses the real button, also again once the user has
// closed the application it drove.
#include <gtest/gtest.h>
#include "tests/support/process.h"
#include "tests/support/sim_card.h"
#include "tests/support/telvix_session.h"

namespace {

// A window under the pointer that counts the button events it gets.
struct ButtonTarget {
    static int downs, ups;
    static LRESULT CALLBACK Proc(HWND w, UINT m, WPARAM wp, LPARAM lp) {
        if (m == WM_LBUTTONDOWN) ++downs;
        if (m == WM_LBUTTONUP) ++ups;
        return DefWindowProcA(w, m, wp, lp);
    }
    HWND window;
    ButtonTarget(int x, int y, int w, int h) {
        downs = ups = 0;
        WNDCLASSA wc = {};
        wc.lpfnWndProc = Proc;
        wc.lpszClassName = "PointerButtonTarget";
        wc.hCursor = LoadCursorA(NULL, IDC_ARROW);
        RegisterClassA(&wc);
        window = CreateWindowExA(WS_EX_TOPMOST, wc.lpszClassName, "Pointer target", WS_POPUP | WS_VISIBLE, x, y, w, h,
                                 NULL, NULL, NULL, NULL);
    }
    ~ButtonTarget() {
        // Never leave the button down for the next test.
        if (GetAsyncKeyState(VK_LBUTTON) & 0x8000) mouse_event(MOUSEEVENTF_LEFTUP, 0, 0, 0, 0);
        DestroyWindow(window);
    }
};
int ButtonTarget::downs, ButtonTarget::ups;

bool CursorAt(int x, int y) {
    POINT p;
    return GetCursorPos(&p) && p.x == x && p.y == y;
}

void StartWithNothingRunning(TelvixSession &session, SimCard &card) {
    StrayStandIns::CloseAll();
    ASSERT_TRUE(card.Register("Philips Cap713x Video Capture"));
    ASSERT_TRUE(session.StartTelvix());
    ASSERT_TRUE(session.WaitForTrayWindow());
    ASSERT_TRUE(card.WaitForPolls(3));
}

} // namespace

TEST(PointerProcess, DirectionKeysMoveTheRealPointerOnePixelAtFirst) {
    SimCard card;
    TelvixSession session("pointer_moves");
    StartWithNothingRunning(session, card);
    ASSERT_TRUE(SetCursorPos(400, 300));
    ASSERT_TRUE(card.Press("6")); // right
    EXPECT_TRUE(WaitUntil([] { return CursorAt(401, 300); }, 20000));
    ASSERT_TRUE(card.Press("2")); // up; a different key starts slowly again
    EXPECT_TRUE(WaitUntil([] { return CursorAt(401, 299); }, 20000));
    ASSERT_TRUE(card.Press("7")); // down-left
    EXPECT_TRUE(WaitUntil([] { return CursorAt(400, 300); }, 20000));
    POINT p;
    GetCursorPos(&p);
    EXPECT_EQ(p.x, 400);
    EXPECT_EQ(p.y, 300);
}

TEST(PointerProcess, Key5HoldsTheButtonAndReleasesItOnTheNextPress) {
    SimCard card;
    TelvixSession session("pointer_button");
    StartWithNothingRunning(session, card);
    ButtonTarget target(300, 200, 300, 200);
    ASSERT_TRUE(SetCursorPos(450, 300));
    ASSERT_TRUE(card.Press("5"));
    ASSERT_TRUE(WaitUntil([] { return ButtonTarget::downs == 1; }, 20000));
    EXPECT_TRUE(GetAsyncKeyState(VK_LBUTTON) & 0x8000) << "the button stays down";
    EXPECT_EQ(ButtonTarget::ups, 0);
    ASSERT_TRUE(card.Press("5"));
    EXPECT_TRUE(WaitUntil([] { return ButtonTarget::ups == 1; }, 20000));
    EXPECT_FALSE(GetAsyncKeyState(VK_LBUTTON) & 0x8000);
    EXPECT_EQ(ButtonTarget::downs, 1);
}

// However PowerVCR II came to take the keys (launched by the power key, chosen
// from the tray menu, or started by the user and adopted by a digit), once the
// user closes it the direction keys move the pointer again and key 21 asks to
// shut down.
TEST(PointerProcess, AnApplicationClosedByTheUserGivesTheRemoteBack) {
    StrayStandIns stray;
    SimCard card;
    TelvixSession session("remote_back");
    session.InstallStandIn(2);
    TelvixSession::WriteSettings(2, 0);
    ASSERT_TRUE(card.Register("Philips Cap713x Video Capture"));
    ASSERT_TRUE(session.StartTelvix());
    HWND tray = session.WaitForTrayWindow();
    ASSERT_TRUE(tray);
    ASSERT_TRUE(card.WaitForPolls(3));
    enum Way { kPowerKey, kTrayMenu, kAdopted };
    for (Way way : {kPowerKey, kTrayMenu, kAdopted}) {
        SCOPED_TRACE(way == kPowerKey ? "power key" : way == kTrayMenu ? "tray menu" : "adopted");
        if (way == kPowerKey) {
            ASSERT_TRUE(card.Press("POWER"));
        } else if (way == kTrayMenu) {
            PostMessageA(tray, WM_COMMAND, 1102, 0);
        } else {
            ASSERT_TRUE(session.StartStandIn(2));
        }
        HWND app = WaitForWindow("PowerVCR II Taurus", NULL);
        ASSERT_TRUE(app);
        // It takes the keys (the adopted one from this key on).
        size_t fives = session.Events(2, "WM_KEYDOWN 0x35").size();
        ASSERT_TRUE(card.Press("5"));
        ASSERT_TRUE(session.WaitForEvent(2, "WM_KEYDOWN 0x35", fives + 1)) << session.StandInLog();

        PostMessageA(app, WM_CLOSE, 0, 0);
        ASSERT_TRUE(WaitForNoWindow("PowerVCR II Taurus", NULL));
        // The application watch notices within its period; until then the
        // key goes to the closed application's map and is lost.
        ASSERT_TRUE(SetCursorPos(400, 300));
        EXPECT_TRUE(WaitUntil(
            [&] {
                card.Press("6"); // right
                POINT p;
                return GetCursorPos(&p) && p.x > 400;
            },
            30000));
        ASSERT_TRUE(card.Press("KEY21"));
        EXPECT_TRUE(WaitForWindow("#32770", "Corvane Remote Control - Shut Down"));
        ASSERT_TRUE(card.Press("KEY20")); // any key but power cancels
        ASSERT_TRUE(WaitForNoWindow("#32770", "Corvane Remote Control - Shut Down"));
    }
}
