// Pressing keys on the simulated tuner card: the one way that both remotes,
// the command line one and the on-screen one, put keys down and let them go.
#pragma once
#include <windows.h>
#include "sim/card/card_state.h"

// The remote's buttons: the logical key each one means on the normal layout
// and the raw code the receiver decodes for it.
struct RemoteButton {
    int logical;
    int raw;
};
extern const RemoteButton kRemoteButtons[32];
// Raw code of the button meaning `logical` on the normal layout; -1 for none.
int RawOfLogical(int logical);

// One key put down on the card.
struct CardPress {
    int raw;
    LONG readsBefore; // the card's complete key reads when it went down
    DWORD downTick;
};

// Puts the key with raw code `raw` down. With `releaseAfterRead` the card lets
// it go by itself once it has answered one complete key read (a press);
// otherwise it stays down until ReleaseKey or EndPress (a hold).
CardPress PutKeyDown(SimCardState *card, int raw, bool releaseAfterRead);
// Lets a held key go: at once when it was read at least once, otherwise after
// its first read, so that a click shorter than a poll is not lost.
void EndPress(SimCardState *card, const CardPress &press);
void ReleaseKey(SimCardState *card);
// Complete key reads the card has answered since the key went down.
LONG ReadsSince(const SimCardState *card, const CardPress &press);
// Waits until the card has let a press go; on time-out releases it and
// returns false.
bool WaitForRelease(SimCardState *card, const CardPress &press, DWORD timeoutMs);

// Unplugs the card: its devices leave the system's list and the filters made
// so far fail every request from now on. False when no device was listed.
bool UnplugCard(SimCardState *card);
// Plugs it in again: the devices that were taken away are listed anew, as new
// devices whose filters answer; the old filters stay dead. False when it was
// no device was unplugged.
bool PlugCard(SimCardState *card);
