// The key maps of kTvApps against real windows: every key of every map in both
// layouts, checked against expected rows written out here from the maps'
// published tables (posted messages as they sit in the window's queue,
// synthesized keys through the effect table, activation, show state).
#include <gtest/gtest.h>
#include <stdio.h>
#include <algorithm>
#include <string>
#include <vector>
#include "apps/tv_app_table.h"
#include "keyref/key_words.h"
#include "platform/effects.h"
#include "platform/locale.h"
#include "tests/support/effects_recorder.h"
#include "tests/support/registry_fixture.h"
#include "tests/support/test_windows.h"

namespace {

const HWND kUntouched = (HWND)(ULONG_PTR)0x5A5A0;

// One key through the key map of an application's row.
KeyOutcome Dispatch(TvAppId id, RemoteKeyCode code) { return DispatchTvAppKey(*FindTvApp(id), code); }

// Messages posted to `window`, in queue order, as "key VK LPARAM", "char CH
// LPARAM" or "msg NUMBER WPARAM LPARAM".
std::vector<std::string> TakePosted(HWND window) {
    std::vector<std::string> out;
    MSG msg;
    for (int guard = 0; guard < 1000 && PeekMessageA(&msg, window, 0, 0, PM_REMOVE); ++guard) {
        switch (msg.message) {
        case WM_PAINT: ValidateRect(window, NULL); break;
        case WM_TIMER:
        case WM_MOUSEMOVE: break;
        case WM_KEYDOWN: out.push_back(Format("key 0x%02X 0x%08lX", (unsigned)msg.wParam, (unsigned long)msg.lParam)); break;
        case WM_CHAR: out.push_back(Format("char 0x%02X 0x%08lX", (unsigned)msg.wParam, (unsigned long)msg.lParam)); break;
        default:
            out.push_back(Format("msg 0x%04X %lu %ld", msg.message, (unsigned long)msg.wParam, (long)msg.lParam));
            break;
        }
    }
    return out;
}

// Expected notation of a row:
//   ""                        nothing (no search, lastWindow untouched)
//   "key VK LPARAM"           WM_KEYDOWN posted
//   "char CH LPARAM"          WM_CHAR posted
//   "msg NUMBER WPARAM LPARAM" other message posted (decimal values)
//   "chord M1 [M2] + KEY"     keybd_event chord, no activation
//   "chord! M1 [M2] + KEY"    the same after SetForegroundWindow/SetActiveWindow
//   "toggle"                  the window's show state flips
// A chord expands into the events it must produce, in order.
std::vector<std::string> Expand(const std::string &row) {
    if (row.empty()) return {};
    if (row.compare(0, 5, "chord") != 0) return {row};
    std::vector<std::string> out;
    bool activate = row[5] == '!';
    if (activate) out.push_back("foreground");
    std::vector<unsigned> mods;
    unsigned key = 0;
    const char *p = row.c_str() + (activate ? 6 : 5);
    bool afterPlus = false;
    char token[16];
    int used;
    while (sscanf(p, " %15s%n", token, &used) == 1) {
        p += used;
        if (token[0] == '+') afterPlus = true;
        else if (afterPlus) key = strtoul(token, NULL, 16);
        else mods.push_back(strtoul(token, NULL, 16));
    }
    for (unsigned m : mods) out.push_back(Format("keybd 0x%02X 0 1 0", m));
    out.push_back(Format("keybd 0x%02X 0 1 0", key));
    out.push_back(Format("keybd 0x%02X 0 3 0", key));
    for (size_t i = mods.size(); i-- > 0;) out.push_back(Format("keybd 0x%02X 0 3 0", mods[i]));
    return out;
}

struct ExpectedRow {
    int key;
    const char *western;  // JapanLayout 0
    const char *japanese; // JapanLayout 1; null: same
};

// Every key 0..31 and the out-of-table codes must appear in a map's table.
const int kOutsideKeys[] = {256, 512, 65536, -1};

// Home Theater, as published.
const ExpectedRow kHomeTheaterExpected[] = {
    {0, "key 0x30 0x000B0001", nullptr},
    {1, "key 0x31 0x00020001", nullptr},
    {2, "key 0x32 0x00030001", nullptr},
    {3, "key 0x33 0x00040001", nullptr},
    {4, "key 0x34 0x00050001", nullptr},
    {5, "key 0x35 0x00060001", nullptr},
    {6, "key 0x36 0x00070001", nullptr},
    {7, "key 0x37 0x00080001", nullptr},
    {8, "key 0x38 0x00090001", nullptr},
    {9, "key 0x39 0x000A0001", nullptr},
    {10, "", nullptr},
    {11, "", nullptr},
    {12, "key 0x41 0x001E0001", nullptr},
    {13, "chord 0x11 + 0x52", nullptr},
    {14, "chord 0x11 + 0x53", nullptr},
    {15, "chord! 0x11 + 0x49", nullptr},
    {16, "key 0x77 0x00320001", nullptr},
    {17, "key 0x5A 0x002C0001", nullptr},
    {18, "", nullptr},
    {19, "key 0x55 0x00160001", nullptr},
    {20, "", nullptr},
    {21, "", nullptr},
    {22, "msg 0x038F 24 0", nullptr},
    {23, "key 0x1B 0x00260001", nullptr},
    {24, "toggle", nullptr},
    {25, "key 0x4B 0x00250001", "key 0x79 0x00440001"},
    {26, "key 0x21 0x01490001", nullptr},
    {27, "key 0x78 0x002A0001", nullptr},
    {28, "key 0x79 0x00440001", "key 0x4B 0x00250001"},
    {29, "key 0x50 0x00190001", nullptr},
    {30, "key 0x22 0x01510001", nullptr},
    {31, "key 0x79 0x002A0001", nullptr},
    {256, "", nullptr},
    {512, "", nullptr},
    {65536, "", nullptr},
    {-1, "", nullptr},
};

// PowerVCR II, as published (the video window is absent here: key 24 flips
// the main window only).
const ExpectedRow kPowerVcrExpected[] = {
    {0, "key 0x30 0x000B0001", "chord! 0x12 0x11 + 0x79"},
    {1, "key 0x31 0x00020001", nullptr},
    {2, "key 0x32 0x00030001", nullptr},
    {3, "key 0x33 0x00040001", nullptr},
    {4, "key 0x34 0x00050001", nullptr},
    {5, "key 0x35 0x00060001", nullptr},
    {6, "key 0x36 0x00070001", nullptr},
    {7, "key 0x37 0x00080001", nullptr},
    {8, "key 0x38 0x00090001", nullptr},
    {9, "key 0x39 0x000A0001", nullptr},
    {10, "key 0x6A 0x00000000", "chord! 0x12 0x11 + 0x7A"},
    {11, "", nullptr},
    {12, "chord! 0x11 + 0x55", nullptr},
    {13, "key 0x52 0x00000000", nullptr},
    {14, "key 0x53 0x00000000", nullptr},
    {15, "key 0x54 0x00580001", nullptr},
    {16, "key 0x51 0x00000000", nullptr},
    {17, "key 0x5A 0x00000000", nullptr},
    {18, "", nullptr},
    {19, "chord! 0x11 + 0x4D", nullptr},
    {20, "", nullptr},
    {21, "", nullptr},
    {22, "char 0x0D 0x001C0001", nullptr},
    {23, "chord! 0x11 + 0x52", "chord! 0x12 0x11 + 0x7B"},
    {24, "toggle", nullptr},
    {25, "chord! 0x11 + 0x53", "key 0x20 0x00000000"},
    {26, "key 0x4E 0x00000000", nullptr},
    {27, "key 0x6B 0x00000000", nullptr},
    {28, "key 0x20 0x00000000", "chord! 0x11 + 0x53"},
    {29, "key 0x43 0x00000000", nullptr},
    {30, "key 0x50 0x00000000", nullptr},
    {31, "key 0x6D 0x00000000", nullptr},
    {256, "", nullptr},
    {512, "", nullptr},
    {65536, "", nullptr},
    {-1, "", nullptr},
};

// Quick TV and TV@Anywhere command numbers, as published; 0 nothing.
struct ExpectedCommand {
    int key;
    int western, japanese;
    bool tvAnywhereWaits;
};
const ExpectedCommand kCommandsExpected[] = {
    {0, 10000, 10010, false},   {1, 10001, 10001, false},   {2, 10002, 10002, false},
    {3, 10003, 10003, false},   {4, 10004, 10004, false},   {5, 10005, 10005, false},
    {6, 10006, 10006, false},   {7, 10007, 10007, false},   {8, 10008, 10008, false},
    {9, 10009, 10009, false},   {10, 10100, 10011, false},  {11, 206, 206, false},
    {12, 4004, 4004, false},    {13, 1001, 1001, false},    {14, 1002, 1002, false},
    {15, 200, 200, false},      {16, 403, 403, false},      {17, 3, 3, false},
    {18, 0, 0, false},          {19, 300, 300, false},      {20, 0, 0, false},
    {21, 0, 0, false},          {22, 3001, 3001, false},    {23, 4003, 10012, false},
    {24, 5, 5, false},          {25, 8, 1003, false},       {26, 4001, 4001, true},
    {27, 401, 401, false},      {28, 1003, 8, false},       {29, 1000, 1000, false},
    {30, 4002, 4002, true},     {31, 402, 402, false},      {256, 5002, 5002, false},
    {512, 5003, 5003, false},   {65536, 0, 0, false},       {-1, 0, 0, false},
};

// Checks the expected tables cover what every map must be tried with.
template <typename Row, size_t N> void ExpectCoversAllKeys(const Row (&rows)[N]) {
    std::vector<int> keys;
    for (const Row &r : rows) keys.push_back(r.key);
    for (int k = 0; k < 32; ++k) EXPECT_NE(std::find(keys.begin(), keys.end(), k), keys.end()) << k;
    for (int k : kOutsideKeys) EXPECT_NE(std::find(keys.begin(), keys.end(), k), keys.end()) << k;
}

struct LayoutGuard {
    int saved = JapanLayout;
    ~LayoutGuard() { JapanLayout = saved; }
};

// One key through a map, with the target window present, shown and behind
// another window; returns everything the target saw, in order.
struct KeyProbe {
    HWND target;
    HWND other;
    std::vector<std::string> Run(TvAppId id, TvAppDescriptor &app, int key) {
        if (IsIconic(target)) ShowWindow(target, SW_RESTORE);
        SetForegroundWindow(other);
        PumpMessages();
        TakePosted(target);
        bool wasIconic = IsIconic(target) != 0;
        FakeEffects::calls.clear();
        app.lastWindow = kUntouched;
        outcome = Dispatch(id, key);
        std::vector<std::string> seen;
        if (GetForegroundWindow() == target) seen.push_back("foreground");
        for (const std::string &c : FakeEffects::calls) seen.push_back(c);
        if ((IsIconic(target) != 0) != wasIconic) seen.push_back("toggle");
        for (const std::string &m : TakePosted(target)) seen.push_back(m);
        lastWindow = app.lastWindow;
        return seen;
    }
    HWND lastWindow = nullptr;
    KeyOutcome outcome = {};
};

void CheckKeystrokeMap(const char *className, const char *title, TvAppId id, TvAppDescriptor &app,
                       const ExpectedRow *rows, size_t count) {
    FakeEffects effects;
    LayoutGuard layout;
    TestWindow other("KeyMapOther", "Other window", true);
    TestWindow target(className, title, true);
    KeyProbe probe{target.hwnd(), other.hwnd()};
    for (int japan = 0; japan <= 1; ++japan) {
        JapanLayout = japan;
        for (size_t i = 0; i < count; ++i) {
            const ExpectedRow &row = rows[i];
            std::string expected = japan && row.japanese ? row.japanese : row.western;
            SCOPED_TRACE(Format("key %d JapanLayout %d", row.key, japan));
            EXPECT_EQ(probe.Run(id, app, row.key), Expand(expected));
            EXPECT_EQ(probe.lastWindow, expected.empty() ? kUntouched : target.hwnd())
                << "a row that does nothing makes no search";
            EXPECT_EQ(probe.outcome.reason, expected.empty() ? kNothingOnKey : kTaken);
            EXPECT_STREQ(probe.outcome.target, FindTvApp(id)->names.title);
        }
    }
}

// With no window, no key of the map has any effect; rows that act record the
// failed search, rows that do nothing leave lastWindow alone.
void CheckWithoutWindow(TvAppId id, TvAppDescriptor &app, bool (*acts)(int key, int japan)) {
    FakeEffects effects;
    FakeEffects::tickStep = 1;
    LayoutGuard layout;
    TestWindow other("KeyMapOther", "Other window", true);
    for (int japan = 0; japan <= 1; ++japan) {
        JapanLayout = japan;
        for (int key = -1; key <= 512; ++key) {
            SetForegroundWindow(other.hwnd());
            FakeEffects::calls.clear();
            app.lastWindow = kUntouched;
            KeyOutcome outcome = Dispatch(id, key);
            SCOPED_TRACE(Format("key %d JapanLayout %d", key, japan));
            EXPECT_EQ(FakeEffects::calls, std::vector<std::string>{});
            EXPECT_EQ(GetForegroundWindow(), other.hwnd());
            EXPECT_EQ(app.lastWindow, acts(key, japan) ? nullptr : kUntouched);
            EXPECT_EQ(outcome.reason, acts(key, japan) ? kWindowGone : kNothingOnKey);
        }
    }
}

template <size_t N> bool RowActs(const ExpectedRow (&rows)[N], int key, int japan) {
    for (const ExpectedRow &r : rows)
        if (r.key == key) return *(japan && r.japanese ? r.japanese : r.western) != '\0';
    return false;
}

} // namespace

