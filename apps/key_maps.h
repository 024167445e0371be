// One key map per TV application: what each remote key does to it.
#pragma once
#include "apps/tv_app.h"

void DispatchHomeTheaterKey(RemoteKeyCode code);
void DispatchPowerVcrKey(RemoteKeyCode code);
void DispatchQuickTvKey(RemoteKeyCode code);
void DispatchTvAnywhereKey(RemoteKeyCode code);

// Posts WM_TVAPP_COMMAND with `command` to the application's window, if present.
void SendTvCommand(TvAppDescriptor &app, int command);

// Spins on timeGetTime until `ms` have passed; returns the time that passed.
DWORD BusyWaitMs(DWORD ms);
