#include <gtest/gtest.h>
#include <algorithm>
#include <set>
#include <string>
#include <vector>
#include "apps/app_watch.h"
#include "apps/timers.h"
#include "apps/tv_app_table.h"
#include "platform/startup_order.h"
#include "tests/support/effects_recorder.h"
#include "tests/support/process_state.h"
#include "tests/support/registry_fixture.h"
#include "tests/support/test_windows.h"

namespace {
const char kKey[] = "Software\\TelvixTest\\Install";

class Descriptor : public ::testing::Test {
protected:
    void SetUp() override {
        DeleteKeyTree(HKEY_LOCAL_MACHINE, "Software\\TelvixTest", kTvAppView);
        app = TvAppDescriptor{};
        app.active = 1;
        AppWatchTimer.bind(timerOwner.hwnd(), kAppWatchPeriodMs);
    }
    void TearDown() override {
        DeleteKeyTree(HKEY_LOCAL_MACHINE, "Software\\TelvixTest", kTvAppView);
        ResetProcessState();
    }
    TestWindow timerOwner{"TimerOwner", "owner"};
    TvAppDescriptor app;
};
} // namespace

TEST_F(Descriptor, InstallInfoFromTheRegistry) {
    EXPECT_EQ(ReadInstallInfo(app, kKey, "Dir", "App.exe"), 0) << "missing key";
    EXPECT_EQ(app.installed, 0);
    EXPECT_EQ(app.active, 1) << "a failed read leaves active alone";

    // The applications are 32-bit: an entry in the 64-bit view is none of theirs.
    WriteRegString(HKEY_LOCAL_MACHINE, kKey, "Dir", "C:\\TV64\\", KEY_WOW64_64KEY);
    EXPECT_EQ(ReadInstallInfo(app, kKey, "Dir", "App.exe"), 0) << "only in the 64-bit view";
    DeleteKeyTree(HKEY_LOCAL_MACHINE, "Software\\TelvixTest", KEY_WOW64_64KEY);

    WriteRegString(HKEY_LOCAL_MACHINE, kKey, "Other", "x", kTvAppView);
    EXPECT_EQ(ReadInstallInfo(app, kKey, "Dir", "App.exe"), 0) << "missing value";

    WriteRegString(HKEY_LOCAL_MACHINE, kKey, "Dir", "C:\\TV\\", kTvAppView);
    EXPECT_EQ(ReadInstallInfo(app, kKey, "Dir", "App.exe"), 1);
    EXPECT_EQ(app.installed, 1);
    EXPECT_EQ(app.active, 0);
    EXPECT_STREQ(app.installDir, "C:\\TV\\") << "the trailing separator is kept as stored";
    EXPECT_STREQ(app.exeName, "App.exe");
}

TEST_F(Descriptor, InstallDirMustFitItsBufferWithATerminator) {
    std::string fits(127, 'd');
    WriteRegString(HKEY_LOCAL_MACHINE, kKey, "Dir", fits, kTvAppView);
    EXPECT_EQ(ReadInstallInfo(app, kKey, "Dir", "A.exe"), 1);
    EXPECT_EQ(std::string(app.installDir), fits);

    WriteRegString(HKEY_LOCAL_MACHINE, kKey, "Dir", std::string(128, 'd'), kTvAppView);
    EXPECT_EQ(ReadInstallInfo(app, kKey, "Dir", "A.exe"), 0) << "129 bytes with the terminator";
    EXPECT_EQ(app.installed, 0);

    // Exactly 128 bytes stored without a terminator would leave installDir
    // unterminated: it does not fit either.
    std::string raw(128, 'r');
    WriteRegRaw(HKEY_LOCAL_MACHINE, kKey, "Dir", REG_SZ, raw.data(), 128, kTvAppView);
    EXPECT_EQ(ReadInstallInfo(app, kKey, "Dir", "A.exe"), 0);

    // Shorter and unterminated: terminated by us.
    WriteRegRaw(HKEY_LOCAL_MACHINE, kKey, "Dir", REG_SZ, "C:\\TV", 5, kTvAppView);
    EXPECT_EQ(ReadInstallInfo(app, kKey, "Dir", "A.exe"), 1);
    EXPECT_STREQ(app.installDir, "C:\\TV");
}

