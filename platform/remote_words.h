// The remote's words, shared by the tray program, the key reference and the
// key-map editor: the names printed on the remote's keys under both layouts,
// the keyboard's names of the keys the key maps send, and what became of one
// key event (KeyOutcome). No Windows header and nothing else of the tray
// program: another program links this alone.
#pragma once
#include <stddef.h>

// Texts held in the rows, not pointed to: the shipped program relocates no
// pointer for them.
struct RemoteKey {
    short code;     // the RemoteKeyCode it sends
    char label[7];  // as printed on the remote
};
// The remote's 32 keys under a layout, from top to bottom. On the normal
// layout they are the codes the receiver's key table yields; on the Japanese
// one each key sends its number directly.
const RemoteKey *RemoteKeys(int japanLayout, size_t *count);
// "" for a code that is no key of the remote under that layout.
const char *RemoteKeyLabel(int code, int japanLayout);

// A keyboard key's name as the keyboard shows it ("Page Up", "keypad +"),
// with the scan code it has there; null for a key without a name here.
struct KeyboardKey {
    unsigned char vk;
    unsigned char scan;
    char name[10];
};
const KeyboardKey *FindKeyboardKey(unsigned vk);

// Where one key event went. Small numbers: the key-map editor gets them from
// the tray program in a message.
enum KeyPlace : unsigned char {
    kToNowhere,      // no application, no key map and no pointer action took it
    kToPrompt,       // the open Shut Down prompt
    kToActiveApp,    // the TV application that is the active target
    kToDefaultStart, // power or TV with no target: the default application's start
    kToAdopted,      // a running TV application, adopted as the target
    kToUserMap,      // the program in front, through a section of KeyMaps.ini
    kToPointer,      // pointer emulation
    kKeyPlaceCount
};

// Why nothing took the key; kTaken when something did.
enum KeyReason : unsigned char {
    kTaken,
    kRepeatDropped,    // a held key's repeat, dropped for the TV application
    kNothingOnKey,     // the application's map has nothing on the key
    kWindowGone,       // the application's window was not found
    kNothingMapped,    // no TV application, no section of KeyMaps.ini, no pointer action
    kNotInFront,       // a chord for a program that is not (or no longer) in front
    kRunsElevated,     // the program refuses input from a program with fewer rights
    kNoDefaultApp,     // the default application is none of the applications
    kTvWindowOpen,     // PC off while a TV application's window is open
    kNotInstalled,     // the default application is not installed
    kLaunchFailed,     // the system did not start it
    kPointerAtEdge,    // the move would leave the screen
    kKeyReasonCount
};

struct KeyOutcome {
    int code;          // the key as read, before the repeat drop
    KeyPlace place;
    KeyReason reason;
    char target[64];   // the program or window that got it, or where nothing took it
    char sent[48];     // what was sent, in a user's words: "Ctrl+X", "command 1001"
};

// The place in a few words ("the pointer"); the reason as a user reads it
// ("PowerVCR II's window is gone"), with the key's label and the target.
const char *KeyPlaceWords(KeyPlace place);
void FormatKeyReason(const KeyOutcome &outcome, int japanLayout, char *out, size_t size);
// One line for the outcome: "PowerVCR II: keypad +", "nothing: ..." when
// nothing took it.
void FormatKeyOutcome(const KeyOutcome &outcome, int japanLayout, char *out, size_t size);

// Bounded copies into an outcome's texts.
void SetOutcomeTarget(KeyOutcome &outcome, const char *target);
void SetOutcomeSent(KeyOutcome &outcome, const char *sent);
