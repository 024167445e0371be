// PLACEHOLDER until the key maps land.
#include "apps/key_maps.h"
void DispatchHomeTheaterKey(RemoteKeyCode) {}
void DispatchPowerVcrKey(RemoteKeyCode) {}
void DispatchQuickTvKey(RemoteKeyCode) {}
void DispatchTvAnywhereKey(RemoteKeyCode) {}
void SendTvCommand(TvAppDescriptor &, int) {}