TEST_F(Descriptor, FourInstancesCarryTheirFixedIdentity) {
    struct Row { TvAppDescriptor *app; const char *cls, *prefix; } rows[] = {
        {&homeTheaterApp, "", "Home Theater"},
        {&powerVcrApp, "", "PowerVCR II"},
        {&quickTvApp, "Quick_TV", "FormMainWindow"},
        {&tvAnywhereApp, "TV@Anywhere", "FormMainWindow"},
    };
    for (const Row &r : rows) {
        EXPECT_STREQ(r.app->windowClass, r.cls);
        EXPECT_STREQ(r.app->titlePrefix, r.prefix);
    }
    for (const TvApp *row : kTvApps) EXPECT_EQ(IsInstalled(row->id), row->descriptor->installed);
    EXPECT_EQ(IsInstalled(0), 0);
    EXPECT_EQ(IsInstalled(5), 0);
}

// Before the entry point, whichever files hold the rows: the descriptors in
// the order PowerVCR II, Home Theater, Quick TV, then the two timer slots,
// TV@Anywhere last; and the table indexed by TvAppId.
TEST(StartUp, RecordsAreSetUpInTheirOrderAndTheTableByTvAppId) {
    const std::vector<int> expected = {kPowerVcr, kHomeTheater, kQuickTv, kStartupTimerBase + (int)kPollTimerId,
                                       kStartupTimerBase + (int)kAppWatchTimerId, kTvAnywhere};
    std::vector<int> seen;
    for (int i = 0; i < startupNoteCount; ++i)
        if (std::count(expected.begin(), expected.end(), startupNotes[i])) seen.push_back(startupNotes[i]);
    ASSERT_GE(seen.size(), expected.size());
    seen.resize(expected.size()); // the tests' own timer slots come after
    EXPECT_EQ(seen, expected);

    std::set<int> ranks;
    for (int i = 0; i < kTvAppCount; ++i) {
        EXPECT_EQ(kTvApps[i]->id, i + 1) << "kTvApps[id - 1] is the row of id";
        EXPECT_TRUE(ranks.insert(kTvApps[i]->adoptionRank).second) << "adoption takes one application at a time";
    }
}

TEST_F(Descriptor, LaunchStartsTheQuotedPathOnceAndMarksActive) {
    FakeEffects effects;
    app.installed = 1;
    app.active = 0;
    lstrcpyA(app.installDir, "C:\\Program Files\\TV");
    lstrcpyA(app.exeName, "TV.exe");
    lstrcpyA(app.titlePrefix, "Stand-in TV");
    EXPECT_EQ(Launch(app), nullptr) << "the new process has no window yet";
    EXPECT_EQ(effects.calls, (std::vector<std::string>{"WinExec \"C:\\Program Files\\TV\\TV.exe\" 5"}));
    EXPECT_EQ(app.active, 1);

    effects.calls.clear();
    TestWindow running("LaunchTest", "Stand-in TV 2");
    EXPECT_EQ(Launch(app), running.hwnd());
    EXPECT_TRUE(effects.calls.empty()) << "a running instance is not started again";

    // With a window class, the running instance is recognised by class only.
    lstrcpyA(app.windowClass, "LaunchTestOther");
    EXPECT_EQ(Launch(app), nullptr);
    EXPECT_EQ(effects.calls.size(), 1u);
}

