#include <gtest/gtest.h>
#include "apps/app_watch.h"
#include "apps/timers.h"
#include "apps/tv_app_table.h"
#include "routing/pointer.h"
#include "routing/poll_cycle.h"
#include "routing/session_gate.h"
#include "tests/support/effects_recorder.h"
#include "tests/support/process_state.h"
#include "tests/support/test_windows.h"
#include "tests/unit/dialog_driver.h"
#include "tray/settings.h"
#include "tray/shutdown_prompt.h"
#include "tray/tray_window.h"

namespace {

// Routing state as a fresh process has it, restored after each test.
class Routing : public ::testing::Test {
protected:
    void SetUp() override {
        ResetProcessState();
        AppWatchTimer.bind(timerOwner.hwnd(), kAppWatchPeriodMs);
    }
    void TearDown() override { ResetProcessState(); }
    TestWindow timerOwner{"TimerOwner", "owner"};
    FakeEffects effects;
};

// What became of a key, as the trace and the display word it.
std::string Said(const KeyOutcome &outcome) {
    char line[160];
    FormatKeyOutcome(outcome, 0, line, sizeof line);
    return std::string(KeyPlaceWords(outcome.place)) + ", " + line;
}

int Posted(HWND window, UINT message, WPARAM wParam) {
    int n = 0;
    MSG msg;
    while (PeekMessageA(&msg, window, message, message, PM_REMOVE))
        if (msg.wParam == wParam) ++n;
    return n;
}

} // namespace

TEST(RepeatFilter, SameCodeWithin250msIsARepeatMeasuredInUnsignedTicks) {
    struct Step { RemoteKeyCode code; DWORD now; bool repeat; int count; };
    const Step steps[] = {
        {5, 1000, false, 0},  {5, 1249, true, 1},  {5, 1498, true, 2},
        {5, 1748, false, 0},  // 250 ms apart: fresh
        {6, 1800, false, 0},  // another code within 250 ms: fresh
        {6, 0xFFFFFFF0u, false, 0},
        {6, 0x00000010u, true, 1}, // 32 ms later across the wrap
    };
    RepeatState state{};
    for (const Step &s : steps) {
        pointerAcceleration = 9;
        EXPECT_EQ(NoteKeyEvent(state, s.code, s.now), s.repeat) << s.code << "@" << s.now;
        EXPECT_EQ(state.repeatCount, s.count);
        EXPECT_EQ(state.lastCode, s.code);
        EXPECT_EQ(state.lastTick, s.now);
        EXPECT_EQ(pointerAcceleration, s.repeat ? 9 : 0) << "fresh keys reset the pointer acceleration";
    }
    pointerAcceleration = 0;
}

TEST(RepeatFilter, WithAnActiveTargetOnlyTheFirstAndEveryTenthRepeatPass) {
    RepeatState state{};
    std::vector<int> passedActive, passedIdle;
    for (int event = 0; event < 32; ++event) {
        bool repeat = NoteKeyEvent(state, 7, 5000 + kPollPeriodMs * event);
        if (ApplyRepeatDrop(state, repeat, true, 7) == 7) passedActive.push_back(event);
        if (ApplyRepeatDrop(state, repeat, false, 7) == 7) passedIdle.push_back(event);
    }
    EXPECT_EQ(passedActive, (std::vector<int>{0, 10, 20, 30}));
    EXPECT_EQ(passedIdle.size(), 32u) << "without an active target every repeat passes";
    pointerAcceleration = 0;
}

