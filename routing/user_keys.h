// User key maps: remote keys for the programs people use today (players,
// browsers), written by the user in KeyMaps.ini. A key reaches them only where
// it would otherwise move the pointer or do nothing, and only the foreground
// window's program. This header holds the pure part: the file format, the
// lookup and the words; user_keys_route.cpp reads the files and delivers.
#pragma once
#include <windows.h>
#include <stddef.h>
#include "receiver/remote_key.h"

const int kUserKeyCount = 32;           // KeyN: N is a remote key code 0..31
const int kUserSectionsPerFile = 64;    // more sections are not read
const size_t kUserMapFileBytes = 65536; // more of a file is not read

enum UserActionKind : BYTE {
    kUserNone = 0,
    kUserPost,      // post:  WM_KEYDOWN then WM_KEYUP posted to the program's window
    kUserChord,     // chord: modifiers and one key through SendInput
    kUserAppCommand // app:   WM_APPCOMMAND
};

// Modifier bits of a chord, pressed in this order.
enum : BYTE { kModCtrl = 1, kModAlt = 2, kModShift = 4, kModWin = 8 };

struct UserAction {
    UserActionKind kind;
    BYTE vk;        // post, chord
    BYTE modifiers; // chord
    BYTE command;   // app: APPCOMMAND_ number
};

struct UserKeySection {
    char name[64];
    char process[MAX_PATH]; // program file name; "" for any
    char windowClass[256];  // "" for any
    UserAction keys[kUserKeyCount];
};

// Both files together: the user's sections first, then the machine's that the
// user's do not replace by name.
struct UserKeyMap {
    UserKeySection sections[2 * kUserSectionsPerFile];
    int count;
};

// Called for each line that is skipped, with its 1-based number and why.
typedef void (*UserMapReport)(void *context, int line, const char *reason);

// Appends the sections of one file's text (at most kUserSectionsPerFile) to
// `map`; lines that are not understood are skipped and reported. Returns the
// number of sections added.
int ParseUserKeyMap(const char *text, size_t length, UserKeyMap &map, UserMapReport report, void *context);
// `user`'s sections, then `machine`'s whose name no section of `user` has.
void MergeUserKeyMaps(const UserKeyMap &machine, const UserKeyMap &user, UserKeyMap &merged);

// The action for `code` of the first section that matches the window (both
// names compared without regard to case) and maps the key; null for none.
const UserAction *FindUserKeyAction(const UserKeyMap &map, const char *processName, const char *windowClass,
                                    RemoteKeyCode code);

// Reading back: "VK_SPACE"-style names; a value as the file would write it
// ("post:VK_SPACE", "chord:Ctrl+VK_RIGHT", "app:MEDIA_PLAY_PAUSE").
bool ParseVirtualKey(const char *text, BYTE *vk);
void FormatUserAction(const UserAction &action, char *out, size_t size);
// Whether a key's scan code needs the extended-key flag (arrows, Home, Win...).
bool IsExtendedVirtualKey(BYTE vk);
