// The key maps as tables, one row per remote key, for whatever goes through
// them row by row (the tests, a key reference). Each application's dispatch
// function (apps/key_maps.h) carries a row out.
#pragma once
#include <stddef.h>
#include <windows.h>
#include "apps/key_map_rows.h"

extern const KeyRow kHomeTheaterKeys[];
extern const size_t kHomeTheaterKeyCount;
extern const KeyRow kPowerVcrKeys[];
extern const size_t kPowerVcrKeyCount;

// Quick TV and TV@Anywhere share one table of WM_TVAPP_COMMAND numbers.
const int kNoCommand = 0;    // the map does nothing on this key
const int kSameCommand = -1; // JapanLayout 1: as JapanLayout 0
struct TvCommandRow {
    RemoteKeyCode key;
    int western;            // JapanLayout 0
    int japanese;           // JapanLayout 1
    DWORD tvAnywhereWaitMs; // TV@Anywhere only: busy wait after the command
};
extern const TvCommandRow kTvCommands[];
extern const size_t kTvCommandCount;
// The command of a row under a layout; kNoCommand when the map does nothing.
int TvCommandFor(const TvCommandRow &row, int japanLayout);