TEST_F(Routing, HeldKeyWithHomeTheaterActiveReachesItsMapOnFirstAndTenthEvents) {
    TestWindow homeTheater("HtFrame", "Home Theater");
    homeTheaterApp.active = 1;
    std::vector<int> reached;
    for (int event = 0; event < 21; ++event) {
        KeyOutcome outcome = HandleKeyEvent(NULL, 3, 100000 + kPollPeriodMs * event);
        EXPECT_EQ(outcome.code, 3) << "the key as read, also when dropped";
        if (outcome.reason == kTaken) EXPECT_EQ(Said(outcome), "the active application, Home Theater: 3");
        else EXPECT_EQ(Said(outcome), "the active application, nothing: repeat dropped") << event;
        if (outcome.reason == kTaken) reached.push_back(event);
    }
    EXPECT_EQ(reached, (std::vector<int>{0, 10, 20}));
}

TEST_F(Routing, ActiveTargetTableDecidesByTheFirstActiveDescriptor) {
    TestWindow form("FormFrame", "FormMainWindow");
    TestWindow pvcr("PowerVCR II Taurus", "PowerVCR II");
    // PowerVCR II and TV@Anywhere both active: PowerVCR II comes first.
    powerVcrApp.active = 1;
    tvAnywhereApp.active = 1;
    EXPECT_EQ(Said(RouteKey(NULL, 4)), "the active application, PowerVCR II: 4");
    EXPECT_EQ(Said(RouteKey(NULL, kDroppedKey)), "the active application, nothing: repeat dropped");
    EXPECT_EQ(Said(RouteKey(NULL, kKey21)), "the active application, nothing: PowerVCR II has nothing on PC off");
    EXPECT_TRUE(effects.calls.empty());
    // Toggle: the window exists, so it is closed.
    EXPECT_EQ(Said(RouteKey(NULL, kPowerKey)), "the active application, PowerVCR II: closed");
    EXPECT_EQ(effects.CallsStartingWith("keybd").size(), 4u) << "Ctrl+X chord";
    EXPECT_EQ(powerVcrApp.active, 0);

    // Now TV@Anywhere decides: 20 and 21 are its commands 6000 and 5001.
    PumpMessages();
    EXPECT_EQ(Said(RouteKey(NULL, kKey20)), "the active application, TV@Anywhere: command 6000");
    EXPECT_EQ(Said(RouteKey(NULL, kKey21)), "the active application, TV@Anywhere: command 5001");
    EXPECT_EQ(Posted(form.hwnd(), WM_TVAPP_COMMAND, 6000), 1);
    EXPECT_EQ(Said(RouteKey(NULL, 8)), "the active application, TV@Anywhere: command 10008");
    EXPECT_EQ(Said(RouteKey(NULL, kPowerKey)), "the active application, TV@Anywhere: closed");
    EXPECT_EQ(Posted(form.hwnd(), WM_TVAPP_COMMAND, 1), 1);
    EXPECT_EQ(tvAnywhereApp.active, 0);
}

TEST_F(Routing, HonestechTargetsGetCommands6000And5001) {
    TestWindow form("FormFrame", "FormMainWindow");
    quickTvApp.active = 1;
    RouteKey(NULL, kKey20);
    RouteKey(NULL, kKey21);
    MSG msg;
    ASSERT_TRUE(PeekMessageA(&msg, form.hwnd(), WM_TVAPP_COMMAND, WM_TVAPP_COMMAND, PM_REMOVE));
    EXPECT_EQ(msg.wParam, 6000u);
    EXPECT_EQ(msg.lParam, 0);
    ASSERT_TRUE(PeekMessageA(&msg, form.hwnd(), WM_TVAPP_COMMAND, WM_TVAPP_COMMAND, PM_REMOVE));
    EXPECT_EQ(msg.wParam, 5001u);
    EXPECT_EQ(quickTvApp.active, 1);
}

