// The on-screen display: which keys it shows under each setting, read again
// while the program runs; where it appears; and that it takes neither the
// activation nor the focus, nor one more GDI object per key shown. A running
// key-map editor hears of every key, whatever the display shows.
#include <gtest/gtest.h>
#include "platform/key_editor_link.h"
#include "platform/product_texts.h"
#include "tests/support/effects_recorder.h"
#include "tests/support/registry_fixture.h"
#include "tests/support/test_windows.h"
#include "tray/key_display.h"
#include "tray/settings.h"

namespace {

KeyOutcome Outcome(int code, KeyPlace place, KeyReason reason) {
    KeyOutcome outcome = {};
    outcome.code = code;
    outcome.place = place;
    outcome.reason = reason;
    SetOutcomeSent(outcome, "pointer right 6 px");
    return outcome;
}

// Sets OnScreenDisplay and lets a second pass, so the next key reads it.
void SetMode(DWORD mode) {
    WriteRegDword(HKEY_CURRENT_USER, kUserSettingsKey, "OnScreenDisplay", mode);
    FakeEffects::tick += 1000;
}

bool Shown() { return KeyDisplayWindow() && IsWindowVisible(KeyDisplayWindow()); }

// What the tray program posted to an editor's window of this thread; -1 for nothing.
long long TakeKeyRead() {
    static const UINT keyRead = RegisterWindowMessageA(kKeyReadMessageName);
    MSG msg;
    if (!PeekMessageA(&msg, NULL, keyRead, keyRead, PM_REMOVE)) return -1;
    return (long long)msg.wParam;
}

} // namespace

TEST(KeyDisplay, ShowsTheKeysOfItsSettingReadAgainWithinASecond) {
    FakeEffects effects;
    const KeyOutcome taken = Outcome(6, kToPointer, kTaken), untaken = Outcome(22, kToNowhere, kNothingMapped);
    struct Case {
        DWORD mode;
        KeyOutcome outcome;
        bool shown;
    } cases[] = {
        {0, taken, false},
        {1, taken, true},
        {1, Outcome(3, kToActiveApp, kRepeatDropped), true}, // keeps what its held key showed
        {1, Outcome(21, kToPrompt, kTaken), false},          // the prompt stands alone
        {2, taken, false},
        {2, untaken, true},
        {3, untaken, false}, // no such setting: off
    };
    {
        TestWindow editor(kKeyEditorWindowClass, "Corvane Remote Keys");
        for (const Case &c : cases) {
            SCOPED_TRACE(testing::Message() << "mode " << c.mode << " key " << c.outcome.code);
            SetMode(c.mode);
            ShowKeyOutcome(&c.outcome);
            EXPECT_EQ(Shown(), c.shown);
            EXPECT_EQ(TakeKeyRead(), (long long)PackKeyRead(c.outcome)) << "the editor hears of every key";
        }
        ShowKeyOutcome(nullptr);
        EXPECT_FALSE(Shown()) << "hidden for the prompt and a closed session";
        EXPECT_EQ(TakeKeyRead(), -1) << "no key, no message";
    }
    DeleteRegValue(HKEY_CURRENT_USER, kUserSettingsKey, "OnScreenDisplay");
    FakeEffects::tick += 1000;
    ShowKeyOutcome(&untaken);
    EXPECT_FALSE(Shown()) << "missing: off";
    EXPECT_EQ(TakeKeyRead(), -1) << "no editor, no message";
}

TEST(KeyDisplay, AppearsAtTheBottomCentreWithoutActivationAndHidesAfterItsTime) {
    FakeEffects effects;
    TestWindow front("KeyDisplayFront", "In front", true);
    SetForegroundWindow(front.hwnd());
    SetFocus(front.hwnd());
    SetMode(1);
    const KeyOutcome outcome = Outcome(6, kToPointer, kTaken);
    ShowKeyOutcome(&outcome);
    DWORD gdi = GetGuiResources(GetCurrentProcess(), GR_GDIOBJECTS);
    for (int i = 0; i < 100; ++i) ShowKeyOutcome(&outcome);
    EXPECT_EQ(GetGuiResources(GetCurrentProcess(), GR_GDIOBJECTS), gdi) << "nothing grows with the keys shown";

    HWND display = FindWindowA(kTelvixDisplayClass, NULL);
    ASSERT_TRUE(display);
    EXPECT_EQ(display, KeyDisplayWindow()) << "a held key updates the same window";
    char text[64];
    GetWindowTextA(display, text, sizeof text);
    EXPECT_STREQ(text, "6\npointer right 6 px");
    const LONG kStyles = WS_EX_TOPMOST | WS_EX_TOOLWINDOW | WS_EX_NOACTIVATE | WS_EX_LAYERED | WS_EX_TRANSPARENT;
    EXPECT_EQ(GetWindowLongA(display, GWL_EXSTYLE) & kStyles, kStyles);
    // Wine may not honour the flag; Windows does, and it is what is asked for.
    for (const std::string &call : FakeEffects::CallsStartingWith("SetWindowPos"))
        EXPECT_EQ(call, "SetWindowPos topmost 0x50") << "SWP_NOACTIVATE | SWP_SHOWWINDOW";
    EXPECT_EQ(GetForegroundWindow(), front.hwnd());
    EXPECT_EQ(GetFocus(), front.hwnd());

    RECT work, at;
    SystemParametersInfoA(SPI_GETWORKAREA, 0, &work, 0);
    GetWindowRect(display, &at);
    HDC screen = GetDC(NULL);
    int dpi = GetDeviceCaps(screen, LOGPIXELSY);
    ReleaseDC(NULL, screen);
    EXPECT_NEAR(at.left + at.right, work.left + work.right, 1) << "centred";
    EXPECT_EQ(at.bottom, work.bottom - MulDiv(48, dpi, 96));
    EXPECT_EQ(at.right - at.left, MulDiv(kKeyDisplayWidth, dpi, 96));

    DWORD start = GetTickCount();
    while (Shown() && GetTickCount() - start < 10000) {
        Sleep(20);
        PumpMessages();
    }
    EXPECT_FALSE(Shown());
    EXPECT_GE(GetTickCount() - start, kKeyDisplayMs - 100);
    DeleteRegValue(HKEY_CURRENT_USER, kUserSettingsKey, "OnScreenDisplay");
}
