#include "platform/timer_slot.h"
#include "platform/startup_order.h"

TimerSlot::TimerSlot(UINT_PTR timerId, TIMERPROC timerCallback)
    : armed(false), id(timerId), ownerWindow(NULL), period(0), callback(timerCallback) {
    NoteStartup(kStartupTimerBase + (int)timerId);
}

// The destructor of a static slot is its exit handler.
TimerSlot::~TimerSlot() { disarm(); }

void TimerSlot::bind(HWND owner, UINT periodMs) {
    ownerWindow = owner;
    period = periodMs;
}

void TimerSlot::arm() {
    if (armed) return;
    SetTimer(ownerWindow, id, period, callback);
    armed = true;
}

void TimerSlot::disarm() {
    if (!armed) return;
    KillTimer(ownerWindow, id);
    armed = false;
}
