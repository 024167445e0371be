// The tray window's two timer slots. They are defined with the descriptors
// (static_state.cpp), whose start-up order puts them between those.
#pragma once
#include "platform/timer_slot.h"

extern TimerSlot PollTimer;     // id 1, 65 ms; the poll cycle is handed to it at start-up
extern TimerSlot AppWatchTimer; // id 2, 1000 ms, the application watch

const UINT kPollPeriodMs = 65;
const UINT kAppWatchPeriodMs = 1000;
