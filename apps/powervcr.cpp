// CyberLink PowerVCR II: its windows, what each remote key does to it
// (keystrokes posted to its "PowerVCR II Taurus" window, chords after
// activating it, a show toggle of its main and video windows) and its row.
#include "apps/tv_app_table.h"
#include "platform/registry_key.h"

HWND FindPowerVcrMain() {
    return FindWindowA("PowerVCR II Taurus", NULL);
}

HWND FindPowerVcrVideo() {
    for (HWND top = GetWindow(GetDesktopWindow(), GW_CHILD); top; top = GetWindow(top, GW_HWNDNEXT)) {
        for (HWND child = GetWindow(top, GW_CHILD); child; child = GetWindow(child, GW_HWNDNEXT)) {
            char text[128];
            text[0] = '\0';
            GetWindowTextA(child, text, sizeof text);
            if (strcmp(text, "VideoWindow2") == 0) return top;
        }
    }
    return NULL;
}

namespace {

// Recording (key 13) would otherwise stop at PowerVCR II's capture dialog.
// The key is never created: without an installation there is nothing to tell.
void DisableCaptureDialog() {
    RegistryKey key;
    // Where PowerVCR II reads it: its own registry view and, for a standard
    // user on Windows, the per-user store that virtualization keeps for it.
    if (key.Open(HKEY_LOCAL_MACHINE, "SOFTWARE\\CyberLink", KEY_SET_VALUE | kTvAppRegistryView) == ERROR_SUCCESS)
        key.WriteDword("DisableCapDlg", 1);
}

// Key 24: the video window is toggled too, even when the main window is gone.
void ToggleMainAndVideo(TvAppDescriptor &app, KeyOutcome &outcome) {
    HWND video = FindPowerVcrVideo();
    HWND main = FindForKeyAction(app, FindPowerVcrMain);
    if (main) ToggleShow(main);
    if (video) ToggleShow(video);
    outcome.reason = main || video ? kTaken : kWindowGone;
    SetOutcomeSent(outcome, "minimise or restore");
}

// Every chord of this map activates PowerVCR II first.
constexpr KeyAction Chord(BYTE modifier, BYTE key) { return ChordOf(kWithActivation, modifier, key); }
constexpr KeyAction Chord(BYTE first, BYTE second, BYTE key) { return ChordOf(kWithActivation, first, second, key); }

const KeyRow kPowerVcrKeys[] = {
    // key  JapanLayout 0                                 JapanLayout 1
    {0,  PostedDigit(0),                                  Chord(kVkAlt, kVkCtrl, VK_F10)},
    {1,  PostedDigit(1),                                  Same},
    {2,  PostedDigit(2),                                  Same},
    {3,  PostedDigit(3),                                  Same},
    {4,  PostedDigit(4),                                  Same},
    {5,  PostedDigit(5),                                  Same},
    {6,  PostedDigit(6),                                  Same},
    {7,  PostedDigit(7),                                  Same},
    {8,  PostedDigit(8),                                  Same},
    {9,  PostedDigit(9),                                  Same},
    {10, PostedBareKey(VK_MULTIPLY),                      Chord(kVkAlt, kVkCtrl, VK_F11)},
    {11, Nothing,                                         Same},
    {12, Chord(kVkCtrl, 0x55 /* U */),                    Same},
    {13, After(DisableCaptureDialog, PostedBareKey(0x52 /* R */)), Same},
    {14, PostedBareKey(0x53 /* S */),                     Same},
    {15, PostedKey(0x54 /* T */, 0x58),                   Same},
    {16, PostedBareKey(0x51 /* Q */),                     Same},
    {17, PostedBareKey(0x5A /* Z */),                     Same},
    {18, Nothing /* the routing toggles PowerVCR II */,   Same},
    {19, Chord(kVkCtrl, 0x4D /* M */),                    Same},
    {20, Nothing /* the routing toggles PowerVCR II */,   Same},
    {21, Nothing /* ignored for PowerVCR II */,           Same},
    {22, PostedChar(0x0D, 0x1C),                          Same},
    {23, Chord(kVkCtrl, 0x52 /* R */),                    Chord(kVkAlt, kVkCtrl, VK_F12)},
    {24, CustomAction(ToggleMainAndVideo),                Same},
    {25, Chord(kVkCtrl, 0x53 /* S */),                    PostedBareKey(VK_SPACE)},
    {26, PostedBareKey(0x4E /* N */),                     Same},
    {27, PostedBareKey(VK_ADD),                           Same},
    {28, PostedBareKey(VK_SPACE),                         Chord(kVkCtrl, 0x53 /* S */)},
    {29, PostedBareKey(0x43 /* C */),                     Same},
    {30, PostedBareKey(0x50 /* P */),                     Same},
    {31, PostedBareKey(VK_SUBTRACT),                      Same},
};

const KeyMap kPowerVcrKeyMap = {kPowerVcrKeys, sizeof kPowerVcrKeys / sizeof kPowerVcrKeys[0], nullptr, 0};

} // namespace

extern const TvApp kPowerVcrRow = {
    .id = kPowerVcr,
    .identity = {.name = "PowerVCR",
                 .registryKey = "Software\\Cyberlink\\PowerVCR II",
                 .valueName = "InstallPath",
                 .exeName = "PVCR.EXE",
                 .windowClass = "",
                 .titlePrefix = "PowerVCR II"},
    .descriptor = &powerVcrApp,
    .windows = {.presentClass = "PowerVCR II Taurus",
                .presentTitle = nullptr,
                .findMain = FindPowerVcrMain,
                .runningBy = TvAppSearch::TitlePrefix},
    .keyMap = &kPowerVcrKeyMap,
    .close = {.action = ChordOf(kWithActivation, kVkCtrl, 0x58 /* X */), .by = TvAppSearch::Main},
    .commands = {.key20 = 0, .key21 = 0, .waits = false},
    .adoptionRank = 3,
    .menuCommand = 1102,
    .names = {.title = "PowerVCR II", .descriptionGroup = "PowerVCR II"},
};
