// Where the user's key maps meet the routing: the two KeyMaps.ini files, read
// at start and again when either changes, and the delivery of a mapped key to
// the foreground window's program.
#pragma once
#include <windows.h>
#include "platform/remote_words.h"
#include "receiver/remote_key.h"

// The machine's file beside the program and the user's under %APPDATA%, read
// now (start-up).
void LoadUserKeyMaps();
// The same with other files (tests); null or "" for none.
void UseUserKeyMapFiles(const char *machinePath, const char *userPath);
// Reads the files again when either changed; looks at most once a second.
void RefreshUserKeyMaps(DWORD now);

// A key that would move the pointer or do nothing: when the foreground
// window's program has a section mapping it, the key goes there and this
// returns true, with the section, what was sent or why nothing was in
// `outcome`; otherwise false and nothing happened (the outcome's target may
// name the program in front).
bool RouteToUserKeyMap(RemoteKeyCode code, KeyOutcome &outcome);
// The file name of the foreground window's program; "" when none.
void ForegroundProgramName(char *out, size_t size);
