// Whether this copy of the program may take the remote. The card is one, but
// with fast user switching or Remote Desktop every logged-on user runs a copy;
// a copy whose desktop nobody sees would launch programs there, or open a Shut
// Down prompt that the next power key confirms. Only the copy in the session
// at the physical console, while it is not locked, polls the card.
#pragma once
#include <windows.h>

// A session id that is none: what WTSGetActiveConsoleSessionId answers while
// sessions are being switched, and ours when it cannot be read.
const DWORD kNoSession = 0xFFFFFFFF;

// The decision: polls while `ownSession` is the console's and not locked.
// An unreadable own session polls, as the program did before it asked.
bool SessionMayPoll(DWORD ownSession, DWORD consoleSession, bool locked);

// Reads this process's session and asks for lock and connection notices to
// `window` (WM_WTSSESSION_CHANGE); StopSessionGate ends them.
void StartSessionGate(HWND window);
void StopSessionGate(HWND window);
// A WM_WTSSESSION_CHANGE notice; `event` is its wParam.
void NoteSessionChange(WPARAM event);
// SessionMayPoll for this process, now.
bool ThisSessionMayPoll();
