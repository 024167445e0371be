#include "routing/user_key_delivery.h"
#include <stdio.h>
#include <string.h>
#include "apps/key_delivery.h"
#include "platform/effects.h"
#include "platform/foreground.h"
#include "platform/shutdown_privilege.h"

HWND userKeysWindow = NULL;

namespace {

// What was sent, short enough for the display: the value in a user's words,
// "chord:Ctrl+VK_RIGHT" reading "Ctrl+Right", "app:MEDIA_PLAY_PAUSE" "Media Play Pause".
void Words(const UserKeyMap &map, const UserAction &action, char *outcome, size_t size) {
    char value[1100];
    FormatUserAction(map, action, value, sizeof value);
    const char *from = strchr(value, ':');
    from = from ? from + 1 : value;
    size_t n = 0;
    bool wordStart = true;
    for (; *from && n + 1 < size; ++from) {
        if (strncmp(from, "VK_", 3) == 0) from += 3;
        char c = *from;
        if (!c) break;
        if (c == '_') c = ' ';
        else if (!wordStart && c >= 'A' && c <= 'Z') c = (char)(c - 'A' + 'a');
        wordStart = c == ' ' || c == '+';
        outcome[n++] = c;
    }
    outcome[n] = 0;
}

// Keys go where the program's keyboard input goes: its focused window when
// that is the program's own, else the matched window itself.
HWND InputWindowOf(const ForegroundProgram &fg) {
    if (fg.hosted) return fg.window;
    GUITHREADINFO info = {};
    info.cbSize = sizeof info;
    DWORD owner = 0;
    if (GetGUIThreadInfo(fg.thread, &info) && info.hwndFocus && GetWindowThreadProcessId(info.hwndFocus, &owner) &&
        owner == fg.pid)
        return info.hwndFocus;
    return fg.window;
}

// One SendInput call, so no other input falls between the chord's keys.
void SendInputChord(BYTE modifiers, BYTE vk) {
    const BYTE kModifierKeys[] = {VK_CONTROL, VK_MENU, VK_SHIFT, VK_LWIN}; // kModCtrl, kModAlt, kModShift, kModWin
    BYTE keys[5];
    int count = 0;
    for (int i = 0; i < 4; ++i)
        if (modifiers & (1 << i)) keys[count++] = kModifierKeys[i];
    keys[count++] = vk;
    INPUT inputs[10] = {};
    int n = 0;
    for (int i = 0; i < count; ++i, ++n) {
        inputs[n].type = INPUT_KEYBOARD;
        inputs[n].ki.wVk = keys[i];
        inputs[n].ki.wScan = (WORD)MapVirtualKeyA(keys[i], 0);
        inputs[n].ki.dwFlags = IsExtendedVirtualKey(keys[i]) ? KEYEVENTF_EXTENDEDKEY : 0;
    }
    for (int i = count - 1; i >= 0; --i, ++n) {
        inputs[n] = inputs[i];
        inputs[n].ki.dwFlags |= KEYEVENTF_KEYUP;
    }
    fx.SendInput((UINT)n, inputs, sizeof(INPUT));
}

bool DeliverPost(const ForegroundProgram &fg, const UserKeyMap &map, const UserAction &action, char *outcome,
                 size_t size) {
    HWND window = InputWindowOf(fg);
    LPARAM down = KeyLParam(1, MapVirtualKeyA(action.code, 0), IsExtendedVirtualKey(action.code));
    PostKey(window, WM_KEYDOWN, action.code, down);
    PostKey(window, WM_KEYUP, action.code, down | (LPARAM)0xC0000000u); // previous state down, transition up
    Words(map, action, outcome, size);
    return true;
}

bool DeliverChord(const ForegroundProgram &fg, const UserKeyMap &map, const UserAction &action, char *outcome,
                  size_t size) {
    // Synthesized input goes to whoever is in front when it is read: only
    // while the matched program still is.
    if (!ForegroundBelongsTo(fg.framePid)) {
        (void)snprintf(outcome, size, "%s", "not sent, the program is no longer in front");
        return false;
    }
    SendInputChord((BYTE)action.arg, action.code);
    Words(map, action, outcome, size);
    return true;
}

bool DeliverApp(const ForegroundProgram &fg, const UserKeyMap &map, const UserAction &action, char *outcome,
                size_t size) {
    HWND target = InputWindowOf(fg); // unhandled, it travels up to the parents
    PostMessageA(target, WM_APPCOMMAND, (WPARAM)target, MAKELPARAM(0, action.code));
    Words(map, action, outcome, size);
    return true;
}

// With the user's own rights (Telvix never runs elevated), in the program's folder.
bool DeliverRun(const ForegroundProgram &, const UserKeyMap &map, const UserAction &action, char *outcome,
                size_t size) {
    char program[MAX_PATH], folder[MAX_PATH];
    const char *arguments;
    SplitRunCommand(map, action, program, sizeof program, &arguments);
    lstrcpynA(folder, program, sizeof folder);
    char *slash = strrchr(folder, '\\');
    if (slash) *slash = 0;
    SHELLEXECUTEINFOA info = {};
    info.cbSize = sizeof info;
    info.fMask = SEE_MASK_FLAG_NO_UI; // nobody may be at the keyboard to dismiss a message
    info.lpVerb = "open";
    info.lpFile = program;
    info.lpParameters = *arguments ? arguments : NULL;
    info.lpDirectory = slash ? folder : NULL;
    info.nShow = SW_SHOWNORMAL;
    if (!fx.ShellExecuteExA(&info)) {
        (void)snprintf(outcome, size, "%s did not start (error %lu)", program, (unsigned long)GetLastError());
        return false;
    }
    DescribeUserAction(map, action, outcome, size); // the command line as written
    return true;
}

bool DeliverVolume(const ForegroundProgram &, const UserKeyMap &, const UserAction &action, char *outcome,
                   size_t size) {
    return ChangeSystemVolume((VolumeOp)action.code, action.arg, outcome, size);
}

// A media key for whichever program plays media, in front or not.
bool DeliverMedia(const ForegroundProgram &, const UserKeyMap &map, const UserAction &action, char *outcome,
                  size_t size) {
    SendInputChord(0, action.code);
    Words(map, action, outcome, size);
    return true;
}

bool DeliverPower(const ForegroundProgram &, const UserKeyMap &map, const UserAction &action, char *outcome,
                  size_t size) {
    bool done = false;
    switch (action.code) {
    case kPowerSleep:
    case kPowerHibernate:
        done = EnableShutdownPrivilege() && fx.SetSuspendState(action.code == kPowerHibernate, FALSE, FALSE);
        break;
    case kPowerMonitorOff:
        // Posted to our own window, whose default handling turns the monitors
        // off; a broadcast would wait for every window of the desktop.
        done = userKeysWindow && PostMessageA(userKeysWindow, WM_SYSCOMMAND, SC_MONITORPOWER, 2);
        break;
    case kPowerLock: done = fx.LockWorkStation() != FALSE; break;
    default: break;
    }
    Words(map, action, outcome, size);
    if (!done) {
        size_t used = strlen(outcome);
        (void)snprintf(outcome + used, size - used, "%s", ": refused by the system");
    }
    return done;
}

} // namespace

