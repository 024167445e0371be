#include "routing/user_key_press.h"

PressStep NoteMappedKeyEvent(HeldKey &held, int code, bool fresh, DWORD now, bool waits, bool repeats,
                             const PressTiming &timing) {
    if (fresh || held.code != code) {
        held = HeldKey{code, now, waits, repeats, false, 0};
        return waits ? kStepNothing : kStepPress;
    }
    if (held.settled) return kStepNothing;
    DWORD heldFor = now - held.since; // unsigned: the tick counter's wrap is harmless
    if (held.waits) {
        if (heldFor < timing.longPressMs) return kStepNothing;
        held.settled = true;
        return kStepHold;
    }
    if (!held.repeats || heldFor < timing.repeatDelayMs) return kStepNothing;
    return held.eventsRepeated++ % 2 == 0 ? kStepPress : kStepNothing;
}

PressStep LetGoHeldKey(HeldKey &held) {
    if (held.code < 0 || !held.waits || held.settled) return kStepNothing;
    held.settled = true;
    return kStepPress;
}
