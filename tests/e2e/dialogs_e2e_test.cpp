// The tray program's dialogs as a person meets them: opened from the tray
// menu, answered with the mouse, the keyboard and the remote of the
// simulated card. The confirming answer of the Shut Down prompt is never
// given here: it would really end the Wine session (unit tests cover it
// through the effect table).
#include <gtest/gtest.h>
#include <string>
#include "tests/support/dialog_items.h"
#include "tests/support/process.h"
#include "tests/support/registry_fixture.h"
#include "tests/support/sim_card.h"
#include "tests/support/telvix_session.h"
#include "tests/support/window_capture.h"

namespace {

const char kCardName[] = "Philips Cap713x Video Capture";
const char kAboutTitle[] = "Corvane Remote Control - About";
const char kSettingTitle[] = "Corvane Remote Control - Setting";
const char kPromptTitle[] = "Corvane Remote Control - Shut Down";
const UINT kTrayCallback = 1001;

struct Running {
    TelvixSession session{"dialogs"};
    SimCard card;
    HWND tray = NULL;

    // Telvix bound to the card with `installedMask` (bit TvAppId - 1) installed.
    void Start(int installedMask, DWORD defaultApp) {
        for (const TvApp *app : kTvApps)
            if (installedMask & (1 << (app->id - 1))) session.InstallStandIn(app->id);
        TelvixSession::WriteSettings(defaultApp, 0);
        ASSERT_TRUE(card.Register(kCardName));
        ASSERT_TRUE(session.StartTelvix());
        tray = session.WaitForTrayWindow();
        ASSERT_NE(tray, nullptr);
        ASSERT_TRUE(card.WaitForPolls(3));
    }
    DWORD Pid() const { return GetProcessId(session.telvix()); }
    bool StillRunning() {
        DWORD code;
        return !WaitExit(session.telvix(), 0, &code) && IsWindow(tray);
    }
};

// The visible pop-up menu of process `pid`, or null.
HWND VisibleMenuOf(DWORD pid) {
    for (HWND w = FindWindowExA(NULL, NULL, "#32768", NULL); w; w = FindWindowExA(NULL, w, "#32768", NULL)) {
        DWORD owner = 0;
        GetWindowThreadProcessId(w, &owner);
        if (owner == pid && IsWindowVisible(w)) return w;
    }
    return NULL;
}

// Right-clicks the tray icon and picks the menu item `downs` arrow presses
// down; the menu's items cannot be read from here, only walked.
bool PickFromTrayMenu(Running &run, int downs) {
    PostMessageA(run.tray, kTrayCallback, 0, WM_RBUTTONDOWN);
    HWND menu = NULL;
    if (!WaitUntil([&] { return (menu = VisibleMenuOf(run.Pid())) != NULL; })) return false;
    for (int i = 0; i < downs; ++i) PostMessageA(menu, WM_KEYDOWN, VK_DOWN, 0);
    PostMessageA(menu, WM_KEYDOWN, VK_RETURN, 0);
    return true;
}

// The prompt on top of everything, at the placement table's position for
// this screen's width, or centred on the work area where the table has no
// row (1920 x 1080, say).
void ExpectPromptInSight(HWND prompt) {
    EXPECT_TRUE(GetWindowLongA(prompt, GWL_EXSTYLE) & WS_EX_TOPMOST);
    RECT frame, work;
    GetWindowRect(prompt, &frame);
    ASSERT_TRUE(SystemParametersInfoA(SPI_GETWORKAREA, 0, &work, 0));
    struct Row { int width, x, y; };
    const Row rows[] = {{640, 160, 200}, {800, 280, 250}, {1024, 350, 300}, {1152, 420, 300}, {1280, 420, 300}, {1600, 580, 340}};
    int width = GetSystemMetrics(SM_CXFULLSCREEN);
    POINT expected = {work.left + (work.right - work.left - (frame.right - frame.left)) / 2,
                      work.top + (work.bottom - work.top - (frame.bottom - frame.top)) / 2};
    for (const Row &r : rows)
        if (r.width == width) expected = {r.x, r.y};
    SCOPED_TRACE(testing::Message() << "screen width " << width);
    EXPECT_EQ(frame.left, expected.x);
    EXPECT_EQ(frame.top, expected.y);
}

// Menu: [default application when installed], Setting, About, Exit (separators are skipped).
const int kSettingDowns = 1, kAboutDowns = 2;

} // namespace

TEST(DialogsProcess, TrayMenuOpensAboutAndSettingAndEachCloses) {
    Running run;
    ASSERT_NO_FATAL_FAILURE(run.Start(0, 2)); // nothing installed: the menu starts with Setting

    ASSERT_TRUE(PickFromTrayMenu(run, kAboutDowns));
    HWND about = WaitForDialog(kAboutTitle);
    ASSERT_NE(about, nullptr);
    DWORD pid = 0;
    GetWindowThreadProcessId(about, &pid);
    EXPECT_EQ(pid, run.Pid());
    WaitUntil([] { return false; }, 500); // let the screen catch up with the dialog's drawing
    EXPECT_TRUE(SaveWindowPng(about, ScreenshotDir() + "\\e2e_about_dialog.png"));
    ClickButton(about, IDOK);
    EXPECT_TRUE(WaitForNoWindow("#32770", kAboutTitle));

    ASSERT_TRUE(PickFromTrayMenu(run, kSettingDowns));
    HWND setting = WaitForDialog(kSettingTitle);
    ASSERT_NE(setting, nullptr);
    EXPECT_EQ(SendMessageA(GetDlgItem(setting, 11), CB_GETCOUNT, 0, 0), 0) << "nothing installed, nothing listed";
    PostMessageA(setting, WM_SYSCOMMAND, SC_CLOSE, 0);
    EXPECT_TRUE(WaitForNoWindow("#32770", kSettingTitle));
    EXPECT_TRUE(run.StillRunning());
}

