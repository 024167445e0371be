// InterVideo Home Theater: its window, what each remote key does to it
// (keystrokes posted to the window titled exactly "Home Theater", a few chords
// and one private message) and its row.
#include "apps/tv_app_table.h"
#include "platform/window_search.h"

HWND FindHomeTheaterMain() {
    return FindWindowByExactTitle("Home Theater");
}

namespace {

// The scan codes are the ones Home Theater expects, not always the virtual
// key's own (F8 with 0x32, Escape with 0x26, F9/F10 with 0x2A).
const KeyRow kHomeTheaterKeys[] = {
    // key  JapanLayout 0                                 JapanLayout 1
    {0,  PostedDigit(0),                                  Same},
    {1,  PostedDigit(1),                                  Same},
    {2,  PostedDigit(2),                                  Same},
    {3,  PostedDigit(3),                                  Same},
    {4,  PostedDigit(4),                                  Same},
    {5,  PostedDigit(5),                                  Same},
    {6,  PostedDigit(6),                                  Same},
    {7,  PostedDigit(7),                                  Same},
    {8,  PostedDigit(8),                                  Same},
    {9,  PostedDigit(9),                                  Same},
    {10, Nothing,                                         Same},
    {11, Nothing,                                         Same},
    {12, PostedKey(0x41 /* A */, 0x1E),                   Same},
    {13, ChordOf(kWithoutActivation, kVkCtrl, 0x52 /* R */), Same},
    {14, ChordOf(kWithoutActivation, kVkCtrl, 0x53 /* S */), Same},
    {15, ChordOf(kWithActivation, kVkCtrl, 0x49 /* I */), Same},
    {16, PostedKey(VK_F8, 0x32),                          Same},
    {17, PostedKey(0x5A /* Z */, 0x2C),                   Same},
    {18, Nothing /* the routing toggles Home Theater */,  Same},
    {19, PostedKey(0x55 /* U */, 0x16),                   Same},
    {20, Nothing /* the routing toggles Home Theater */,  Same},
    {21, Nothing /* ignored for Home Theater */,          Same},
    {22, PrivateMessage(0x038F, 0x18, 0),                 Same},
    {23, PostedKey(VK_ESCAPE, 0x26),                      Same},
    {24, ShowToggle,                                      Same},
    {25, PostedKey(0x4B /* K */, 0x25),                   PostedKey(VK_F10, 0x44)},
    {26, PostedKey(VK_PRIOR, 0x49, true),                 Same},
    {27, PostedKey(VK_F9, 0x2A),                          Same},
    {28, PostedKey(VK_F10, 0x44),                         PostedKey(0x4B /* K */, 0x25)},
    {29, PostedKey(0x50 /* P */, 0x19),                   Same},
    {30, PostedKey(VK_NEXT, 0x51, true),                  Same},
    {31, PostedKey(VK_F10, 0x2A),                         Same},
};

const KeyMap kHomeTheaterKeyMap = {kHomeTheaterKeys, sizeof kHomeTheaterKeys / sizeof kHomeTheaterKeys[0], nullptr, 0};

} // namespace

extern const TvApp kHomeTheaterRow = {
    .id = kHomeTheater,
    .identity = {.name = "Home Theater",
                 .registryKey = "Software\\InterVideo\\Home Theater",
                 .valueName = "PATH",
                 .exeName = "Home Theater.exe",
                 .windowClass = "",
                 .titlePrefix = "Home Theater"},
    .descriptor = &homeTheaterApp,
    .windows = {.presentClass = nullptr,
                .presentTitle = "Home Theater",
                .findMain = FindHomeTheaterMain,
                .runningBy = TvAppSearch::TitlePrefix},
    .keyMap = &kHomeTheaterKeyMap,
    .close = {.action = ChordOf(kWithoutActivation, kVkAlt, kVkCtrl, kVkShift, VK_F8), .by = TvAppSearch::TitlePrefix},
    .commands = {.key20 = 0, .key21 = 0, .waits = false},
    .adoptionRank = 1,
    .menuCommand = 1101,
    .names = {.title = "Home Theater", .descriptionGroup = "Home Theater"},
};
