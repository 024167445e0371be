#include <gtest/gtest.h>
#include <string>
#include "apps/tv_app_table.h"
#include "platform/product_texts.h"
#include "res/resource.h"
#include "tests/support/effects_recorder.h"
#include "tests/support/registry_fixture.h"
#include "tests/unit/dialog_driver.h"
#include "tests/support/test_windows.h"
#include "tray/settings.h"
#include "tray/tray_icon.h"
#include "tray/tray_window.h"

namespace {

std::string MenuText(HMENU menu) {
    std::string out;
    for (int i = 0; i < GetMenuItemCount(menu); ++i) {
        UINT state = GetMenuState(menu, i, MF_BYPOSITION);
        if (state & MF_SEPARATOR) {
            out += "-|";
            continue;
        }
        char text[64] = "";
        GetMenuStringA(menu, i, text, sizeof text, MF_BYPOSITION);
        out += std::string(text) + ":" + std::to_string(GetMenuItemID(menu, i)) +
               ((state & MF_CHECKED) ? "*" : "") + "|";
    }
    return out;
}

struct SavedApps {
    TvAppDescriptor apps[4] = {homeTheaterApp, powerVcrApp, quickTvApp, tvAnywhereApp};
    int defaultApp = defaultTvApp;
    ~SavedApps() {
        homeTheaterApp = apps[0], powerVcrApp = apps[1], quickTvApp = apps[2], tvAnywhereApp = apps[3];
        defaultTvApp = defaultApp;
    }
};

// Ends the tray program's message loop from inside it, once its window exists.
struct LoopEnder {
    static UINT message;
    static WPARAM wParam;
    static void CALLBACK Tick(HWND, UINT, UINT_PTR timer, DWORD) {
        if (!IsWindow(trayWindow)) return;
        KillTimer(NULL, timer);
        PostMessageA(trayWindow, message, wParam, 0);
    }
};
UINT LoopEnder::message;
WPARAM LoopEnder::wParam;

} // namespace

TEST(TrayMenu, ShowsOnlyTheDefaultApplicationWhenInstalledWithItsRunningMark) {
    SavedApps saved;
    const std::string tail = "-|Setting:32|-|About:30|-|Exit:1201|";
    for (const TvApp *app : kTvApps) app->descriptor->installed = 1;

    defaultTvApp = 3;
    EXPECT_EQ(MenuText(BuildPopupMenu()), "Quick_TV:1103|" + tail);
    {
        TestWindow quickTv("Quick_TV", "FormMainWindow");
        EXPECT_EQ(MenuText(BuildPopupMenu()), "Quick_TV:1103*|" + tail);
    }
    defaultTvApp = 1;
    EXPECT_EQ(MenuText(BuildPopupMenu()), "Home Theater:1101|" + tail);
    defaultTvApp = 2;
    {
        TestWindow pvcr("OtherClass", "PowerVCR II");
        EXPECT_EQ(MenuText(BuildPopupMenu()), "PowerVCR:1102*|" + tail) << "running by title prefix";
    }
    defaultTvApp = 4;
    EXPECT_EQ(MenuText(BuildPopupMenu()), "TV@Anywhere:1104|" + tail);

    homeTheaterApp.installed = 0;
    defaultTvApp = 1;
    EXPECT_EQ(MenuText(BuildPopupMenu()), tail) << "not installed: the menu begins with a separator";
    defaultTvApp = 7;
    EXPECT_EQ(MenuText(BuildPopupMenu()), tail);
}

TEST(TrayMenu, EachOpeningReplacesThePreviousMenu) {
    HMENU first = BuildPopupMenu();
    HMENU second = BuildPopupMenu();
    EXPECT_EQ(popupMenu, second);
    EXPECT_FALSE(IsMenu(first)) << "the previous menu is destroyed";
}

TEST(TrayIcon, IconDataHasTheOriginalShapeAndRemovalNamesItsWindowAndId) {
    TestWindow owner("TrayIconOwner", "owner");
    AddTrayIcon(owner.hwnd(), kTrayIconId, LoadIconA(NULL, MAKEINTRESOURCEA(32512)), "Corvane Remote Control");
    EXPECT_EQ(trayIconData.cbSize, (DWORD)NOTIFYICONDATAA_V1_SIZE);
    EXPECT_EQ(trayIconData.hWnd, owner.hwnd());
    EXPECT_EQ(trayIconData.uID, 10u);
    EXPECT_EQ(trayIconData.uFlags, 7u);
    EXPECT_EQ(trayIconData.uCallbackMessage, 1001u);
    EXPECT_STREQ(trayIconData.szTip, "Corvane Remote Control");
    RemoveTrayIcon(owner.hwnd(), kTrayIconId);

    std::string longTip(100, 't');
    AddTrayIcon(owner.hwnd(), kTrayIconId, NULL, longTip.c_str());
    EXPECT_EQ(std::string(trayIconData.szTip), std::string(63, 't')) << "64 characters with the terminator";
    AddTrayIcon(owner.hwnd(), kTrayIconId, NULL, NULL);
    EXPECT_STREQ(trayIconData.szTip, "") << "a null tip stores an empty tip";
    RemoveTrayIcon(owner.hwnd(), kTrayIconId);
}

