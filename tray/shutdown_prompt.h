// The Shut Down prompt answered by the remote, and the shutdown itself.
#pragma once
#include <windows.h>
#include "routing/tray_hooks.h" // promptOpen, promptWindow

// Sets the prompt-open flag and runs the prompt modally; returns when it
// closed: 13 / 27 for a VK_RETURN / VK_ESCAPE key-down sent to it (the remote),
// 1 / 2 for OK / Cancel (buttons, keyboard, close box), -1 when it could not open.
int ShowShutdownPrompt(HWND owner);

INT_PTR CALLBACK ShutdownPromptProc(HWND dialog, UINT message, WPARAM wParam, LPARAM lParam);
