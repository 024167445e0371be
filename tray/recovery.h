// The remote comes back by itself: a card that arrives after start-up is
// bound, and one that goes away (pulled out, driver restarted, lost in sleep)
// is released and bound again when it is back. Nothing here acts while the
// bound card's requests work.
#pragma once
#include <windows.h>
#include <dbt.h>
#include "platform/tray_window_ids.h"

// What a WM_DEVICECHANGE or WM_POWERBROADCAST says about the card.
enum DeviceNotice {
    kNoticeOther,
    kNoticeArrival,      // a capture device arrived
    kNoticeRemoval,      // a capture device went away
    kNoticeNodesChanged, // the system's devices changed (sent to every top-level window)
    kNoticeResume,       // back from sleep
    // About the bound card's own handle: removing or disabling it, or
    // updating its driver, waits until every handle to it is closed.
    kNoticeQueryRemove,       // the system asks to remove it
    kNoticeRemovePending,     // it is being removed (or was), asked or not
    kNoticeQueryRemoveFailed, // a removal asked for was called off
};

// What to do about a notice.
enum RecoveryStep {
    kStepNothing,
    kStepBind,  // unbound: try the binding now
    kStepProbe, // bound: ask the card once; release it when that fails
    kStepRelease, // bound: let go of it now, and bind again only when told
};

DeviceNotice DeviceChangeNotice(WPARAM event, const DEV_BROADCAST_HDR *header);
DeviceNotice PowerNotice(WPARAM event);
RecoveryStep StepForNotice(DeviceNotice notice, bool bound);
// Wait before the next binding attempt, after one that waited `previous`
// (0: none yet): from one second, doubling, at most kRebindMaxDelayMs.
DWORD NextRebindDelay(DWORD previous);
const DWORD kRebindFirstDelayMs = 1000;
const DWORD kRebindMaxDelayMs = 30000;
// How long a notice's binding attempt waits, `sinceLast` ms after the last
// attempt: none once a second has passed, else the rest of that second, so
// that a burst of notices does not enumerate the devices again and again.
DWORD NoticeBindWait(bool attemptedBefore, DWORD sinceLast);

// Asks for capture-device notices on `window` (start-up), and stops (exit).
void WatchCaptureDevices(HWND window);
void StopWatchingCaptureDevices();
// Start-up found no card: try again, after the first wait.
void StartRebinding(HWND window);

// The tray window's handlers.
void OnDeviceNotice(HWND window, DeviceNotice notice);
void OnReceiverLost(HWND window);
