// The wizard's real dialogs, from the program's own templates, run modally on
// the test thread and driven from a timer inside their modal loops.
#include <gtest/gtest.h>
#include <windows.h>
#include <deque>
#include <functional>
#include <memory>
#include <string>
#include <vector>
#include "res/purgex_resource.h"
#include "tests/purgex/purgex_support.h"
#include "tests/support/dialog_items.h"
#include "tests/support/process.h"
#include "tests/support/registry_fixture.h"
#include "tests/support/test_windows.h"
#include "uninstall/dialogs.h"
#include "uninstall/purgex_app.h"
#include "uninstall/title_close.h"
#include "uninstall/uninstall_entries.h"

namespace {

// Steps run one per timer tick, in whichever modal loop is running then, so
// a step may open a nested dialog and the next one act on it. Once the steps
// are used up, a dialog still open is ended, so no test hangs on it.
class ModalScript {
public:
    INT_PTR Run(CDialog &dialog, std::deque<std::function<void()>> steps) {
        steps_ = std::move(steps);
        dialog_ = &dialog;
        UINT_PTR timer = SetTimer(NULL, 0, 60, &ModalScript::Tick);
        INT_PTR result = dialog.DoModal();
        KillTimer(NULL, timer);
        dialog_ = nullptr;
        EXPECT_TRUE(steps_.empty()) << "the dialog ended before its script did";
        steps_.clear();
        return result;
    }

private:
    static void CALLBACK Tick(HWND, UINT, UINT_PTR, DWORD) {
        if (steps_.empty()) {
            if (dialog_ && IsWindow(dialog_->m_hWnd)) EndDialog(dialog_->m_hWnd, kAbandoned);
            return;
        }
        std::function<void()> step = std::move(steps_.front());
        steps_.pop_front();
        step();
    }
    static std::deque<std::function<void()>> steps_;
    static CDialog *dialog_;

public:
    static const INT_PTR kAbandoned = -77;
};
std::deque<std::function<void()>> ModalScript::steps_;
CDialog *ModalScript::dialog_ = nullptr;

class PurgexDialogs : public ::testing::Test {
protected:
    void SetUp() override {
        theApp.config = WizardConfig{};
        auto set = [](char *field, int size, const char *text) { lstrcpynA(field, text, size); };
        WizardConfig &c = theApp.config;
        set(c.appTitle, sizeof c.appTitle, "Purgex Test Wizard");
        set(c.page1Tip1, sizeof c.page1Tip1, "First tip.");
        set(c.page1Tip2, sizeof c.page1Tip2, "Second tip.");
        set(c.page1Option1, sizeof c.page1Option1, "Utilities");
        set(c.page1Option2, sizeof c.page1Option2, "Drivers");
        set(c.page2Tip1, sizeof c.page2Tip1, "Something was removed.");
        set(c.page2Tip2, sizeof c.page2Tip2, "Nothing was removed.");
        set(c.utilityRegName, sizeof c.utilityRegName, "Purgex Dialog Test Utilities");
        set(c.driverKeyPath, sizeof c.driverKeyPath, "PurgexDialogTest Drivers");
        set(c.okText, sizeof c.okText, "Fine");
        set(c.cancelText, sizeof c.cancelText, "Stop");
        set(c.startText, sizeof c.startText, "Go");
        set(c.page2Tip3, sizeof c.page2Tip3, "Not everything was removed.");
        theApp.utilitiesOption = theApp.driversOption = theApp.uninstallNotStarted = 0;
        log_ = ScratchDir("purgex_dialogs") + "\\uninstall.log";
    }
    void TearDown() override {
        DeleteKeyTree(HKEY_LOCAL_MACHINE, EntryPath("PurgexDialogTest Utilities").c_str());
        DeleteKeyTree(HKEY_LOCAL_MACHINE, EntryPath("PurgexDialogTest Drivers").c_str());
    }
    void RegisterEntries(bool utilities, bool drivers) {
        if (utilities) {
            std::string path = EntryPath("PurgexDialogTest Utilities");
            WriteRegString(HKEY_LOCAL_MACHINE, path.c_str(), "DisplayName", "PURGEX dialog test utilities");
            WriteRegString(HKEY_LOCAL_MACHINE, path.c_str(), "UninstallString", SimCommand(log_, "utilities", 300));
        }
        if (drivers)
            WriteRegString(HKEY_LOCAL_MACHINE, EntryPath("PurgexDialogTest Drivers").c_str(), "UninstallString",
                           SimCommand(log_, "drivers", 0));
    }
    ModalScript script_;
    std::string log_;
};

TEST_F(PurgexDialogs, WizardPageShowsTheTextsAndPresetsFromTheEntries) {
    struct Case {
        bool utilities, drivers;
    } cases[] = {{false, false}, {true, false}, {false, true}, {true, true}};
    for (const Case &c : cases) {
        TearDown();
        RegisterEntries(c.utilities, c.drivers);
        WizardDialog wizard;
        INT_PTR result = script_.Run(wizard, {[&] {
            HWND page = wizard.m_hWnd;
            EXPECT_EQ(WindowText(page), "Purgex Test Wizard");
            EXPECT_EQ(ItemText(page, IDOK), "Go");
            EXPECT_EQ(ItemText(page, IDCANCEL), "Stop");
            EXPECT_EQ(ItemText(page, IDC_PAGE_TEXT), "First tip.\n\nSecond tip.");
            EXPECT_EQ(ItemText(page, IDC_REMOVE_UTILITIES), "Utilities");
            EXPECT_EQ(ItemText(page, IDC_REMOVE_DRIVERS), "Drivers");
            EXPECT_EQ(IsDlgButtonChecked(page, IDC_REMOVE_UTILITIES), c.utilities ? 1u : 0u);
            EXPECT_EQ(IsDlgButtonChecked(page, IDC_REMOVE_DRIVERS), c.drivers ? 1u : 0u);
            EXPECT_EQ(theApp.utilitiesOption, c.utilities ? 1 : 0);
            EXPECT_EQ(theApp.driversOption, c.drivers ? 1 : 0);
            ClickButtonNow(page, IDCANCEL);
        }});
        EXPECT_EQ(result, IDCANCEL);
    }
    EXPECT_EQ(ReadTextFile(log_), "") << "the page only looks; Cancel runs nothing";
}

// Keys 2 and 3 with their empty line share one 256-byte text.
TEST_F(PurgexDialogs, TipsLongerThanThePageTextBufferAreCut) {
    struct Case {
        size_t tip1, tip2;
    } cases[] = {{126, 127}, {127, 127}, {200, 200}, {255, 255}};
    for (const Case &c : cases) {
        std::string tip1(c.tip1, 'a'), tip2(c.tip2, 'b');
        lstrcpynA(theApp.config.page1Tip1, tip1.c_str(), 256);
        lstrcpynA(theApp.config.page1Tip2, tip2.c_str(), 256);
        WizardDialog wizard;
        script_.Run(wizard, {[&] {
            std::string expected = (tip1 + "\n\n" + tip2).substr(0, 255);
            EXPECT_EQ(ItemText(wizard.m_hWnd, IDC_PAGE_TEXT), expected) << c.tip1 << " + " << c.tip2;
            ClickButtonNow(wizard.m_hWnd, IDCANCEL);
        }});
    }
}

TEST_F(PurgexDialogs, ClicksKeepEachOptionEqualToItsBox) {
    RegisterEntries(true, false);
    WizardDialog wizard;
    script_.Run(wizard, {[&] {
        HWND page = wizard.m_hWnd;
        struct Step {
            int id;
            int utilities, drivers;
        } steps[] = {{IDC_REMOVE_UTILITIES, 0, 0}, {IDC_REMOVE_DRIVERS, 0, 1}, {IDC_REMOVE_UTILITIES, 1, 1},
                     {IDC_REMOVE_DRIVERS, 1, 0}};
        for (const Step &s : steps) {
            ClickButtonNow(page, s.id);
            EXPECT_EQ(theApp.utilitiesOption, s.utilities);
            EXPECT_EQ(theApp.driversOption, s.drivers);
            EXPECT_EQ(IsDlgButtonChecked(page, IDC_REMOVE_UTILITIES), (UINT)s.utilities);
            EXPECT_EQ(IsDlgButtonChecked(page, IDC_REMOVE_DRIVERS), (UINT)s.drivers);
        }
        ClickButtonNow(page, IDCANCEL);
    }});
}

TEST_F(PurgexDialogs, StartClosesTheTitledWindowAndRunsTheChosenUninstallersInOrder) {
    RegisterEntries(true, true);
    TestWindow tray("PurgexTestTray", "Purgex Test Tray");
    lstrcpynA(theApp.config.remoteTitleName, "Purgex Test Tray", 256);
    WizardDialog wizard;
    INT_PTR result = script_.Run(wizard, {[&] { ClickButtonNow(wizard.m_hWnd, IDOK); }});
    EXPECT_EQ(result, IDOK);
    EXPECT_FALSE(IsWindow(tray.hwnd())) << "WM_CLOSE reaches the window with the configured title";

    std::string log = ReadTextFile(log_);
    size_t utilitiesEnd = log.find("end utilities");
    size_t driversStart = log.find("start drivers");
    ASSERT_NE(utilitiesEnd, std::string::npos) << log;
    ASSERT_NE(driversStart, std::string::npos) << log;
    EXPECT_LT(utilitiesEnd, driversStart) << log;
    EXPECT_NE(log.find("end drivers"), std::string::npos) << "Start returns only after the last uninstaller";
}

// Whether each chosen uninstaller could start decides the finish text.
TEST_F(PurgexDialogs, StartNotesAChosenUninstallerThatCouldNotStart) {
    struct Case {
        const char *what;
        const char *utilitiesCommand; // null: no entry at all
        int notStarted;
    } cases[] = {
        {"both started", "", 0},
        {"no such program", "Z:\\no\\such\\uninstall.exe", 1},
        {"no entry", nullptr, 1},
    };
    for (const Case &c : cases) {
        TearDown();
        RegisterEntries(c.utilitiesCommand != nullptr, true);
        if (c.utilitiesCommand && c.utilitiesCommand[0])
            WriteRegString(HKEY_LOCAL_MACHINE, EntryPath("PurgexDialogTest Utilities").c_str(), "UninstallString",
                           c.utilitiesCommand);
        theApp.uninstallNotStarted = 7;
        WizardDialog wizard;
        script_.Run(wizard, {[&] {
            if (!IsDlgButtonChecked(wizard.m_hWnd, IDC_REMOVE_UTILITIES)) ClickButtonNow(wizard.m_hWnd, IDC_REMOVE_UTILITIES);
            ClickButtonNow(wizard.m_hWnd, IDOK);
        }});
        EXPECT_EQ(theApp.uninstallNotStarted, c.notStarted) << c.what;
    }
    EXPECT_EQ(LinesWith(ReadTextFile(log_), "end drivers").size(), 3u) << "the other one ran each time";
}

TEST_F(PurgexDialogs, StartWithAnEmptyTitleClosesNothing) {
    RegisterEntries(true, true);
    // The first untitled top-level window: what a search for "" would find.
    TestWindow untitled("PurgexTestUntitled", "");
    WizardDialog wizard;
    INT_PTR result = script_.Run(wizard, {[&] {
        ClickButtonNow(wizard.m_hWnd, IDC_REMOVE_UTILITIES);
        ClickButtonNow(wizard.m_hWnd, IDC_REMOVE_DRIVERS);
        ClickButtonNow(wizard.m_hWnd, IDOK);
    }});
    EXPECT_EQ(result, IDOK);
    EXPECT_TRUE(IsWindow(untitled.hwnd()));
    EXPECT_EQ(ReadTextFile(log_), "") << "both options were cleared";
}

TEST_F(PurgexDialogs, FinishTextFollowsTheOptions) {
    struct Case {
        int utilities, drivers, notStarted;
        const char *text;
    } cases[] = {
        {0, 0, 0, "Nothing was removed."},
        {1, 0, 0, "Something was removed."},
        {0, 1, 0, "Something was removed."},
        {1, 1, 0, "Something was removed."},
        {1, 0, 1, "Not everything was removed."},
        {0, 1, 1, "Not everything was removed."},
        {1, 1, 1, "Not everything was removed."},
    };
    for (const Case &c : cases) {
        theApp.utilitiesOption = c.utilities;
        theApp.driversOption = c.drivers;
        theApp.uninstallNotStarted = c.notStarted;
        FinishDialog finish;
        INT_PTR result = script_.Run(finish, {[&] {
            HWND page = finish.m_hWnd;
            EXPECT_EQ(ItemText(page, IDC_FINISH_TEXT), c.text);
            EXPECT_EQ(WindowText(page), "Purgex Test Wizard");
            EXPECT_EQ(ItemText(page, IDOK), "Fine");
            EXPECT_EQ(ItemText(page, IDCANCEL), "Stop");
            EXPECT_FALSE(IsWindowVisible(GetDlgItem(page, IDCANCEL)));
            ClickButtonNow(page, IDOK);
        }});
        EXPECT_EQ(result, IDOK);
    }
}

TEST_F(PurgexDialogs, FinishPageOffersAboutInItsSystemMenuAndItsIcon) {
    FinishDialog finish;
    HWND about = NULL;
    script_.Run(finish, {
        [&] {
            HWND page = finish.m_hWnd;
            HMENU menu = GetSystemMenu(page, FALSE);
            int count = GetMenuItemCount(menu);
            ASSERT_GE(count, 2);
            MENUITEMINFOA separator = {};
            separator.cbSize = sizeof separator;
            separator.fMask = MIIM_FTYPE;
            GetMenuItemInfoA(menu, count - 2, TRUE, &separator);
            EXPECT_TRUE(separator.fType & MFT_SEPARATOR);
            char text[64] = "";
            GetMenuStringA(menu, count - 1, text, sizeof text, MF_BYPOSITION);
            EXPECT_STREQ(text, "&About Uninstallation...");
            EXPECT_EQ(GetMenuItemID(menu, count - 1), (UINT)IDM_ABOUTBOX);

            HICON icon = (HICON)SendMessageA(page, WM_GETICON, ICON_BIG, 0);
            EXPECT_NE(icon, (HICON)NULL);
            EXPECT_EQ((HICON)SendMessageA(page, WM_GETICON, ICON_SMALL, 0), icon);
            EXPECT_EQ((HICON)SendMessageA(page, WM_QUERYDRAGICON, 0, 0), icon);
            // Opens the About box; the next steps run inside its modal loop.
            SendMessageA(page, WM_SYSCOMMAND, IDM_ABOUTBOX | 0x000F, 0);
            EXPECT_FALSE(IsWindow(about)) << "the About box has ended when the command returns";
        },
        [&] {
            about = FindWindowA("#32770", "About Uninstallation");
            ASSERT_NE(about, (HWND)NULL);
            EXPECT_EQ(GetWindow(about, GW_OWNER), finish.m_hWnd) << "modal to the page it was opened from";
            EXPECT_FALSE(IsWindowEnabled(finish.m_hWnd));
            ClickButtonNow(about, IDOK);
        },
        [&] {
            // Other system commands keep their usual meaning.
            SendMessageA(finish.m_hWnd, WM_SYSCOMMAND, SC_MINIMIZE, 0);
            EXPECT_TRUE(IsIconic(finish.m_hWnd));
            RedrawWindow(finish.m_hWnd, NULL, NULL, RDW_INVALIDATE | RDW_UPDATENOW);
            SendMessageA(finish.m_hWnd, WM_SYSCOMMAND, SC_CLOSE, 0);
        },
    });
}

// A window that keeps itself open when asked to close.
LRESULT CALLBACK RefusingProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
    if (message == WM_CLOSE) return 0;
    return DefWindowProcA(window, message, wParam, lParam);
}

