// One press of a key that KeyMaps.ini maps, from its fresh event to the poll
// that reads no key: when its action, its repeats and its long action act.
// Pure: the routing feeds it the events and carries out what it answers.
#pragma once
#include <windows.h>

struct PressTiming {
    DWORD repeatDelayMs; // RepeatDelayMs: a held key acts again from this on, then every second poll
    DWORD longPressMs;   // LongPressMs: held this long, the long action acts
};

enum PressStep { kStepNothing, kStepPress, kStepHold };

struct HeldKey {
    int code;          // -1: none
    DWORD since;       // its fresh event
    bool waits;        // a long action is mapped: the press acts only when let go early
    bool repeats;      // the press may act again while held
    bool settled;      // nothing more until the next fresh event
    int eventsRepeated; // events since the repeat delay passed
};
const HeldKey kNoHeldKey = {-1, 0, false, false, true, 0};

// A key event of a mapped key: `fresh` as the repeat filter says (a new code,
// or the same after 250 ms without it).
PressStep NoteMappedKeyEvent(HeldKey &held, int code, bool fresh, DWORD now, bool waits, bool repeats,
                             const PressTiming &timing);
// The poll read no key, or another key came: a press that waited for its
// long action acts now.
PressStep LetGoHeldKey(HeldKey &held);
