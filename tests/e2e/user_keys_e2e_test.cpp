// The user's key maps through the real tray program: a stand-in of today's
// programs (class "TelvixSimPlayer") in front gets what KeyMaps.ini maps, in
// each form, from the machine's file beside Telvix.exe and the user's under
// %APPDATA%, edited while Telvix runs.
#include <gtest/gtest.h>
#include <string>
#include "platform/product_texts.h"
#include "tests/support/process.h"
#include "tests/support/registry_fixture.h"
#include "tests/support/sim_card.h"
#include "tests/support/telvix_session.h"
#include "tests/support/test_windows.h"

namespace {

const char kPlayerClass[] = "TelvixSimPlayer";

bool CursorMovedFrom(POINT from) {
    POINT p;
    return GetCursorPos(&p) && (p.x != from.x || p.y != from.y);
}

class UserKeysProcess : public ::testing::Test {
protected:
    StrayStandIns stray;
    SimCard card;
    TelvixSession session;
    std::string machineFile = BinDir() + "\\KeyMaps.ini";
    std::string appData = ScratchDir("user_keys_appdata");
    std::string userFile = appData + "\\Corvane Remote Control\\KeyMaps.ini";
    char savedAppData[MAX_PATH] = "";
    HWND player = NULL;

    void SetUp() override {
        CloseStrayWindows(kPlayerClass);
        DeleteFileA(machineFile.c_str());
        CreateDirectoryA((appData + "\\Corvane Remote Control").c_str(), NULL);
        DeleteFileA(userFile.c_str());
        // Telvix inherits it: its user's files are this test's.
        GetEnvironmentVariableA("APPDATA", savedAppData, sizeof savedAppData);
        SetEnvironmentVariableA("APPDATA", appData.c_str());
    }
    void TearDown() override {
        session.processes().KillAll();
        DeleteFileA(machineFile.c_str());
        DeleteFileA(userFile.c_str());
        SetEnvironmentVariableA("APPDATA", savedAppData[0] ? savedAppData : NULL);
        CloseStrayWindows(kPlayerClass);
    }

    void StartTelvixAndPlayer() {
        ASSERT_TRUE(card.Register("Philips Cap713x Video Capture"));
        ASSERT_TRUE(session.StartTelvix());
        ASSERT_TRUE(session.WaitForTrayWindow());
        ASSERT_TRUE(card.WaitForPolls(3));
        std::string exe = session.appsDir() + "\\PlayerSim.exe";
        ASSERT_TRUE(CopyOneFile(BinDir() + "\\sim\\tvapp_sim.exe", exe));
        ASSERT_TRUE(session.processes().Start("\"" + exe + "\"", session.appsDir()));
        player = WaitForWindow(kPlayerClass, NULL);
        ASSERT_TRUE(player);
        ASSERT_TRUE(WaitUntil([&] { return GetForegroundWindow() == player; }, 10000));
    }

    // The player's log lines "Player <tick> <event>..." that begin with `event`.
    int PlayerEvents(const std::string &event) const {
        int n = 0;
        for (const std::string &line : LinesWith(session.StandInLog(), "Player ")) {
            size_t afterTick = line.find(' ', 7);
            if (line.compare(0, 7, "Player ") == 0 && afterTick != std::string::npos &&
                line.compare(afterTick + 1, event.size(), event) == 0)
                ++n;
        }
        return n;
    }

    // Presses `key` and waits until the player logged one more `event`.
    void PressAndExpect(const char *key, const std::string &event) {
        SCOPED_TRACE(key);
        int before = PlayerEvents(event);
        ASSERT_TRUE(card.Press(key));
        EXPECT_TRUE(WaitUntil([&] { return PlayerEvents(event) > before; }, 20000)) << session.StandInLog();
    }

    // Presses `key`, then a pointer key: once the pointer moved, the first
    // key was routed too, and the player must have logged no new `event`
    // (named, as earlier keys' last messages may still arrive).
    void PressAndExpectNothing(const char *key, const std::string &event) {
        SCOPED_TRACE(key);
        int before = PlayerEvents(event);
        ASSERT_TRUE(card.Press(key));
        POINT from;
        ASSERT_TRUE(SetCursorPos(400, 300));
        GetCursorPos(&from);
        ASSERT_TRUE(card.Press("6"));
        ASSERT_TRUE(WaitUntil([&] { return CursorMovedFrom(from); }, 20000));
        EXPECT_EQ(PlayerEvents(event), before) << session.StandInLog();
    }
};

const char kPlayerMap[] = "[Player]\r\n"
                          "Class=TelvixSimPlayer\r\n"
                          "Key29=post:Space\r\n"
                          "Key26=chord:Ctrl+Right\r\n"
                          "Key22=app:MEDIA_PLAY_PAUSE\r\n"
                          "Key27=post:VK_NOPE\r\n"    // not understood: skipped
                          "Key31=\x01\x02\x7F\r\n"   // binary: skipped
                          "Key99=post:A\r\n";        // no such key: skipped

} // namespace

