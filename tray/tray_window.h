// The hidden TrayWindow: its window procedure, pop-up menu and start-up.
#pragma once
#include <windows.h>

extern HINSTANCE appInstance;
extern HWND trayWindow;       // null until CreateWindowExA returns
extern int deviceFound;       // cleared when the receiver cannot be bound
extern HMENU popupMenu;

LRESULT CALLBACK TrayWindowProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam);

// Builds the pop-up menu for the current default application.
HMENU BuildPopupMenu();

// The start-up sequence and message loop; returns the exit code.
int RunTelvix(HINSTANCE instance);
// What start-up does once the card is bound: the poll cycle, the layout, the
// application watch (bound, not running).
void StartRemote(HWND window);
