// The benchmarks' clock: the performance counter, read the same way by each.
#pragma once
#include <windows.h>

inline double NowSeconds() {
    static const LARGE_INTEGER frequency = [] {
        LARGE_INTEGER f;
        QueryPerformanceFrequency(&f);
        return f;
    }();
    LARGE_INTEGER now;
    QueryPerformanceCounter(&now);
    return (double)now.QuadPart / (double)frequency.QuadPart;
}

inline double NowMs() { return NowSeconds() * 1e3; }
