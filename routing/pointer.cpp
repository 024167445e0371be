// PLACEHOLDER until pointer emulation lands.
#include "routing/pointer.h"
int pointerAcceleration = 0;
void InitScreenMetrics() {}
void UpdateScreenMetrics(WPARAM, LPARAM) {}
void PointerKey(RemoteKeyCode) {}
