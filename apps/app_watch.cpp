#include "apps/app_watch.h"
#include "apps/timers.h"
#include "apps/tv_app.h"
#include "platform/effects.h"

int watchHomeTheater = 0;
int watchPowerVcr = 0;
int watchQuickTv = 0;
int watchTvAnywhere = 0;

HWND FindHomeTheaterWindow() { return FindWindowExA(GetDesktopWindow(), NULL, NULL, "Home Theater"); }
HWND FindPowerVcrWindow() { return FindWindowExA(GetDesktopWindow(), NULL, "PowerVCR II Taurus", NULL); }
HWND FindQuickTvWindow() { return FindWindowExA(GetDesktopWindow(), NULL, "QUICK_TV", NULL); }
HWND FindTvAnywhereWindow() { return FindWindowExA(GetDesktopWindow(), NULL, NULL, "FormMainWindow"); }

namespace {

struct Watch {
    int *flag;
    HWND (*find)();
    int tvAppId;
};

// In the order the watch examines them.
const Watch kWatches[] = {
    {&watchHomeTheater, FindHomeTheaterWindow, kHomeTheater},
    {&watchPowerVcr, FindPowerVcrWindow, kPowerVcr},
    {&watchQuickTv, FindQuickTvWindow, kQuickTv},
    {&watchTvAnywhere, FindTvAnywhereWindow, kTvAnywhere},
};

} // namespace

void CALLBACK AppWatchTick(HWND, UINT, UINT_PTR, DWORD) {
    for (const Watch &watch : kWatches) {
        if (*watch.flag != 1) continue;
        // Only the first raised flag is handled per tick.
        if (!watch.find()) {
            ClearActive(watch.tvAppId);
            AppWatchTimer.disarm();
            *watch.flag = 0;
        }
        return;
    }
    // A launch attempt that launched nothing.
    fx.Sleep(2000);
    AppWatchTimer.disarm();
}
