// The row types of the key maps and how a row is carried out. A key map is an
// array of rows, one per remote key, with the action for each key layout:
// keystroke rows (KeyRow, one form of delivery each, apps/key_delivery.h) or
// the Honestech applications' command rows (TvCommandRow). Each map is defined
// in its application's file (apps/powervcr.cpp, ...) and named by its rows.
#pragma once
#include <stddef.h>
#include <windows.h>
#include "apps/key_delivery.h"
#include "apps/tv_app_descriptor.h"

enum class KeyForm : BYTE {
    Nothing,       // no window search, lastWindow untouched
    Same,          // second layout only: as the first layout
    Posted,        // PostKey(message, code, lParam)
    Chord,         // SendChord(modifiers + key), activated or not
    ShowToggle,    // ToggleShow
    Private,       // PostPrivate(message, wParam, lParam)
    Custom,        // the row's own action, search included (PowerVCR II key 24)
};

// The bytes first and every number in the size it needs (each message, code
// and lParam of the maps fits): the maps hold two of these per key.
struct KeyAction {
    KeyForm form;
    BYTE modifiers[3];  // Chord: pressed in this order, released in reverse
    BYTE key;           // Chord: main key
    BYTE modifierCount;
    bool activate;      // Chord: SetForegroundWindow/SetActiveWindow first
    WORD message;       // Posted, Private
    WORD code;          // Posted: virtual key or character; Private: wParam
    LONG lParam;        // Posted, Private
    void (*beforeDelivery)(); // runs once the window is found, before delivery
    void (*custom)(TvAppDescriptor &app, KeyOutcome &outcome);
};

struct KeyRow {
    RemoteKeyCode key;
    KeyAction western;  // JapanLayout 0
    KeyAction japanese; // JapanLayout 1; KeyForm::Same for "same"
};

// A row of a command map: the WM_TVAPP_COMMAND number a key sends.
const int kNoCommand = 0;    // the map does nothing on this key
const int kSameCommand = -1; // JapanLayout 1: as JapanLayout 0
struct TvCommandRow {
    RemoteKeyCode key;
    int western;  // JapanLayout 0
    int japanese; // JapanLayout 1
    DWORD waitMs; // busy wait after the command, for the applications whose row says commandWaits
};

// One application's key map: keystroke rows or command rows.
struct KeyMap {
    const KeyRow *rows;
    size_t rowCount;
    const TvCommandRow *commands;
    size_t commandCount;
};

// Modifier virtual keys as the maps name them.
const BYTE kVkCtrl = 0x11;
const BYTE kVkAlt = 0x12;
const BYTE kVkShift = 0x10;

// Scan codes posted with the digit keys 0-9 (main-row digits).
constexpr BYTE kDigitScanCodes[10] = {0x0B, 0x02, 0x03, 0x04, 0x05, 0x06, 0x07, 0x08, 0x09, 0x0A};

// Row builders, named after the forms the tables use.
constexpr KeyAction kNoAction = {};
constexpr KeyAction Action(KeyForm form) {
    KeyAction action = kNoAction;
    action.form = form;
    return action;
}
constexpr KeyAction Message(KeyForm form, WORD message, WORD code, LPARAM lParam) {
    KeyAction action = Action(form);
    action.message = message;
    action.code = code;
    action.lParam = (LONG)lParam;
    return action;
}
constexpr KeyAction Nothing = Action(KeyForm::Nothing);
constexpr KeyAction Same = Action(KeyForm::Same);
// WM_KEYDOWN with repeat count 1 and the scan code (extended bit where given).
constexpr KeyAction PostedKey(BYTE vk, BYTE scan, bool extended = false) {
    return Message(KeyForm::Posted, WM_KEYDOWN, vk, KeyLParam(1, scan, extended));
}
// WM_KEYDOWN with lParam 0.
constexpr KeyAction PostedBareKey(BYTE vk) { return Message(KeyForm::Posted, WM_KEYDOWN, vk, 0); }
constexpr KeyAction PostedChar(BYTE ch, BYTE scan) {
    return Message(KeyForm::Posted, WM_CHAR, ch, KeyLParam(1, scan, false));
}
// Digit key d: vk 0x30 + d with its scan code.
constexpr KeyAction PostedDigit(int d) { return PostedKey((BYTE)(0x30 + d), kDigitScanCodes[d]); }
constexpr KeyAction ChordAction(bool activate, BYTE first, BYTE second, BYTE third, BYTE key, BYTE count) {
    KeyAction action = Action(KeyForm::Chord);
    action.modifiers[0] = first;
    action.modifiers[1] = second;
    action.modifiers[2] = third;
    action.key = key;
    action.modifierCount = count;
    action.activate = activate;
    return action;
}
constexpr KeyAction ChordOf(bool activate, BYTE modifier, BYTE key) {
    return ChordAction(activate, modifier, 0, 0, key, 1);
}
constexpr KeyAction ChordOf(bool activate, BYTE first, BYTE second, BYTE key) {
    return ChordAction(activate, first, second, 0, key, 2);
}
constexpr KeyAction ChordOf(bool activate, BYTE first, BYTE second, BYTE third, BYTE key) {
    return ChordAction(activate, first, second, third, key, 3);
}
constexpr bool kWithActivation = true;
constexpr bool kWithoutActivation = false;
constexpr KeyAction ShowToggle = Action(KeyForm::ShowToggle);
constexpr KeyAction PrivateMessage(WORD message, WORD wParam, LPARAM lParam) {
    return Message(KeyForm::Private, message, wParam, lParam);
}
constexpr KeyAction After(void (*before)(), KeyAction action) {
    action.beforeDelivery = before;
    return action;
}

constexpr KeyAction CustomAction(void (*custom)(TvAppDescriptor &, KeyOutcome &)) {
    KeyAction action = Action(KeyForm::Custom);
    action.custom = custom;
    return action;
}

// The action of `key` for the current layout, or Nothing when the map has no row.
const KeyAction &KeyActionFor(const KeyRow *rows, size_t count, RemoteKeyCode key, int japanLayout);

// One key through keystroke rows: no search for Nothing; otherwise search,
// record the window in app.lastWindow and deliver only if found. The outcome
// says what was sent, or why nothing was; its target is the caller's.
KeyOutcome RunKeyMap(const KeyRow *rows, size_t count, TvAppDescriptor &app, HWND (*search)(), RemoteKeyCode key);

// Delivers one action to a found window; kNotInFront when a chord that
// needed its program in front was not sent (key_delivery.h).
KeyReason DeliverKeyAction(HWND window, const KeyAction &action);
// What an action sends, in a user's words: "Ctrl+X", "Page Up", "message 911, 24".
void DescribeKeyAction(const KeyAction &action, char *out, size_t size);

// The command of a row under a layout; kNoCommand when the map does nothing.
int TvCommandFor(const TvCommandRow &row, int japanLayout);
// The row of `key` in command rows, or null.
const TvCommandRow *CommandRowFor(const KeyMap &map, RemoteKeyCode key);
// Key action shape with a private message: posts WM_TVAPP_COMMAND with
// `command` to the window `search` finds, if any.
KeyOutcome SendTvCommand(TvAppDescriptor &app, HWND (*search)(), int command);
// One key through command rows: its command, then its wait when `waits`.
KeyOutcome RunCommandMap(const KeyMap &map, TvAppDescriptor &app, HWND (*search)(), bool waits, RemoteKeyCode key);

// Spins on timeGetTime until `ms` have passed; returns the time that passed.
DWORD BusyWaitMs(DWORD ms);
