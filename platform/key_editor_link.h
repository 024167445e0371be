// What the tray program tells a running key-map editor: each key it read and
// what became of it, in one posted message. Both programs include this
// header; it needs nothing of Windows, so the editor links no Telvix layer.
#pragma once
#include "platform/remote_words.h"

// The editor's main window is found by this class; the message's name is
// registered by both (RegisterWindowMessage), so its number is the same.
const char kKeyEditorWindowClass[] = "Corvane Remote Keys";
const char kKeyReadMessageName[] = "Corvane Remote Keys: key read";

// wParam of the message: the key's code, where it went and why nothing took
// it, one byte each (the texts of the outcome stay behind).
inline unsigned long PackKeyRead(const KeyOutcome &outcome) {
    return (unsigned long)(outcome.code & 0xFF) | (unsigned long)outcome.place << 8 |
           (unsigned long)outcome.reason << 16;
}

// False for a message no tray program of ours could have sent.
inline bool UnpackKeyRead(unsigned long packed, KeyOutcome &outcome) {
    unsigned code = packed & 0xFF, place = (packed >> 8) & 0xFF, reason = (packed >> 16) & 0xFF;
    if (code > 31 || place >= kKeyPlaceCount || reason >= kKeyReasonCount || packed >> 24) return false;
    outcome = KeyOutcome{};
    outcome.code = (int)code;
    outcome.place = (KeyPlace)place;
    outcome.reason = (KeyReason)reason;
    return true;
}
