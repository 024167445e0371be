// The About dialog, and how the tray reaches both menu dialogs: its commands
// 30 and 32 and the accelerators Alt+"/" and Alt+"?".
#include <gtest/gtest.h>
#include <string>
#include "res/resource.h"
#include "tests/support/test_windows.h"
#include "tests/support/window_capture.h"
#include "tests/unit/dialog_driver.h"
#include "tray/dialog_placement.h"
#include "tray/dialogs.h"
#include "tray/tray_window.h"

namespace {

// A window that answers with the tray's own procedure (without its start-up).
struct TrayStandIn {
    TestWindow window{"DialogTrayStandIn", "tray"};
    WNDPROC original = (WNDPROC)SetWindowLongPtrA(window.hwnd(), GWLP_WNDPROC, (LONG_PTR)TrayWindowProc);
    // Restored first: the tray's WM_DESTROY would post a quit message to the tests.
    ~TrayStandIn() { SetWindowLongPtrA(window.hwnd(), GWLP_WNDPROC, (LONG_PTR)original); }
};

// Ends whatever dialog shows and reports its caption.
std::string CaptionOfDialogOpenedBy(const std::function<void()> &open) {
    std::string caption = "(none)";
    bool shown = false;
    DriveDialog([&] { open(); return (INT_PTR)0; },
                [&](HWND dialog) {
                    caption = WindowText(dialog);
                    PressKey(dialog, VK_ESCAPE);
                },
                &shown);
    return caption;
}

} // namespace

TEST(AboutDialog, EndsWithTheButtonOrCancelIdAndIsPlacedForThisScreen) {
    TestInstance instance;
    struct Case { const char *how; std::function<void(HWND)> end; INT_PTR result; } cases[] = {
        {"OK button", [](HWND d) { ClickButton(d, IDOK); }, IDOK},
        {"Enter", [](HWND d) { PressKey(d, VK_RETURN); }, IDOK},
        {"Esc", [](HWND d) { PressKey(d, VK_ESCAPE); }, IDCANCEL},
        {"close box", [](HWND d) { ClickCloseBox(d); }, IDCANCEL},
        // Handled commands return TRUE, others FALSE.
        {"IDOK to the procedure",
         [](HWND d) {
             EXPECT_EQ(AboutDialogProc(d, WM_COMMAND, IDABORT, 0), FALSE);
             EXPECT_EQ(AboutDialogProc(d, WM_COMMAND, IDOK, 0), TRUE);
         },
         IDOK},
        {"IDCANCEL to the procedure", [](HWND d) { EXPECT_EQ(AboutDialogProc(d, WM_COMMAND, IDCANCEL, 0), TRUE); },
         IDCANCEL},
    };
    POINT expected;
    bool known = DialogPositionForWidth(GetSystemMetrics(SM_CXFULLSCREEN), &expected);
    for (const Case &c : cases) {
        INT_PTR result = DriveDialog(
            [] { return DialogBoxParamA(appInstance, MAKEINTRESOURCEA(IDD_ABOUT), NULL, AboutDialogProc, 0); },
            [&](HWND dialog) {
                EXPECT_EQ(WindowText(dialog), "Corvane Remote Control - About");
                RECT rect;
                GetWindowRect(dialog, &rect);
                EXPECT_EQ((GetWindowLongA(dialog, GWL_EXSTYLE) & WS_EX_TOPMOST) != 0, known);
                if (known) {
                    EXPECT_EQ(rect.left, expected.x);
                    EXPECT_EQ(rect.top, expected.y);
                }
                if (c.result == IDOK && c.how[0] == 'O') {
                    EXPECT_TRUE(SaveWindowPng(dialog, ScreenshotDir() + "\\about_dialog.png"));
                }
                c.end(dialog);
            });
        EXPECT_EQ(result, c.result) << c.how;
    }
}

TEST(TrayDialogs, MenuCommandsOpenAboutAndSetting) {
    TestInstance instance;
    TrayStandIn tray;
    HWND window = tray.window.hwnd();
    EXPECT_EQ(CaptionOfDialogOpenedBy([&] { SendMessageA(window, WM_COMMAND, IDM_ABOUT, 0); }),
              "Corvane Remote Control - About");
    EXPECT_EQ(CaptionOfDialogOpenedBy([&] { SendMessageA(window, WM_COMMAND, IDM_SETTING, 0); }),
              "Corvane Remote Control - Setting");
}

TEST(TrayDialogs, AltSlashAndAltQuestionMarkReachTheDialogsThroughTheAcceleratorTable) {
    TestInstance instance;
    TrayStandIn tray;
    HWND window = tray.window.hwnd();
    HACCEL table = LoadAcceleratorsA(appInstance, MAKEINTRESOURCEA(IDR_ACCELERATORS));
    ASSERT_NE(table, nullptr);
    BYTE keys[256], saved[256];
    GetKeyboardState(saved);
    struct Case { char key; bool alt; const char *opens; } cases[] = {
        {'/', true, "Corvane Remote Control - About"},
        {'?', true, "Corvane Remote Control - Setting"},
        {'/', false, "(none)"},
        {'?', false, "(none)"},
    };
    for (const Case &c : cases) {
        memcpy(keys, saved, sizeof keys);
        keys[VK_MENU] = c.alt ? 0x80 : 0;
        SetKeyboardState(keys);
        MSG msg = {window, (UINT)(c.alt ? WM_SYSCHAR : WM_CHAR), (WPARAM)c.key, c.alt ? (1 << 29) : 0, 0, {0, 0}};
        std::string opened = CaptionOfDialogOpenedBy([&] { TranslateAcceleratorA(window, table, &msg); });
        EXPECT_EQ(opened, c.opens) << c.key << (c.alt ? " with Alt" : "");
    }
    SetKeyboardState(saved);
}
