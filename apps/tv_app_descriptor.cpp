#include "apps/tv_app_descriptor.h"
#include <stdio.h>
#include <string.h>
#include "platform/effects.h"
#include "platform/product_texts.h"
#include "platform/registry_key.h"
#include "platform/trace.h"
#include "platform/window_search.h"

void InitTvApp(TvAppDescriptor &app, const TvAppIdentity &identity) {
    ReadInstallInfo(app, identity.registryKey, identity.valueName, identity.exeName);
    lstrcpynA(app.windowClass, identity.windowClass, sizeof app.windowClass);
    lstrcpynA(app.titlePrefix, identity.titlePrefix, sizeof app.titlePrefix);
}

int ReadInstallInfo(TvAppDescriptor &app, const char *key, const char *value, const char *exe) {
    app.installed = 0;
    char dir[sizeof app.installDir];
    DWORD size = sizeof dir;
    {
        RegistryKey handle;
        if (handle.Open(HKEY_LOCAL_MACHINE, key, KEY_QUERY_VALUE | kTvAppRegistryView) != ERROR_SUCCESS) return 0;
        // Missing, or longer than the buffer.
        if (handle.Read(value, dir, &size, nullptr) != ERROR_SUCCESS) return 0;
    }
    // A string stored without its terminator gets ours; one that fills the
    // whole buffer that way does not fit and would run into exeName.
    if (size == 0) {
        dir[0] = '\0';
    } else if (dir[size - 1] != '\0') {
        if (size >= sizeof dir) return 0;
        dir[size] = '\0';
    }
    memcpy(app.installDir, dir, sizeof dir);
    lstrcpynA(app.exeName, exe, sizeof app.exeName);
    app.installed = 1;
    app.active = 0;
    return 1;
}

HWND FindByTitlePrefix(const TvAppDescriptor &app) {
    return FindWindowByTitlePrefix(app.titlePrefix);
}

namespace {

HWND FindRunningInstance(const TvAppDescriptor &app) {
    if (app.windowClass[0] != '\0') return FindWindowA(app.windowClass, NULL);
    return FindByTitlePrefix(app);
}

void Report(KeyOutcome *outcome, KeyReason reason, const char *sent) {
    if (!outcome) return;
    outcome->reason = reason;
    SetOutcomeSent(*outcome, sent);
}

} // namespace

HWND Launch(TvAppDescriptor &app, KeyOutcome *outcome) {
    HWND running = FindRunningInstance(app);
    if (running) {
        Report(outcome, kTaken, "brought to the front");
        return running;
    }
    if (!app.installed) {
        Report(outcome, kNotInstalled, "");
        return NULL;
    }
    // The path is quoted: install folders such as "C:\Program Files\..." hold
    // blanks, and unquoted WinExec would try "C:\Program.exe" first.
    char commandLine[2 + sizeof app.installDir + 1 + sizeof app.exeName];
    // Sized for the longest folder and name: never cut.
    (void)snprintf(commandLine, sizeof commandLine, "\"%s\\%s\"", app.installDir, app.exeName);
    UINT started = fx.WinExec(commandLine, SW_SHOW);
    Trace("launch: %s gives %u", commandLine, started);
    if (started < 31) {
        Report(outcome, kLaunchFailed, "");
        fx.MessageBoxA(NULL, "Can't launch TV application what you want.", kTelvixCaption, MB_OK | MB_TOPMOST);
    } else {
        Report(outcome, kTaken, "started");
        app.active = 1;
    }
    return FindRunningInstance(app);
}

HWND ActivateOrLaunch(TvAppDescriptor &app, KeyOutcome *outcome) {
    if (app.installed != 1) {
        Report(outcome, kNotInstalled, "");
        return NULL;
    }
    HWND w = FindByTitlePrefix(app);
    if (w) Report(outcome, kTaken, "brought to the front");
    else w = Launch(app, outcome);
    if (!w) return NULL;
    SetForegroundWindow(w);
    SetActiveWindow(w);
    return w;
}