const UserActionDelivery kUserActionDeliveries[kActionKindCount] = {
    {nullptr, kActionNone, kReachSystem, kNothingMapped},
    {DeliverPost, kActionPost, kReachWindow, kTaken},
    {DeliverChord, kActionChord, kReachWindow, kNotInFront},
    {DeliverApp, kActionApp, kReachWindow, kTaken},
    {DeliverRun, kActionRun, kReachSystem, kLaunchFailed},
    {DeliverVolume, kActionVolume, kReachSystem, kTaken},
    // SendInput while an elevated program is in front is dropped, the media key with it.
    {DeliverMedia, kActionMedia, kReachInput, kTaken},
    {DeliverPower, kActionPower, kReachSystem, kTaken},
};

KeyReason DeliverUserAction(const ForegroundProgram &fg, const UserKeyMap &map, const UserAction &action,
                            char *outcome, size_t size) {
    outcome[0] = 0;
    if (action.kind == kActionNone || action.kind >= kActionKindCount) return kNothingMapped;
    const UserActionDelivery &row = kUserActionDeliveries[action.kind];
    if (row.reach != kReachSystem && fg.elevated) {
        (void)snprintf(outcome, size, "%s", "runs as administrator");
        return kRunsElevated;
    }
    if (row.reach == kReachWindow && !fg.window) {
        (void)snprintf(outcome, size, "%s", "no window in front");
        return kNotInFront;
    }
    return row.deliver(fg, map, action, outcome, size) ? kTaken : row.failed;
}
