#include "apps/tv_app_table.h"
#include "apps/app_watch.h"
#include "apps/timers.h"
#include "platform/startup_order.h"

TvAppDescriptor MakeTvApp(const TvApp &row) {
    NoteStartup(row.id);
    TvAppDescriptor app = {};
    InitTvApp(app, row.identity);
    return app;
}

const TvApp *FindTvApp(int tvAppId) {
    return tvAppId >= 1 && tvAppId <= kTvAppCount ? kTvApps[tvAppId - 1] : nullptr;
}

TvAppDescriptor *TvAppById(int tvAppId) {
    const TvApp *app = FindTvApp(tvAppId);
    return app ? app->descriptor : nullptr;
}

namespace {

HWND FindBy(const TvApp &app, TvAppSearch search) {
    return search == TvAppSearch::TitlePrefix ? FindByTitlePrefix(*app.descriptor) : app.windows.findMain();
}

} // namespace

HWND FindTvAppPresent(const TvApp &app) {
    return FindWindowExA(GetDesktopWindow(), NULL, app.windows.presentClass, app.windows.presentTitle);
}

// The key's code is the routing's to fill in.
KeyOutcome DispatchTvAppKey(const TvApp &app, RemoteKeyCode code) {
    const KeyMap &map = *app.keyMap;
    KeyOutcome outcome = map.rows ? RunKeyMap(map.rows, map.rowCount, *app.descriptor, app.windows.findMain, code)
                                  : RunCommandMap(map, *app.descriptor, app.windows.findMain, app.commands.waits, code);
    SetOutcomeTarget(outcome, app.names.title);
    return outcome;
}

KeyOutcome SendTvAppCommand(const TvApp &app, int command) {
    KeyOutcome outcome = SendTvCommand(*app.descriptor, app.windows.findMain, command);
    SetOutcomeTarget(outcome, app.names.title);
    return outcome;
}

KeyReason CloseTvApp(const TvApp &app) {
    HWND w = FindBy(app, app.close.by);
    if (!w) return kWindowGone;
    // A close that sent nothing (its chord found another program in front)
    // leaves the application running and the target.
    KeyReason reason = DeliverKeyAction(w, app.close.action);
    if (reason == kTaken) app.descriptor->active = 0;
    return reason;
}

KeyOutcome ToggleTvApp(const TvApp &app) {
    KeyOutcome outcome = {};
    SetOutcomeTarget(outcome, app.names.title);
    if (app.windows.findMain()) {
        outcome.reason = CloseTvApp(app);
        SetOutcomeSent(outcome, "closed");
    } else {
        ActivateOrLaunch(*app.descriptor, &outcome);
        AppWatchTimer.arm();
        if (app.descriptor->active == 1) watchFlags[app.id - 1] = 1;
    }
    return outcome;
}

void CloseOtherTvApps(int tvAppId) {
    for (const TvApp *other : kTvApps)
        if (other->id != tvAppId) CloseTvApp(*other);
}

void WatchTvApp(const TvApp &app) {
    watchFlags[app.id - 1] = 1;
    AppWatchTimer.arm();
}

HWND SelectTvApp(const TvApp &app) {
    CloseOtherTvApps(app.id);
    HWND window = ActivateOrLaunch(*app.descriptor);
    // Launched from the menu it is the target as after a remote launch, and
    // it must stop being it just as well once the user closes it.
    if (app.descriptor->active == 1) WatchTvApp(app);
    return window;
}

int IsRunning(int tvAppId) {
    const TvApp *app = FindTvApp(tvAppId);
    return app && FindBy(*app, app->windows.runningBy) ? 1 : 0;
}

int IsInstalled(int tvAppId) {
    TvAppDescriptor *app = TvAppById(tvAppId);
    return app ? app->installed : 0;
}

void ClearActive(int tvAppId) {
    if (TvAppDescriptor *app = TvAppById(tvAppId)) app->active = 0;
}

int AnyAppActive() { return ActiveTvApp() ? 1 : 0; }

const TvApp *ActiveTvApp() {
    for (const TvApp *app : kTvApps)
        if (app->descriptor->active == 1) return app;
    return nullptr;
}
