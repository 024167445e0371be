#include "routing/session_gate.h"
#include <wtsapi32.h>
#include "platform/effects.h"

namespace {
DWORD ownSession = kNoSession;
bool sessionLocked = false;
} // namespace

bool SessionMayPoll(DWORD ownSession, DWORD consoleSession, bool locked) {
    if (ownSession == kNoSession) return true;
    return ownSession == consoleSession && !locked;
}

void StartSessionGate(HWND window) {
    DWORD session = 0;
    ownSession = fx.ProcessIdToSessionId(GetCurrentProcessId(), &session) ? session : kNoSession;
    sessionLocked = false;
    // Without notices a lock goes unseen, but switching users still does not
    // pass: the console's session is asked on every cycle.
    WTSRegisterSessionNotification(window, NOTIFY_FOR_THIS_SESSION);
}

void StopSessionGate(HWND window) { WTSUnRegisterSessionNotification(window); }

void NoteSessionChange(WPARAM event) {
    switch (event) {
    case WTS_SESSION_LOCK: sessionLocked = true; break;
    case WTS_SESSION_UNLOCK: sessionLocked = false; break;
    default: break; // connections: the console's session is asked each cycle
    }
}

bool ThisSessionMayPoll() {
    return SessionMayPoll(ownSession, fx.WTSGetActiveConsoleSessionId(), sessionLocked);
}
