// The Setting dialog run for real, modally, with the real registry.
#include <gtest/gtest.h>
#include <string>
#include <vector>
#include "apps/tv_app_table.h"
#include "res/resource.h"
#include "tests/support/process_state.h"
#include "tests/support/registry_fixture.h"
#include "tests/support/window_capture.h"
#include "tests/unit/dialog_driver.h"
#include "tray/dialog_placement.h"
#include "tray/dialogs.h"
#include "tray/settings.h"

namespace {

const char kKey[] = TELVIX_SETTINGS_KEY;
const DWORD kUntouched = 99; // stored before each opening: still there means nothing was saved

// k...Command: the command given to the dialog procedure itself, which
// returns TRUE for it.
enum Ending { kOkButton, kEnterKey, kEscKey, kCloseBox, kOkCommand, kCancelCommand };

struct Step {
    int installedMask; // bit (TvAppId - 1) set: installed
    int defaultBefore; // 0: as the previous step left it
    const char *list;  // entries joined with '|'
    int preselected;   // -1: nothing
    int pick;          // entry to choose before ending; -1: keep the preselection
    Ending ending;
    int defaultAfter;
    DWORD storedAfter;
};

struct Scenario {
    const char *what;
    std::vector<Step> steps;
};

struct Seen {
    std::string list;
    int selected = -2;
};

std::string ComboEntries(HWND combo) {
    std::string out;
    int count = (int)SendMessageA(combo, CB_GETCOUNT, 0, 0);
    for (int i = 0; i < count; ++i) {
        char text[128] = "";
        if (SendMessageA(combo, CB_GETLBTEXTLEN, i, 0) < (LRESULT)sizeof text) SendMessageA(combo, CB_GETLBTEXT, i, (LPARAM)text);
        out += (i ? "|" : "") + std::string(text);
    }
    return out;
}

void End(HWND dialog, Ending ending) {
    switch (ending) {
    case kOkButton: ClickButton(dialog, IDOK); break;
    case kEnterKey: PressKey(dialog, VK_RETURN); break;
    case kEscKey: PressKey(dialog, VK_ESCAPE); break;
    case kCloseBox: ClickCloseBox(dialog); break;
    case kOkCommand:
        EXPECT_EQ(SettingDialogProc(dialog, WM_COMMAND, MAKEWPARAM(IDC_DEFAULT_APP, CBN_SELCHANGE), 0), FALSE);
        EXPECT_EQ(SettingDialogProc(dialog, WM_COMMAND, IDOK, 0), TRUE);
        break;
    case kCancelCommand: EXPECT_EQ(SettingDialogProc(dialog, WM_COMMAND, IDCANCEL, 0), TRUE); break;
    }
}

// Opens the dialog through the tray's own entry, looks at it, and ends it.
Seen RunSetting(int pick, Ending ending, const std::function<void(HWND)> &look = nullptr) {
    Seen seen;
    DriveDialog([] { ShowSettingDialog(NULL); return (INT_PTR)0; },
                [&](HWND dialog) {
                    HWND combo = GetDlgItem(dialog, IDC_DEFAULT_APP);
                    seen.list = ComboEntries(combo);
                    seen.selected = (int)SendMessageA(combo, CB_GETCURSEL, 0, 0);
                    if (look) look(dialog);
                    if (pick >= 0) SendMessageA(combo, CB_SETCURSEL, pick, 0);
                    End(dialog, ending);
                });
    return seen;
}

class SettingDialog : public ::testing::Test {
protected:
    TestInstance instance;
    TvAppDescriptor savedApps[4] = {homeTheaterApp, powerVcrApp, quickTvApp, tvAnywhereApp};

