// Watches a TV application the remote has just launched and drops it as the
// active target once its window is gone.
#pragma once
#include <windows.h>

// Watch flags, set by the toggles after a launch, cleared only by the watch.
extern int watchHomeTheater;
extern int watchPowerVcr;
extern int watchQuickTv;
extern int watchTvAnywhere;

// The AppWatchTimer callback.
void CALLBACK AppWatchTick(HWND window, UINT message, UINT_PTR id, DWORD tick);
