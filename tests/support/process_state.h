// The tray program's process-wide state as a fresh process has it before
// start-up runs, for unit tests to begin and end with.
#pragma once
#include "apps/app_watch.h"
#include "apps/timers.h"
#include "apps/tv_app_table.h"
#include "platform/locale.h"
#include "receiver/receiver.h"
#include "routing/pointer.h"
#include "routing/poll_cycle.h"
#include "routing/tray_hooks.h"
#include "tray/dialogs.h"
#include "tray/settings.h"
#include "tray/shutdown_prompt.h"

inline void ResetProcessState() {
    pollState = RepeatState{};
    for (const TvApp *app : kTvApps) {
        app->descriptor->active = 0;
        app->descriptor->lastWindow = NULL;
        watchFlags[app->id - 1] = 0;
    }
    AppWatchTimer.disarm();
    promptOpen = 0;
    promptWindow = NULL;
    openShutdownPrompt = ShowShutdownPrompt; // as start-up connects it
    pointerAcceleration = 0;
    defaultTvApp = 2;
    alwaysRemoteOff = false;
    settingSelectionIndex = -1;
    settingSelectionText[0] = '\0';
    ReceiverControl = nullptr;
    JapanLayout = 0;
}
