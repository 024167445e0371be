#include "routing/poll_cycle.h"
#include "apps/app_watch.h"
#include "apps/key_maps.h"
#include "apps/timers.h"
#include "apps/tv_app.h"
#include "platform/effects.h"
#include "platform/locale.h"
#include "platform/product.h"
#include "receiver/receiver.h"
#include "routing/pointer.h"
#include "routing/tray_hooks.h"

RepeatState pollState;

int defaultTvApp = 2;
int promptOpen = 0;
HWND promptWindow = NULL;
int (*openShutdownPrompt)(HWND owner) = nullptr;

bool NoteKeyEvent(RepeatState &state, RemoteKeyCode code, DWORD now) {
    // Unsigned difference: the tick counter's wrap is harmless.
    bool isRepeat = code == state.lastCode && (DWORD)(now - state.lastTick) < kRepeatWindowMs;
    if (isRepeat) {
        ++state.repeatCount;
    } else {
        state.repeatCount = 0;
        pointerAcceleration = 0;
    }
    state.lastTick = now;
    state.lastCode = code;
    return isRepeat;
}

RemoteKeyCode ApplyRepeatDrop(const RepeatState &state, bool isRepeat, bool anyActive, RemoteKeyCode code) {
    if (isRepeat && state.repeatCount % kRepeatPassEvery != 0 && anyActive) return kDroppedKey;
    return code;
}

bool ReadRemoteKey(RemoteKeyCode *code) {
    if (!IsKeyPressed()) return false;
    int raw = ReadRawKeyCode();
    *code = JapanLayout ? raw : MapRawKeyCode(raw);
    return true;
}

namespace {

// How the active target takes the keys with a fixed role in routing.
struct ActiveRoute {
    TvAppDescriptor *app;
    void (*toggle)();     // code 18 (and 20 without a command)
    int command20;        // 0: toggle on 20 as well
    int command21;        // 0: nothing on 21
    void (*dispatch)(RemoteKeyCode);
};

void ToggleQuickTv() { ToggleHonestechApp(quickTvApp); }
void ToggleTvAnywhere() { ToggleHonestechApp(tvAnywhereApp); }

// In the order the active fields are examined.
const ActiveRoute kActiveRoutes[] = {
    {&homeTheaterApp, ToggleHomeTheater, 0, 0, DispatchHomeTheaterKey},
    {&powerVcrApp, TogglePowerVcr, 0, 0, DispatchPowerVcrKey},
    {&quickTvApp, ToggleQuickTv, 6000, 5001, DispatchQuickTvKey},
    {&tvAnywhereApp, ToggleTvAnywhere, 6000, 5001, DispatchTvAnywhereKey},
};

void RouteToActive(const ActiveRoute &route, RemoteKeyCode code) {
    switch (code) {
    case kPowerKey: route.toggle(); break;
    case kKey20:
        if (route.command20) SendTvCommand(*route.app, route.command20);
        else route.toggle();
        break;
    case kKey21:
        if (route.command21) SendTvCommand(*route.app, route.command21);
        break;
    case kDroppedKey: break;
    default: route.dispatch(code); break;
    }
}

// What an ordinary key does with no active target: adopt the first running
// application in this order, else move the pointer.
void RouteWithoutTarget(RemoteKeyCode code) {
    HWND homeTheater = FindHomeTheaterWindow();
    HWND powerVcr = FindPowerVcrWindow();
    HWND quickTv = FindQuickTvWindow();
    HWND tvAnywhere = FindTvAnywhereWindow();
    const struct {
        HWND window;
        TvAppDescriptor *app;
        void (*dispatch)(RemoteKeyCode);
    } adoption[] = {
        {homeTheater, &homeTheaterApp, DispatchHomeTheaterKey},
        {tvAnywhere, &tvAnywhereApp, DispatchTvAnywhereKey},
        {powerVcr, &powerVcrApp, DispatchPowerVcrKey},
        {quickTv, &quickTvApp, DispatchQuickTvKey},
    };
    for (const auto &candidate : adoption) {
        if (candidate.window) {
            candidate.app->active = 1;
            candidate.dispatch(code);
            return;
        }
    }
    PointerKey(code);
}

bool AnyTvAppWindow() {
    // All four are looked up, as the routing always does.
    HWND windows[] = {FindHomeTheaterWindow(), FindPowerVcrWindow(), FindQuickTvWindow(),
                      FindTvAnywhereWindow()};
    for (HWND w : windows)
        if (w) return true;
    return false;
}

} // namespace

void StartDefaultApp(bool check) {
    int n = defaultTvApp;
    TvAppDescriptor *app = TvAppById(n);
    if (check && app && app->installed == 0)
        fx.MessageBoxA(NULL, "Please re-initialize the TV application settings.", kTelvixCaption,
                       MB_SETFOREGROUND);
    if (!app) return;
    if (n != kHomeTheater) CloseHomeTheater();
    if (n != kPowerVcr) ClosePowerVcr();
    if (n != kQuickTv) CloseHonestechApp(quickTvApp);
    if (n != kTvAnywhere) CloseHonestechApp(tvAnywhereApp);
    switch (n) {
    case kHomeTheater: ToggleHomeTheater(); break;
    case kPowerVcr: TogglePowerVcr(); break;
    default: ToggleHonestechApp(*app); break;
    }
}

void RouteKey(HWND owner, RemoteKeyCode code) {
    if (promptOpen) {
        SetForegroundWindow(promptWindow);
        SetActiveWindow(promptWindow);
        SendMessageA(promptWindow, WM_KEYDOWN, code == kPowerKey ? VK_RETURN : VK_ESCAPE, 0);
        return;
    }
    for (const ActiveRoute &route : kActiveRoutes) {
        if (route.app->active == 1) {
            RouteToActive(route, code);
            return;
        }
    }
    switch (code) {
    case kPowerKey: StartDefaultApp(true); break;
    case kKey20: StartDefaultApp(false); break;
    case kKey21:
        if (!AnyTvAppWindow()) {
            pollState.busy = 0; // cycles inside the prompt feed it the remote's keys
            if (openShutdownPrompt) openShutdownPrompt(owner);
        }
        break;
    default: RouteWithoutTarget(code); break;
    }
}

void HandleKeyEvent(HWND owner, RemoteKeyCode code, DWORD now) {
    bool isRepeat = NoteKeyEvent(pollState, code, now);
    RouteKey(owner, ApplyRepeatDrop(pollState, isRepeat, AnyAppActive(), code));
}

void StartPolling(HWND owner) {
    PollTimer.callback = PollCycle;
    PollTimer.bind(owner, kPollPeriodMs);
    PollTimer.arm();
}

void CALLBACK PollCycle(HWND window, UINT, UINT_PTR, DWORD) {
    if (pollState.busy) return;
    pollState.busy = 1;
    RemoteKeyCode code;
    if (ReadRemoteKey(&code)) HandleKeyEvent(window, code, fx.GetTickCount());
    pollState.busy = 0;
}
