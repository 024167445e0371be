// Watches a TV application the remote has just launched and drops it as the
// active target once its window is gone.
#pragma once
#include <windows.h>

// Watch flags, set by the toggles after a launch, cleared only by the watch.
extern int watchHomeTheater;
extern int watchPowerVcr;
extern int watchQuickTv;
extern int watchTvAnywhere;

// The window identities that tell whether each TV application runs.
HWND FindHomeTheaterWindow(); // title "Home Theater"
HWND FindPowerVcrWindow();    // class "PowerVCR II Taurus"
HWND FindQuickTvWindow();     // class "QUICK_TV"
HWND FindTvAnywhereWindow();  // title "FormMainWindow"

// The AppWatchTimer callback.
void CALLBACK AppWatchTick(HWND window, UINT message, UINT_PTR id, DWORD tick);
