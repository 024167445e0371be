// What is done to one TV application through its descriptor, whichever it is:
// the install lookup, the window searches, launch and activate. The table of
// the applications (apps/tv_app_table.h) says which of these each one uses.
#pragma once
#include <windows.h>
#include "platform/remote_words.h"
#include "receiver/remote_key.h"

struct TvAppDescriptor {
    int installed;        // 1 when the install directory was read at start
    int active;           // 1 while this application is the target of remote keys
    char installDir[128]; // as stored in the registry
    char exeName[64];
    char windowClass[64]; // running-instance class for Launch; empty: title prefix
    char titlePrefix[64];
    HWND lastWindow;      // window found by the most recent key action
};

// The TV applications are 32-bit programs, so their keys under
// HKEY_LOCAL_MACHINE\SOFTWARE live in the 32-bit registry view, which a 64-bit
// build sees only when it asks for it; a 32-bit build is there already.
const REGSAM kTvAppRegistryView = KEY_WOW64_32KEY;

// Constant data of one application: where it is installed and how it looks.
struct TvAppIdentity {
    const char *name;        // as the tray menu and the Setting dialog show it
    const char *registryKey; // under HKEY_LOCAL_MACHINE
    const char *valueName;
    const char *exeName;
    const char *windowClass;
    const char *titlePrefix;
};

// Reads the install directory and sets the window identity of `app`.
void InitTvApp(TvAppDescriptor &app, const TvAppIdentity &identity);

int ReadInstallInfo(TvAppDescriptor &app, const char *key, const char *value, const char *exe);
// Both say in `outcome`, when given, whether the application was started,
// brought to the front, or why neither.
HWND Launch(TvAppDescriptor &app, KeyOutcome *outcome = nullptr);
HWND ActivateOrLaunch(TvAppDescriptor &app, KeyOutcome *outcome = nullptr);

// The window searches the table's rows choose from; each application's own
// are in its file (apps/home_theater.cpp, apps/powervcr.cpp, apps/honestech.cpp).
HWND FindByTitlePrefix(const TvAppDescriptor &app);
HWND FindHomeTheaterMain();
HWND FindPowerVcrMain();
HWND FindPowerVcrVideo();
HWND FindFormMainWindow();

// Private message of the Honestech applications; wParam the command number.
const UINT WM_TVAPP_COMMAND = WM_USER + 2000; // 0x0BD0
const WPARAM kTvCommandClose = 1;
