#include "apps/app_watch.h"
#include "apps/timers.h"
#include "platform/effects.h"
#include "platform/trace.h"

int watchFlags[kTvAppCount] = {};

namespace {

bool AnyWatchFlag() {
    for (int flag : watchFlags)
        if (flag == 1) return true;
    return false;
}

} // namespace

void CALLBACK AppWatchTick(HWND, UINT, UINT_PTR, DWORD) {
    for (const TvApp *app : kTvApps) {
        int &flag = watchFlags[app->id - 1];
        if (flag != 1) continue;
        // Only the first raised flag is handled per tick.
        HWND present = FindTvAppPresent(*app);
        Trace("watch: %s window %s", app->identity.name, present ? "open" : "gone, no longer the target");
        if (!present) {
            ClearActive(app->id);
            flag = 0;
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
