// The real tray program as a process: start-up, single instance, exit paths,
// the select commands and the missing-device path.
#include <gtest/gtest.h>
#include <windows.h>
#include <shellapi.h>
#include "tests/support/dialog_items.h"
#include "tests/support/process.h"
#include "tests/support/registry_fixture.h"
#include "tests/support/telvix_session.h"
#include "tests/support/test_windows.h"

namespace {

int CountTopLevel(const char *className) {
    int n = 0;
    for (HWND w = FindWindowExA(NULL, NULL, className, NULL); w; w = FindWindowExA(NULL, w, className, NULL)) ++n;
    return n;
}

// A window in this process that logs what it is sent, instead of closing.
struct RecordingWindow {
    static std::vector<std::string> &Log() {
        static std::vector<std::string> log;
        return log;
    }
    static LRESULT CALLBACK Proc(HWND w, UINT m, WPARAM wp, LPARAM lp) {
        std::string who = WindowText(w).substr(0, 12);
        if (m == WM_COMMAND) Log().push_back(who + " WM_COMMAND " + std::to_string(wp));
        if (m == WM_CLOSE) { Log().push_back(who + " WM_CLOSE"); return 0; }
        if (m == WM_DESTROY) { Log().push_back(who + " WM_DESTROY"); return 0; }
        return DefWindowProcA(w, m, wp, lp);
    }
    HWND window;
    explicit RecordingWindow(const char *title) {
        WNDCLASSA wc = {};
        wc.lpfnWndProc = Proc;
        wc.lpszClassName = "TelvixRecordingWindow";
        RegisterClassA(&wc);
        window = CreateWindowExA(0, wc.lpszClassName, title, WS_OVERLAPPED, 0, 0, 50, 50, NULL, NULL, NULL, NULL);
    }
    ~RecordingWindow() {
        SetWindowLongPtrA(window, GWLP_WNDPROC, (LONG_PTR)DefWindowProcA);
        DestroyWindow(window);
    }
};

// Whether the shell's tray holds Telvix's icon, as any program may ask it: an
// empty modification succeeds only for an icon the tray has.
bool TrayHoldsIcon(HWND tray) {
    NOTIFYICONDATAA data = {};
    data.cbSize = NOTIFYICONDATAA_V1_SIZE;
    data.hWnd = tray;
    data.uID = 10;
    return Shell_NotifyIconA(NIM_MODIFY, &data) != FALSE;
}

} // namespace

TEST(TelvixProcess, FirstRunCreatesSettingsAndAHiddenTrayWindow) {
    TelvixSession session("first_run");
    ASSERT_TRUE(session.StartTelvix());
    HWND tray = session.WaitForTrayWindow();
    ASSERT_TRUE(tray);
    EXPECT_EQ(WindowText(tray), "Corvane Remote Control");
    EXPECT_FALSE(IsWindowVisible(tray));
    DWORD value = 0;
    ASSERT_TRUE(WaitUntil([&] { return ReadRegDword(HKEY_LOCAL_MACHINE, kSettingsKey, "AlwaysRemoteOff", &value); }));
    EXPECT_EQ(value, 0u);
    ASSERT_TRUE(ReadRegDword(HKEY_LOCAL_MACHINE, kSettingsKey, "DefaultTVAPP", &value));
    EXPECT_EQ(value, 2u);
    DWORD code = 99;
    ASSERT_TRUE(session.CloseTelvix(&code)) << "WM_CLOSE ends it";
    EXPECT_EQ(code, 0u);
}

