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
    EXPECT_TRUE(WaitUntil([&] { return PlayerEvents("WM_KEYUP 0x20 0xC0390001") == 1; }, 20000));
    PressAndExpect("KEY26", "WM_KEYDOWN 0x27 0x014D0001 ctrl=1");
    PressAndExpect("KEY22", "WM_APPCOMMAND 14");
    PressAndExpectNothing("KEY27", "WM_KEYDOWN"); // its line was skipped

    // An unmapped number key still works the pointer while the player is in front.
    ASSERT_TRUE(SetCursorPos(400, 300));
    ASSERT_TRUE(card.Press("4"));
    // Left along its row: a press read twice under load moves it a second step.
    EXPECT_TRUE(WaitUntil([] {
        POINT p;
        return GetCursorPos(&p) && p.x < 400 && p.y == 300;
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
        card.Press("KEY13"); // unmapped: the next KEY29 is a press of its own
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

// Realistic taps and holds through the poll clock, from a UTF-16 file as
// Notepad saves it: a toggle arrives once per tap, a held key repeats after
// the delay, a long press acts once instead of the short action, run: starts
// a program once per tap, Process=* catches a key with no program in front,
// and volume: says what became of the system volume.
TEST_F(UserKeysProcess, ATapActsOnceAHoldRepeatsALongPressActsInsteadAndEveryProgramsSectionCatchesTheRest) {
    std::string runLog = ScratchDir("user_keys_run") + "\\run.log";
    DeleteFileA(runLog.c_str());
    std::string map = "[Player]\r\nClass=TelvixSimPlayer\r\nKey29=post:Space\r\nKey27=post:Up\r\n"
                      "Key22=post:Return\r\nKey22.long=post:Escape\r\n"
                      "[Everywhere]\r\nProcess=*\r\nKey16=volume:mute\r\nKey12=run:\"" +
                      BinDir() + "\\sim\\uninstall_sim.exe\" \"" + runLog + "\" tapped 0\r\n";
    std::string utf16 = "\xFF\xFE";
    for (char c : map) utf16 += std::string{c, '\0'};
    WriteTextFile(machineFile, utf16);
    TurnTraceOn();
    RemoveTraceLog();
    ASSERT_NO_FATAL_FAILURE(StartTelvixAndPlayer());

    ASSERT_TRUE(card.Tap("KEY29"));
    ASSERT_TRUE(WaitUntil([&] { return PlayerEvents("WM_KEYDOWN 0x20") == 1; }, 20000)) << session.StandInLog();
    PressAndExpectNothing("KEY13", "WM_KEYDOWN 0x20"); // unmapped: after it, no second Space came
    ASSERT_EQ(card.Remote("hold KEY27 1500"), 0);
    EXPECT_TRUE(WaitUntil([&] { return PlayerEvents("WM_KEYDOWN 0x26") >= 2; }, 20000)) << "repeated after the delay";
    ASSERT_EQ(card.Remote("hold KEY22 1500"), 0);
    EXPECT_TRUE(WaitUntil([&] { return PlayerEvents("WM_KEYDOWN 0x1B") == 1; }, 20000)) << session.StandInLog();
    PressAndExpectNothing("KEY13", "WM_KEYDOWN 0x0D"); // let go after the long press: no short action
    ASSERT_TRUE(card.Tap("KEY22"));
    ASSERT_TRUE(WaitUntil([&] { return PlayerEvents("WM_KEYDOWN 0x0D") == 1; }, 20000)) << session.StandInLog();
    EXPECT_EQ(PlayerEvents("WM_KEYDOWN 0x1B"), 1) << "the long action once";

    ASSERT_TRUE(card.Tap("KEY12"));
    ASSERT_TRUE(WaitUntil([&] { return LinesWith(ReadTextFile(runLog), "start tapped").size() == 1; }, 20000));
    PressAndExpectNothing("KEY13", "WM_KEYDOWN 0x0D"); // the next KEY12 is a press of its own
    // With no program in front, the section for every program still takes the key.
    ShowWindow(player, SW_MINIMIZE);
    ASSERT_TRUE(WaitUntil([&] { return IsIconic(player) != 0; }, 10000));
    ASSERT_TRUE(card.Tap("KEY12", 400));
    ASSERT_TRUE(WaitUntil([&] { return LinesWith(ReadTextFile(runLog), "start tapped").size() == 2; }, 20000));
    ASSERT_TRUE(card.Tap("KEY16"));
    ASSERT_TRUE(WaitForTrace("volume:mute: ")) << TraceLog();
    std::string volume = LinesWith(TraceLog(), "volume:mute: ")[0];
    EXPECT_TRUE(volume.find("volume:mute: no playback device") != std::string::npos ||
                volume.find("Sound off") != std::string::npos)
        << volume;
    EXPECT_EQ(LinesWith(ReadTextFile(runLog), "start tapped").size(), 2u) << "once per tap, held or not";
}
