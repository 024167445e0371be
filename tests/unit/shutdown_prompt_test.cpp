// The Shut Down prompt run for real, modally; the shutdown it starts goes to
// the recording effect table.
#include <gtest/gtest.h>
#include <string>
#include "res/resource.h"
#include "routing/poll_cycle.h"
#include "tests/support/effects_recorder.h"
#include "tests/support/process_state.h"
#include "tests/support/test_windows.h"
#include "tests/support/window_capture.h"
#include "tests/unit/dialog_driver.h"
#include "tray/dialog_placement.h"
#include "tray/shutdown_prompt.h"

namespace {

const char kPowerOff[] = "ExitWindowsEx 0xC 0";

class ShutdownPrompt : public ::testing::Test {
protected:
    TestInstance instance;
    FakeEffects fake;
    TestWindow owner{"PromptOwner", "tray"};

    void SetUp() override { ResetProcessState(); }
    void TearDown() override { ResetProcessState(); }
    bool ShutDownStarted() const { return !FakeEffects::CallsStartingWith("ExitWindowsEx").empty(); }
};

// What the recorder saw of the prompt at the moment the shutdown began.
struct AtShutdown {
    static bool called;
    static int flag;
    static bool promptVisible, promptExists, ownerEnabled;
    static HWND owner;
    static BOOL WINAPI GetVersionExSpy(LPOSVERSIONINFOA info) {
        called = true;
        flag = promptOpen;
        promptExists = IsWindow(promptWindow) != 0;
        promptVisible = IsWindowVisible(promptWindow) != 0;
        ownerEnabled = IsWindowEnabled(owner) != 0;
        info->dwPlatformId = VER_PLATFORM_WIN32_NT;
        return TRUE;
    }
};
bool AtShutdown::called, AtShutdown::promptVisible, AtShutdown::promptExists, AtShutdown::ownerEnabled;
int AtShutdown::flag;
HWND AtShutdown::owner;

} // namespace

TEST_F(ShutdownPrompt, RemoteKeysKeyboardButtonsAndCloseBoxEndItWithTheirOwnResults) {
    struct Case {
        const char *how;
        std::function<void(HWND)> act;
        int result;
        bool shutsDown;
    } cases[] = {
        // What the procedure returns for what it handles: TRUE.
        {"remote power: VK_RETURN sent",
         [](HWND d) { EXPECT_EQ(ShutdownPromptProc(d, WM_KEYDOWN, VK_RETURN, 0), TRUE); }, 13, true},
        {"remote other key: VK_ESCAPE sent",
         [](HWND d) { EXPECT_EQ(ShutdownPromptProc(d, WM_KEYDOWN, VK_ESCAPE, 0), TRUE); }, 27, false},
        {"IDOK", [](HWND d) { EXPECT_EQ(ShutdownPromptProc(d, WM_COMMAND, IDOK, 0), TRUE); }, IDOK, true},
        {"IDCANCEL", [](HWND d) { EXPECT_EQ(ShutdownPromptProc(d, WM_COMMAND, IDCANCEL, 0), TRUE); }, IDCANCEL, false},
        {"keyboard Enter", [](HWND d) { PressKey(d, VK_RETURN); }, IDOK, true},
        {"OK button", [](HWND d) { ClickButton(d, IDOK); }, IDOK, true},
        {"keyboard Esc", [](HWND d) { PressKey(d, VK_ESCAPE); }, IDCANCEL, false},
        {"Cancel button", [](HWND d) { ClickButton(d, IDCANCEL); }, IDCANCEL, false},
        {"close box", [](HWND d) { ClickCloseBox(d); }, IDCANCEL, false},
    };
    POINT expected;
    bool known = DialogPositionForWidth(GetSystemMetrics(SM_CXFULLSCREEN), &expected);
    bool first = true;
    for (const Case &c : cases) {
        SCOPED_TRACE(c.how);
        FakeEffects::calls.clear();
        HWND seen = NULL;
        int result = (int)DriveDialog([&] { return (INT_PTR)ShowShutdownPrompt(owner.hwnd()); },
                                      [&](HWND dialog) {
                                          seen = dialog;
                                          EXPECT_EQ(promptOpen, 1);
                                          EXPECT_EQ(promptWindow, dialog);
                                          EXPECT_EQ(GetForegroundWindow(), dialog);
                                          RECT rect;
                                          GetWindowRect(dialog, &rect);
                                          if (known) {
                                              EXPECT_EQ(rect.left, expected.x);
                                              EXPECT_EQ(rect.top, expected.y);
                                          }
                                          if (first) {
                                              EXPECT_EQ(WindowText(dialog), "Corvane Remote Control - Shut Down");
                                              EXPECT_TRUE(SaveWindowPng(dialog, ScreenshotDir() +
                                                                                    "\\shutdown_prompt.png"));
                                              first = false;
                                          }
                                          c.act(dialog);
                                      });
        EXPECT_EQ(result, c.result);
        EXPECT_EQ(ShutDownStarted(), c.shutsDown);
        EXPECT_EQ(promptOpen, 0);
        EXPECT_EQ(promptWindow, seen) << "the handle is kept after the prompt ended";
    }
}

