// The on-screen remote clicked with the real mouse: its keys go through the
// simulated card and the real tray program to the stand-in application, a
// click as one key and a held button as a held key.
#include <gtest/gtest.h>
#include <string.h>
#include <string>
#include "routing/poll_timing.h"
#include "sim/onscreen/onscreen_resource.h"
#include "tests/support/process.h"
#include "tests/support/sim_card.h"
#include "tests/support/telvix_session.h"
#include "tests/support/window_capture.h"

namespace {

const char kRemoteTitle[] = "Remote (simulated card)";

HWND KeyButton(HWND remote, const char *label) {
    for (int id = IDC_KEY_FIRST; id < IDC_KEY_FIRST + IDC_KEY_COUNT; ++id) {
        char text[32] = "";
        GetDlgItemTextA(remote, id, text, sizeof text);
        if (strcmp(text, label) == 0) return GetDlgItem(remote, id);
    }
    return NULL;
}

std::string ItemText(HWND remote, int id) {
    char text[256] = "";
    GetDlgItemTextA(remote, id, text, sizeof text);
    return text;
}

bool ItemShows(HWND remote, int id, const std::string &needle) {
    return WaitUntil([&] { return ItemText(remote, id).find(needle) != std::string::npos; }, 20000);
}

// The left button goes down in the middle of the key, as a person's would.
void ButtonDown(HWND remote, const char *label) {
    HWND button = KeyButton(remote, label);
    ASSERT_TRUE(button) << label;
    RECT r;
    GetWindowRect(button, &r);
    ASSERT_TRUE(SetCursorPos((r.left + r.right) / 2, (r.top + r.bottom) / 2));
    mouse_event(MOUSEEVENTF_LEFTDOWN, 0, 0, 0, 0);
}

void ButtonUp() { mouse_event(MOUSEEVENTF_LEFTUP, 0, 0, 0, 0); }

void Click(HWND remote, const char *label) {
    ButtonDown(remote, label);
    ButtonUp();
}

// Telvix bound to the card, and the on-screen remote once it has set itself
// up (its window is found before its keys exist).
HWND StartWithRemote(TelvixSession &session, SimCard &card) {
    if (!card.Register("Philips Cap713x Video Capture") || !session.StartTelvix() || !session.WaitForTrayWindow() ||
        !card.WaitForPolls(3))
        return NULL;
    if (!session.processes().Start("\"" + BinDir() + "\\sim\\onscreen_remote.exe\"")) return NULL;
    HWND remote = WaitForWindow(NULL, kRemoteTitle);
    return remote && WaitUntil([&] { return !ItemText(remote, IDC_TARGET).empty(); }) ? remote : NULL;
}

} // namespace

TEST(OnScreenRemote, ClicksAndAHeldKeyReachTheApplication) {
    StrayStandIns stray;
    SimCard card;
    TelvixSession session("onscreen_remote");
    session.InstallStandIn(kPowerVcr);
    TelvixSession::WriteSettings(kPowerVcr, 0);
    HWND remote = StartWithRemote(session, card);
    ASSERT_TRUE(remote);
    EXPECT_TRUE(ItemShows(remote, IDC_TARGET, "No TV application"));

    Click(remote, "Power");
    ASSERT_TRUE(session.WaitForEvent(kPowerVcr, "started")) << session.StandInLog();
    EXPECT_TRUE(ItemShows(remote, IDC_TARGET, "Keys go to PowerVCR II")) << ItemText(remote, IDC_TARGET);

    // A click is one key, however short.
    Click(remote, "5");
    EXPECT_TRUE(session.WaitForEvent(kPowerVcr, "WM_KEYDOWN 0x35 0x00060001")) << session.StandInLog();
    Click(remote, "CH+");
    EXPECT_TRUE(session.WaitForEvent(kPowerVcr, "WM_KEYDOWN 0x4E")) << session.StandInLog();
    EXPECT_TRUE(ItemShows(remote, IDC_STATUS, "CH+: raw code 31, logical 26")) << ItemText(remote, IDC_STATUS);
    EXPECT_TRUE(ItemShows(remote, IDC_STATUS, "read by Telvix")) << ItemText(remote, IDC_STATUS);

    // Held past the repeat that passes: the first event and that repeat arrive.
    LONG readsBefore = card.state().keyReads;
    ButtonDown(remote, "VOL+");
    bool repeated = WaitUntil([&] { return card.state().keyReads - readsBefore >= kRepeatPassEvery + 2; }, 30000);
    ButtonUp();
    ASSERT_TRUE(repeated) << ItemText(remote, IDC_STATUS);
    EXPECT_TRUE(session.WaitForEvent(kPowerVcr, "WM_KEYDOWN 0x6B", 2)) << session.StandInLog();
    EXPECT_TRUE(WaitUntil([&] { return card.state().keyDown == 0; }, 5000)) << "released with the button";

    EXPECT_TRUE(SaveWindowPng(remote, ScreenshotDir() + "\\onscreen-remote.png"));

    // Pulled out and put back with its button: Telvix lets the dead filter go
    // and binds the new device, and the keys go on to the same application.
    LONG joins = card.state().joinCount;
    SendDlgItemMessageA(remote, IDC_PLUG, BM_CLICK, 0, 0);
    EXPECT_TRUE(ItemShows(remote, IDC_PLUG, "Plug the card in"));
    EXPECT_TRUE(WaitUntil([&] { return card.state().liveFilters == 0; })) << ItemText(remote, IDC_STATUS);
    SendDlgItemMessageA(remote, IDC_PLUG, BM_CLICK, 0, 0);
    EXPECT_TRUE(ItemShows(remote, IDC_PLUG, "Unplug the card"));
    EXPECT_TRUE(WaitUntil([&] { return card.state().joinCount > joins; }));
    Click(remote, "7");
    EXPECT_TRUE(session.WaitForEvent(kPowerVcr, "WM_KEYDOWN 0x37")) << session.StandInLog();
    EXPECT_EQ(session.Events(kPowerVcr, "started").size(), 1u);
}

TEST(OnScreenRemote, WithNoApplicationAHeldKeySpeedsThePointerAndTheClickKeyClicksOnce) {
    StrayStandIns stray;
    SimCard card;
    TelvixSession session("onscreen_remote_pointer");
    HWND remote = StartWithRemote(session, card);
    ASSERT_TRUE(remote);

    // Held "4" (left): one pixel per poll at first, then growing steps; the
    // button keeps the mouse while the pointer leaves it.
    LONG readsBefore = card.state().keyReads;
    ButtonDown(remote, "4");
    POINT from;
    GetCursorPos(&from);
    bool held = WaitUntil([&] { return card.state().keyReads - readsBefore >= 12; }, 30000);
    ButtonUp();
    ASSERT_TRUE(held) << ItemText(remote, IDC_STATUS);
    POINT to;
    GetCursorPos(&to);
    EXPECT_GT(from.x - to.x, 12) << "steps grow while the key is held";
    EXPECT_TRUE(WaitUntil([&] { return card.state().keyDown == 0; }, 5000)) << "released with the button";

    // Key 0 clicks where the pointer is: on the remote's own key, which must
    // not take that click for another press.
    readsBefore = card.state().keyReads;
    Click(remote, "0");
    ASSERT_TRUE(ItemShows(remote, IDC_STATUS, "read by Telvix")) << ItemText(remote, IDC_STATUS);
    ASSERT_TRUE(card.WaitForPolls(15));
    EXPECT_LE(card.state().keyReads - readsBefore, 2) << ItemText(remote, IDC_STATUS);
}
