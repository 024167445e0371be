// The tray program with the simulated tuner card: which devices it binds, how
// it behaves without one, remote keys reaching the default application, the
// card bound again after it came late, went away or slept, and the trace.
#include <gtest/gtest.h>
#include <windows.h>
#include <dbt.h>
#include "sim/tvapp/stand_in.h"
#include "tests/support/process.h"
#include "tests/support/registry_fixture.h"
#include "tests/support/sim_card.h"
#include "tests/support/telvix_session.h"

namespace {

const char *const kNames[] = {
    "Philips Silicon (7171-35) WDM Video Capture",
    "Philips Cap713x Video Capture",
    "BUFFALO PC-SMP2E/PCI WDM Video Capture",
    "713x BDA Analog Capture",
};

// Telvix with the receiver bound: its window exists and it polls the card.
bool StartBound(TelvixSession &session, SimCard &card) {
    if (!session.StartTelvix() || !session.WaitForTrayWindow()) return false;
    return card.WaitForPolls(3);
}

// The stand-in that Telvix started is not among the session's processes.
struct StrayPowerVcr {
    StrayPowerVcr() { CloseStrayWindows(StandInClass(TvAppRow(kPowerVcr)).c_str()); }
    ~StrayPowerVcr() { CloseStrayWindows(StandInClass(TvAppRow(kPowerVcr)).c_str()); }
};

// Each test: PowerVCR II installed as the default application and started
// by the remote's power key.
class ReceiverKeys : public ::testing::Test {
protected:
    void SetUp() override {
        session.InstallStandIn(2); // PowerVCR II, the default application
        ASSERT_TRUE(card.Register(kNames[1]));
        ASSERT_TRUE(StartBound(session, card));
        tray = FindWindowA(kTrayClass, NULL);
        ASSERT_TRUE(card.Press("POWER"));
        ASSERT_TRUE(session.WaitForLog("started")) << session.StandInLog();
        ASSERT_TRUE(WaitForWindow(StandInClass(TvAppRow(kPowerVcr)).c_str(), NULL));
    }
    StrayPowerVcr stray;
    SimCard card;
    TelvixSession session;
    HWND tray = NULL;
};

// The popup menu of the tray program, shown and closed again.
bool TrayMenuOpens(HWND tray, DWORD pid) {
    PostMessageA(tray, 1001, 0, WM_RBUTTONDOWN);
    HWND menu = NULL;
    bool shown = WaitUntil([&] {
        for (HWND w = FindWindowExA(NULL, NULL, "#32768", NULL); w; w = FindWindowExA(NULL, w, "#32768", NULL)) {
            DWORD owner = 0;
            GetWindowThreadProcessId(w, &owner);
            if (owner == pid && IsWindowVisible(w)) menu = w;
        }
        return menu != NULL;
    });
    if (menu) PostMessageA(menu, WM_KEYDOWN, VK_ESCAPE, 0);
    return shown;
}

} // namespace

TEST(ReceiverBinding, EachSupportedNameIsBoundAndJoinsUnderTheFirstName) {
    for (const char *name : kNames) {
        SCOPED_TRACE(name);
        SimCard card;
        TelvixSession session("receiver_names");
        ASSERT_TRUE(card.Register(name));
        ASSERT_TRUE(StartBound(session, card)) << "no poll reached the card";
        EXPECT_EQ(card.state().joinCount, 1);
        EXPECT_STREQ(card.state().joinedName, kNames[0]);
        EXPECT_EQ(card.state().badRequests, 0) << card.state().lastBadRequest;
        // The receiver reads keys: a press is answered with one complete key read.
        EXPECT_TRUE(card.Press("7"));
        DWORD code = 99;
        EXPECT_TRUE(session.CloseTelvix(&code));
        EXPECT_EQ(code, 0u);
    }
}