TEST_F(Descriptor, FailedLaunchWarnsAndKeepsActive) {
    FakeEffects effects;
    effects.winExecResult = 2; // ERROR_FILE_NOT_FOUND
    app.installed = 1;
    app.active = 0;
    lstrcpyA(app.installDir, "C:\\x");
    lstrcpyA(app.exeName, "y.exe");
    lstrcpyA(app.titlePrefix, "Never There");
    Launch(app);
    ASSERT_EQ(effects.calls.size(), 2u);
    EXPECT_EQ(effects.calls[1], "MessageBox Can't launch TV application what you want.|Corvane Remote Control|0x40000|no owner");
    EXPECT_EQ(app.active, 0);
    effects.winExecResult = 31;
    effects.calls.clear();
    Launch(app);
    EXPECT_EQ(app.active, 1) << "31 is success";
}

TEST_F(Descriptor, NotInstalledNeverLaunchesButTheToggleStillArmsTheWatch) {
    FakeEffects effects;
    TvAppDescriptor saved = homeTheaterApp;
    homeTheaterApp.installed = 0;
    homeTheaterApp.active = 0;
    EXPECT_EQ(ActivateOrLaunch(homeTheaterApp), nullptr);
    ToggleTvApp(*FindTvApp(kHomeTheater));
    EXPECT_TRUE(effects.calls.empty()) << "no start, no message";
    EXPECT_TRUE(AppWatchTimer.armed);
    EXPECT_EQ(watchFlags[kHomeTheater - 1], 0) << "nothing became active, so nothing is watched";
    homeTheaterApp = saved;
}

TEST_F(Descriptor, ExtendedHomeTheaterTitleIsBroughtUpNotClosedByTheToggle) {
    FakeEffects effects;
    TvAppDescriptor saved = homeTheaterApp;
    homeTheaterApp.installed = 1;
    TestWindow extended("HtFrame", "Home Theater - DVD");
    EXPECT_EQ(IsRunning(kHomeTheater), 1);
    ToggleTvApp(*FindTvApp(kHomeTheater));
    EXPECT_TRUE(effects.calls.empty()) << "no close chord, no launch: it is brought to the front";
    CloseTvApp(*FindTvApp(kHomeTheater));
    EXPECT_EQ(effects.CallsStartingWith("keybd").size(), 8u) << "the close sees the prefix";
    homeTheaterApp = saved;
}

TEST_F(Descriptor, PowerVcrRunningByTitleButClosedByClass) {
    FakeEffects effects;
    TestWindow titled("PvcrOther", "PowerVCR II - Recording");
    EXPECT_EQ(IsRunning(kPowerVcr), 1);
    powerVcrApp.active = 1;
    CloseTvApp(*FindTvApp(kPowerVcr));
    EXPECT_TRUE(effects.calls.empty());
    EXPECT_EQ(powerVcrApp.active, 1) << "a close that finds nothing changes nothing";
    TestWindow main("PowerVCR II Taurus", "");
    CloseTvApp(*FindTvApp(kPowerVcr));
    EXPECT_EQ(effects.calls, (std::vector<std::string>{"keybd 0x11 0 1 0", "keybd 0x58 0 1 0", "keybd 0x58 0 3 0",
                                                       "keybd 0x11 0 3 0"}));
    EXPECT_EQ(powerVcrApp.active, 0);
    powerVcrApp.active = 0;
}

TEST_F(Descriptor, ClosesWithAnotherProgramInFront) {
    // PowerVCR II's close needs it in front: refused, or lost to another
    // program, it sends nothing and PowerVCR II stays the target. Home
    // Theater's close goes to the focus by design and always clears.
    struct Case {
        bool refused;
        bool foreign;
        bool powerVcrClosed;
    } cases[] = {{true, true, false}, {false, true, false}, {false, false, true}};
    TestWindow powerVcr("PowerVCR II Taurus", "");
    TestWindow homeTheater("HtFrame", "Home Theater");
    for (const Case &c : cases) {
        SCOPED_TRACE(testing::Message() << "refused " << c.refused << " foreign " << c.foreign);
        FakeEffects effects;
        FakeEffects::refuseForeground = c.refused;
        FakeEffects::foreground = c.foreign ? GetDesktopWindow() : NULL;
        powerVcrApp.active = homeTheaterApp.active = 1;
        CloseTvApp(*FindTvApp(kPowerVcr));
        EXPECT_EQ(effects.CallsStartingWith("keybd").size(), c.powerVcrClosed ? 4u : 0u);
        EXPECT_EQ(powerVcrApp.active, c.powerVcrClosed ? 0 : 1);
        effects.calls.clear();
        CloseTvApp(*FindTvApp(kHomeTheater));
        EXPECT_EQ(effects.CallsStartingWith("keybd").size(), 8u);
        EXPECT_EQ(homeTheaterApp.active, 0);
    }
    powerVcrApp.active = homeTheaterApp.active = 0;
}

