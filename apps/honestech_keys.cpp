// What each remote key does to Honestech Quick TV and TV@Anywhere: one command
// number posted in WM_TVAPP_COMMAND to the "FormMainWindow" window. Both maps
// share the table; TV@Anywhere waits after two of its commands.
#include "apps/key_delivery.h"
#include "apps/key_map_tables.h"
#include "apps/key_maps.h"
#include "platform/effects.h"
#include "platform/locale.h"

const TvCommandRow kTvCommands[] = {
    // key  JapanLayout 0   JapanLayout 1   TV@Anywhere wait
    {0,   10000 + 0,       10000 + 10,     0},
    {1,   10000 + 1,       kSameCommand,   0},
    {2,   10000 + 2,       kSameCommand,   0},
    {3,   10000 + 3,       kSameCommand,   0},
    {4,   10000 + 4,       kSameCommand,   0},
    {5,   10000 + 5,       kSameCommand,   0},
    {6,   10000 + 6,       kSameCommand,   0},
    {7,   10000 + 7,       kSameCommand,   0},
    {8,   10000 + 8,       kSameCommand,   0},
    {9,   10000 + 9,       kSameCommand,   0},
    {10,  10000 + 100,     10000 + 11,     0},
    {11,  206,             kSameCommand,   0},
    {12,  4004,            kSameCommand,   0},
    {13,  1001,            kSameCommand,   0},
    {14,  1002,            kSameCommand,   0},
    {15,  200,             kSameCommand,   0},
    {16,  403,             kSameCommand,   0},
    {17,  3,               kSameCommand,   0},
    {18,  kNoCommand /* the routing toggles the application */, kSameCommand, 0},
    {19,  300,             kSameCommand,   0},
    {20,  kNoCommand /* the routing sends 6000 */, kSameCommand, 0},
    {21,  kNoCommand /* the routing sends 5001 */, kSameCommand, 0},
    {22,  3001,            kSameCommand,   0},
    {23,  4003,            10000 + 12,     0},
    {24,  5,               kSameCommand,   0},
    {25,  8,               1003,           0},
    {26,  4001,            kSameCommand,   200},
    {27,  401,             kSameCommand,   0},
    {28,  1003,            8,              0},
    {29,  1000,            kSameCommand,   0},
    {30,  4002,            kSameCommand,   200},
    {31,  402,             kSameCommand,   0},
    {256, 5002,            kSameCommand,   0},
    {512, 5003,            kSameCommand,   0},
};

const size_t kTvCommandCount = sizeof kTvCommands / sizeof kTvCommands[0];

int TvCommandFor(const TvCommandRow &row, int japanLayout) {
    return japanLayout && row.japanese != kSameCommand ? row.japanese : row.western;
}

namespace {

const TvCommandRow *CommandRowFor(RemoteKeyCode key) {
    for (const TvCommandRow &row : kTvCommands)
        if (row.key == key) return &row;
    return nullptr;
}

int CommandFor(const TvCommandRow &row) { return TvCommandFor(row, JapanLayout); }

} // namespace

void SendTvCommand(TvAppDescriptor &app, int command) {
    HWND window = FindForKeyAction(app, FindFormMainWindow);
    if (window) PostPrivate(window, WM_TVAPP_COMMAND, (WPARAM)command, 0);
}

DWORD BusyWaitMs(DWORD ms) {
    // A spin, not a sleep: nothing else of ours runs until the time is up.
    // The unsigned difference makes the counter's wrap harmless.
    DWORD start = fx.timeGetTime();
    DWORD elapsed;
    do {
        elapsed = fx.timeGetTime() - start;
    } while (elapsed < ms);
    return elapsed;
}

void DispatchQuickTvKey(RemoteKeyCode code) {
    const TvCommandRow *row = CommandRowFor(code);
    if (!row || CommandFor(*row) == kNoCommand) return;
    SendTvCommand(quickTvApp, CommandFor(*row));
}

void DispatchTvAnywhereKey(RemoteKeyCode code) {
    const TvCommandRow *row = CommandRowFor(code);
    if (!row || CommandFor(*row) == kNoCommand) return;
    SendTvCommand(tvAnywhereApp, CommandFor(*row));
    if (row->tvAnywhereWaitMs) BusyWaitMs(row->tvAnywhereWaitMs);
}
