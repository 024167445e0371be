// The key map tables themselves, for readers outside the maps (the key
// reference page and the on-screen remote describe them; only the maps act on
// them). Keystroke maps: apps/key_map_rows.h rows; the Honestech maps: one
// shared table of command numbers.
#pragma once
#include <stddef.h>
#include <windows.h>
#include "apps/key_map_rows.h"

extern const KeyRow kHomeTheaterKeys[];
extern const size_t kHomeTheaterKeyCount;
extern const KeyRow kPowerVcrKeys[];
extern const size_t kPowerVcrKeyCount;

const int kNothing = 0; // the map does nothing on this key
const int kSame = -1;   // JapanLayout 1: as JapanLayout 0

struct TvCommandRow {
    RemoteKeyCode key;
    int western;            // JapanLayout 0
    int japanese;           // JapanLayout 1
    DWORD tvAnywhereWaitMs; // TV@Anywhere only: busy wait after the command
};

// Quick TV and TV@Anywhere share it.
extern const TvCommandRow kTvCommands[];
extern const size_t kTvCommandCount;

// The command of a row for a layout; kNothing when the map does nothing.
int TvCommandFor(const TvCommandRow &row, int japanLayout);
