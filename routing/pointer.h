// Pointer emulation: the remote as a mouse when no TV application runs.
#pragma once
#include <windows.h>
#include "receiver/remote_key.h"

// Movement events since the last reset; the poll cycle resets it on fresh keys.
extern int pointerAcceleration;

void InitScreenMetrics();
void UpdateScreenMetrics(WPARAM wParam, LPARAM lParam);
void PointerKey(RemoteKeyCode code);
