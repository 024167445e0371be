// The table of the TV applications, one record per application indexed by
// TvAppId, and what is done to an application through its record. Everything
// that differs between the applications is in its row (apps/tv_app_table.cpp)
// or in its key map (its *_keys.cpp): the routing, the watch, the tray menu,
// the Setting list, the key reference, the stand-ins and the tests go through
// the rows. An application is added as an id here, a row and a key map.
#pragma once
#include <windows.h>
#include "apps/key_map_rows.h"
#include "apps/tv_app_descriptor.h"

// TvAppId: 1 Home Theater, 2 PowerVCR II, 3 Quick TV, 4 TV@Anywhere.
enum TvAppId { kHomeTheater = 1, kPowerVcr = 2, kQuickTv = 3, kTvAnywhere = 4 };
const int kTvAppCount = 4;

// The process-wide descriptors (apps/static_state.cpp).
extern TvAppDescriptor homeTheaterApp;
extern TvAppDescriptor powerVcrApp;
extern TvAppDescriptor quickTvApp;
extern TvAppDescriptor tvAnywhereApp;

// The key maps, each in its *_keys.cpp.
extern const KeyMap kHomeTheaterKeyMap;
extern const KeyMap kPowerVcrKeyMap;
extern const KeyMap kHonestechKeyMap; // Quick TV and TV@Anywhere

// Which window search a row uses for one purpose.
enum class TvAppSearch {
    TitlePrefix, // FindByTitlePrefix on its descriptor
    Main,        // its findMain
};

struct TvApp {
    TvAppIdentity identity;      // where it is installed, how it looks, its menu and Setting name
    const char *title;           // its own name, as the key reference and the stand-ins' logs give it
    const char *descriptionGroup; // whose words the key reference uses for what its map sends
    const char *presentClass;    // whether it runs (the watch, adoption, key 21):
    const char *presentTitle;    //   FindWindowExA(desktop, NULL, class, title)
    TvAppDescriptor *descriptor; // its process-wide record
    HWND (*findMain)();          // the window its toggle closes and its key map goes to
    const KeyMap *keyMap;
    KeyAction closeAction;       // delivered to the window closeBy finds
    TvAppId id;
    UINT menuCommand;            // the command of its tray menu entry
    TvAppSearch closeBy;
    TvAppSearch runningBy;       // the tray menu's running mark
    int adoptionRank;            // 1 first: who takes an ordinary key when none is the target
    int command20;               // WM_TVAPP_COMMAND sent on key 20; 0: key 20 toggles
    int command21;               // WM_TVAPP_COMMAND sent on key 21; 0: key 21 does nothing
    int commandWaits;            // 1: waits after the commands whose rows give a wait
};

// In TvAppId order, the order in which the routing, the watch, the tray menu
// and the Setting list go through them.
extern const TvApp kTvApps[kTvAppCount];

// The descriptor of a row, initialised from its identity: the static
// initialisers of the descriptors (apps/static_state.cpp).
TvAppDescriptor MakeTvApp(TvAppId id);

// The record of a TvAppId, or null outside the table.
const TvApp *FindTvApp(int tvAppId);
// The descriptor of a TvAppId, or null outside the table.
TvAppDescriptor *TvAppById(int tvAppId);

// Whether its window exists (the presence search of its row).
HWND FindTvAppPresent(const TvApp &app);
// One remote key through its key map. Each of these says what became of the
// key, with the application's title as the outcome's target.
KeyOutcome DispatchTvAppKey(const TvApp &app, RemoteKeyCode code);
// Its WM_TVAPP_COMMAND `command` to its main window, if present.
KeyOutcome SendTvAppCommand(const TvApp &app, int command);
// Closes a running instance, or brings it up or launches it and starts
// watching it.
KeyOutcome ToggleTvApp(const TvApp &app);
// Delivers its close action when its window is found, and clears `active`;
// what the delivery answered (kWindowGone: no window).
KeyReason CloseTvApp(const TvApp &app);
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
// 1 when any descriptor is the active target.
int AnyAppActive();
// The first record, in TvAppId order, that is the active target; null for none.
const TvApp *ActiveTvApp();
