// How the driver's requests have fared lately: the run of failures since the
// last request that worked. A card that was pulled out, or a driver that did
// not come back from sleep, shows as a run that does not end.
#pragma once
#include <windows.h>

struct RequestHealth {
    DWORD failures;      // failed requests in a row
    DWORD firstFailTick; // when the run began
    HRESULT firstError;  // what the run's first request returned
    bool reported;       // the run was reported as a lost receiver
    bool answered;       // a request has worked since this record was cleared
};
extern RequestHealth requestHealth;

// The receiver counts as lost once every request has failed for this long,
// and this many times (so a single failure after a pause is no run).
const DWORD kReceiverLostAfterMs = 2000;
const DWORD kReceiverLostAfterFailures = 10;

// Called once per run of failures when it makes the receiver lost; the tray
// sets it. Runs inside a driver request's caller: do no more than post.
extern void (*receiverLost)();

// Records one request's result at `now`.
void NoteRequestResult(RequestHealth &health, HRESULT result, DWORD now);
// True when `health` shows a lost receiver at `now`.
bool IsReceiverLost(const RequestHealth &health, DWORD now);
