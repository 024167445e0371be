// The table of the TV applications, one record per application indexed by
// TvAppId, and what is done to an application through its record. Each
// application is one file: its window searches, its key map and its row
// (apps/powervcr.cpp, apps/home_theater.cpp, apps/honestech.cpp). The routing,
// the watch, the tray menu, the Setting list, the key reference, the stand-ins
// and the tests go through the rows. An application is added as an id and a
// row here and its own file.
#pragma once
#include <windows.h>
#include "apps/key_map_rows.h"
#include "apps/tv_app_descriptor.h"

// TvAppId: 1 Home Theater, 2 PowerVCR II, 3 Quick TV, 4 TV@Anywhere.
enum TvAppId { kHomeTheater = 1, kPowerVcr = 2, kQuickTv = 3, kTvAnywhere = 4 };

// The process-wide descriptors (apps/static_state.cpp).
extern TvAppDescriptor homeTheaterApp;
extern TvAppDescriptor powerVcrApp;
extern TvAppDescriptor quickTvApp;
extern TvAppDescriptor tvAnywhereApp;

// Which window search a row uses for one purpose.
enum class TvAppSearch {
    TitlePrefix, // FindByTitlePrefix on its descriptor
    Main,        // its findMain
};

// How its windows are found.
struct TvAppWindows {
    const char *presentClass; // whether it runs (the watch, adoption, key 21):
    const char *presentTitle; //   FindWindowExA(desktop, NULL, class, title)
    HWND (*findMain)();       // the window its toggle closes and its key map goes to
    TvAppSearch runningBy;    // the tray menu's running mark
};

// How it is closed: `action` delivered to the window `by` finds.
struct TvAppClose {
    KeyAction action;
    TvAppSearch by;
};

// What keys 20 and 21 send it, and whether its command rows' waits count.
struct TvAppCommands {
    int key20;  // WM_TVAPP_COMMAND sent on key 20; 0: key 20 toggles
    int key21;  // WM_TVAPP_COMMAND sent on key 21; 0: key 21 does nothing
    bool waits; // waits after the commands whose rows give a wait
};

// What it is called outside the tray menu and the Setting list.
struct TvAppNames {
    const char *title;            // its own name, as the key reference and the stand-ins' logs give it
    const char *descriptionGroup; // whose words the key reference uses for what its map sends
};

struct TvApp {
    TvAppId id;
    TvAppIdentity identity;      // where it is installed, how it looks, its menu and Setting name
    TvAppDescriptor *descriptor; // its process-wide record
    TvAppWindows windows;
    const KeyMap *keyMap;
    TvAppClose close;
    TvAppCommands commands;
    int adoptionRank; // 1 first: who takes an ordinary key when none is the target
    UINT menuCommand; // the command of its tray menu entry
    TvAppNames names;
};

// The rows, each in its application's file.
extern const TvApp kHomeTheaterRow;
extern const TvApp kPowerVcrRow;
extern const TvApp kQuickTvRow;
extern const TvApp kTvAnywhereRow;

// In TvAppId order (kTvApps[id - 1] is the row of id), the order in which the
// routing, the watch, the tray menu and the Setting list go through them.
// Addresses only: ready before the descriptors are set up from the rows.
inline constexpr const TvApp *kTvApps[] = {&kHomeTheaterRow, &kPowerVcrRow, &kQuickTvRow, &kTvAnywhereRow};
const int kTvAppCount = sizeof kTvApps / sizeof kTvApps[0];

// The descriptor of a row, initialised from its identity: the static
// initialisers of the descriptors (apps/static_state.cpp).
TvAppDescriptor MakeTvApp(const TvApp &row);

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
