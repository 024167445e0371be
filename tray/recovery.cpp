#include "tray/recovery.h"
#include "apps/timers.h"
#include "platform/effects.h"
#include "platform/trace.h"
#include "receiver/ks_requests.h"
#include "receiver/receiver.h"
#include "receiver/request_health.h"
#include "tray/tray_window.h"

namespace {

HDEVNOTIFY deviceNotify = NULL;
HDEVNOTIFY cardNotify = NULL; // the bound card's handle
// The current wait between binding attempts. It grows while bindings come to
// nothing, and starts again from the first once the card has answered.
DWORD rebindDelay = 0;
bool attempted = false;
DWORD lastAttemptTick = 0;

const char *const kNoticeNames[] = {"other", "device arrival", "device removal", "devices changed", "resume",
                                    "query remove", "card removal", "removal called off"};

struct StepRow {
    DeviceNotice notice;
    RecoveryStep unbound;
    RecoveryStep bound;
};
const StepRow kSteps[] = {
    {kNoticeArrival, kStepBind, kStepNothing},
    {kNoticeRemoval, kStepNothing, kStepProbe},
    {kNoticeNodesChanged, kStepBind, kStepProbe},
    {kNoticeResume, kStepBind, kStepProbe},
    {kNoticeQueryRemove, kStepNothing, kStepRelease},
    {kNoticeRemovePending, kStepNothing, kStepRelease},
    {kNoticeQueryRemoveFailed, kStepBind, kStepNothing},
};

bool IsCaptureInterface(const DEV_BROADCAST_HDR *header) {
    if (!header || header->dbch_devicetype != DBT_DEVTYP_DEVICEINTERFACE ||
        header->dbch_size < sizeof(DEV_BROADCAST_DEVICEINTERFACE_A))
        return false;
    return ((const DEV_BROADCAST_DEVICEINTERFACE_A *)header)->dbcc_classguid == kKsCategoryCapture;
}

// Only the bound card's handle is registered, so any handle notice is about it.
bool IsHandleNotice(const DEV_BROADCAST_HDR *header) {
    return header && header->dbch_devicetype == DBT_DEVTYP_HANDLE && header->dbch_size >= sizeof(DEV_BROADCAST_HANDLE);
}

// The notices a filter asks for, to the tray window; the trace says when none come.
HDEVNOTIFY RegisterNotices(HWND window, void *filter, const char *what) {
    HDEVNOTIFY notify = RegisterDeviceNotificationA(window, filter, DEVICE_NOTIFY_WINDOW_HANDLE);
    if (!notify) Trace("recovery: no %s notices (error %lu)", what, GetLastError());
    return notify;
}

// Notices for the card's own handle, which alone tell that the system waits
// for it to be closed; the card's interface notices come only afterwards.
void WatchCardHandle(HWND window) {
    HANDLE handle = ReceiverDeviceHandle();
    if (!handle) return;
    DEV_BROADCAST_HANDLE filter = {};
    filter.dbch_size = sizeof filter;
    filter.dbch_devicetype = DBT_DEVTYP_HANDLE;
    filter.dbch_handle = handle;
    cardNotify = RegisterNotices(window, &filter, "card handle");
}

// Before the handle closes, as the system asks.
void UnwatchCardHandle() {
    if (cardNotify) UnregisterDeviceNotification(cardNotify);
    cardNotify = NULL;
}

void CALLBACK RebindTick(HWND window, UINT, UINT_PTR, DWORD);

void ScheduleRebind(HWND window, bool waitForNotice = false) {
    // Bound again at once, the card would hold up its own removal: the
    // notices bind it (called off, or arrived anew); the longest wait only
    // if none comes.
    rebindDelay = waitForNotice ? kRebindMaxDelayMs : NextRebindDelay(rebindDelay);
    // Setting the same id again replaces the running timer.
    SetTimer(window, kRebindTimerId, rebindDelay, RebindTick);
    Trace("recovery: next binding attempt in %lu ms", (unsigned long)rebindDelay);
}

// What start-up does after a binding: the card's first binding starts the
// poll cycle, the layout and the watch; a later one polls again.
void UseReceiver(HWND window) {
    KillTimer(window, kRebindTimerId);
    WatchCardHandle(window);
    requestHealth = RequestHealth();
    if (!deviceFound) {
        deviceFound = 1;
        StartRemote(window);
    } else {
        PollTimer.arm();
    }
}

void TryBinding(HWND window, const char *why) {
    if (ReceiverControl) return;
    attempted = true;
    lastAttemptTick = fx.GetTickCount();
    Trace("recovery: binding (%s)", why);
    CloseReceiver(); // what an earlier failed attempt left behind
    if (OpenReceiver()) {
        Trace("recovery: bound, the remote works again");
        UseReceiver(window);
        return;
    }
    ScheduleRebind(window);
}

void CALLBACK RebindTick(HWND window, UINT, UINT_PTR, DWORD) {
    KillTimer(window, kRebindTimerId);
    TryBinding(window, "retry");
}

void TryBindingSoon(HWND window, const char *why) {
    DWORD wait = NoticeBindWait(attempted, fx.GetTickCount() - lastAttemptTick);
    if (wait == 0) TryBinding(window, why);
    else SetTimer(window, kRebindTimerId, wait, RebindTick);
}

void ReleaseReceiver(HWND window, const char *why, bool waitForNotice = false) {
    Trace("recovery: releasing the card (%s), failed requests: %lu, first error 0x%08lX", why,
          (unsigned long)requestHealth.failures, (unsigned long)requestHealth.firstError);
    PollTimer.disarm();
    UnwatchCardHandle();
    CloseReceiver();
    if (requestHealth.answered) rebindDelay = 0;
    requestHealth = RequestHealth();
    ScheduleRebind(window, waitForNotice);
}

void PostReceiverLost() {
    if (trayWindow) PostMessageA(trayWindow, WM_RECEIVER_LOST, 0, 0);
}

} // namespace

