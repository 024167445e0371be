#include <gtest/gtest.h>
#include <string>
#include "apps/tv_apps.h"
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

} // namespace

TEST(TrayMenu, ShowsOnlyTheDefaultApplicationWhenInstalledWithItsRunningMark) {
    SavedApps saved;
    const std::string tail = "-|Setting:32|-|About:30|-|Exit:1201|";
    for (int id = 1; id <= 4; ++id) TvAppById(id)->installed = 1;

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
