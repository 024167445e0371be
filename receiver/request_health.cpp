#include "receiver/request_health.h"
#include "platform/trace.h"

RequestHealth requestHealth;
void (*receiverLost)() = nullptr;

bool IsReceiverLost(const RequestHealth &health, DWORD now) {
    return health.failures >= kReceiverLostAfterFailures && now - health.firstFailTick >= kReceiverLostAfterMs;
}

void NoteRequestResult(RequestHealth &health, HRESULT result, DWORD now) {
    if (result == S_OK) {
        if (health.failures)
            Trace("driver: requests answer again after %lu failures (first error 0x%08lX)",
                  (unsigned long)health.failures, (unsigned long)health.firstError);
        health = RequestHealth();
        health.answered = true;
        return;
    }
    if (health.failures++ == 0) {
        health.firstFailTick = now;
        health.firstError = result;
        Trace("driver: request failed with 0x%08lX", (unsigned long)result);
    }
    if (!health.reported && IsReceiverLost(health, now)) {
        health.reported = true;
        Trace("driver: every request failed for %lu ms, %lu failures (first error 0x%08lX)",
              (unsigned long)(now - health.firstFailTick), (unsigned long)health.failures,
              (unsigned long)health.firstError);
        if (receiverLost) receiverLost();
    }
}
