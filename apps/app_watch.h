// Watches a TV application that has become the active target (launched,
// adopted or chosen from the tray menu) and drops it as the active target
// once its window is gone.
#pragma once
#include <windows.h>

// Watch flags, raised by WatchTvApp, cleared only by the watch.
extern int watchHomeTheater;
extern int watchPowerVcr;
extern int watchQuickTv;
extern int watchTvAnywhere;

// The AppWatchTimer callback.
void CALLBACK AppWatchTick(HWND window, UINT message, UINT_PTR id, DWORD tick);
