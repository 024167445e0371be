// Carrying out the actions of KeyMaps.ini: one row per kind of action, in the
// order of the format's table of kinds (kUserActionKinds), which reads them.
#pragma once
#include <windows.h>
#include "keymaps/key_map_file.h"
#include "platform/remote_words.h"

// The program in front, as sections are matched against it. For a Store app
// its frame (class "ApplicationFrameWindow", of ApplicationFrameHost.exe)
// stands in front; the app's own window inside it is what is matched and
// what gets the keys.
struct ForegroundProgram {
    HWND window;      // the app's own window for a Store app, else the foreground window; null for none
    DWORD thread, pid; // of `window`
    DWORD framePid;   // of the foreground window itself
    char process[3 * MAX_PATH]; // file name in UTF-8; "" when it cannot be read
    char windowClass[3 * 256];  // in UTF-8
    bool elevated;    // runs with more rights than Telvix: it refuses our keys
    bool hosted;      // a Store app's window in its frame: it gets the keys itself
};

// What an action reaches, and so what it needs: a window of the program in
// front, or input that goes to it; a program that runs elevated refuses both.
enum ActionReach : unsigned char { kReachSystem, kReachInput, kReachWindow };

struct UserActionDelivery {
    // Carries the action out and says what became of it in `outcome`
    // ("Volume 42 %"); false when nothing could be done.
    bool (*deliver)(const ForegroundProgram &fg, const UserKeyMap &map, const UserAction &action, char *outcome,
                    size_t size);
    UserActionKind kind;
    ActionReach reach;
    KeyReason failed; // why, when it could not (kTaken: its outcome says)
};
extern const UserActionDelivery kUserActionDeliveries[kActionKindCount];

// Where power:monitor-off is handled: the tray window's default handling of
// WM_SYSCOMMAND (set at start-up).
extern HWND userKeysWindow;

// The row of the action's kind; nothing when the action would reach a
// program that runs elevated, or a window and none is in front. kTaken, or
// why nothing took it.
KeyReason DeliverUserAction(const ForegroundProgram &fg, const UserKeyMap &map, const UserAction &action, char *outcome,
                       size_t size);

// The system's volume, through Core Audio: up or down by `step` percent
// (unmuting, as the keyboard's volume keys do), or mute on and off. The
// outcome is the new level ("Volume 42 %", "Sound off") or "no playback device".
bool ChangeSystemVolume(VolumeOp op, int step, char *outcome, size_t size);
