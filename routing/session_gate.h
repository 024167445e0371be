// Whether this copy of the program may take the remote. The card is one, but
// with fast user switching or Remote Desktop every logged-on user runs a copy;
// a copy whose desktop nobody sees would launch programs there, or open a Shut
// Down prompt that the next power key confirms. Only the copy in the session
// at the physical console, while it is not locked, polls the card.
#pragma once
#include <windows.h>
#include "platform/tray_window_ids.h"

// A session id that is none: what WTSGetActiveConsoleSessionId answers while
// sessions are being switched, and ours when it cannot be read.
const DWORD kNoSession = 0xFFFFFFFF;

// The decision: polls while `ownSession` is the console's and not locked.
// An unreadable own session polls, as the program did before it asked.
bool SessionMayPoll(DWORD ownSession, DWORD consoleSession, bool locked);

// A session's lock state as WTSSessionInfoEx's flags give it on Windows
// `major`.`minor` (Windows 7 and Server 2008 R2 report the two reversed).
enum SessionLock { kLockUnknown, kLocked, kUnlocked };
SessionLock LockFromSessionFlags(LONG flags, DWORD major, DWORD minor);

// Asking for lock notices fails early at logon, before the terminal service
// runs: it is tried again this often, this many times (kSessionGateTimerId).
const UINT kSessionRegisterRetryMs = 1000;
const int kSessionRegisterAttempts = 120;

// Without a session notice, the console's session is asked again after this.
const DWORD kConsoleRecheckMs = 1000;

// Reads this process's session and its lock state now, and asks for lock and
// connection notices to `window` (WM_WTSSESSION_CHANGE), again on a timer
// until the system takes the request; StopSessionGate ends them.
void StartSessionGate(HWND window);
void StopSessionGate(HWND window);
// A WM_WTSSESSION_CHANGE notice; `event` is its wParam.
void NoteSessionChange(WPARAM event);
// SessionMayPoll for this process, now.
bool ThisSessionMayPoll();
