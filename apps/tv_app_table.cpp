#include "apps/tv_app_table.h"
#include "apps/app_watch.h"
#include "apps/timers.h"

// Constant data only, so the table is ready before the descriptors, which are
// set up from it before the entry point runs.
// clang-format off
constexpr TvApp kTvApps[kTvAppCount] = {
    {{"Home Theater", "Software\\InterVideo\\Home Theater", "PATH",        "Home Theater.exe", "",            "Home Theater"},
     "Home Theater", "Home Theater", nullptr, "Home Theater",
     &homeTheaterApp, FindHomeTheaterMain, &kHomeTheaterKeyMap,
     ChordOf(kWithoutActivation, kVkAlt, kVkCtrl, kVkShift, VK_F8),
     kHomeTheater, 1101, TvAppSearch::TitlePrefix, TvAppSearch::TitlePrefix, 1, 0, 0, 0},
    {{"PowerVCR",     "Software\\Cyberlink\\PowerVCR II",   "InstallPath", "PVCR.EXE",         "",            "PowerVCR II"},
     "PowerVCR II", "PowerVCR II", "PowerVCR II Taurus", nullptr,
     &powerVcrApp, FindPowerVcrMain, &kPowerVcrKeyMap,
     ChordOf(kWithActivation, kVkCtrl, 0x58 /* X */),
     kPowerVcr, 1102, TvAppSearch::Main, TvAppSearch::TitlePrefix, 3, 0, 0, 0},
    {{"Quick_TV",     "SOFTWARE\\Honestech\\Quick TV",      "AppPath",     "QuickTV.EXE",      "Quick_TV",    "FormMainWindow"},
     "Quick TV", "Honestech", "QUICK_TV", nullptr,
     &quickTvApp, FindFormMainWindow, &kHonestechKeyMap,
     PrivateMessage(WM_TVAPP_COMMAND, kTvCommandClose, 0),
     kQuickTv, 1103, TvAppSearch::Main, TvAppSearch::TitlePrefix, 4, 6000, 5001, 0},
    {{"TV@Anywhere",  "Software\\Honestech\\TV Plus\\TVR",  "AppPath",     "MSITVR.exe",       "TV@Anywhere", "FormMainWindow"},
     "TV@Anywhere", "Honestech", nullptr, "FormMainWindow",
     &tvAnywhereApp, FindFormMainWindow, &kHonestechKeyMap,
     PrivateMessage(WM_TVAPP_COMMAND, kTvCommandClose, 0),
     kTvAnywhere, 1104, TvAppSearch::Main, TvAppSearch::Main, 2, 6000, 5001, 1},
};
// clang-format on

constexpr bool IndexedById() {
    for (int i = 0; i < kTvAppCount; ++i)
        if (kTvApps[i].id != i + 1) return false;
    return true;
}
static_assert(IndexedById(), "kTvApps[id - 1] is the record of id");

constexpr bool AdoptionRanksDistinct() {
    for (int i = 0; i < kTvAppCount; ++i)
        for (int j = 0; j < i; ++j)
            if (kTvApps[i].adoptionRank == kTvApps[j].adoptionRank) return false;
    return true;
}
static_assert(AdoptionRanksDistinct(), "adoption takes one application at a time");

TvAppDescriptor MakeTvApp(TvAppId id) {
    TvAppDescriptor app = {};
    InitTvApp(app, kTvApps[id - 1].identity);
    return app;
}

const TvApp *FindTvApp(int tvAppId) {
    return tvAppId >= 1 && tvAppId <= kTvAppCount ? &kTvApps[tvAppId - 1] : nullptr;
}

TvAppDescriptor *TvAppById(int tvAppId) {
    const TvApp *app = FindTvApp(tvAppId);
    return app ? app->descriptor : nullptr;
}

namespace {

HWND FindBy(const TvApp &app, TvAppSearch search) {
    return search == TvAppSearch::TitlePrefix ? FindByTitlePrefix(*app.descriptor) : app.findMain();
}

} // namespace

HWND FindTvAppPresent(const TvApp &app) {
    return FindWindowExA(GetDesktopWindow(), NULL, app.presentClass, app.presentTitle);
}

// The key's code is the routing's to fill in.
KeyOutcome DispatchTvAppKey(const TvApp &app, RemoteKeyCode code) {
    const KeyMap &map = *app.keyMap;
    KeyOutcome outcome = map.rows ? RunKeyMap(map.rows, map.rowCount, *app.descriptor, app.findMain, code)
                                  : RunCommandMap(map, *app.descriptor, app.findMain, app.commandWaits != 0, code);
    SetOutcomeTarget(outcome, app.title);
    return outcome;
}

KeyOutcome SendTvAppCommand(const TvApp &app, int command) {
    KeyOutcome outcome = SendTvCommand(*app.descriptor, app.findMain, command);
    SetOutcomeTarget(outcome, app.title);
    return outcome;
}

KeyReason CloseTvApp(const TvApp &app) {
    HWND w = FindBy(app, app.closeBy);
    if (!w) return kWindowGone;
    // A close that sent nothing (its chord found another program in front)
    // leaves the application running and the target.
    KeyReason reason = DeliverKeyAction(w, app.closeAction);
    if (reason == kTaken) app.descriptor->active = 0;
    return reason;
}

KeyOutcome ToggleTvApp(const TvApp &app) {
    KeyOutcome outcome = {};
    SetOutcomeTarget(outcome, app.title);
    if (app.findMain()) {
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
    for (const TvApp &other : kTvApps)
        if (other.id != tvAppId) CloseTvApp(other);
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
    return app && FindBy(*app, app->runningBy) ? 1 : 0;
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
    for (const TvApp &app : kTvApps)
        if (app.descriptor->active == 1) return &app;
    return nullptr;
}
