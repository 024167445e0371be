// The Shut Down prompt answered by the remote, and the shutdown itself.
#pragma once
#include <windows.h>

extern int promptOpen;      // 1 while the prompt is open
extern HWND promptWindow;   // the open prompt's window

// Sets the prompt-open flag and runs the prompt modally; returns when it closed.
void ShowShutdownPrompt(HWND owner);
