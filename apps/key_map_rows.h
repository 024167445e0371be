// The row types of the key maps. Each map is an array of rows, one per remote
// key, with the action for each key layout; one function per form of delivery
// (apps/key_delivery.h) carries a row out.
#pragma once
#include <stddef.h>
#include <windows.h>
#include "apps/key_delivery.h"
#include "apps/tv_app.h"

enum class KeyForm {
    Nothing,       // no window search, lastWindow untouched
    Same,          // second layout only: as the first layout
    Posted,        // PostKey(message, code, lParam)
    Chord,         // SendChord(modifiers + key), activated or not
    ShowToggle,    // ToggleShow
    Private,       // PostPrivate(message, wParam, lParam)
    Custom,        // the row's own action, search included (PowerVCR II key 24)
};

struct KeyAction {
    KeyForm form;
    UINT message;      // Posted, Private
    WPARAM code;       // Posted: virtual key or character; Private: wParam
    LPARAM lParam;     // Posted, Private
    BYTE modifiers[2]; // Chord: pressed in this order, released in reverse
    int modifierCount;
    BYTE key;          // Chord: main key
    bool activate;     // Chord: SetForegroundWindow/SetActiveWindow first
    void (*beforeDelivery)(); // runs once the window is found, before delivery
    void (*custom)(TvAppDescriptor &app);
};

struct KeyRow {
    RemoteKeyCode key;
    KeyAction western;  // JapanLayout 0
    KeyAction japanese; // JapanLayout 1; KeyForm::Same for "same"
};

// Modifier virtual keys as the maps name them.
const BYTE kVkCtrl = 0x11;
const BYTE kVkAlt = 0x12;

// Scan codes posted with the digit keys 0-9 (main-row digits).
constexpr BYTE kDigitScanCodes[10] = {0x0B, 0x02, 0x03, 0x04, 0x05, 0x06, 0x07, 0x08, 0x09, 0x0A};

// Row builders, named after the forms the tables use.
constexpr KeyAction Nothing = {KeyForm::Nothing, 0, 0, 0, {0, 0}, 0, 0, false, nullptr, nullptr};
constexpr KeyAction Same = {KeyForm::Same, 0, 0, 0, {0, 0}, 0, 0, false, nullptr, nullptr};

// WM_KEYDOWN with repeat count 1 and the scan code (extended bit where given).
constexpr KeyAction PostedKey(BYTE vk, BYTE scan, bool extended = false) {
    return {KeyForm::Posted, WM_KEYDOWN, vk, KeyLParam(1, scan, extended), {0, 0}, 0, 0, false, nullptr, nullptr};
}
// WM_KEYDOWN with lParam 0.
constexpr KeyAction PostedBareKey(BYTE vk) {
    return {KeyForm::Posted, WM_KEYDOWN, vk, 0, {0, 0}, 0, 0, false, nullptr, nullptr};
}
constexpr KeyAction PostedChar(BYTE ch, BYTE scan) {
    return {KeyForm::Posted, WM_CHAR, ch, KeyLParam(1, scan, false), {0, 0}, 0, 0, false, nullptr, nullptr};
}
// Digit key d: vk 0x30 + d with its scan code.
constexpr KeyAction PostedDigit(int d) { return PostedKey((BYTE)(0x30 + d), kDigitScanCodes[d]); }

constexpr KeyAction ChordOf(bool activate, BYTE modifier, BYTE key) {
    return {KeyForm::Chord, 0, 0, 0, {modifier, 0}, 1, key, activate, nullptr, nullptr};
}
constexpr KeyAction ChordOf(bool activate, BYTE first, BYTE second, BYTE key) {
    return {KeyForm::Chord, 0, 0, 0, {first, second}, 2, key, activate, nullptr, nullptr};
}
constexpr bool kWithActivation = true;
constexpr bool kWithoutActivation = false;

constexpr KeyAction ShowToggle = {KeyForm::ShowToggle, 0, 0, 0, {0, 0}, 0, 0, false, nullptr, nullptr};

constexpr KeyAction PrivateMessage(UINT message, WPARAM wParam, LPARAM lParam) {
    return {KeyForm::Private, message, wParam, lParam, {0, 0}, 0, 0, false, nullptr, nullptr};
}

constexpr KeyAction After(void (*before)(), KeyAction action) {
    action.beforeDelivery = before;
    return action;
}

constexpr KeyAction CustomAction(void (*custom)(TvAppDescriptor &)) {
    return {KeyForm::Custom, 0, 0, 0, {0, 0}, 0, 0, false, nullptr, custom};
}

// The action of `key` for the current layout, or Nothing when the map has no row.
const KeyAction &KeyActionFor(const KeyRow *rows, size_t count, RemoteKeyCode key, int japanLayout);

// One key through a map: no search for Nothing; otherwise search, record the
// window in app.lastWindow and deliver only if found.
void RunKeyMap(const KeyRow *rows, size_t count, TvAppDescriptor &app, HWND (*search)(), RemoteKeyCode key);

// Delivers one action to a found window.
void DeliverKeyAction(HWND window, const KeyAction &action);
