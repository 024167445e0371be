// The tray window's two timer slots. They are defined with the descriptors
// (static_state.cpp), whose start-up order puts them between those.
#pragma once
#include "platform/timer_slot.h"
#include "platform/tray_window_ids.h"

// The poll cycle and its period (routing/poll_timing.h) are handed to it at start-up.
extern TimerSlot PollTimer;
extern TimerSlot AppWatchTimer; // the application watch

const UINT kAppWatchPeriodMs = 1000;