TEST(PurgexCloseRequest, EveryWindowOfTheTitleIsAskedInBoundedRounds) {
    WNDCLASSA wc = {};
    wc.lpfnWndProc = RefusingProc;
    wc.hInstance = GetModuleHandleA(NULL);
    wc.lpszClassName = "PurgexTestRefusing";
    RegisterClassA(&wc);
    const char kTitle[] = "Purgex Close Test";
    struct Case {
        const char *what;
        int closing, refusing;
        const char *otherTitle; // a window that must be left alone
        int sent;
    } cases[] = {
        {"none", 0, 0, nullptr, 0},
        {"one", 1, 0, nullptr, 1},
        {"three", 3, 0, nullptr, 3},
        {"more than asked in one round", 20, 0, nullptr, 20},
        {"one that refuses, asked once per round", 1, 1, nullptr, 1 + 3},
        {"a title that only begins with it", 0, 0, "Purgex Close Test 2", 0},
    };
    for (const Case &c : cases) {
        std::vector<std::unique_ptr<TestWindow>> closing;
        for (int i = 0; i < c.closing; ++i) closing.emplace_back(new TestWindow("PurgexTestClosing", kTitle));
        std::vector<HWND> refusing;
        for (int i = 0; i < c.refusing; ++i)
            refusing.push_back(CreateWindowExA(0, wc.lpszClassName, kTitle, WS_OVERLAPPED, 0, 0, 50, 50, NULL, NULL,
                                               wc.hInstance, NULL));
        std::unique_ptr<TestWindow> other;
        if (c.otherTitle) other.reset(new TestWindow("PurgexTestOther", c.otherTitle));

        EXPECT_EQ(CloseWindowsTitled(kTitle), c.sent) << c.what;
        for (auto &w : closing) EXPECT_FALSE(IsWindow(w->hwnd())) << c.what;
        for (HWND w : refusing) {
            EXPECT_TRUE(IsWindow(w)) << c.what;
            DestroyWindow(w);
        }
        if (other) {
            EXPECT_TRUE(IsWindow(other->hwnd())) << c.what;
        }
    }
    TestWindow untitled("PurgexTestClosing", "");
    EXPECT_EQ(CloseWindowsTitled(""), 0) << "an empty title asks nothing";
    EXPECT_TRUE(IsWindow(untitled.hwnd()));
}

} // namespace