TEST(KeyMaps, ExpectedTablesCoverEveryKey) {
    ExpectCoversAllKeys(kHomeTheaterExpected);
    ExpectCoversAllKeys(kPowerVcrExpected);
    ExpectCoversAllKeys(kCommandsExpected);
}

// The tests below check these applications' maps; a row of kTvApps without
// expected rows here fails instead of going unchecked.
TEST(KeyMaps, EveryApplicationOfTheTableIsChecked) {
    const TvAppId checked[] = {kHomeTheater, kPowerVcr, kQuickTv, kTvAnywhere};
    for (const TvApp *app : kTvApps)
        EXPECT_NE(std::find(std::begin(checked), std::end(checked), app->id), std::end(checked)) << app->names.title;
}

TEST(HomeTheaterKeys, EveryKeyInBothLayouts) {
    CheckKeystrokeMap("HomeTheaterTest", "Home Theater", kHomeTheater, homeTheaterApp,
                      kHomeTheaterExpected, sizeof kHomeTheaterExpected / sizeof kHomeTheaterExpected[0]);
}

TEST(PowerVcrKeys, EveryKeyInBothLayouts) {
    DeleteKeyTree(HKEY_LOCAL_MACHINE, "SOFTWARE\\CyberLink", kTvAppView);
    CheckKeystrokeMap("PowerVCR II Taurus", "PowerVCR II", kPowerVcr, powerVcrApp, kPowerVcrExpected,
                      sizeof kPowerVcrExpected / sizeof kPowerVcrExpected[0]);
}

