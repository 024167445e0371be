// One record per TV application, in one table indexed by TvAppId: what the
// routing, the tray menu, the Setting list and the application watch look up.
// It is not yet all there is of an application: its descriptor instance
// (static_state.cpp), watch flag (app_watch.cpp), key map and table, window
// searches and close (tv_app.cpp), key reference words, stand-in identity and
// tests are elsewhere, so adding one touches some 25 files.
#pragma once
#include <windows.h>
#include "apps/tv_app.h"

struct TvApp {
    TvAppId id;
    UINT menuCommand;            // the command of its tray menu entry
    TvAppIdentity identity;      // where it is installed, how it looks, its display name
    TvAppDescriptor *descriptor; // its process-wide record
    HWND (*findPresent)();       // whether it runs: the watch, adoption and key 21
    HWND (*findMain)();          // the window whose presence makes the toggle close it
    HWND (*findRunning)(const TvAppDescriptor &app); // the tray menu's running mark
    void (*close)();
    void (*dispatch)(RemoteKeyCode code); // its key map
    int *watchFlag;              // raised by WatchTvApp
    int command20;               // WM_TVAPP_COMMAND sent on key 20; 0: key 20 toggles
    int command21;               // WM_TVAPP_COMMAND sent on key 21; 0: key 21 does nothing
};

const int kTvAppCount = 4;
// In TvAppId order, the order in which the routing, the watch, the tray menu
// and the Setting list go through them.
extern const TvApp kTvApps[kTvAppCount];

// The record of a TvAppId, or null outside 1..4.
const TvApp *FindTvApp(int tvAppId);
// The descriptor of a TvAppId, or null outside 1..4.
TvAppDescriptor *TvAppById(int tvAppId);

// Closes a running instance, or brings it up or launches it and starts
// watching it.
void ToggleTvApp(const TvApp &app);
// Raises the application's watch flag and arms the watch: once its window is
// gone it stops being the active target.
void WatchTvApp(const TvApp &app);
// The tray menu's choice: closes the other applications, then brings this
// one up or launches it, and watches it when it is the active target.
HWND SelectTvApp(const TvApp &app);
// Closes every application but `tvAppId`, in TvAppId order.
void CloseOtherTvApps(int tvAppId);

int IsRunning(int tvAppId);
int IsInstalled(int tvAppId);
void ClearActive(int tvAppId);
// 1 when any of the four descriptors is the active target.
int AnyAppActive();