    void SetUp() override {
        ResetProcessState();
        DeleteKeyTree(HKEY_LOCAL_MACHINE, kKey);
    }
    void TearDown() override {
        homeTheaterApp = savedApps[0], powerVcrApp = savedApps[1], quickTvApp = savedApps[2],
        tvAnywhereApp = savedApps[3];
        ResetProcessState();
        DeleteKeyTree(HKEY_LOCAL_MACHINE, kKey);
    }
    static void Install(int mask) {
        for (const TvApp *app : kTvApps) app->descriptor->installed = (mask >> (app->id - 1)) & 1;
    }
};

const Scenario kScenarios[] = {
    {"PowerVCR II and TV@Anywhere only, default 4; another entry saves once, then is preselected",
     {{0b1010, 4, "PowerVCR|TV@Anywhere", 1, 0, kOkCommand, 2, 2},
      {0b1010, 0, "PowerVCR|TV@Anywhere", 0, -1, kOkButton, 2, kUntouched}}},
    {"OK on the entry preselected for the default saves nothing",
     {{0b1111, 3, "Home Theater|PowerVCR|Quick_TV|TV@Anywhere", 2, -1, kOkButton, 3, kUntouched},
      {0b1111, 0, "Home Theater|PowerVCR|Quick_TV|TV@Anywhere", 2, 3, kEnterKey, 4, 4}}},
    {"default not installed at the first opening: the first entry, and OK takes it",
     {{0b0110, 1, "PowerVCR|Quick_TV", 0, -1, kOkButton, 2, 2}}},
    {"default not installed at a later opening keeps the last position; Esc and close box change nothing",
     {{0b0110, 3, "PowerVCR|Quick_TV", 1, 0, kEscKey, 3, kUntouched},
      {0b0110, 1, "PowerVCR|Quick_TV", 1, 0, kCloseBox, 1, kUntouched},
      {0b0110, 0, "PowerVCR|Quick_TV", 1, 0, kCancelCommand, 1, kUntouched},
      {0b0110, 0, "PowerVCR|Quick_TV", 1, -1, kOkButton, 3, 3}}},
    {"nothing installed: empty list, nothing selected, OK changes nothing (not even by an earlier choice)",
     {{0b0001, 2, "Home Theater", 0, -1, kOkButton, 1, 1},
      {0b0000, 3, "", -1, -1, kOkButton, 3, kUntouched},
      {0b0000, 0, "", -1, -1, kEscKey, 3, kUntouched}}},
};

} // namespace

TEST_F(SettingDialog, ListPreselectionAndWhatOkEscAndCloseBoxSave) {
    for (const Scenario &scenario : kScenarios) {
        SCOPED_TRACE(scenario.what);
        SetUp();
        int n = 0;
        for (const Step &step : scenario.steps) {
            SCOPED_TRACE("opening " + std::to_string(++n));
            Install(step.installedMask);
            if (step.defaultBefore) defaultTvApp = step.defaultBefore;
            WriteRegDword(HKEY_LOCAL_MACHINE, kKey, "DefaultTVAPP", kUntouched);
            Seen seen = RunSetting(step.pick, step.ending);
            EXPECT_EQ(seen.list, step.list);
            EXPECT_EQ(seen.selected, step.preselected);
            EXPECT_EQ(defaultTvApp, step.defaultAfter);
            DWORD stored = 0;
            EXPECT_TRUE(ReadRegDword(HKEY_LOCAL_MACHINE, kKey, "DefaultTVAPP", &stored));
            EXPECT_EQ(stored, step.storedAfter);
        }
    }
}

TEST_F(SettingDialog, IsPlacedForThisScreenAndLooksRight) {
    Install(0b1111);
    defaultTvApp = 2;
    POINT expected;
    bool known = DialogPositionForWidth(GetSystemMetrics(SM_CXFULLSCREEN), &expected);
    RunSetting(-1, kEscKey, [&](HWND dialog) {
        RECT rect;
        GetWindowRect(dialog, &rect);
        bool topmost = (GetWindowLongA(dialog, GWL_EXSTYLE) & WS_EX_TOPMOST) != 0;
        EXPECT_EQ(topmost, known);
        if (known) {
            EXPECT_EQ(rect.left, expected.x);
            EXPECT_EQ(rect.top, expected.y);
        }
        EXPECT_EQ(WindowText(dialog), "Corvane Remote Control - Setting");
        EXPECT_TRUE(SaveWindowPng(dialog, ScreenshotDir() + "\\setting_dialog.png"));
    });
}
