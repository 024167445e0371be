// The monitor where the user looks: the one that holds the foreground window.
// With the TV as a second display, a window opened on the primary monitor
// may go unseen.
#pragma once
#include <windows.h>

struct MonitorArea {
    RECT monitor; // screen coordinates
    RECT work;    // without the taskbar and docked bars
    bool primary;
};

// The foreground window's monitor; the primary one when nothing is in front.
MonitorArea ForegroundMonitor();
