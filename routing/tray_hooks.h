// What the routing needs of the tray program above it: two values kept here
// for the tray to set, and the Shut Down prompt, handed over at start-up.
#pragma once
#include <windows.h>
#include "platform/remote_words.h"

extern int defaultTvApp;  // TvAppId the power key starts; the settings keep it as DefaultTVAPP
extern int promptOpen;    // 1 while the Shut Down prompt is open
extern HWND promptWindow; // the open prompt's window; keeps its last value

// Runs the Shut Down prompt modally (the tray's ShowShutdownPrompt); null
// until start-up sets it.
extern int (*openShutdownPrompt)(HWND owner);

// Shows what became of a key event (the tray's on-screen display); null
// hides what is shown. Null until start-up sets it.
extern void (*showKeyOutcome)(const KeyOutcome *outcome);