TEST(HomeTheaterKeys, NothingHappensWithoutTheExactTitle) {
    TestWindow longer("HomeTheaterTest", "Home Theater - Channel 5", true);
    CheckWithoutWindow(kHomeTheater, homeTheaterApp,
                       [](int key, int japan) { return RowActs(kHomeTheaterExpected, key, japan); });
    EXPECT_EQ(TakePosted(longer.hwnd()), std::vector<std::string>{});
}

TEST(PowerVcrKeys, NothingHappensWithoutTheMainWindow) {
    // The title alone is not PowerVCR II's main window.
    TestWindow titled("PowerVcrTitleOnly", "PowerVCR II", true);
    CheckWithoutWindow(kPowerVcr, powerVcrApp,
                       [](int key, int japan) { return RowActs(kPowerVcrExpected, key, japan); });
    EXPECT_EQ(TakePosted(titled.hwnd()), std::vector<std::string>{});
}

namespace {

// Every chord row of a map, in both layouts, with another program in front
// (the desktop window belongs to another process): refused by
// SetForegroundWindow, or granted and lost at once. A chord with activation
// then sends nothing at all; one without goes to the focus as designed.
template <size_t N>
void CheckChordsWithForeignForeground(const char *className, const char *title, TvAppId id,
                                      const ExpectedRow (&rows)[N]) {
    FakeEffects effects;
    LayoutGuard layout;
    TestWindow target(className, title, true);
    int chords = 0;
    for (bool refused : {true, false}) {
        FakeEffects::refuseForeground = refused;
        FakeEffects::foreground = GetDesktopWindow();
        for (int japan = 0; japan <= 1; ++japan) {
            JapanLayout = japan;
            for (const ExpectedRow &row : rows) {
                std::string expected = japan && row.japanese ? row.japanese : row.western;
                if (expected.compare(0, 5, "chord") != 0) continue;
                ++chords;
                SCOPED_TRACE(Format("key %d JapanLayout %d refused %d", row.key, japan, refused));
                FakeEffects::calls.clear();
                Dispatch(id, row.key);
                std::vector<std::string> sent;
                if (expected[5] != '!')
                    for (const std::string &e : Expand(expected)) sent.push_back(e);
                EXPECT_EQ(FakeEffects::CallsStartingWith("keybd"), sent);
                TakePosted(target.hwnd());
            }
        }
    }
    EXPECT_GT(chords, 0);
}

} // namespace

