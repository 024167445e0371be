#include "routing/session_gate.h"
#include <stddef.h>
#include <wtsapi32.h>
#include "platform/effects.h"
#include "platform/trace.h"

namespace {

DWORD ownSession = kNoSession;
bool sessionLocked = false;
// The console's session, as last asked. It changes only when users are
// switched, which a notice announces; without notices it is asked again
// after a second. Asked on every cycle, it cost more than the card's read.
DWORD consoleSession = kNoSession;
DWORD consoleAskedAt = 0;
bool consoleKnown = false;
bool notified = false;
int registerAttempts = 0;

// WTSINFOEXA as far as it is read here (the SDK's headers of this compiler
// lack it): the level, then level 1's leading fields.
const WTS_INFO_CLASS kSessionInfoEx = (WTS_INFO_CLASS)25;
const LONG kSessionStateLock = 0, kSessionStateUnlock = 1;
struct SessionInfoExLevel1 {
    ULONG sessionId;
    WTS_CONNECTSTATE_CLASS state;
    LONG flags;
};
struct SessionInfoEx {
    DWORD level;
    union {
        SessionInfoExLevel1 level1;
        LARGE_INTEGER alignment; // the real level's logon times
    } data;
};

// A Telvix started behind a locked screen (a logon entry that runs late)
// gets no lock notice for it: the state is asked for at start.
void ReadLockState() {
    char *buffer = nullptr;
    DWORD bytes = 0;
    if (ownSession == kNoSession ||
        !fx.WTSQuerySessionInformationA(WTS_CURRENT_SERVER_HANDLE, ownSession, kSessionInfoEx, &buffer, &bytes))
        return;
    const SessionInfoEx *info = (const SessionInfoEx *)buffer;
    SessionLock lock = kLockUnknown;
    if (buffer && bytes >= offsetof(SessionInfoEx, data.level1.flags) + sizeof(LONG) && info->level == 1) {
        OSVERSIONINFOA version = {};
        version.dwOSVersionInfoSize = sizeof version;
        fx.GetVersionExA(&version);
        lock = LockFromSessionFlags(info->data.level1.flags, version.dwMajorVersion, version.dwMinorVersion);
    }
    fx.WTSFreeMemory(buffer);
    if (lock != kLockUnknown) sessionLocked = lock == kLocked;
    Trace("start: session locked %d (-1 unknown)", lock == kLockUnknown ? -1 : (int)sessionLocked);
}

void CALLBACK RetryRegistration(HWND window, UINT, UINT_PTR, DWORD);

void AskForNotices(HWND window) {
    ++registerAttempts;
    notified = fx.WTSRegisterSessionNotification(window, NOTIFY_FOR_THIS_SESSION) != FALSE;
    if (!notified || registerAttempts > 1)
        Trace("start: session notices %s at attempt %d", notified ? "taken" : "refused", registerAttempts);
    // Without notices a lock goes unseen, but switching users still does not
    // pass: the console's session is asked every kConsoleRecheckMs.
    if (notified || registerAttempts >= kSessionRegisterAttempts) KillTimer(window, kSessionGateTimerId);
    else if (registerAttempts == 1) SetTimer(window, kSessionGateTimerId, kSessionRegisterRetryMs, RetryRegistration);
    // A lock while the system refused the request went unseen.
    if (notified && registerAttempts > 1) ReadLockState();
}

void CALLBACK RetryRegistration(HWND window, UINT, UINT_PTR, DWORD) { AskForNotices(window); }

DWORD ConsoleSession() {
    DWORD now = fx.GetTickCount();
    if (!consoleKnown || now - consoleAskedAt >= kConsoleRecheckMs) {
        consoleSession = fx.WTSGetActiveConsoleSessionId();
        consoleAskedAt = now;
        consoleKnown = true;
    }
    return consoleSession;
}

} // namespace

bool SessionMayPoll(DWORD ownSession, DWORD consoleSession, bool locked) {
    if (ownSession == kNoSession) return true;
    return ownSession == consoleSession && !locked;
}

SessionLock LockFromSessionFlags(LONG flags, DWORD major, DWORD minor) {
    bool reversed = major == 6 && minor == 1;
    if (flags == kSessionStateLock) return reversed ? kUnlocked : kLocked;
    if (flags == kSessionStateUnlock) return reversed ? kLocked : kUnlocked;
    return kLockUnknown;
}

void StartSessionGate(HWND window) {
    DWORD session = 0;
    ownSession = fx.ProcessIdToSessionId(GetCurrentProcessId(), &session) ? session : kNoSession;
    sessionLocked = false;
    consoleKnown = false;
    registerAttempts = 0;
    ReadLockState();
    AskForNotices(window);
}

void StopSessionGate(HWND window) {
    KillTimer(window, kSessionGateTimerId);
    if (notified) fx.WTSUnRegisterSessionNotification(window);
    notified = false;
}

void NoteSessionChange(WPARAM event) {
    consoleKnown = false; // every notice may follow a switch of users
    switch (event) {
    case WTS_SESSION_LOCK: sessionLocked = true; break;
    case WTS_SESSION_UNLOCK: sessionLocked = false; break;
    default: break; // connections: the console's session is asked anew
    }
}

bool ThisSessionMayPoll() {
    return SessionMayPoll(ownSession, ConsoleSession(), sessionLocked);
}
