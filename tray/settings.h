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

// The user's own settings, under HKEY_CURRENT_USER.
#define TELVIX_USER_SETTINGS_KEY "Software\\Halvex Multimedia\\Corvane Remote Control"
// OnScreenDisplay: 0, 1 or 2; missing, unreadable or another number is 0 (off).
int ReadOnScreenDisplaySetting();
