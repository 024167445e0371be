// Watches a TV application that has become the active target (launched,
// adopted or chosen from the tray menu) and drops it as the active target
// once its window is gone.
#pragma once
#include <windows.h>
#include "apps/tv_app_table.h"

// Watch flags by TvAppId - 1: raised by WatchTvApp (and the toggles after a
// launch), cleared only by the watch.
extern int watchFlags[kTvAppCount];

// The AppWatchTimer callback.
void CALLBACK AppWatchTick(HWND window, UINT message, UINT_PTR id, DWORD tick);