TEST(ReceiverBinding, NearMissNamesAreNotTakenAndTheFirstClickReportsIt) {
    SimCard card;
    TelvixSession session("receiver_near_miss");
    ASSERT_TRUE(card.Register("philips cap713x video capture", 1));
    ASSERT_TRUE(card.Register(std::string(kNames[3]) + " ", 2));
    // Longer than the 80-byte name buffer, beginning with a supported name.
    ASSERT_TRUE(card.Register(std::string(kNames[0]) + std::string(60, 'x'), 3));
    ASSERT_TRUE(card.Register("Philips Silicon (7171-35) WDM Video Captur", 4));
    ASSERT_TRUE(session.StartTelvix());
    HWND tray = session.WaitForTrayWindow();
    ASSERT_TRUE(tray);
    PostMessageA(tray, 1001, 0, WM_LBUTTONDOWN);
    HWND box = WaitForWindow("#32770", "Corvane Remote Control");
    ASSERT_TRUE(box) << "missing-device message";
    EXPECT_EQ(card.state().joinCount, 0);
    EXPECT_EQ(card.state().liveFilters, 0);
    EXPECT_EQ(card.state().gpioRequests, 0);
    PostMessageA(box, WM_COMMAND, IDOK, 0);
    DWORD code = 99;
    ASSERT_TRUE(WaitExit(session.telvix(), 30000, &code));
    EXPECT_EQ(code, 0u);
}

TEST(ReceiverBinding, DevicesWithoutATextNameAreSkipped) {
    SimCard card;
    TelvixSession session("receiver_unnamed");
    ASSERT_TRUE(card.Register(kNames[0], 1));
    ASSERT_TRUE(card.Register(kNames[0], 2));
    ASSERT_TRUE(card.Register(kNames[0], 3));
    const char instances[] = "CLSID\\{65E8773D-8F56-11D0-A3B9-00A0C9223196}\\Instance\\";
    // Slot 2 has no name at all, slot 3 a number where the name belongs.
    DeleteRegValue(HKEY_CLASSES_ROOT, (std::string(instances) + "{7E1C5A30-4B2D-4F61-9A3E-5D0C1B2A39F2}").c_str(),
                   "FriendlyName");
    WriteRegDword(HKEY_CLASSES_ROOT, (std::string(instances) + "{7E1C5A30-4B2D-4F61-9A3E-5D0C1B2A39F3}").c_str(),
                  "FriendlyName", 7171);
    ASSERT_TRUE(StartBound(session, card));
    EXPECT_EQ(card.state().lastDevice, 1);
    EXPECT_EQ(card.state().joinCount, 1);
}

TEST(ReceiverBinding, OfTwoDevicesOfOneNameTheLaterIsBoundAndTheEarlierReleased) {
    SimCard card;
    TelvixSession session("receiver_two_devices");
    // A device of a later name in the list comes first in the enumeration; the
    // earlier name still wins.
    ASSERT_TRUE(card.Register(kNames[3], 1));
    ASSERT_TRUE(card.Register(kNames[2], 2));
    ASSERT_TRUE(card.Register(kNames[2], 3));
    ASSERT_TRUE(StartBound(session, card));
    EXPECT_EQ(card.state().lastDevice, 3);
    EXPECT_EQ(card.state().joinCount, 1);
    // Slot 2's filter was bound first, then let go; slot 1's was never created.
    EXPECT_TRUE(WaitUntil([&] { return card.state().liveFilters == 1; }, 5000)) << card.state().liveFilters;
}

TEST_F(ReceiverKeys, RemotePowerStartsAndClosesTheDefaultApplication) {
    EXPECT_EQ(session.CountLog("started"), 1);
    ASSERT_TRUE(card.Press("3"));
    EXPECT_TRUE(session.WaitForLog("WM_KEYDOWN 0x33")) << session.StandInLog();
    ASSERT_TRUE(card.Press("POWER"));
    EXPECT_TRUE(WaitForNoWindow(StandInClass(TvAppRow(kPowerVcr)).c_str(), NULL)) << session.StandInLog();
    EXPECT_TRUE(session.WaitForLog("exited")) << session.StandInLog();
    EXPECT_EQ(session.CountLog("started"), 1);
}

TEST_F(ReceiverKeys, AHeldKeyPassesItsFirstEventAndEveryTenthRepeat) {
    LONG before = card.state().keyReads;
    ASSERT_EQ(card.Remote("down 5"), 0);
    bool held = WaitUntil([&] { return card.state().keyReads - before >= 25; }, 30000);
    card.Remote("up");
    ASSERT_TRUE(held);
    // Wait for the poll cycle to see the key released before counting reads.
    ASSERT_TRUE(card.WaitForPolls(2));
    LONG reads = card.state().keyReads - before;
    int expected = 1 + (reads - 1) / 10;
    ASSERT_TRUE(card.Press("6")); // a fresh key: everything of the 5s was delivered before it
    ASSERT_TRUE(session.WaitForLog("WM_KEYDOWN 0x36")) << session.StandInLog();
    EXPECT_EQ(session.CountLog("WM_KEYDOWN 0x35"), expected) << reads << " reads\n" << session.StandInLog();
}

