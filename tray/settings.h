// The two persistent settings of the tray program, in HKLM.
#pragma once
#include "routing/tray_hooks.h"

#define TELVIX_SETTINGS_KEY "SOFTWARE\\Halvex Multimedia\\Corvane Utilities"

extern bool alwaysRemoteOff;   // AlwaysRemoteOff == 1 stops the program at start

// Reads the settings, creating or repairing missing values. Always succeeds.
int LoadSettings();
// Writes DefaultTVAPP; 0 when the key or its value is missing.
int SaveSettings();
// The Trace value: any number but 0 turns the trace on; absent means off.
bool ReadTraceSetting();

// OnScreenDisplay: 0, 1 or 2; missing, unreadable or another number is 0 (off).
int ReadOnScreenDisplaySetting();
