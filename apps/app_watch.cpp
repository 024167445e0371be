#include "apps/app_watch.h"
#include "apps/timers.h"
#include "apps/tv_apps.h"
#include "platform/effects.h"

int watchHomeTheater = 0;
int watchPowerVcr = 0;
int watchQuickTv = 0;
int watchTvAnywhere = 0;

void CALLBACK AppWatchTick(HWND, UINT, UINT_PTR, DWORD) {
    for (const TvApp &app : kTvApps) {
        if (*app.watchFlag != 1) continue;
        // Only the first raised flag is handled per tick.
        if (!app.findPresent()) {
            ClearActive(app.id);
            AppWatchTimer.disarm();
            *app.watchFlag = 0;
        }
        return;
    }
    // A launch attempt that launched nothing.
    fx.Sleep(2000);
    AppWatchTimer.disarm();
}
