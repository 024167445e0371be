// The editor's main window (class kKeyEditorWindowClass): created, and its
// keyboard handled in the message loop.
#pragma once
#include <windows.h>

HWND CreateMainWindow(int show);
// Accelerators, Tab and mnemonics; true when `msg` was handled.
bool HandleWindowKeys(MSG &msg, HACCEL accelerators);
