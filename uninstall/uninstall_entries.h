// The system's list of installed programs: finding the two components'
// uninstall entries and running their uninstall commands to the end.
#pragma once

// The uninstall command last read from an entry; every run executes it.
extern char uninstallCommand[260];

// True when some entry under the uninstall root has `displayName` (any
// letter case); the last such entry's command is kept.
bool FindUninstallByDisplayName(const char *displayName);
// Runs the command of the last entry named `displayName` and waits for it;
// false when there was none or it could not be started.
bool RunUninstallByDisplayName(const char *displayName);
// True when entry `keyName` has an "UninstallString" that fits in 255 bytes.
bool FindUninstallByKey(const char *keyName);
// Runs entry `keyName`'s uninstall command and waits for it; false when
// there was none or it could not be started.
bool RunUninstallByKey(const char *keyName);