TEST_F(Routing, OrdinaryKeyWithoutTargetAdoptsInTheFixedOrder) {
    struct Case {
        bool ht, pvcr, qtv, tva;
        TvAppId adopted;
    } cases[] = {
        {true, true, true, true, kHomeTheater},
        {false, true, false, true, kTvAnywhere},
        {false, true, true, false, kPowerVcr},
        {false, false, true, false, kQuickTv},
    };
    for (const Case &c : cases) {
        ResetProcessState();
        std::unique_ptr<TestWindow> ht, pvcr, qtv, tva;
        if (c.ht) ht.reset(new TestWindow("HtFrame", "Home Theater"));
        if (c.pvcr) pvcr.reset(new TestWindow("PowerVCR II Taurus", "PowerVCR II"));
        if (c.qtv) qtv.reset(new TestWindow("Quick_TV", "Quick TV")); // found by class
        if (c.tva) tva.reset(new TestWindow("TvaFrame", "FormMainWindow"));
        KeyOutcome outcome = RouteKey(NULL, 2);
        EXPECT_EQ(outcome.place, kToAdopted);
        EXPECT_STREQ(outcome.target, FindTvApp(c.adopted)->names.title) << "the adopted application's map gets the key";
        for (const TvApp *app : kTvApps) {
            EXPECT_EQ(app->descriptor->active, app->id == c.adopted ? 1 : 0) << app->names.title;
            // Watched as a launched one is, so that closing it frees the remote.
            EXPECT_EQ(watchFlags[app->id - 1], app->id == c.adopted ? 1 : 0) << app->names.title;
        }
        EXPECT_TRUE(AppWatchTimer.armed);
        EXPECT_TRUE(effects.CallsStartingWith("SetCursorPos").empty());
    }
}

TEST_F(Routing, OrdinaryKeyWithNothingRunningMovesThePointerOrSaysWhyNothingHappened) {
    InitScreenMetrics();
    TestWindow front("RoutingFront", "In front", true);
    FakeEffects::foreground = front.hwnd();
    struct Case {
        POINT cursor;
        RemoteKeyCode code;
        const char *said;
    } cases[] = {
        {{300, 300}, 6, "the pointer, pointer right 1 px"},
        {{300, 300}, 0, "the pointer, left click"},
        {{300, 300}, 5, "the pointer, button held down"},
        {{300, 300}, 5, "the pointer, button let go"},
        {{1, 300}, 4, "the pointer, nothing: the pointer is at the edge of the screen"},
        {{300, 300}, 22, "nothing, nothing: no TV application and nothing mapped for OK in unit_tests.exe"},
        {{300, 300}, 65536, "nothing, nothing: no TV application and nothing mapped for key 65536 in unit_tests.exe"},
    };
    for (const Case &c : cases) {
        effects.cursor = c.cursor;
        EXPECT_EQ(Said(RouteKey(NULL, c.code)), c.said);
    }
    EXPECT_EQ(effects.CallsStartingWith("SetCursorPos"), (std::vector<std::string>{"SetCursorPos 301 300"}));
    FakeEffects::foreground = NULL;
}

TEST_F(Routing, Key21OpensThePromptOnlyWithoutAnyTvWindow) {
    TestInstance resources;
    {
        TestWindow ht("HtFrame", "Home Theater");
        pollState.busy = 1;
        bool shown = false;
        static std::string said;
        DriveDialog([] { said = Said(RouteKey(NULL, kKey21)); return (INT_PTR)0; }, [](HWND d) { EndDialog(d, 0); },
                    &shown);
        EXPECT_FALSE(shown) << "no prompt while a TV window exists";
        EXPECT_EQ(said, "nothing, nothing: a TV application's window is open");
        EXPECT_EQ(pollState.busy, 1);
        EXPECT_EQ(homeTheaterApp.active, 0) << "and nothing is adopted";
    }
    pollState.busy = 1;
    int busyInside = -1;
    DriveDialog([] { RouteKey(NULL, kKey21); return (INT_PTR)0; },
                [&](HWND) {
                    busyInside = pollState.busy;
                    RouteKey(NULL, 4); // the remote's next key cancels it
                });
    EXPECT_EQ(busyInside, 0) << "the guard is cleared before the prompt opens";
    EXPECT_EQ(promptOpen, 0);
}