TEST(TelvixProcess, ASecondInstanceAndATarnelWindowEachStopStartUpWithZero) {
    TelvixSession session("second_instance");
    ASSERT_TRUE(session.StartTelvix());
    ASSERT_TRUE(session.WaitForTrayWindow());
    HANDLE second = session.processes().Start("\"" + BinDir() + "\\Telvix.exe\"");
    DWORD code = 99;
    ASSERT_TRUE(WaitExit(second, 30000, &code));
    EXPECT_EQ(code, 0u);
    EXPECT_EQ(CountTopLevel(kTrayClass), 1);
    ASSERT_TRUE(session.CloseTelvix(&code));

    TestWindow tarnel("Tarnel Remote Control", "");
    HANDLE blocked = session.StartTelvix();
    code = 99;
    ASSERT_TRUE(WaitExit(blocked, 30000, &code));
    EXPECT_EQ(code, 0u);
    EXPECT_EQ(CountTopLevel(kTrayClass), 0) << "it stops before any window exists";
}

// Started at the same instant, the window checks alone cannot tell: no copy
// has its window yet when the others look.
TEST(TelvixProcess, OfManySimultaneousStartsExactlyOneRuns) {
    const int kStarts = 8;
    TelvixSession session("simultaneous");
    std::vector<HANDLE> copies;
    for (int i = 0; i < kStarts; ++i)
        copies.push_back(session.processes().Start("\"" + BinDir() + "\\Telvix.exe\"", BinDir(), true));
    session.processes().ResumeAll();
    auto running = [&] {
        int n = 0;
        for (HANDLE h : copies) n += WaitForSingleObject(h, 0) == WAIT_TIMEOUT;
        return n;
    };
    ASSERT_TRUE(WaitUntil([&] { return running() <= 1; }, 60000)) << running() << " copies still run";
    ASSERT_TRUE(session.WaitForTrayWindow());
    EXPECT_EQ(running(), 1);
    EXPECT_EQ(CountTopLevel(kTrayClass), 1);
    for (HANDLE h : copies) {
        DWORD code = 99;
        if (GetExitCodeProcess(h, &code) && code != STILL_ACTIVE) {
            EXPECT_EQ(code, 0u);
        }
    }
}

TEST(TelvixProcess, AnotherKindOfObjectUnderTheInstanceNameDoesNotKeepItFromStarting) {
    HANDLE squatter = CreateEventA(NULL, TRUE, FALSE, "Corvane Remote Control Instance");
    ASSERT_TRUE(squatter);
    TelvixSession session("instance_name_taken");
    session.StartTelvix();
    EXPECT_TRUE(session.WaitForTrayWindow()) << "the window checks decide alone";
    CloseHandle(squatter);
}

TEST(TelvixProcess, ExitCommandsAndAlwaysRemoteOffEndWithZero) {
    for (WPARAM command : {1201, 31}) {
        TelvixSession session("exit_commands");
        session.StartTelvix();
        HWND tray = session.WaitForTrayWindow();
        ASSERT_TRUE(tray);
        PostMessageA(tray, WM_COMMAND, command, 0);
        DWORD code = 99;
        ASSERT_TRUE(WaitExit(session.telvix(), 30000, &code)) << command;
        EXPECT_EQ(code, 0u);
    }
    TelvixSession session("always_off");
    TelvixSession::WriteSettings(2, 1);
    session.StartTelvix();
    DWORD code = 99;
    ASSERT_TRUE(WaitExit(session.telvix(), 30000, &code));
    EXPECT_EQ(code, 0u);
    EXPECT_EQ(CountTopLevel(kTrayClass), 0);
}

TEST(TelvixProcess, CompetingProgramsAreAskedToCloseAndTheirShortcutDeleted) {
    char windowsDir[MAX_PATH];
    GetWindowsDirectoryA(windowsDir, sizeof windowsDir);
    std::string folder = std::string(windowsDir) + "\\Start Menu";
    CreateDirectoryA(folder.c_str(), NULL);
    CreateDirectoryA((folder += "\\Programs").c_str(), NULL);
    CreateDirectoryA((folder += "\\StartUp").c_str(), NULL);
    std::string shortcut = folder + "\\InterVideo WinCinema Manager.lnk";
    WriteTextFile(shortcut, "link");
    ASSERT_NE(GetFileAttributesA(shortcut.c_str()), INVALID_FILE_ATTRIBUTES);

    RecordingWindow::Log().clear();
    RecordingWindow manager("InterVideo WinCinema Manager 2.0");
    RecordingWindow remote("Tuner Remote Control");
    TelvixSession session("competitors");
    session.StartTelvix();
    ASSERT_TRUE(session.WaitForTrayWindow());
    ASSERT_TRUE(WaitUntil([] { return RecordingWindow::Log().size() >= 5; }));
    EXPECT_EQ(RecordingWindow::Log(), (std::vector<std::string>{
                                          "InterVideo W WM_COMMAND 57665", "InterVideo W WM_CLOSE",
                                          "InterVideo W WM_DESTROY", "Tuner Remote WM_CLOSE", "Tuner Remote WM_DESTROY"}));
    EXPECT_EQ(GetFileAttributesA(shortcut.c_str()), INVALID_FILE_ATTRIBUTES);
}