TEST(TrayIcon, ARestartedShellGetsTheSameIconAddedAgainUnlessItWasRemoved) {
    FakeEffects effects;
    TestWindow owner("TrayIconOwner", "owner");
    const UINT taskbarCreated = RegisterWindowMessageA("TaskbarCreated");
    ASSERT_NE(taskbarCreated, 0u);
    HICON icon = LoadIconA(NULL, MAKEINTRESOURCEA(32512));
    AddTrayIcon(owner.hwnd(), kTrayIconId, icon, "Corvane Remote Control");
    ASSERT_EQ(FakeEffects::calls.size(), 1u);
    const std::string added = FakeEffects::calls[0];
    EXPECT_EQ(added.rfind("Shell_NotifyIconA NIM_ADD size=", 0), 0u) << added;
    EXPECT_NE(added.find(" id=10 flags=0x7 message=1001 "), std::string::npos) << added;
    for (int restart = 0; restart < 2; ++restart) {
        FakeEffects::calls.clear();
        EXPECT_EQ(TrayWindowProc(owner.hwnd(), taskbarCreated, 0, 0), 0);
        EXPECT_EQ(FakeEffects::calls, std::vector<std::string>{added}) << "the very data of the first NIM_ADD";
    }
    RemoveTrayIcon(owner.hwnd(), kTrayIconId);
    FakeEffects::calls.clear();
    TrayWindowProc(owner.hwnd(), taskbarCreated, 0, 0);
    EXPECT_TRUE(FakeEffects::calls.empty()) << "an icon taken away stays away";

    // A shell not ready at logon refuses NIM_ADD: tried again on a timer. A
    // refused retry may follow an add that timed out but worked: NIM_MODIFY
    // then finds the icon there, and the retries end.
    FakeEffects::trayAddRefusals = 2;
    AddTrayIcon(owner.hwnd(), kTrayIconId, icon, "Corvane Remote Control");
    PumpMessagesUntil([] { return !FakeEffects::CallsStartingWith("Shell_NotifyIconA NIM_MODIFY").empty(); });
    EXPECT_EQ(FakeEffects::CallsStartingWith("Shell_NotifyIconA NIM_ADD").size(), 2u);
    EXPECT_EQ(FakeEffects::CallsStartingWith("Shell_NotifyIconA NIM_MODIFY").size(), 1u);
    EXPECT_FALSE(KillTimer(owner.hwnd(), kTrayIconTimerId)) << "no retry left running";
    RemoveTrayIcon(owner.hwnd(), kTrayIconId);
}

// Once the message loop has ended, by Exit or by WM_CLOSE, a new copy can
// start: neither the instance name nor the window is left behind.
TEST(TrayProgram, NothingKeepsANewCopyOutOnceTheLoopHasEnded) {
    SavedApps saved;
    TestInstance instance;
    FakeEffects effects; // the tray icon
    DeleteKeyTree(HKEY_LOCAL_MACHINE, TELVIX_SETTINGS_KEY);
    struct {
        const char *how;
        UINT message;
        WPARAM wParam;
    } cases[] = {{"Exit", WM_COMMAND, IDM_EXIT}, {"WM_CLOSE", WM_CLOSE, 0}};
    char trayClass[100] = "";
    ASSERT_GT(LoadStringA(appInstance, IDS_TRAY_CLASS, trayClass, sizeof trayClass), 0);
    for (const auto &c : cases) {
        SCOPED_TRACE(c.how);
        ASSERT_EQ(FindWindowA(trayClass, NULL), nullptr);
        LoopEnder::message = c.message;
        LoopEnder::wParam = c.wParam;
        UINT_PTR timer = SetTimer(NULL, 0, 20, LoopEnder::Tick);
        EXPECT_EQ(RunTelvix(appInstance), 0);
        KillTimer(NULL, timer);
        // The window's end asks to quit once more; no later loop of this
        // test thread may see that.
        MSG quit;
        while (PeekMessageA(&quit, NULL, WM_QUIT, WM_QUIT, PM_REMOVE)) {
        }
        EXPECT_EQ(FindWindowA(trayClass, NULL), nullptr);
        HANDLE name = OpenMutexA(SYNCHRONIZE, FALSE, "Corvane Remote Control Instance");
        EXPECT_EQ(name, nullptr) << "the instance name is still held";
        if (name) CloseHandle(name);
    }
    trayWindow = NULL;
    deviceFound = 1;
    DeleteKeyTree(HKEY_LOCAL_MACHINE, TELVIX_SETTINGS_KEY);
}