TEST_F(ReceiverKeys, FailingDriverRequestsNeverBecomeKeys) {
    struct {
        const char *mode;
        bool keyPresentFails;
    } cases[] = {
        {"gpio", true}, {"gpio-s_false", true}, {"bus", false}, {"bus-s_false", false}, {"both", true},
    };
    for (const auto &c : cases) {
        SCOPED_TRACE(c.mode);
        ASSERT_EQ(card.Remote(std::string("fail ") + c.mode), 0);
        LONG busBefore = card.state().busRequests;
        // Key 0 is raw 2 with all pins but pin 1 low: the key a reader that
        // took an unread device byte of 0 for real would turn into record.
        ASSERT_EQ(card.Remote("down 0"), 0);
        if (c.keyPresentFails) {
            EXPECT_TRUE(card.WaitForPolls(10));
            EXPECT_EQ(card.state().busRequests, busBefore) << "a failed key-present read counts as no key";
        } else {
            EXPECT_TRUE(WaitUntil([&] { return card.state().busRequests >= busBefore + 3; }));
        }
        card.Remote("up");
        ASSERT_EQ(card.Remote("fail none"), 0);
        ASSERT_TRUE(card.WaitForPolls(2));
        ASSERT_TRUE(card.Press("8"));
        ASSERT_TRUE(session.WaitForLog("WM_KEYDOWN 0x38")) << session.StandInLog();
        // Posted in order: anything the failed reads produced came before the 8.
        std::string log = session.StandInLog();
        EXPECT_EQ(LinesWith(log, "WM_KEYDOWN").size(), LinesWith(log, "WM_KEYDOWN 0x38").size()) << log;
        EXPECT_EQ(LinesWith(log, "MSG_").size(), 0u) << log;
        EXPECT_EQ(LinesWith(log, "WM_SYSKEYDOWN").size(), 0u) << log;
        EXPECT_EQ(card.state().badRequests, 0) << card.state().lastBadRequest;
        // Separate the next case's key from this 8.
        ASSERT_TRUE(card.WaitForPolls(5));
    }
}

// Started without a card, Telvix binds it when its arrival is announced; the
// icon then opens the menu instead of the missing-device message.
TEST(ReceiverRecovery, ACardArrivingAfterStartIsBoundAndItsKeysWork) {
    StrayPowerVcr stray;
    SimCard card;
    TelvixSession session;
    TurnTraceOn();
    RemoveTraceLog();
    session.InstallStandIn(2);
    ASSERT_TRUE(session.StartTelvix());
    HWND tray = session.WaitForTrayWindow();
    ASSERT_TRUE(tray);
    ASSERT_TRUE(WaitForTrace("recovery: next binding attempt")) << TraceLog();
    ASSERT_TRUE(card.Register(kNames[3]));
    SendCaptureDeviceNotice(tray, DBT_DEVICEARRIVAL);
    ASSERT_TRUE(card.WaitForPolls(3)) << TraceLog();
    ASSERT_TRUE(card.Press("POWER"));
    EXPECT_TRUE(session.WaitForLog("started")) << session.StandInLog();
    EXPECT_TRUE(TrayMenuOpens(tray, GetProcessId(session.telvix())));
    EXPECT_FALSE(FindWindowA("#32770", "Corvane Remote Control")) << "no missing-device message";
    EXPECT_EQ(card.state().joinCount, 1);
}

