// The process-wide records that are set up before the entry point runs. They
// live in one file because their order matters: the descriptors read the
// registry, then the timer slots are constructed, and TV@Anywhere comes last.
#include "apps/app_watch.h"
#include "apps/timers.h"
#include "apps/tv_app_table.h"

TvAppDescriptor powerVcrApp = MakeTvApp(kPowerVcr);
TvAppDescriptor homeTheaterApp = MakeTvApp(kHomeTheater);
TvAppDescriptor quickTvApp = MakeTvApp(kQuickTv);

// The poll cycle belongs to a higher layer; StartPolling hands it over.
TimerSlot PollTimer(1, nullptr);
TimerSlot AppWatchTimer(2, AppWatchTick);

TvAppDescriptor tvAnywhereApp = MakeTvApp(kTvAnywhere);