TEST(PowerVcrKeys, ChordsWaitForPowerVcrInFront) {
    CheckChordsWithForeignForeground("PowerVCR II Taurus", "PowerVCR II", kPowerVcr, kPowerVcrExpected);
}

TEST(HomeTheaterKeys, ChordsWithActivationWaitForHomeTheaterInFront) {
    CheckChordsWithForeignForeground("HomeTheaterTest", "Home Theater", kHomeTheater, kHomeTheaterExpected);
}

TEST(KeyMaps, ChordWithActivationGoesOutWhenAnyWindowOfTheTargetProgramIsInFront) {
    // Activation refused, but the program is already in front with another
    // window (a dialog of its own, say): the keys reach it.
    FakeEffects effects;
    TestWindow target("PowerVCR II Taurus", "PowerVCR II", true);
    TestWindow sameProgram("PvcrDialog", "Options", true);
    FakeEffects::refuseForeground = true;
    FakeEffects::foreground = sameProgram.hwnd();
    Dispatch(kPowerVcr, 12);
    EXPECT_EQ(FakeEffects::CallsStartingWith("keybd"), Expand("chord 0x11 + 0x55"));
}

TEST(PowerVcrKeys, Key13DisablesTheCaptureDialogOnlyWithWindowAndKey) {
    const char *cyberLink = "SOFTWARE\\CyberLink";
    struct Case {
        bool window, keyExists;
        bool written;
    } cases[] = {
        {true, true, true},
        {true, false, false},
        {false, true, false},
        {false, false, false},
    };
    FakeEffects effects;
    for (const Case &c : cases) {
        SCOPED_TRACE(Format("window %d key %d", c.window, c.keyExists));
        DeleteKeyTree(HKEY_LOCAL_MACHINE, cyberLink, kTvAppView);
        if (c.keyExists) WriteRegString(HKEY_LOCAL_MACHINE, cyberLink, "Other", "kept", kTvAppView);
        TestWindow main(c.window ? "PowerVCR II Taurus" : "PowerVcrAbsent", "PowerVCR II");
        Dispatch(kPowerVcr, 13);
        DWORD value = 0;
        EXPECT_EQ(ReadRegDword(HKEY_LOCAL_MACHINE, cyberLink, "DisableCapDlg", &value, kTvAppView), c.written);
        if (c.written) {
            EXPECT_EQ(value, 1u);
        }
        EXPECT_EQ(KeyExists(HKEY_LOCAL_MACHINE, cyberLink, kTvAppView), c.keyExists) << "the key is never created";
        EXPECT_EQ(TakePosted(main.hwnd()),
                  c.window ? std::vector<std::string>{"key 0x52 0x00000000"} : std::vector<std::string>{});
    }
    DeleteKeyTree(HKEY_LOCAL_MACHINE, cyberLink, kTvAppView);
}