TEST_F(UserKeysProcess, EachFormReachesTheProgramInFrontAndNothingReachesItMinimised) {
    WriteTextFile(machineFile, kPlayerMap);
    ASSERT_NO_FATAL_FAILURE(StartTelvixAndPlayer());
    PressAndExpect("KEY29", "WM_KEYDOWN 0x20 0x00390001");
    PressAndExpect("KEY29", "WM_KEYUP 0x20 0xC0390001");
    PressAndExpect("KEY26", "WM_KEYDOWN 0x27 0x014D0001 ctrl=1");
    PressAndExpect("KEY22", "WM_APPCOMMAND 14");
    PressAndExpectNothing("KEY27", "WM_KEYDOWN"); // its line was skipped

    // An unmapped number key still works the pointer while the player is in front.
    ASSERT_TRUE(SetCursorPos(400, 300));
    ASSERT_TRUE(card.Press("4"));
    EXPECT_TRUE(WaitUntil([] {
        POINT p;
        return GetCursorPos(&p) && p.x == 399 && p.y == 300;
    }));

    // Minimised and behind another window, the player gets nothing.
    TestWindow other("UserKeysOther", "Other window", true);
    ShowWindow(player, SW_MINIMIZE);
    SetForegroundWindow(other.hwnd());
    ASSERT_TRUE(WaitUntil([&] { return GetForegroundWindow() == other.hwnd() && IsIconic(player); }, 10000));
    PressAndExpectNothing("KEY29", "WM_KEYDOWN");
    PressAndExpectNothing("KEY22", "WM_APPCOMMAND");
}

TEST_F(UserKeysProcess, AnEditedFileIsUsedWithoutRestartAndTheUsersSectionReplacesTheMachines) {
    WriteTextFile(machineFile, kPlayerMap);
    ASSERT_NO_FATAL_FAILURE(StartTelvixAndPlayer());
    PressAndExpect("KEY29", "WM_KEYDOWN 0x20");

    // The user's [Player] maps Play to Enter and nothing else: the machine's
    // chord for CH+ is gone with the machine's section.
    WriteTextFile(userFile, "[player]\r\nProcess=PlayerSim.exe\r\nKey29=post:Enter\r\n");
    // Read again within a second of the change: press until it shows.
    EXPECT_TRUE(WaitUntil([&] {
        card.Press("KEY29");
        return PlayerEvents("WM_KEYDOWN 0x0D") > 0;
    }, 30000)) << session.StandInLog();
    PressAndExpectNothing("KEY26", "WM_KEYDOWN 0x27");

    DeleteFileA(userFile.c_str());
    EXPECT_TRUE(WaitUntil([&] {
        card.Press("KEY26");
        return PlayerEvents("WM_KEYDOWN 0x27") > 0;
    }, 30000)) << "the machine's section is back: " << session.StandInLog();
}

TEST_F(UserKeysProcess, TheDisplayShowsAKeyOverTheProgramWithoutTakingItsFocusOnlyWhileTurnedOn) {
    const char kUserKey[] = "Software\\Halvex Multimedia\\Corvane Remote Control";
    DeleteRegValue(HKEY_CURRENT_USER, kUserKey, "OnScreenDisplay");
    WriteTextFile(machineFile, kPlayerMap);
    ASSERT_NO_FATAL_FAILURE(StartTelvixAndPlayer());
    PressAndExpect("KEY29", "WM_KEYDOWN 0x20");
    EXPECT_FALSE(FindWindowA(kTelvixDisplayClass, NULL)) << "off: no display at all";

    // Turned on while Telvix runs: read again within a second.
    WriteRegDword(HKEY_CURRENT_USER, kUserKey, "OnScreenDisplay", 1);
    HWND display = NULL;
    EXPECT_TRUE(WaitUntil([&] {
        PressAndExpect("KEY29", "WM_KEYDOWN 0x20");
        display = FindWindowA(kTelvixDisplayClass, NULL);
        return display && IsWindowVisible(display);
    }, 30000));
    DeleteRegValue(HKEY_CURRENT_USER, kUserKey, "OnScreenDisplay");
    ASSERT_TRUE(display);
    char text[128] = "";
    GetWindowTextA(display, text, sizeof text);
    EXPECT_STREQ(text, "Play\nPlayer: Space");
    EXPECT_TRUE(GetWindowLongA(display, GWL_EXSTYLE) & WS_EX_TOPMOST);
    EXPECT_EQ(GetForegroundWindow(), player) << "the program in front keeps the activation";
    GUITHREADINFO info = {};
    info.cbSize = sizeof info;
    ASSERT_TRUE(GetGUIThreadInfo(GetWindowThreadProcessId(player, NULL), &info));
    EXPECT_EQ(info.hwndActive, player);
    EXPECT_EQ(info.hwndFocus, player) << "and the keyboard focus";
}