TEST_F(Routing, OpenPromptTakesPowerAsEnterAndAnythingElseAsEscape) {
    static std::vector<int> keys;
    struct KeyLog {
        static LRESULT CALLBACK Proc(HWND w, UINT m, WPARAM wp, LPARAM lp) {
            if (m == WM_KEYDOWN) keys.push_back((int)wp);
            return DefWindowProcA(w, m, wp, lp);
        }
    };
    keys.clear();
    WNDCLASSA wc = {};
    wc.lpfnWndProc = KeyLog::Proc;
    wc.lpszClassName = "PromptStandIn";
    RegisterClassA(&wc);
    HWND prompt = CreateWindowExA(0, "PromptStandIn", "Shut Down", WS_POPUP, 0, 0, 10, 10, NULL, NULL, NULL, NULL);
    promptOpen = 1;
    promptWindow = prompt;
    homeTheaterApp.active = 1; // the prompt comes before any target
    for (RemoteKeyCode code : {kPowerKey, 3, kKey21, kDroppedKey, 65536})
        EXPECT_EQ(Said(RouteKey(NULL, code)),
                  code == kPowerKey ? "the Shut Down prompt, Shut Down: Enter (shut down)"
                                    : "the Shut Down prompt, Shut Down: Esc (cancel)");
    EXPECT_EQ(keys, (std::vector<int>{VK_RETURN, VK_ESCAPE, VK_ESCAPE, VK_ESCAPE, VK_ESCAPE}));
    DestroyWindow(prompt);
}

namespace {
// Windows of the three applications other than `n` (1..4), so the start
// sequence has something to close and application n is launched.
struct OtherWindows {
    std::unique_ptr<TestWindow> ht, pvcr, form;
    explicit OtherWindows(int n) {
        if (n != kHomeTheater) ht.reset(new TestWindow("HtFrame", "Home Theater"));
        if (n != kPowerVcr) pvcr.reset(new TestWindow("PowerVCR II Taurus", "PowerVCR II"));
        if (n != kQuickTv && n != kTvAnywhere) form.reset(new TestWindow("FormFrame", "FormMainWindow"));
    }
};
const std::vector<std::string> kHomeTheaterClose = {"keybd 0x12 0 1 0", "keybd 0x11 0 1 0", "keybd 0x10 0 1 0",
                                                    "keybd 0x77 0 1 0", "keybd 0x77 0 3 0", "keybd 0x10 0 3 0",
                                                    "keybd 0x11 0 3 0", "keybd 0x12 0 3 0"};
const std::vector<std::string> kPowerVcrClose = {"keybd 0x11 0 1 0", "keybd 0x58 0 1 0", "keybd 0x58 0 3 0",
                                                 "keybd 0x11 0 3 0"};
std::vector<std::string> Concat(std::initializer_list<std::vector<std::string>> parts) {
    std::vector<std::string> out;
    for (const auto &p : parts) out.insert(out.end(), p.begin(), p.end());
    return out;
}
} // namespace

