// Where the user's key maps meet the routing: the two KeyMaps.ini files, read
// at start and again when either changes, and each press of a mapped key
// carried out for the foreground window's program.
#pragma once
#include <windows.h>
#include "platform/remote_words.h"
#include "receiver/remote_key.h"

// The machine's file beside the program and the user's under %APPDATA%, read
// now (start-up).
void LoadUserKeyMaps();
// The same with other files (tests); null or "" for none.
void UseUserKeyMapFiles(const char *machinePath, const char *userPath);
// Reads the files again when either changed or its last read failed, and the
// user's timing (RepeatDelayMs, LongPressMs); looks at most once a second.
void RefreshUserKeyMaps(DWORD now);

// A key that would move the pointer or do nothing: when the foreground
// window's program has a section mapping it, the key is taken (this returns
// true) and acts as its press calls for: once on its fresh event, again
// while held after the repeat delay, or, with a long action mapped, once
// when held long enough or let go before; `outcome` names the section and
// what was sent, or why nothing was. Otherwise false and nothing happened
// (the outcome's target names the program in front).
bool RouteToUserKeyMap(RemoteKeyCode code, KeyOutcome &outcome);
// The file name of the foreground window's program; "" when none.
void ForegroundProgramName(char *out, size_t size);
// A poll that read no key: a key let go before its long press acts now.
void UserKeysIdle();
