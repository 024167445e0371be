// The poll's timing, in one place. The poll cycle, pointer emulation, the
// tests and benchmarks include it; tools/lib.sh (poll_timing) reads the values
// from here too, so each stays a line "const <type> k<Name> = <number>;".
#pragma once
#include <windows.h>

const UINT kPollPeriodMs = 65;      // PollTimer: how often the remote is read
const DWORD kRepeatWindowMs = 250;  // the same code again within this is a repeat
const int kRepeatPassEvery = 10;    // with a TV application as the target, every 10th repeat passes
const int kPointerSmallStepFrom = 5;  // the pointer moves 1 pixel until the 5th movement event,
const int kPointerLargeStepFrom = 10; // then its small step, from the 10th its large step
const DWORD kKeyMapsCheckMs = 1000; // the user's KeyMaps.ini files are looked at again at most this often
const DWORD kDefaultRepeatDelayMs = 500; // a held key of KeyMaps.ini acts again from this on (RepeatDelayMs)
const DWORD kDefaultLongPressMs = 600;   // held this long, a key of KeyMaps.ini does its long action (LongPressMs)
