#include "apps/app_watch.h"
#include "apps/timers.h"
#include "apps/tv_apps.h"
#include "platform/effects.h"
#include "platform/trace.h"

int watchHomeTheater = 0;
int watchPowerVcr = 0;
int watchQuickTv = 0;
int watchTvAnywhere = 0;

namespace {

bool AnyWatchFlag() {
    for (const TvApp &app : kTvApps)
        if (*app.watchFlag == 1) return true;
    return false;
}

} // namespace

void CALLBACK AppWatchTick(HWND, UINT, UINT_PTR, DWORD) {
    for (const TvApp &app : kTvApps) {
        if (*app.watchFlag != 1) continue;
        // Only the first raised flag is handled per tick.
        HWND present = app.findPresent();
        Trace("watch: %s window %s", app.identity.name, present ? "open" : "gone, no longer the target");
        if (!present) {
            ClearActive(app.id);
            *app.watchFlag = 0;
            // Another one still watched (chosen from the tray menu while an
            // adopted one was being closed) must not lose its watch, or the
            // remote goes dead once the user closes it.
            if (!AnyWatchFlag()) AppWatchTimer.disarm();
        }
        return;
    }
    // A launch attempt that launched nothing.
    Trace("watch: nothing was launched");
    fx.Sleep(2000);
    AppWatchTimer.disarm();
}