TEST(TelvixProcess, SelectCommandsLaunchFromTheInstallFolderAndCloseTheOthers) {
    TelvixSession session("select with blanks"); // the install path holds blanks
    session.InstallStandIn(2);
    session.StartTelvix();
    HWND tray = session.WaitForTrayWindow();
    ASSERT_TRUE(tray);
    PostMessageA(tray, WM_COMMAND, 1102, 0);
    ASSERT_TRUE(session.WaitForLog("PowerVCR")) << "PVCR.EXE started from " << session.appsDir();
    ASSERT_TRUE(WaitForWindow("PowerVCR II Taurus", NULL));
    // Selecting Home Theater (not installed) closes PowerVCR II with Ctrl+X.
    PostMessageA(tray, WM_COMMAND, 1101, 0);
    EXPECT_TRUE(session.WaitForLog("close chord Ctrl+X")) << session.StandInLog();
    EXPECT_TRUE(WaitForNoWindow("PowerVCR II Taurus", NULL));
    EXPECT_EQ(session.CountLog("started"), 1);
}

TEST(TelvixProcess, WithoutACaptureDeviceTheFirstClickReportsItAndEnds) {
    TelvixSession session("no_device");
    session.StartTelvix();
    HWND tray = session.WaitForTrayWindow();
    ASSERT_TRUE(tray);
    PostMessageA(tray, 1001, 0, WM_MOUSEMOVE); // only refreshes the icon
    PostMessageA(tray, 1001, 0, WM_LBUTTONDOWN);
    HWND box = WaitForWindow("#32770", "Corvane Remote Control");
    ASSERT_TRUE(box) << "message box";
    EXPECT_EQ(ItemText(box, 0xFFFF), "Can't find the Video Capture Filter.\n\nPlease check your hardware or drivers. ");
    PostMessageA(box, WM_COMMAND, IDOK, 0);
    DWORD code = 99;
    ASSERT_TRUE(WaitExit(session.telvix(), 30000, &code));
    EXPECT_EQ(code, 0u);
}

TEST(TelvixProcess, ARestartedShellGetsTheTrayIconBack) {
    TelvixSession session("taskbar_created");
    session.StartTelvix();
    HWND tray = session.WaitForTrayWindow();
    ASSERT_TRUE(tray);
    if (!WaitUntil([&] { return TrayHoldsIcon(tray); }, 10000)) GTEST_SKIP() << "this Wine shell keeps no tray icons";
    // A restarted shell's tray knows no icon: take it away, as the crash did.
    NOTIFYICONDATAA gone = {};
    gone.cbSize = NOTIFYICONDATAA_V1_SIZE;
    gone.hWnd = tray;
    gone.uID = 10;
    ASSERT_TRUE(Shell_NotifyIconA(NIM_DELETE, &gone));
    ASSERT_FALSE(TrayHoldsIcon(tray));
    // What the new shell announces to every top-level window.
    PostMessageA(tray, RegisterWindowMessageA("TaskbarCreated"), 0, 0);
    EXPECT_TRUE(WaitUntil([&] { return TrayHoldsIcon(tray); }));
    DWORD code = 99;
    EXPECT_TRUE(session.CloseTelvix(&code));
    EXPECT_EQ(code, 0u);
}
