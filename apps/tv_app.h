// The record of one supported TV application and what is done to one: install
// lookup, window search, launch, activate and close. The table of the four
// (apps/tv_apps.h) says which of these each one uses.
#pragma once
#include <windows.h>
#include "receiver/remote_key.h"

// TvAppId: 1 Home Theater, 2 PowerVCR II, 3 Quick TV, 4 TV@Anywhere.
enum TvAppId { kHomeTheater = 1, kPowerVcr = 2, kQuickTv = 3, kTvAnywhere = 4 };

struct TvAppDescriptor {
    int installed;        // 1 when the install directory was read at start
    int active;           // 1 while this application is the target of remote keys
    char installDir[128]; // as stored in the registry
    char exeName[64];
    char windowClass[64]; // running-instance class for Launch; empty: title prefix
    char titlePrefix[64];
    HWND lastWindow;      // window found by the most recent key action
};

extern TvAppDescriptor homeTheaterApp;
extern TvAppDescriptor powerVcrApp;
extern TvAppDescriptor quickTvApp;
extern TvAppDescriptor tvAnywhereApp;

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
HWND Launch(TvAppDescriptor &app);
HWND ActivateOrLaunch(TvAppDescriptor &app);

HWND FindByTitlePrefix(const TvAppDescriptor &app);
HWND FindHomeTheaterMain();
HWND FindPowerVcrMain();
HWND FindPowerVcrVideo();
HWND FindFormMainWindow();

void CloseHomeTheater();
void ClosePowerVcr();
void CloseHonestechApp(TvAppDescriptor &app);

// Private message of the Honestech applications; wParam the command number.
const UINT WM_TVAPP_COMMAND = WM_USER + 2000; // 0x0BD0
const WPARAM kTvCommandClose = 1;
