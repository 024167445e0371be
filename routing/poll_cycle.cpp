#include "routing/poll_cycle.h"
#include "apps/timers.h"
#include "apps/tv_app_table.h"
#include "platform/effects.h"
#include "platform/locale.h"
#include "platform/product_texts.h"
#include "platform/trace.h"
#include "receiver/receiver.h"
#include "routing/pointer.h"
#include "routing/session_gate.h"
#include "routing/tray_hooks.h"
#include "routing/user_key_route.h"

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
    Trace("key: raw %d logical %d", raw, *code);
    return true;
}

namespace {

// The active target takes the keys with a fixed role from its record, the
// others through its key map.
void RouteToActive(const TvApp &app, RemoteKeyCode code) {
    Trace("route: active target %s", app.identity.name);
    switch (code) {
    case kPowerKey: ToggleTvApp(app); break;
    case kKey20:
        if (app.command20) SendTvAppCommand(app, app.command20);
        else ToggleTvApp(app);
        break;
    case kKey21:
        if (app.command21) SendTvAppCommand(app, app.command21);
        break;
    case kDroppedKey: break;
    default: DispatchTvAppKey(app, code); break;
    }
}

// With no active target, an ordinary key adopts the running application of
// the lowest adoptionRank, which is not the TvAppId order.
void RouteWithoutTarget(RemoteKeyCode code) {
    // Every window is looked up before any is adopted, as the routing always does.
    const TvApp *adopted = nullptr;
    for (const TvApp &app : kTvApps)
        if (FindTvAppPresent(app) && (!adopted || app.adoptionRank < adopted->adoptionRank)) adopted = &app;
    if (!adopted) {
        if (RouteToUserKeyMap(code)) return;
        Trace("route: pointer, no TV application window");
        PointerKey(code);
        return;
    }
    Trace("route: adopt %s, its window is open", adopted->identity.name);
    adopted->descriptor->active = 1;
    // Watched like a launched one: closed by the user, it must stop taking the keys.
    WatchTvApp(*adopted);
    DispatchTvAppKey(*adopted, code);
}

bool AnyTvAppWindow() {
    bool any = false;
    for (const TvApp &app : kTvApps)
        if (FindTvAppPresent(app)) any = true; // every one is looked up
    return any;
}

} // namespace

void StartDefaultApp(bool check) {
    const TvApp *app = FindTvApp(defaultTvApp);
    Trace("route: start default application %d%s", defaultTvApp, app ? "" : ", which is none: nothing");
    if (check && app && app->descriptor->installed == 0)
        fx.MessageBoxA(NULL, "Please re-initialize the TV application settings.", kTelvixCaption,
                       MB_SETFOREGROUND | MB_TOPMOST);
    if (!app) return;
    CloseOtherTvApps(app->id);
    ToggleTvApp(*app);
}

void RouteKey(HWND owner, RemoteKeyCode code) {
    if (promptOpen) {
        Trace("route: prompt, %s", code == kPowerKey ? "Enter (shut down)" : "Esc (cancel)");
        SetForegroundWindow(promptWindow);
        SetActiveWindow(promptWindow);
        SendMessageA(promptWindow, WM_KEYDOWN, code == kPowerKey ? VK_RETURN : VK_ESCAPE, 0);
        return;
    }
    for (const TvApp &app : kTvApps) {
        if (app.descriptor->active == 1) {
            RouteToActive(app, code);
            return;
        }
    }
    switch (code) {
    case kPowerKey: StartDefaultApp(true); break;
    case kKey20: StartDefaultApp(false); break;
    case kKey21:
        if (!AnyTvAppWindow()) {
            Trace("route: open the shut down prompt");
            pollState.busy = 0; // cycles inside the prompt feed it the remote's keys
            if (openShutdownPrompt) openShutdownPrompt(owner);
        } else {
            Trace("route: nothing, a TV application window is open");
        }
        break;
    default: RouteWithoutTarget(code); break;
    }
}

void HandleKeyEvent(HWND owner, RemoteKeyCode code, DWORD now) {
    bool isRepeat = NoteKeyEvent(pollState, code, now);
    RemoteKeyCode passed = ApplyRepeatDrop(pollState, isRepeat, AnyAppActive(), code);
    if (!isRepeat) Trace("key: %d fresh, passed", code);
    else Trace("key: %d repeat %d, %s", code, pollState.repeatCount, passed == kDroppedKey ? "dropped" : "passed");
    RouteKey(owner, passed);
}

void StartPolling(HWND owner) {
    LoadUserKeyMaps();
    PollTimer.callback = PollCycle;
    PollTimer.bind(owner, kPollPeriodMs);
    PollTimer.arm();
}

void CALLBACK PollCycle(HWND window, UINT, UINT_PTR, DWORD) {
    // Another user's copy, or a locked desktop: the card is not ours to read.
    if (!ThisSessionMayPoll()) return;
    if (pollState.busy) return;
    pollState.busy = 1;
    RemoteKeyCode code;
    if (ReadRemoteKey(&code)) HandleKeyEvent(window, code, fx.GetTickCount());
    pollState.busy = 0;
}
