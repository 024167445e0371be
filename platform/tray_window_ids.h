// The numbers the TrayWindow is addressed by: its timers and the messages it
// answers beyond the system's own, in one place so that none is taken twice.
// Timers 1 and 2 and the tray callback 1001 are the program's defined ones;
// the others are this program's own additions and free to change.
#pragma once
#include <windows.h>

const UINT_PTR kPollTimerId = 1;       // PollTimer, the poll cycle
const UINT_PTR kAppWatchTimerId = 2;   // AppWatchTimer, the application watch
const UINT_PTR kRebindTimerId = 3;     // binding a card that came late or went away again
const UINT_PTR kSessionGateTimerId = 4; // asking again for session notices
const UINT_PTR kTrayIconTimerId = 5;   // adding a refused tray icon again

// The tray icon's callback message.
const UINT WM_TRAY_CALLBACK = 1001;
// Posted by the receiver's request health when every driver request has
// failed for a while (through receiverLost, set by the tray).
const UINT WM_RECEIVER_LOST = WM_APP + 1;
// Registered by the shell, broadcast when its taskbar is created anew.
const char kTaskbarCreatedMessageName[] = "TaskbarCreated";
