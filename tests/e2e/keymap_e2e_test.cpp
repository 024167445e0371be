// Remote keys from the simulated card reaching each stand-in TV application
// through the real tray program: the application is the default one, started
// with the power key, and the keys that follow land in its log exactly as
// its key map sends them.
#include <gtest/gtest.h>
#include <string>
#include <vector>
#include "sim/tvapp/stand_in.h"
#include "tests/support/process.h"
#include "tests/support/registry_fixture.h"
#include "tests/support/sim_card.h"
#include "tests/support/telvix_session.h"
#include "tests/support/test_windows.h"

namespace {

const char kCardName[] = "Philips Cap713x Video Capture";

// Each test: the tray program bound to the card, with one stand-in installed
// as the default application and started by the power key.
class KeyMapProcess : public ::testing::Test {
protected:
    StrayStandIns stray;
    SimCard card;
    TelvixSession session;

    // `tvAppId` installed as the default application and started by the
    // power key: it is the active target.
    void StartDefaultByPower(int tvAppId) {
        session.InstallStandIn(tvAppId);
        TelvixSession::WriteSettings(tvAppId, 0);
        ASSERT_TRUE(card.Register(kCardName));
        ASSERT_TRUE(session.StartTelvix());
        ASSERT_TRUE(session.WaitForTrayWindow());
        ASSERT_TRUE(card.WaitForPolls(3));
        ASSERT_TRUE(card.Press("POWER"));
        ASSERT_TRUE(session.WaitForEvent(tvAppId, "started")) << session.StandInLog();
        ASSERT_TRUE(WaitForWindow(StandInClass(TvAppRow(tvAppId)).c_str(), NULL));
    }

    // The same, then waits until the application holds the focus: chords go
    // as keyboard input to the focused window. Another process's window given
    // the focus just before a chord can lose the keys under Wine (they are
    // queued before the activation is processed).
    void StartFocusedByPower(int tvAppId) {
        ASSERT_NO_FATAL_FAILURE(StartDefaultByPower(tvAppId));
        HWND main = FindWindowA(StandInClass(TvAppRow(tvAppId)).c_str(), NULL);
        ASSERT_TRUE(WaitUntil([&] { return GetForegroundWindow() == main; }, 10000));
    }

    struct KeyCase {
        const char *remoteKey;
        const char *event; // as the stand-in logs it
    };

    void PressAndExpect(int tvAppId, const std::vector<KeyCase> &cases) {
        for (const KeyCase &c : cases) {
            SCOPED_TRACE(c.remoteKey);
            size_t before = session.Events(tvAppId, c.event).size();
            ASSERT_TRUE(card.Press(c.remoteKey));
            EXPECT_TRUE(session.WaitForEvent(tvAppId, c.event, before + 1)) << session.StandInLog();
        }
    }
};

} // namespace

TEST_F(KeyMapProcess, HomeTheaterGetsDigitsPagingPrivateMessageAndShowToggle) {
    StartDefaultByPower(1);
    PressAndExpect(1,
                   {
                       {"5", "WM_KEYDOWN 0x35 0x00060001 ctrl=0 shift=0 alt=0"},
                       {"0", "WM_KEYDOWN 0x30 0x000B0001"},
                       {"KEY26", "WM_KEYDOWN 0x21 0x01490001"},
                       {"KEY31", "WM_KEYDOWN 0x79 0x002A0001"},
                       {"KEY22", "MSG_038F 0x18 0x0"},
                       {"KEY24", "show main minimized"},
                       {"KEY12", "WM_KEYDOWN 0x41 0x001E0001"},
                       {"KEY24", "show main restored"},
                   });
    EXPECT_EQ(session.Events(1, "MSG_0BD0").size(), 0u);
}