TEST(DialogsProcess, SettingChoiceIsSavedAndThePowerKeyThenStartsTheNewDefault) {
    ClearStandInInstalls();
    CloseStrayWindows("Quick_TV");
    Running run;
    ASSERT_NO_FATAL_FAILURE(run.Start(0b0110, 2)); // PowerVCR II (default) and Quick TV

    ASSERT_TRUE(PickFromTrayMenu(run, 1 + kSettingDowns)); // the default application comes first
    HWND setting = WaitForDialog(kSettingTitle);
    ASSERT_NE(setting, nullptr);
    HWND combo = GetDlgItem(setting, 11);
    EXPECT_EQ(SendMessageA(combo, CB_GETCOUNT, 0, 0), 2);
    EXPECT_EQ(SendMessageA(combo, CB_GETCURSEL, 0, 0), 0) << "PowerVCR, the default, preselected";
    WaitUntil([] { return false; }, 500);
    EXPECT_TRUE(SaveWindowPng(setting, ScreenshotDir() + "\\e2e_setting_dialog.png"));
    // As the user would: the arrow key in the list, then OK.
    PostMessageA(combo, WM_KEYDOWN, VK_DOWN, 0);
    ASSERT_TRUE(WaitUntil([&] { return SendMessageA(combo, CB_GETCURSEL, 0, 0) == 1; }));
    ClickButton(setting, IDOK);
    EXPECT_TRUE(WaitForNoWindow("#32770", kSettingTitle));
    DWORD stored = 0;
    EXPECT_TRUE(WaitUntil([&] { return ReadRegDword(HKEY_LOCAL_MACHINE, kSettingsKey, "DefaultTVAPP", &stored) && stored == 3; }))
        << stored;

    ASSERT_TRUE(run.card.Press("POWER"));
    EXPECT_TRUE(run.session.WaitForLog("QuickTV")) << run.session.StandInLog();
    EXPECT_EQ(run.session.CountLog("PowerVCR"), 0) << run.session.StandInLog();
    CloseStrayWindows("Quick_TV");
}

TEST(DialogsProcess, Key21OpensThePromptAnyOtherRemoteKeyCancelsItAndTelvixGoesOn) {
    Running run;
    ASSERT_NO_FATAL_FAILURE(run.Start(0, 2));
    for (const char *answer : {"5", "KEY21"}) {
        SCOPED_TRACE(answer);
        ASSERT_TRUE(run.card.Press("KEY21"));
        HWND prompt = WaitForDialog(kPromptTitle);
        ASSERT_NE(prompt, nullptr);
        ExpectPromptInSight(prompt);
        if (answer[0] == '5') {
            WaitUntil([] { return false; }, 500);
            EXPECT_TRUE(SaveWindowPng(prompt, ScreenshotDir() + "\\e2e_shutdown_prompt.png"));
        }
        ASSERT_TRUE(run.card.Press(answer));
        EXPECT_TRUE(WaitForNoWindow("#32770", kPromptTitle));
        EXPECT_TRUE(run.StillRunning());
    }
    // The remote is the tray program's again: keys poll on.
    EXPECT_TRUE(run.card.WaitForPolls(3));
    EXPECT_TRUE(run.StillRunning());
}

TEST(DialogsProcess, AltSlashAndAltQuestionMarkOpenAboutAndSettingFromTheKeyboard) {
    Running run;
    ASSERT_NO_FATAL_FAILURE(run.Start(0, 2));
    // The tray window takes the keyboard when its menu opens; closing the menu leaves it there.
    PostMessageA(run.tray, kTrayCallback, 0, WM_RBUTTONDOWN);
    HWND menu = NULL;
    ASSERT_TRUE(WaitUntil([&] { return (menu = VisibleMenuOf(run.Pid())) != NULL; }));
    PostMessageA(menu, WM_KEYDOWN, VK_ESCAPE, 0);
    ASSERT_TRUE(WaitUntil([&] { return VisibleMenuOf(run.Pid()) == NULL; }));

    struct Case { bool shift; const char *title; } cases[] = {{false, kAboutTitle}, {true, kSettingTitle}};
    for (const Case &c : cases) {
        SCOPED_TRACE(c.title);
        keybd_event(VK_MENU, 0, 0, 0);
        if (c.shift) keybd_event(VK_SHIFT, 0, 0, 0);
        keybd_event(VK_OEM_2, 0, 0, 0); // the "/" and "?" key
        keybd_event(VK_OEM_2, 0, KEYEVENTF_KEYUP, 0);
        if (c.shift) keybd_event(VK_SHIFT, 0, KEYEVENTF_KEYUP, 0);
        keybd_event(VK_MENU, 0, KEYEVENTF_KEYUP, 0);
        HWND dialog = WaitForDialog(c.title);
        ASSERT_NE(dialog, nullptr);
        PostMessageA(dialog, WM_SYSCOMMAND, SC_CLOSE, 0);
        EXPECT_TRUE(WaitForNoWindow("#32770", c.title));
    }
}
