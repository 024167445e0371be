// The process-wide records that are set up before the entry point runs. They
// live in one file because their order matters, and only within one file is
// it the order of definition: the descriptors read the registry, then the
// timer slots are constructed, and TV@Anywhere comes last.
#include "apps/app_watch.h"
#include "apps/timers.h"
#include "apps/tv_app_table.h"

TvAppDescriptor powerVcrApp = MakeTvApp(kPowerVcrRow);
TvAppDescriptor homeTheaterApp = MakeTvApp(kHomeTheaterRow);
TvAppDescriptor quickTvApp = MakeTvApp(kQuickTvRow);

// The poll cycle belongs to a higher layer; StartPolling hands it over.
TimerSlot PollTimer(kPollTimerId, nullptr);
TimerSlot AppWatchTimer(kAppWatchTimerId, AppWatchTick);

TvAppDescriptor tvAnywhereApp = MakeTvApp(kTvAnywhereRow);