TEST_F(Descriptor, HonestechToggleClosesWhicheverFormMainWindowIsFirst) {
    TestWindow tvAnywhere("TV@Anywhere", "FormMainWindow");
    quickTvApp.active = tvAnywhereApp.active = 1;
    ToggleTvApp(*FindTvApp(kQuickTv));
    MSG msg;
    ASSERT_TRUE(PeekMessageA(&msg, tvAnywhere.hwnd(), WM_TVAPP_COMMAND, WM_TVAPP_COMMAND, PM_REMOVE));
    EXPECT_EQ(msg.wParam, 1u);
    EXPECT_EQ(msg.lParam, 0);
    EXPECT_EQ(quickTvApp.active, 0) << "the toggled descriptor is cleared";
    EXPECT_EQ(tvAnywhereApp.active, 1) << "not the one whose window got the close";
    tvAnywhereApp.active = 0;
}

TEST_F(Descriptor, SelectClosesTheOthersAndWatchesWhatItLaunched) {
    FakeEffects effects;
    TvAppDescriptor saved = powerVcrApp;
    TestWindow ht("HtFrame", "Home Theater");
    TestWindow form("FormFrame", "FormMainWindow");
    powerVcrApp.installed = 1;
    lstrcpyA(powerVcrApp.installDir, "C:\\PVCR");
    lstrcpyA(powerVcrApp.exeName, "PVCR.EXE");
    SelectTvApp(*FindTvApp(kPowerVcr));
    std::vector<std::string> expected = {"keybd 0x12 0 1 0", "keybd 0x11 0 1 0", "keybd 0x10 0 1 0",
                                         "keybd 0x77 0 1 0", "keybd 0x77 0 3 0", "keybd 0x10 0 3 0",
                                         "keybd 0x11 0 3 0", "keybd 0x12 0 3 0", "WinExec \"C:\\PVCR\\PVCR.EXE\" 5"};
    EXPECT_EQ(effects.calls, expected);
    int closes = 0;
    MSG msg;
    while (PeekMessageA(&msg, form.hwnd(), WM_TVAPP_COMMAND, WM_TVAPP_COMMAND, PM_REMOVE)) ++closes;
    EXPECT_EQ(closes, 2) << "Quick TV and TV@Anywhere both close the FormMainWindow";
    EXPECT_EQ(powerVcrApp.active, 1);
    EXPECT_TRUE(AppWatchTimer.armed) << "closed by the user, it must stop being the target";
    EXPECT_EQ(watchFlags[kPowerVcr - 1], 1);
    // Nothing launched, nothing watched: the watch would only sleep.
    AppWatchTimer.disarm();
    watchFlags[kPowerVcr - 1] = 0;
    powerVcrApp.active = 0;
    powerVcrApp.installed = 0;
    SelectTvApp(*FindTvApp(kPowerVcr));
    EXPECT_FALSE(AppWatchTimer.armed);
    EXPECT_EQ(watchFlags[kPowerVcr - 1], 0);
    powerVcrApp = saved;
}

TEST_F(Descriptor, ClearActiveAndByIdOutsideTheRange) {
    quickTvApp.active = 1;
    ClearActive(3);
    EXPECT_EQ(quickTvApp.active, 0);
    ClearActive(0);
    ClearActive(7);
    EXPECT_EQ(TvAppById(0), nullptr);
    EXPECT_EQ(TvAppById(kTvAppCount + 1), nullptr);
    EXPECT_EQ(IsRunning(9), 0);
}
