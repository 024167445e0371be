// The key-map editor with the real tray program: a program added from the
// open windows, a key chosen by pressing it on the remote, its action set
// through the dialog's controls and saved; the running Telvix then gives the
// key to that program, and the lines of the file nobody touched are as they were.
#include <gtest/gtest.h>
#include <windows.h>
#include <commctrl.h>
#include <string>
#include "res/remotekeys_resource.h"
#include "tests/support/process.h"
#include "tests/support/sim_card.h"
#include "tests/support/telvix_session.h"
#include "tests/support/window_capture.h"

namespace {

const char kEditorClass[] = "Corvane Remote Keys";
const char kPlayerClass[] = "TelvixSimPlayer";

std::string ItemText(HWND dialog, int id) {
    char text[256] = "";
    GetDlgItemTextA(dialog, id, text, sizeof text);
    return text;
}

} // namespace

TEST(EditorProcess, AKeyChosenOnTheRemoteAndSetInTheDialogReachesTheProgramWithoutRestartAndKeepsTheFile) {
    StrayStandIns stray;
    SimCard card;
    TelvixSession session;
    CloseStrayWindows(kPlayerClass);
    CloseStrayWindows(kEditorClass);
    std::string appData = ScratchDir("editor_appdata");
    std::string userFile = appData + "\\Corvane Remote Control\\KeyMaps.ini";
    CreateDirectoryA((appData + "\\Corvane Remote Control").c_str(), NULL);
    const std::string original = "; My remote keys\r\n"
                                 "[Notes]\r\n"
                                 "Class=Notepad   ; the editor's window\r\n"
                                 "Key29=post:Space\r\n"
                                 "\r\n"
                                 "; the end\r\n";
    WriteTextFile(userFile, original);
    DeleteFileA((BinDir() + "\\KeyMaps.ini").c_str());
    char savedAppData[MAX_PATH] = "";
    GetEnvironmentVariableA("APPDATA", savedAppData, sizeof savedAppData);
    SetEnvironmentVariableA("APPDATA", appData.c_str()); // Telvix and the editor inherit it
    struct Restore {
        const char *value;
        ~Restore() { SetEnvironmentVariableA("APPDATA", value[0] ? value : NULL); }
    } restore{savedAppData};

    ASSERT_TRUE(card.Register("Philips Cap713x Video Capture"));
    ASSERT_TRUE(session.StartTelvix());
    ASSERT_TRUE(session.WaitForTrayWindow());
    std::string player = session.appsDir() + "\\PlayerSim.exe";
    ASSERT_TRUE(CopyOneFile(BinDir() + "\\sim\\tvapp_sim.exe", player));
    ASSERT_TRUE(session.processes().Start("\"" + player + "\"", session.appsDir()));
    HWND playerWindow = WaitForWindow(kPlayerClass, NULL);
    ASSERT_TRUE(playerWindow);
    ASSERT_TRUE(session.processes().Start("\"" + BinDir() + "\\RemoteKeys.exe\""));
    HWND editor = WaitForWindow(kEditorClass, NULL);
    ASSERT_TRUE(editor);

    // The player from the list of open windows, reached with the arrow key.
    PostMessageA(editor, WM_COMMAND, IDC_ADD, 0);
    HWND add = WaitForDialog("Add program");
    ASSERT_TRUE(add);
    HWND windows = GetDlgItem(add, IDC_WINDOWS);
    for (int down = 0; down < 30 && ItemText(add, IDC_PROCESS) != "PlayerSim.exe"; ++down) {
        PostMessageA(windows, WM_KEYDOWN, VK_DOWN, 0);
        WaitUntil([&] { return !ItemText(add, IDC_PROCESS).empty(); }, 2000);
    }
    ASSERT_EQ(ItemText(add, IDC_PROCESS), "PlayerSim.exe");
    EXPECT_EQ(ItemText(add, IDC_CLASS), kPlayerClass);
    PostMessageA(GetDlgItem(add, IDOK), BM_CLICK, 0, 0);
    ASSERT_TRUE(WaitForNoWindow("#32770", "Add program"));

    // VOL+ pressed on the remote: Telvix tells the editor, which chooses it.
    ASSERT_TRUE(card.Press("KEY27"));
    EXPECT_TRUE(WaitUntil([&] { return ItemText(editor, IDC_LAST_KEY).find("VOL+") != std::string::npos; }, 20000))
        << ItemText(editor, IDC_LAST_KEY);

    // Its action: a key to the program, Space, typed into the hot-key control.
    PostMessageA(editor, WM_COMMAND, IDC_CHANGE, 0);
    HWND action = WaitForDialog("Key action");
    ASSERT_TRUE(action);
    EXPECT_EQ(ItemText(action, IDC_KEY_NAME), "VOL+ for PlayerSim");
    SendDlgItemMessageA(action, IDC_KIND, CB_SETCURSEL, 1, 0);
    SendMessageA(action, WM_COMMAND, MAKEWPARAM(IDC_KIND, CBN_SELCHANGE), (LPARAM)GetDlgItem(action, IDC_KIND));
    EXPECT_TRUE(WaitUntil([&] { return IsWindowVisible(GetDlgItem(action, IDC_HOTKEY)) != 0; }));
    SendDlgItemMessageA(action, IDC_HOTKEY, HKM_SETHOTKEY, VK_SPACE, 0);
    PostMessageA(GetDlgItem(action, IDOK), BM_CLICK, 0, 0);
    ASSERT_TRUE(WaitForNoWindow("#32770", "Key action"));
    PostMessageA(editor, WM_COMMAND, IDC_SAVE, 0);
    EXPECT_TRUE(WaitUntil([&] { return ReadTextFile(userFile).find("Key27=") != std::string::npos; }));
    EXPECT_TRUE(SaveWindowPng(editor, ScreenshotDir() + "\\remote-keys.png"));

    // The program in front gets it from the running Telvix.
    SetForegroundWindow(playerWindow);
    ASSERT_TRUE(WaitUntil([&] { return GetForegroundWindow() == playerWindow; }, 10000));
    // One press a second: presses closer together read as one key held, and
    // Telvix may still have the file as it was before the save.
    DWORD pressed = GetTickCount() - 1000;
    EXPECT_TRUE(WaitUntil([&] {
        if (GetTickCount() - pressed >= 1000) {
            card.Press("KEY27");
            pressed = GetTickCount();
        }
        for (const std::string &line : LinesWith(session.StandInLog(), "Player "))
            if (line.find(" WM_KEYDOWN 0x20 ") != std::string::npos) return true;
        return false;
    }, 30000)) << session.StandInLog();

    std::string saved = ReadTextFile(userFile);
    EXPECT_EQ(saved.compare(0, original.size(), original), 0) << saved;
    EXPECT_EQ(saved.substr(original.size()), "\r\n[PlayerSim]\r\nProcess=PlayerSim.exe\r\nKey27=post:VK_SPACE\r\n");

    // Saved: it closes without asking.
    PostMessageA(editor, WM_CLOSE, 0, 0);
    EXPECT_TRUE(WaitForNoWindow(kEditorClass, NULL));
    CloseStrayWindows(kPlayerClass);
}