TEST(PowerVcrKeys, Key13WritesBeforeTheKeyIsPosted) {
    // A window procedure cannot see a posted key before the write; the order
    // is checked by reading the value while the R key is still queued.
    const char *cyberLink = "SOFTWARE\\CyberLink";
    DeleteKeyTree(HKEY_LOCAL_MACHINE, cyberLink, kTvAppView);
    WriteRegString(HKEY_LOCAL_MACHINE, cyberLink, "Other", "kept", kTvAppView);
    TestWindow main("PowerVCR II Taurus", "PowerVCR II");
    Dispatch(kPowerVcr, 13);
    MSG msg;
    ASSERT_TRUE(PeekMessageA(&msg, main.hwnd(), WM_KEYDOWN, WM_KEYDOWN, PM_NOREMOVE));
    DWORD value = 0;
    EXPECT_TRUE(ReadRegDword(HKEY_LOCAL_MACHINE, cyberLink, "DisableCapDlg", &value, kTvAppView));
    TakePosted(main.hwnd());
    DeleteKeyTree(HKEY_LOCAL_MACHINE, cyberLink, kTvAppView);
}

TEST(PowerVcrKeys, Key24TogglesMainAndVideoWindowsEachByItsOwnState) {
    // Window states: 0 absent, 1 shown, 2 minimised.
    struct Case {
        int main, video;
    } cases[] = {{1, 1}, {1, 2}, {2, 1}, {2, 2}, {0, 1}, {0, 2}, {1, 0}, {2, 0}, {0, 0}};
    FakeEffects effects;
    for (const Case &c : cases) {
        SCOPED_TRACE(Format("main %d video %d", c.main, c.video));
        TestWindow main(c.main ? "PowerVCR II Taurus" : "PowerVcrAbsent", "PowerVCR II", true);
        TestWindow video("PowerVcrVideoTest", "Video", true);
        if (c.video) video.AddChild("VideoWindow2");
        if (c.main == 2) ShowWindow(main.hwnd(), SW_MINIMIZE);
        if (c.video == 2) ShowWindow(video.hwnd(), SW_MINIMIZE);
        powerVcrApp.lastWindow = kUntouched;
        Dispatch(kPowerVcr, 24);
        // A window not found is left alone (it starts shown).
        EXPECT_EQ(IsIconic(main.hwnd()) != 0, c.main == 1) << "main window";
        EXPECT_EQ(IsIconic(video.hwnd()) != 0, c.video == 1) << "video window";
        EXPECT_EQ(powerVcrApp.lastWindow, c.main ? main.hwnd() : nullptr);
        EXPECT_EQ(FakeEffects::calls, std::vector<std::string>{});
    }
}