TEST_F(Routing, PowerKeyClosesTheOtherThreeThenLaunchesTheDefault) {
    const char *dirs[] = {"C:\\HT", "C:\\Program Files\\PVCR", "C:\\QTV", "C:\\TVA"};
    const char *exes[] = {"Home Theater.exe", "PVCR.EXE", "QuickTV.EXE", "MSITVR.exe"};
    struct Case {
        int n;
        std::vector<std::string> calls;
        int closeCommands; // close command 1 posted to the FormMainWindow
    } cases[] = {
        {1, Concat({kPowerVcrClose, {"WinExec \"C:\\HT\\Home Theater.exe\" 5"}}), 2},
        {2, Concat({kHomeTheaterClose, {"WinExec \"C:\\Program Files\\PVCR\\PVCR.EXE\" 5"}}), 2},
        {3, Concat({kHomeTheaterClose, kPowerVcrClose, {"WinExec \"C:\\QTV\\QuickTV.EXE\" 5"}}), 1},
        {4, Concat({kHomeTheaterClose, kPowerVcrClose, {"WinExec \"C:\\TVA\\MSITVR.exe\" 5"}}), 1},
    };
    TvAppDescriptor saved[4] = {homeTheaterApp, powerVcrApp, quickTvApp, tvAnywhereApp};
    for (const Case &c : cases) {
        ResetProcessState();
        effects.calls.clear();
        for (int id = 1; id <= 4; ++id) {
            TvAppById(id)->installed = 1;
            lstrcpyA(TvAppById(id)->installDir, dirs[id - 1]);
            lstrcpyA(TvAppById(id)->exeName, exes[id - 1]);
        }
        OtherWindows windows(c.n);
        defaultTvApp = c.n;
        EXPECT_EQ(Said(RouteKey(NULL, kPowerKey)),
                  std::string("the default application, ") + FindTvApp(c.n)->names.title + ": started");
        EXPECT_EQ(effects.calls, c.calls) << "default " << c.n;
        if (windows.form) {
            EXPECT_EQ(Posted(windows.form->hwnd(), WM_TVAPP_COMMAND, 1), c.closeCommands);
        }
        EXPECT_EQ(TvAppById(c.n)->active, 1);
        EXPECT_TRUE(AppWatchTimer.armed);
        for (const TvApp *app : kTvApps)
            EXPECT_EQ(watchFlags[app->id - 1], app->id == c.n ? 1 : 0) << c.n << " flag " << app->id;
    }
    homeTheaterApp = saved[0], powerVcrApp = saved[1], quickTvApp = saved[2], tvAnywhereApp = saved[3];
}

TEST_F(Routing, DefaultNotInstalledWarnsOnPowerOnlyThenGoesOn) {
    TvAppDescriptor saved = homeTheaterApp;
    homeTheaterApp.installed = 0;
    defaultTvApp = 1;
    TestWindow pvcr("PowerVCR II Taurus", "PowerVCR II");
    EXPECT_EQ(Said(RouteKey(NULL, kPowerKey)), "the default application, nothing: Home Theater is not installed");
    ASSERT_GE(effects.calls.size(), 1u);
    EXPECT_EQ(effects.calls[0], "MessageBox Please re-initialize the TV application settings.|"
                                "Corvane Remote Control|0x50000|no owner");
    EXPECT_EQ(effects.calls.size(), 1u + kPowerVcrClose.size()) << "the others are still closed afterwards";
    EXPECT_TRUE(AppWatchTimer.armed) << "the toggle still runs and arms the watch";
    EXPECT_EQ(watchFlags[kHomeTheater - 1], 0);

    effects.calls.clear();
    AppWatchTimer.disarm();
    RouteKey(NULL, kKey20);
    EXPECT_TRUE(effects.CallsStartingWith("MessageBox").empty()) << "key 20 gives no message";
    homeTheaterApp = saved;
}

TEST_F(Routing, DefaultOutsideOneToFourMakesPowerAndKey20DoNothing) {
    TestWindow pvcr("PowerVCR II Taurus", "PowerVCR II");
    for (int n : {0, kTvAppCount + 1, -1, 1000}) {
        defaultTvApp = n;
        for (RemoteKeyCode code : {kPowerKey, kKey20})
            EXPECT_EQ(Said(RouteKey(NULL, code)), "the default application, nothing: no default application is chosen");
    }
    EXPECT_TRUE(effects.calls.empty());
    EXPECT_FALSE(AppWatchTimer.armed);
}

TEST_F(Routing, PollCycleReturnsAtOnceWhileBusy) {
    pollState.busy = 1;
    pollState.lastCode = 4;
    PollCycle(NULL, WM_TIMER, 1, 0);
    EXPECT_EQ(pollState.busy, 1);
    EXPECT_EQ(pollState.lastCode, 4);
}

