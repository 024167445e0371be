// A window timer that remembers whether it is set.
#pragma once
#include <windows.h>

struct TimerSlot {
    bool armed;
    UINT_PTR id;
    HWND ownerWindow;
    UINT period;
    TIMERPROC callback;

    TimerSlot(UINT_PTR id, TIMERPROC callback);
    ~TimerSlot(); // disarms at process exit
    void bind(HWND owner, UINT periodMs);
    void arm();    // SetTimer unless already armed; a running period is not restarted
    void disarm(); // KillTimer if armed
};