// The card pulled out while PowerVCR II has the keys, and put back: the
// notices release it and bind the new device, and the keys go on to PowerVCR II.
TEST_F(ReceiverKeys, AnUnpluggedCardIsBoundAgainWhenPluggedInAndKeysGoToTheSameApplication) {
    ASSERT_TRUE(card.Press("3"));
    ASSERT_TRUE(session.WaitForEvent(2, "WM_KEYDOWN 0x33"));
    ASSERT_TRUE(card.Unplug());
    SendCaptureDeviceNotice(tray, DBT_DEVICEREMOVECOMPLETE);
    PostDevicesChanged(tray);
    ASSERT_TRUE(WaitUntil([&] { return card.state().liveFilters == 0; })) << "the dead filter was let go";
    LONG joins = card.state().joinCount;
    ASSERT_TRUE(card.Plug());
    SendCaptureDeviceNotice(tray, DBT_DEVICEARRIVAL);
    PostDevicesChanged(tray);
    ASSERT_TRUE(WaitUntil([&] { return card.state().joinCount > joins; }));
    ASSERT_TRUE(card.Press("3"));
    EXPECT_TRUE(session.WaitForEvent(2, "WM_KEYDOWN 0x33", 2)) << session.StandInLog();
    EXPECT_EQ(session.CountLog("started"), 1) << "the same application, not a new one";
}

// Disabling the card or updating its driver asks first: Telvix lets the card
// go at once, and binds it again when the removal is called off.
TEST_F(ReceiverKeys, AQueryRemoveOfTheCardReleasesItAndACalledOffRemovalBindsItAgain) {
    LONG joins = card.state().joinCount;
    EXPECT_EQ(SendCardHandleNotice(tray, DBT_DEVICEQUERYREMOVE), (DWORD_PTR)TRUE) << "the removal is granted";
    ASSERT_TRUE(WaitUntil([&] { return card.state().liveFilters == 0; })) << "the card was let go";
    SendCardHandleNotice(tray, DBT_DEVICEQUERYREMOVEFAILED);
    ASSERT_TRUE(WaitUntil([&] { return card.state().joinCount > joins; })) << "bound again";
    ASSERT_TRUE(card.Press("3"));
    EXPECT_TRUE(session.WaitForEvent(2, "WM_KEYDOWN 0x33")) << session.StandInLog();
}

// After sleep the driver fails at first: the card is released and bound
// again (at most once a second) until its requests work, then keys come back.
TEST_F(ReceiverKeys, AfterResumeWithFailingRequestsTheCardIsBoundAgainAndKeysComeBack) {
    LONG joins = card.state().joinCount;
    ASSERT_EQ(card.Remote("fail both"), 0);
    PostResume(tray);
    ASSERT_TRUE(WaitUntil([&] { return card.state().joinCount > joins; }, 30000)) << "bound again";
    ASSERT_EQ(card.Remote("fail none"), 0);
    ASSERT_EQ(card.Remote("press 4"), 0);
    EXPECT_TRUE(session.WaitForEvent(2, "WM_KEYDOWN 0x34")) << session.StandInLog();
}

// With the Trace setting on, one press leaves the binding, the key, its
// routing and the launch in the trace, and the setting is left as it was.
TEST(TraceFile, OnePressLeavesItsEventsInOrder) {
    StrayPowerVcr stray;
    SimCard card;
    TelvixSession session;
    TurnTraceOn();
    RemoveTraceLog();
    session.InstallStandIn(2);
    ASSERT_TRUE(card.Register(kNames[1]));
    ASSERT_TRUE(StartBound(session, card));
    ASSERT_TRUE(card.Press("POWER"));
    ASSERT_TRUE(session.WaitForLog("started"));
    ASSERT_TRUE(WaitForTrace("watch: PowerVCR")) << TraceLog();
    std::string log = TraceLog();
    const char *const expected[] = {
        "start: Telvix",
        "bind: \"Philips Silicon (7171-35) WDM Video Capture\" not found",
        "bind: \"Philips Cap713x Video Capture\" found",
        "bind: bound",
        "settings: DefaultTVAPP unreadable, repaired to 2",
        "key: raw 30 logical 18",
        "key: 18 fresh, passed",
        "launch: ",
        "route: 18 to the default application, PowerVCR II: started",
        "watch: PowerVCR",
    };
    size_t at = 0;
    for (const char *event : expected) {
        size_t found = log.find(event, at);
        ASSERT_NE(found, std::string::npos) << event << " after offset " << at << "\n" << log;
        at = found;
    }
    DWORD value = 0;
    ASSERT_TRUE(ReadRegDword(HKEY_LOCAL_MACHINE, kSettingsKey, "Trace", &value));
    EXPECT_EQ(value, 1u);
}