TEST_F(Routing, AppWatchDropsTheFirstWatchedAppWhoseWindowIsGone) {
    homeTheaterApp.active = powerVcrApp.active = 1;
    watchFlags[kHomeTheater - 1] = watchFlags[kPowerVcr - 1] = 1;
    AppWatchTimer.arm();
    {
        TestWindow ht("HtFrame", "Home Theater");
        AppWatchTick(NULL, WM_TIMER, 2, 0);
        EXPECT_EQ(homeTheaterApp.active, 1) << "its window still exists";
        EXPECT_TRUE(AppWatchTimer.armed);
    }
    AppWatchTick(NULL, WM_TIMER, 2, 0);
    EXPECT_EQ(homeTheaterApp.active, 0);
    EXPECT_EQ(watchFlags[kHomeTheater - 1], 0);
    EXPECT_EQ(powerVcrApp.active, 1) << "only the first raised flag is handled per tick";
    EXPECT_EQ(watchFlags[kPowerVcr - 1], 1);
    EXPECT_TRUE(AppWatchTimer.armed) << "PowerVCR II is still watched";
    AppWatchTick(NULL, WM_TIMER, 2, 0);
    EXPECT_EQ(powerVcrApp.active, 0);
    EXPECT_EQ(watchFlags[kPowerVcr - 1], 0);
    EXPECT_FALSE(AppWatchTimer.armed);
    EXPECT_TRUE(effects.CallsStartingWith("Sleep").empty());
}

TEST_F(Routing, AppWatchWithNothingLaunchedSleepsTwoSecondsAndDisarms) {
    AppWatchTimer.arm();
    AppWatchTick(NULL, WM_TIMER, 2, 0);
    EXPECT_EQ(effects.calls, (std::vector<std::string>{"Sleep 2000"}));
    EXPECT_FALSE(AppWatchTimer.armed);
}

TEST(SessionGate, OnlyTheConsoleSessionUnlockedPolls) {
    struct Case {
        DWORD own, console;
        bool locked, polls;
    } cases[] = {
        {1, 1, false, true},
        {1, 1, true, false},          // locked: the secure desktop is in front
        {2, 1, false, false},         // a switched-out user, or a Remote Desktop session
        {2, 1, true, false},
        {1, kNoSession, false, false}, // the console between two sessions
        {kNoSession, 1, false, true},  // our own session unreadable: as before
        {0, 0, false, true},
    };
    for (const Case &c : cases) {
        SCOPED_TRACE(testing::Message() << c.own << " " << c.console << " " << c.locked);
        EXPECT_EQ(SessionMayPoll(c.own, c.console, c.locked), c.polls);
    }
}

TEST(SessionGate, LockStateFromTheSessionFlags) {
    struct Case {
        LONG flags;
        DWORD major, minor;
        SessionLock lock;
    } cases[] = {
        {0, 10, 0, kLocked}, {1, 10, 0, kUnlocked}, {-1, 10, 0, kLockUnknown}, {1, 6, 2, kUnlocked},
        {0, 6, 1, kUnlocked}, {1, 6, 1, kLocked}, // Windows 7 reports them reversed
    };
    for (const Case &c : cases)
        EXPECT_EQ(LockFromSessionFlags(c.flags, c.major, c.minor), c.lock) << c.flags << " " << c.major << "." << c.minor;
}