DeviceNotice DeviceChangeNotice(WPARAM event, const DEV_BROADCAST_HDR *header) {
    switch (event) {
    case DBT_DEVNODES_CHANGED: return kNoticeNodesChanged;
    case DBT_DEVICEARRIVAL: return IsCaptureInterface(header) ? kNoticeArrival : kNoticeOther;
    case DBT_DEVICEREMOVECOMPLETE:
        if (IsHandleNotice(header)) return kNoticeRemovePending;
        return IsCaptureInterface(header) ? kNoticeRemoval : kNoticeOther;
    case DBT_DEVICEQUERYREMOVE: return IsHandleNotice(header) ? kNoticeQueryRemove : kNoticeOther;
    case DBT_DEVICEREMOVEPENDING: return IsHandleNotice(header) ? kNoticeRemovePending : kNoticeOther;
    case DBT_DEVICEQUERYREMOVEFAILED: return IsHandleNotice(header) ? kNoticeQueryRemoveFailed : kNoticeOther;
    default: return kNoticeOther;
    }
}

DeviceNotice PowerNotice(WPARAM event) {
    // Automatic resume comes on every wake; the other only when a user is there.
    return event == PBT_APMRESUMEAUTOMATIC || event == PBT_APMRESUMESUSPEND ? kNoticeResume : kNoticeOther;
}

RecoveryStep StepForNotice(DeviceNotice notice, bool bound) {
    for (const StepRow &row : kSteps)
        if (row.notice == notice) return bound ? row.bound : row.unbound;
    return kStepNothing;
}

DWORD NoticeBindWait(bool attemptedBefore, DWORD sinceLast) {
    return attemptedBefore && sinceLast < kRebindFirstDelayMs ? kRebindFirstDelayMs - sinceLast : 0;
}

DWORD NextRebindDelay(DWORD previous) {
    if (previous < kRebindFirstDelayMs) return kRebindFirstDelayMs;
    return previous >= kRebindMaxDelayMs / 2 ? kRebindMaxDelayMs : previous * 2;
}

void WatchCaptureDevices(HWND window) {
    receiverLost = PostReceiverLost;
    DEV_BROADCAST_DEVICEINTERFACE_A filter = {};
    filter.dbcc_size = sizeof filter;
    filter.dbcc_devicetype = DBT_DEVTYP_DEVICEINTERFACE;
    filter.dbcc_classguid = kKsCategoryCapture;
    // Without them, changes still come as DBT_DEVNODES_CHANGED and the retries.
    deviceNotify = RegisterNotices(window, &filter, "device");
    if (ReceiverControl) WatchCardHandle(window);
}

void StopWatchingCaptureDevices() {
    UnwatchCardHandle();
    if (deviceNotify) UnregisterDeviceNotification(deviceNotify);
    deviceNotify = NULL;
    receiverLost = nullptr;
}

void StartRebinding(HWND window) {
    rebindDelay = 0;
    ScheduleRebind(window);
}

void OnDeviceNotice(HWND window, DeviceNotice notice) {
    if (notice == kNoticeOther) return;
    bool bound = ReceiverControl != nullptr;
    RecoveryStep step = StepForNotice(notice, bound);
    Trace("recovery: %s while %s", kNoticeNames[notice], bound ? "bound" : "unbound");
    if (step == kStepBind) {
        TryBindingSoon(window, kNoticeNames[notice]);
    } else if (step == kStepProbe) {
        if (!ProbeReceiver()) ReleaseReceiver(window, kNoticeNames[notice]);
    } else if (step == kStepRelease) {
        ReleaseReceiver(window, kNoticeNames[notice], true);
    }
}

void OnReceiverLost(HWND window) {
    // Posted earlier: the run may have ended, or the card been released, since.
    if (ReceiverControl && requestHealth.reported) ReleaseReceiver(window, "every request failed");
}
