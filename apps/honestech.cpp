// Honestech Quick TV and TV@Anywhere: the window both answer to, the one
// command map both use (a command number posted in WM_TVAPP_COMMAND to the
// "FormMainWindow" window; TV@Anywhere waits after two commands) and their rows.
#include "apps/tv_app_table.h"

HWND FindFormMainWindow() {
    return FindWindowExA(GetDesktopWindow(), NULL, NULL, "FormMainWindow");
}

namespace {

const TvCommandRow kTvCommands[] = {
    // key  JapanLayout 0   JapanLayout 1   wait (TV@Anywhere)
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

const KeyMap kHonestechKeyMap = {nullptr, 0, kTvCommands, sizeof kTvCommands / sizeof kTvCommands[0]};

constexpr TvAppClose kCloseCommand = {.action = PrivateMessage(WM_TVAPP_COMMAND, kTvCommandClose, 0),
                                      .by = TvAppSearch::Main};

} // namespace

extern const TvApp kQuickTvRow = {
    .id = kQuickTv,
    .identity = {.name = "Quick_TV",
                 .registryKey = "SOFTWARE\\Honestech\\Quick TV",
                 .valueName = "AppPath",
                 .exeName = "QuickTV.EXE",
                 .windowClass = "Quick_TV",
                 .titlePrefix = "FormMainWindow"},
    .descriptor = &quickTvApp,
    .windows = {.presentClass = "QUICK_TV",
                .presentTitle = nullptr,
                .findMain = FindFormMainWindow,
                .runningBy = TvAppSearch::TitlePrefix},
    .keyMap = &kHonestechKeyMap,
    .close = kCloseCommand,
    .commands = {.key20 = 6000, .key21 = 5001, .waits = false},
    .adoptionRank = 4,
    .menuCommand = 1103,
    .names = {.title = "Quick TV", .descriptionGroup = "Honestech"},
};

extern const TvApp kTvAnywhereRow = {
    .id = kTvAnywhere,
    .identity = {.name = "TV@Anywhere",
                 .registryKey = "Software\\Honestech\\TV Plus\\TVR",
                 .valueName = "AppPath",
                 .exeName = "MSITVR.exe",
                 .windowClass = "TV@Anywhere",
                 .titlePrefix = "FormMainWindow"},
    .descriptor = &tvAnywhereApp,
    .windows = {.presentClass = nullptr,
                .presentTitle = "FormMainWindow",
                .findMain = FindFormMainWindow,
                .runningBy = TvAppSearch::Main},
    .keyMap = &kHonestechKeyMap,
    .close = kCloseCommand,
    .commands = {.key20 = 6000, .key21 = 5001, .waits = true},
    .adoptionRank = 2,
    .menuCommand = 1104,
    .names = {.title = "TV@Anywhere", .descriptionGroup = "Honestech"},
};