namespace {

std::string CommandMessage(int command) { return Format("msg 0x0BD0 %d 0", command); }

void CheckCommandMap(TvAppId id, TvAppDescriptor &app, bool waits, const char *className) {
    FakeEffects effects;
    FakeEffects::tickStep = 1;
    LayoutGuard layout;
    TestWindow window(className, "FormMainWindow");
    for (int japan = 0; japan <= 1; ++japan) {
        JapanLayout = japan;
        for (const ExpectedCommand &row : kCommandsExpected) {
            SCOPED_TRACE(Format("key %d JapanLayout %d", row.key, japan));
            int command = japan ? row.japanese : row.western;
            app.lastWindow = kUntouched;
            DWORD before = FakeEffects::tick;
            KeyOutcome outcome = Dispatch(id, row.key);
            DWORD waited = FakeEffects::tick - before;
            EXPECT_EQ(outcome.sent, command ? Format("command %d", command) : "");
            EXPECT_EQ(TakePosted(window.hwnd()),
                      command ? std::vector<std::string>{CommandMessage(command)} : std::vector<std::string>{});
            EXPECT_EQ(app.lastWindow, command ? window.hwnd() : kUntouched);
            if (waits && row.tvAnywhereWaits) {
                EXPECT_GE(waited, 200u);
                EXPECT_LE(waited, 202u);
            } else {
                EXPECT_EQ(waited, 0u) << "no clock read, no wait";
            }
        }
    }
}

} // namespace

TEST(HonestechKeys, QuickTvEveryKeyInBothLayouts) {
    // Either application's window answers to the title: this one is TV@Anywhere's class.
    CheckCommandMap(kQuickTv, quickTvApp, false, "TV@Anywhere");
}

TEST(HonestechKeys, TvAnywhereEveryKeyInBothLayouts) {
    CheckCommandMap(kTvAnywhere, tvAnywhereApp, true, "Quick_TV");
}

TEST(HonestechKeys, WithoutWindowOnlyTheTvAnywhereWaitsRemain) {
    FakeEffects effects;
    FakeEffects::tickStep = 1;
    LayoutGuard layout;
    JapanLayout = 0;
    struct Case {
        TvAppId id;
        TvAppDescriptor *app;
        int key;
        DWORD minWait;
        HWND lastWindow;
    } cases[] = {
        {kTvAnywhere, &tvAnywhereApp, 26, 200, nullptr},
        {kTvAnywhere, &tvAnywhereApp, 30, 200, nullptr},
        {kTvAnywhere, &tvAnywhereApp, 7, 0, nullptr},
        {kTvAnywhere, &tvAnywhereApp, 18, 0, kUntouched},
        {kQuickTv, &quickTvApp, 30, 0, nullptr},
        {kQuickTv, &quickTvApp, 65536, 0, kUntouched},
    };
    for (const Case &c : cases) {
        SCOPED_TRACE(c.key);
        c.app->lastWindow = kUntouched;
        DWORD before = FakeEffects::tick;
        Dispatch(c.id, c.key);
        DWORD waited = FakeEffects::tick - before;
        if (c.minWait) {
            EXPECT_GE(waited, c.minWait);
        } else {
            EXPECT_EQ(waited, 0u);
        }
        EXPECT_EQ(c.app->lastWindow, c.lastWindow);
    }
}

