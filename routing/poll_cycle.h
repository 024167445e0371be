// The poll cycle: read the remote, filter auto-repeat, route the key.
#pragma once
#include <windows.h>
#include "platform/remote_words.h"
#include "receiver/remote_key.h"
#include "routing/poll_timing.h"

// Repeat filter state; all 0 at start.
struct RepeatState {
    int busy;
    RemoteKeyCode lastCode;
    DWORD lastTick;
    int repeatCount;
};
extern RepeatState pollState;

// Records one key event at `now`; true when it is a repeat of the last one.
bool NoteKeyEvent(RepeatState &state, RemoteKeyCode code, DWORD now);
// The code after the repeat drop: -1 for a repeat that must not pass.
RemoteKeyCode ApplyRepeatDrop(const RepeatState &state, bool isRepeat, bool anyActive, RemoteKeyCode code);

// Reads the pressed key through the receiver; false when none is pressed.
bool ReadRemoteKey(RemoteKeyCode *code);
// Filters and routes one key event at `now`; `owner` owns the prompt. Traces
// what became of it and shows it (showKeyOutcome).
KeyOutcome HandleKeyEvent(HWND owner, RemoteKeyCode code, DWORD now);
// Routes a filtered code to the prompt, the active target or the default;
// says where it went and what was sent, or why nothing took it.
KeyOutcome RouteKey(HWND owner, RemoteKeyCode code);
// Starts the default application; `check` warns when it is not installed.
KeyOutcome StartDefaultApp(bool check);

// Binds PollTimer to `owner` with the poll cycle and arms it (start-up).
void StartPolling(HWND owner);
// The PollTimer callback.
void CALLBACK PollCycle(HWND window, UINT message, UINT_PTR id, DWORD tick);
