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
#include "routing/user_key_delivery.h"
#include "routing/user_key_route.h"

RepeatState pollState;

int defaultTvApp = 2;
int promptOpen = 0;
HWND promptWindow = NULL;
int (*openShutdownPrompt)(HWND owner) = nullptr;
void (*showKeyOutcome)(const KeyOutcome *outcome) = nullptr;

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

KeyOutcome NotTakenBy(const TvApp &app, KeyReason reason) {
    KeyOutcome outcome = {};
    outcome.reason = reason;
    SetOutcomeTarget(outcome, app.names.title);
    return outcome;
}

// The active target takes the keys with a fixed role from its record, the
// others through its key map.
KeyOutcome RouteToActive(const TvApp &app, RemoteKeyCode code) {
    switch (code) {
    case kPowerKey: return ToggleTvApp(app);
    case kKey20: return app.commands.key20 ? SendTvAppCommand(app, app.commands.key20) : ToggleTvApp(app);
    case kKey21: return app.commands.key21 ? SendTvAppCommand(app, app.commands.key21) : NotTakenBy(app, kNothingOnKey);
    case kDroppedKey: return NotTakenBy(app, kRepeatDropped);
    default: return DispatchTvAppKey(app, code);
    }
}

// With no active target, an ordinary key adopts the running application of
// the lowest adoptionRank, which is not the TvAppId order.
KeyOutcome RouteWithoutTarget(RemoteKeyCode code) {
    // Every window is looked up before any is adopted, as the routing always does.
    const TvApp *adopted = nullptr;
    for (const TvApp *app : kTvApps)
        if (FindTvAppPresent(*app) && (!adopted || app->adoptionRank < adopted->adoptionRank)) adopted = app;
    if (!adopted) {
        KeyOutcome mapped = {};
        if (RouteToUserKeyMap(code, mapped)) return mapped;
        KeyOutcome pointer = PointerKey(code);
        if (pointer.reason == kNothingMapped) {
            // Nothing here takes it: name the program in front, as the user sees it.
            if (mapped.target[0]) SetOutcomeTarget(pointer, mapped.target);
            else ForegroundProgramName(pointer.target, sizeof pointer.target);
        }
        return pointer;
    }
    adopted->descriptor->active = 1;
    // Watched like a launched one: closed by the user, it must stop taking the keys.
    WatchTvApp(*adopted);
    KeyOutcome outcome = DispatchTvAppKey(*adopted, code);
    outcome.place = kToAdopted;
    return outcome;
}

bool AnyTvAppWindow() {
    bool any = false;
    for (const TvApp *app : kTvApps)
        if (FindTvAppPresent(*app)) any = true; // every one is looked up
    return any;
}

KeyOutcome RouteToPrompt(RemoteKeyCode code) {
    KeyOutcome outcome = {};
    outcome.place = kToPrompt;
    SetOutcomeTarget(outcome, "Shut Down");
    SetOutcomeSent(outcome, code == kPowerKey ? "Enter (shut down)" : "Esc (cancel)");
    SetForegroundWindow(promptWindow);
    SetActiveWindow(promptWindow);
    SendMessageA(promptWindow, WM_KEYDOWN, code == kPowerKey ? VK_RETURN : VK_ESCAPE, 0);
    return outcome;
}

KeyOutcome OpenPrompt(HWND owner) {
    KeyOutcome outcome = {};
    if (AnyTvAppWindow()) {
        outcome.reason = kTvWindowOpen;
        return outcome;
    }
    outcome.place = kToPrompt;
    SetOutcomeTarget(outcome, "Shut Down");
    SetOutcomeSent(outcome, "opened");
    if (showKeyOutcome) showKeyOutcome(nullptr); // the prompt stands alone
    pollState.busy = 0; // cycles inside the prompt feed it the remote's keys
    if (openShutdownPrompt) openShutdownPrompt(owner);
    return outcome;
}

void TraceOutcome(const KeyOutcome &outcome) {
    char line[160];
    FormatKeyOutcome(outcome, JapanLayout, line, sizeof line);
    if (outcome.place == kToNowhere) Trace("route: %d %s", outcome.code, line);
    else Trace("route: %d to %s, %s", outcome.code, KeyPlaceWords(outcome.place), line);
}

} // namespace

KeyOutcome StartDefaultApp(bool check) {
    const TvApp *app = FindTvApp(defaultTvApp);
    if (check && app && app->descriptor->installed == 0)
        fx.MessageBoxA(NULL, "Please re-initialize the TV application settings.", kTelvixCaption,
                       MB_SETFOREGROUND | MB_TOPMOST);
    if (!app) {
        KeyOutcome none = {};
        none.reason = kNoDefaultApp;
        return none;
    }
    CloseOtherTvApps(app->id);
    return ToggleTvApp(*app);
}

namespace {

KeyOutcome Route(HWND owner, RemoteKeyCode code) {
    if (promptOpen) return RouteToPrompt(code);
    if (const TvApp *target = ActiveTvApp()) {
        KeyOutcome outcome = RouteToActive(*target, code);
        outcome.place = kToActiveApp;
        return outcome;
    }
    if (code == kPowerKey || code == kKey20) {
        KeyOutcome outcome = StartDefaultApp(code == kPowerKey);
        outcome.place = kToDefaultStart;
        return outcome;
    }
    if (code == kKey21) return OpenPrompt(owner);
    return RouteWithoutTarget(code);
}

} // namespace

KeyOutcome RouteKey(HWND owner, RemoteKeyCode code) {
    KeyOutcome outcome = Route(owner, code);
    outcome.code = code;
    return outcome;
}

KeyOutcome HandleKeyEvent(HWND owner, RemoteKeyCode code, DWORD now) {
    bool isRepeat = NoteKeyEvent(pollState, code, now);
    RemoteKeyCode passed = ApplyRepeatDrop(pollState, isRepeat, AnyAppActive(), code);
    if (!isRepeat) Trace("key: %d fresh, passed", code);
    else Trace("key: %d repeat %d, %s", code, pollState.repeatCount, passed == kDroppedKey ? "dropped" : "passed");
    KeyOutcome outcome = RouteKey(owner, passed);
    outcome.code = code; // the key as read, also when its repeat was dropped
    if (traceOn) TraceOutcome(outcome);
    if (showKeyOutcome) showKeyOutcome(&outcome);
    return outcome;
}

void StartPolling(HWND owner) {
    userKeysWindow = owner;
    LoadUserKeyMaps();
    PollTimer.callback = PollCycle;
    PollTimer.bind(owner, kPollPeriodMs);
    PollTimer.arm();
}

void CALLBACK PollCycle(HWND window, UINT, UINT_PTR, DWORD) {
    // Another user's copy, or a locked desktop: the card is not ours to read,
    // and what was shown of it goes.
    if (!ThisSessionMayPoll()) {
        if (showKeyOutcome) showKeyOutcome(nullptr);
        return;
    }
    if (pollState.busy) return;
    pollState.busy = 1;
    RemoteKeyCode code;
    if (ReadRemoteKey(&code)) HandleKeyEvent(window, code, fx.GetTickCount());
    else UserKeysIdle();
    pollState.busy = 0;
}