namespace {
HWND probedWindow;
bool commandQueuedAtFirstRead;
int clockReads;
DWORD WINAPI ClockThatLooksAtTheQueue() {
    MSG msg;
    if (clockReads++ == 0)
        commandQueuedAtFirstRead =
            PeekMessageA(&msg, probedWindow, WM_TVAPP_COMMAND, WM_TVAPP_COMMAND, PM_NOREMOVE) != 0;
    return (DWORD)clockReads * 10;
}
} // namespace

TEST(HonestechKeys, TvAnywhereWaitsAfterTheCommandIsPosted) {
    FakeEffects effects;
    TestWindow window("TV@Anywhere", "FormMainWindow");
    probedWindow = window.hwnd();
    clockReads = 0;
    commandQueuedAtFirstRead = false;
    fx.timeGetTime = ClockThatLooksAtTheQueue;
    Dispatch(kTvAnywhere, 30);
    EXPECT_TRUE(commandQueuedAtFirstRead);
    EXPECT_EQ(clockReads, 21) << "one start reading, then until 200 ms have passed";
    TakePosted(window.hwnd());
}

TEST(HonestechKeys, SendTvCommandPostsToEitherApplicationsWindow) {
    TestWindow window("Quick_TV", "FormMainWindow");
    struct Case {
        TvAppDescriptor *app;
        int command;
    } cases[] = {{&quickTvApp, 5001}, {&tvAnywhereApp, 6000}, {&quickTvApp, 1}};
    for (const Case &c : cases) {
        c.app->lastWindow = kUntouched;
        SendTvCommand(*c.app, FindFormMainWindow, c.command);
        EXPECT_EQ(c.app->lastWindow, window.hwnd());
        EXPECT_EQ(TakePosted(window.hwnd()), std::vector<std::string>{CommandMessage(c.command)});
    }
}

TEST(HonestechKeys, SendTvCommandWithoutWindowRecordsTheFailedSearch) {
    tvAnywhereApp.lastWindow = kUntouched;
    SendTvCommand(tvAnywhereApp, FindFormMainWindow, 5001);
    EXPECT_EQ(tvAnywhereApp.lastWindow, nullptr);
}

TEST(BusyWait, MeasuresAcrossTheCounterWrap) {
    FakeEffects effects;
    struct Case {
        DWORD start, step, ms, expected;
    } cases[] = {
        {0xFFFFFF00u, 7, 200, 203},  // wraps during the wait: no longer for it
        {0xFFFFFFFFu, 1, 200, 200},
        {1000, 250, 200, 250},       // a coarse clock: the first reading past the time
        {5, 1, 0, 1},               // always reads twice
    };
    for (const Case &c : cases) {
        FakeEffects::tick = c.start;
        FakeEffects::tickStep = c.step;
        EXPECT_EQ(BusyWaitMs(c.ms), c.expected) << c.start;
    }
}

TEST(BusyWait, SpinsOnTheRealClockWithoutLettingMessagesIn) {
    TestWindow window("TV@Anywhere", "FormMainWindow");
    LARGE_INTEGER frequency, start, end;
    QueryPerformanceFrequency(&frequency);
    QueryPerformanceCounter(&start);
    Dispatch(kTvAnywhere, 26);
    QueryPerformanceCounter(&end);
    double ms = (end.QuadPart - start.QuadPart) * 1000.0 / frequency.QuadPart;
    EXPECT_GE(ms, 195.0); // timeGetTime and the performance counter tick apart
    QueryPerformanceCounter(&start);
    Dispatch(kQuickTv, 26);
    QueryPerformanceCounter(&end);
    EXPECT_LT((end.QuadPart - start.QuadPart) * 1000.0 / frequency.QuadPart, 100.0);
    EXPECT_EQ(TakePosted(window.hwnd()), (std::vector<std::string>{CommandMessage(4001), CommandMessage(4001)}));
}
