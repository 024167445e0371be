// Whether synthesized keys would reach a given program now. Windows lets a
// background process take the foreground only in a few cases (remote keys are
// no user input), so the program in front is checked rather than assumed.
#pragma once
#include <windows.h>

// True when the foreground window belongs to process `processId`.
bool ForegroundBelongsTo(DWORD processId);
// True when the foreground window belongs to the process that owns `window`.
bool ForegroundBelongsToOwnerOf(HWND window);
