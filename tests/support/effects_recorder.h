// Replaces the effect table with recorders for the life of one object, so a
// unit test sees synthesized input, launches, message boxes and sleeps as
// lines of text and controls the clock.
#pragma once
#include <string>
#include <vector>
#include "platform/effects.h"

struct FakeEffects {
    FakeEffects();
    ~FakeEffects();
    FakeEffects(const FakeEffects &) = delete;
    FakeEffects &operator=(const FakeEffects &) = delete;

    // What the program did, in order, one line per call, e.g.
    // "keybd 0x12 1", "WinExec \"C:\\tv\\PVCR.EXE\" 5", "MessageBox text|caption|0x10000",
    // "Shell_NotifyIconA NIM_ADD size=88 window=... id=10 ...".
    static std::vector<std::string> calls;
    // Only the lines that begin with `prefix`.
    static std::vector<std::string> CallsStartingWith(const std::string &prefix);

    static DWORD tick;           // GetTickCount and timeGetTime
    static DWORD tickStep;       // added to the clock after each read
    static UINT winExecResult;   // 33: started
    static int messageBoxResult; // IDOK
    static POINT cursor;         // GetCursorPos answers it, SetCursorPos moves it
    // The foreground as Windows may have it: SetForegroundWindow refused, and
    // another window in front. Unset, both are Wine's real ones.
    static bool refuseForeground;
    static HWND foreground;
    // Sessions: ours and the console's (both 1, as under Wine, unless set).
    static DWORD ownSession, consoleSession;
    static BOOL sessionKnown; // ProcessIdToSessionId's answer
    // Session notices: the requests made, and how many of the first are
    // refused (as early at logon); the lock state's flags, when known.
    static int sessionRegisterCalls, sessionRegisterRefusals;
    static bool sessionInfoKnown;
    static LONG sessionFlags; // WTSSessionInfoEx: 0 locked, 1 unlocked
    // Monitors in screen coordinates, the first the primary, each work area
    // 40 pixels short at the bottom; empty: Wine's real ones.
    static std::vector<RECT> monitors;
    // NIM_ADD refusals still to come (a shell that is not ready).
    static int trayAddRefusals;
    // Shutdown: the platform family and the answers of each step.
    static DWORD platformId;
    static BOOL openTokenResult, lookupResult, adjustResult, exitResult;
    static DWORD lastError;
    static BOOL shellExecuteResult, suspendResult, lockResult;
    // The integrity level (RID) of every other process's token: above ours, it runs as administrator.
    static DWORD integrity;
    // The default playback device through Core Audio: its calls are recorded
    // ("Volume SetMute 1"); without one, the enumerator finds none.
    static bool playbackDevice;
    static float volumeLevel;
    static BOOL volumeMuted;
};