TEST_F(ShutdownPrompt, ConfirmingClearsTheFlagThenEndsTheDialogThenShutsDown) {
    AtShutdown::owner = owner.hwnd();
    for (int confirm : {0, 1}) {
        AtShutdown::called = false;
        fx.GetVersionExA = AtShutdown::GetVersionExSpy;
        bool ownerDisabledWhileOpen = false;
        DriveDialog([&] { return (INT_PTR)ShowShutdownPrompt(owner.hwnd()); },
                    [&](HWND dialog) {
                        ownerDisabledWhileOpen = !IsWindowEnabled(owner.hwnd());
                        if (confirm) SendMessageA(dialog, WM_KEYDOWN, VK_RETURN, 0);
                        else SendMessageA(dialog, WM_COMMAND, IDOK, 0);
                    });
        SCOPED_TRACE(confirm ? "remote power" : "OK");
        ASSERT_TRUE(AtShutdown::called);
        EXPECT_TRUE(ownerDisabledWhileOpen);
        EXPECT_EQ(AtShutdown::flag, 0) << "flag cleared before the shutdown";
        EXPECT_FALSE(AtShutdown::promptVisible) << "dialog ended before the shutdown";
        EXPECT_TRUE(AtShutdown::ownerEnabled) << "dialog ended before the shutdown";
        EXPECT_TRUE(AtShutdown::promptExists) << "the shutdown starts inside the dialog procedure";
    }
}

TEST_F(ShutdownPrompt, OtherKeyDownsLeaveItOpen) {
    int result = (int)DriveDialog([&] { return (INT_PTR)ShowShutdownPrompt(owner.hwnd()); },
                                  [&](HWND dialog) {
                                      for (WPARAM key : {(WPARAM)'A', (WPARAM)VK_SPACE, (WPARAM)VK_F4,
                                                         (WPARAM)VK_TAB, (WPARAM)'0'}) {
                                          EXPECT_EQ(ShutdownPromptProc(dialog, WM_KEYDOWN, key, 0), FALSE) << key;
                                          SendMessageA(dialog, WM_KEYDOWN, key, 0);
                                          EXPECT_TRUE(IsWindowVisible(dialog)) << key;
                                          EXPECT_EQ(promptOpen, 1) << key;
                                      }
                                      EXPECT_EQ(ShutdownPromptProc(dialog, WM_COMMAND, IDABORT, 0), FALSE);
                                      SendMessageA(dialog, WM_KEYDOWN, VK_ESCAPE, 0);
                                  });
    EXPECT_EQ(result, 27);
    EXPECT_FALSE(ShutDownStarted());
}

TEST_F(ShutdownPrompt, PollCycleOpensItOnKey21AndPowerConfirmsAnyOtherKeyCancels) {
    struct Case {
        const char *what;
        RemoteKeyCode answer;
        DWORD after; // ms after the key that opened the prompt
        bool shutsDown;
    } cases[] = {
        {"power key", kPowerKey, 400, true},
        {"number key", 5, 400, false},
        {"a repeat of key 21 itself", kKey21, kPollPeriodMs, false},
    };
    for (const Case &c : cases) {
        SCOPED_TRACE(c.what);
        FakeEffects::calls.clear();
        pollState = RepeatState();
        bool opened = false;
        DriveDialog([&] { HandleKeyEvent(owner.hwnd(), kKey21, 5000); return (INT_PTR)0; },
                    [&](HWND dialog) {
                        opened = dialog == promptWindow && promptOpen == 1;
                        HandleKeyEvent(owner.hwnd(), c.answer, 5000 + c.after);
                    });
        EXPECT_TRUE(opened);
        EXPECT_EQ(promptOpen, 0);
        EXPECT_EQ(ShutDownStarted(), c.shutsDown);
        if (c.shutsDown) {
            EXPECT_EQ(FakeEffects::CallsStartingWith("ExitWindowsEx").at(0), kPowerOff);
        }
    }
}

TEST_F(ShutdownPrompt, APromptThatCannotOpenReleasesTheRemote) {
    appInstance = GetModuleHandleA("ntdll.dll"); // holds no prompt template
    EXPECT_EQ(ShowShutdownPrompt(owner.hwnd()), -1);
    EXPECT_EQ(promptOpen, 0) << "keys must go back to their usual destinations";
}
