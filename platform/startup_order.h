// The records set up before the entry point, whose order the program relies
// on, note themselves here as they are constructed, so that a test can hold
// that order against the one required.
#pragma once

// A descriptor notes its TvAppId; a timer slot its id past this base.
const int kStartupTimerBase = 10;
const int kStartupNoteSize = 8;

inline int startupNotes[kStartupNoteSize] = {};
inline int startupNoteCount = 0;

inline void NoteStartup(int what) {
    if (startupNoteCount < kStartupNoteSize) startupNotes[startupNoteCount++] = what;
}
