#include "apps/tv_apps.h"
#include "apps/app_watch.h"
#include "apps/key_maps.h"
#include "apps/timers.h"

namespace {

HWND FindHomeTheaterWindow() { return FindWindowExA(GetDesktopWindow(), NULL, NULL, "Home Theater"); }
HWND FindPowerVcrWindow() { return FindWindowExA(GetDesktopWindow(), NULL, "PowerVCR II Taurus", NULL); }
HWND FindQuickTvWindow() { return FindWindowExA(GetDesktopWindow(), NULL, "QUICK_TV", NULL); }

HWND RunningByFormMainWindow(const TvAppDescriptor &) { return FindFormMainWindow(); }

void CloseQuickTv() { CloseHonestechApp(quickTvApp); }
void CloseTvAnywhere() { CloseHonestechApp(tvAnywhereApp); }

} // namespace

// Constant data only, so the table is ready before the descriptors, which are
// set up from it before the entry point runs.
// clang-format off
constexpr TvApp kTvApps[kTvAppCount] = {
    {kHomeTheater, 1101,
     {"Home Theater", "Software\\InterVideo\\Home Theater", "PATH",        "Home Theater.exe", "",            "Home Theater"},
     &homeTheaterApp, FindHomeTheaterWindow, FindHomeTheaterMain, FindByTitlePrefix, CloseHomeTheater,
     DispatchHomeTheaterKey, &watchHomeTheater, 0, 0},
    {kPowerVcr, 1102,
     {"PowerVCR",     "Software\\Cyberlink\\PowerVCR II",   "InstallPath", "PVCR.EXE",         "",            "PowerVCR II"},
     &powerVcrApp, FindPowerVcrWindow, FindPowerVcrMain, FindByTitlePrefix, ClosePowerVcr,
     DispatchPowerVcrKey, &watchPowerVcr, 0, 0},
    {kQuickTv, 1103,
     {"Quick_TV",     "SOFTWARE\\Honestech\\Quick TV",      "AppPath",     "QuickTV.EXE",      "Quick_TV",    "FormMainWindow"},
     &quickTvApp, FindQuickTvWindow, FindFormMainWindow, FindByTitlePrefix, CloseQuickTv,
     DispatchQuickTvKey, &watchQuickTv, 6000, 5001},
    {kTvAnywhere, 1104,
     {"TV@Anywhere",  "Software\\Honestech\\TV Plus\\TVR",  "AppPath",     "MSITVR.exe",       "TV@Anywhere", "FormMainWindow"},
     &tvAnywhereApp, FindFormMainWindow, FindFormMainWindow, RunningByFormMainWindow, CloseTvAnywhere,
     DispatchTvAnywhereKey, &watchTvAnywhere, 6000, 5001},
};
// clang-format on

constexpr bool IndexedById() {
    for (int i = 0; i < kTvAppCount; ++i)
        if (kTvApps[i].id != i + 1) return false;
    return true;
}
static_assert(IndexedById(), "kTvApps[id - 1] is the record of id");

const TvApp *FindTvApp(int tvAppId) {
    return tvAppId >= 1 && tvAppId <= kTvAppCount ? &kTvApps[tvAppId - 1] : nullptr;
}

TvAppDescriptor *TvAppById(int tvAppId) {
    const TvApp *app = FindTvApp(tvAppId);
    return app ? app->descriptor : nullptr;
}

void ToggleTvApp(const TvApp &app) {
    if (app.findMain()) {
        app.close();
        return;
    }
    ActivateOrLaunch(*app.descriptor);
    AppWatchTimer.arm();
    if (app.descriptor->active == 1) *app.watchFlag = 1;
}

void CloseOtherTvApps(int tvAppId) {
    for (const TvApp &other : kTvApps)
        if (other.id != tvAppId) other.close();
}

void WatchTvApp(const TvApp &app) {
    *app.watchFlag = 1;
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
    return app && app->findRunning(*app->descriptor) ? 1 : 0;
}

int IsInstalled(int tvAppId) {
    TvAppDescriptor *app = TvAppById(tvAppId);
    return app ? app->installed : 0;
}

void ClearActive(int tvAppId) {
    if (TvAppDescriptor *app = TvAppById(tvAppId)) app->active = 0;
}

int AnyAppActive() {
    for (const TvApp &app : kTvApps)
        if (app.descriptor->active == 1) return 1;
    return 0;
}