TEST_F(KeyMapProcess, HomeTheaterChordGoesToTheFocusedApplication) {
    StartFocusedByPower(1);
    // Key 13: Ctrl+R without activation, as keyboard input.
    PressAndExpect(1,
                   {
                       {"RECORD", "WM_KEYDOWN 0x11"},
                       {"KEY14", "WM_KEYDOWN 0x53"},
                   });
    std::vector<std::string> r = session.Events(1, "WM_KEYDOWN 0x52");
    ASSERT_EQ(r.size(), 1u) << session.StandInLog();
    EXPECT_NE(r[0].find("ctrl=1 shift=0 alt=0"), std::string::npos) << r[0];
    EXPECT_TRUE(session.WaitForEvent(1, "WM_KEYUP 0x11", 2)) << session.StandInLog();
}

TEST_F(KeyMapProcess, PowerVcrGetsKeysCharacterRecordAndBothWindowsToggled) {
    const char cyberLink[] = "SOFTWARE\\CyberLink";
    DeleteKeyTree(HKEY_LOCAL_MACHINE, cyberLink, kTvAppView);
    WriteRegString(HKEY_LOCAL_MACHINE, cyberLink, "Installed", "yes", kTvAppView);
    StartDefaultByPower(2);
    // The stand-in logs its windows' first showing too.
    size_t videoMinimized = session.Events(2, "show video minimized").size();
    size_t videoRestored = session.Events(2, "show video restored").size();
    PressAndExpect(2,
                   {
                       {"7", "WM_KEYDOWN 0x37 0x00080001"},
                       {"KEY22", "WM_CHAR 0x0D 0x001C0001"},
                       {"KEY15", "WM_KEYDOWN 0x54 0x00580001"},
                       {"KEY10", "WM_KEYDOWN 0x6A 0x00000000"},
                       {"RECORD", "WM_KEYDOWN 0x52 0x00000000"},
                       {"KEY24", "show main minimized"},
                       {"KEY27", "WM_KEYDOWN 0x6B 0x00000000"},
                       {"KEY24", "show main restored"},
                   });
    // The video window is toggled right after the main one.
    EXPECT_TRUE(session.WaitForEvent(2, "show video restored", videoRestored + 1)) << session.StandInLog();
    EXPECT_EQ(session.Events(2, "show video minimized").size(), videoMinimized + 1) << session.StandInLog();
    DWORD value = 0;
    EXPECT_TRUE(ReadRegDword(HKEY_LOCAL_MACHINE, cyberLink, "DisableCapDlg", &value, kTvAppView));
    EXPECT_EQ(value, 1u);
    DeleteKeyTree(HKEY_LOCAL_MACHINE, cyberLink, kTvAppView);
}

TEST_F(KeyMapProcess, PowerVcrChordsArriveAsKeyboardInput) {
    StartFocusedByPower(2);
    PressAndExpect(2,
                   {
                       {"KEY12", "WM_KEYUP 0x11"},
                       {"KEY19", "WM_KEYUP 0x11"},
                   });
    for (const char *key : {"WM_KEYDOWN 0x55", "WM_KEYDOWN 0x4D"}) {
        std::vector<std::string> lines = session.Events(2, key);
        ASSERT_EQ(lines.size(), 1u) << key << "\n" << session.StandInLog();
        EXPECT_NE(lines[0].find("ctrl=1 shift=0 alt=0"), std::string::npos) << lines[0];
    }
}

TEST_F(KeyMapProcess, QuickTvGetsCommandNumbers) {
    StartDefaultByPower(3);
    PressAndExpect(3,
                   {
                       {"7", "MSG_0BD0 10007 0"},
                       {"KEY10", "MSG_0BD0 10100 0"},
                       {"KEY25", "MSG_0BD0 8 0"},
                       {"KEY256", "MSG_0BD0 5002 0"},
                       {"KEY30", "MSG_0BD0 4002 0"},
                   });
}

TEST_F(KeyMapProcess, TvAnywhereGetsCommandNumbers) {
    StartDefaultByPower(4);
    PressAndExpect(4,
                   {
                       {"0", "MSG_0BD0 10000 0"},
                       {"KEY30", "MSG_0BD0 4002 0"},
                       {"KEY26", "MSG_0BD0 4001 0"},
                       {"KEY512", "MSG_0BD0 5003 0"},
                       {"KEY27", "MSG_0BD0 401 0"},
                   });
}