TEST(SessionGate, FollowsTheConsoleOnEveryCycleAndTheTrayWindowsLockNotices) {
    FakeEffects effects;
    TestWindow tray("SessionGateTray", "tray");
    // The tray window's own procedure takes the notices Windows sends it.
    auto notice = [&](WPARAM event) { TrayWindowProc(tray.hwnd(), WM_WTSSESSION_CHANGE, event, 0); };
    FakeEffects::ownSession = 2;
    FakeEffects::consoleSession = 2;
    StartSessionGate(tray.hwnd());
    EXPECT_TRUE(ThisSessionMayPoll());
    notice(WTS_SESSION_LOCK);
    EXPECT_FALSE(ThisSessionMayPoll());
    notice(WTS_CONSOLE_DISCONNECT);
    FakeEffects::consoleSession = 3; // another user switched in
    notice(WTS_SESSION_UNLOCK);
    EXPECT_FALSE(ThisSessionMayPoll()) << "unlocked, but not at the console";
    FakeEffects::consoleSession = 2;
    notice(WTS_CONSOLE_CONNECT);
    EXPECT_TRUE(ThisSessionMayPoll());
    FakeEffects::consoleSession = kNoSession;
    EXPECT_TRUE(ThisSessionMayPoll()) << "the console is not asked on every cycle";
    FakeEffects::tick += kConsoleRecheckMs;
    EXPECT_FALSE(ThisSessionMayPoll()) << "but again after a second without a notice";

    // Started behind a locked screen, no notice says so: the state is asked.
    FakeEffects::consoleSession = 2;
    FakeEffects::sessionInfoKnown = true;
    FakeEffects::sessionFlags = 0;
    StartSessionGate(tray.hwnd());
    EXPECT_FALSE(ThisSessionMayPoll()) << "started locked";
    notice(WTS_SESSION_UNLOCK);
    EXPECT_TRUE(ThisSessionMayPoll());

    // Refused early at logon: asked again on a timer, and the lock state read
    // once the notices come.
    FakeEffects::sessionRegisterCalls = 0;
    FakeEffects::sessionRegisterRefusals = 2;
    FakeEffects::sessionFlags = 1;
    StartSessionGate(tray.hwnd());
    EXPECT_TRUE(ThisSessionMayPoll());
    FakeEffects::sessionFlags = 0; // locked while nobody told us
    EXPECT_TRUE(PumpMessagesUntil([] { return FakeEffects::sessionRegisterCalls == 3; }));
    EXPECT_FALSE(ThisSessionMayPoll()) << "the lock while unregistered is seen";
    StopSessionGate(tray.hwnd());
    FakeEffects::sessionInfoKnown = false;

    FakeEffects::sessionKnown = FALSE;
    StartSessionGate(tray.hwnd());
    EXPECT_TRUE(ThisSessionMayPoll()) << "nothing to go by: the card is polled";
    StopSessionGate(tray.hwnd());
    FakeEffects::sessionKnown = TRUE;
    FakeEffects::consoleSession = 1;
    FakeEffects::ownSession = 1;
    StartSessionGate(tray.hwnd()); // as the other tests expect it
    StopSessionGate(tray.hwnd());
}

TEST(TimerSlotTest, ArmAndDisarmAreIdempotentAndDriveTheRealTimer) {
    static int ticks = 0;
    struct T {
        static void CALLBACK Tick(HWND, UINT, UINT_PTR, DWORD) { ++ticks; }
    };
    TestWindow owner("SlotOwner", "owner");
    TimerSlot slot(7, T::Tick);
    EXPECT_FALSE(slot.armed);
    slot.bind(owner.hwnd(), 10);
    EXPECT_FALSE(slot.armed) << "binding does not set the timer";
    slot.arm();
    slot.arm();
    EXPECT_TRUE(slot.armed);
    DWORD start = GetTickCount();
    while (ticks == 0 && GetTickCount() - start < 5000) {
        MSG msg;
        if (GetMessageA(&msg, NULL, 0, 0) > 0) DispatchMessageA(&msg);
    }
    EXPECT_GT(ticks, 0);
    slot.disarm();
    slot.disarm();
    EXPECT_FALSE(slot.armed);
    EXPECT_FALSE(KillTimer(owner.hwnd(), 7)) << "the system timer is gone";
}
