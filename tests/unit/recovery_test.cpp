// When the card counts as lost, what each device or power notice makes the
// tray do, and how long it waits between binding attempts.
#include <gtest/gtest.h>
#include "receiver/request_health.h"
#include "tray/recovery.h"

namespace {

int lostReports = 0;
void CountLost() { ++lostReports; }

DEV_BROADCAST_DEVICEINTERFACE_A Interface(const GUID &category) {
    DEV_BROADCAST_DEVICEINTERFACE_A header = {};
    header.dbcc_size = sizeof header;
    header.dbcc_devicetype = DBT_DEVTYP_DEVICEINTERFACE;
    header.dbcc_classguid = category;
    return header;
}

const GUID kCapture = {0x65E8773D, 0x8F56, 0x11D0, {0xA3, 0xB9, 0x00, 0xA0, 0xC9, 0x22, 0x31, 0x96}};
const GUID kOther = {0x53F56307, 0xB6BF, 0x11D0, {0x94, 0xF2, 0x00, 0xA0, 0xC9, 0x1E, 0xFB, 0x8B}};

} // namespace

TEST(RequestHealth, OnlyAnUnbrokenRunOfFailuresForTwoSecondsIsALostCardReportedOnce) {
    RequestHealth health = {};
    lostReports = 0;
    receiverLost = CountLost;
    // Polls every 65 ms, all failing: lost once 2 s have passed since the first.
    DWORD t = 5000;
    for (int i = 0; i < 40; ++i, t += 65) NoteRequestResult(health, E_FAIL, t);
    EXPECT_EQ(health.firstError, E_FAIL);
    EXPECT_EQ(health.firstFailTick, 5000u);
    EXPECT_TRUE(IsReceiverLost(health, t));
    EXPECT_EQ(lostReports, 1) << "one report per run";

    // One request that works ends the run; a new run starts from nothing.
    NoteRequestResult(health, S_OK, t);
    EXPECT_FALSE(IsReceiverLost(health, t + 5000));
    EXPECT_EQ(health.failures, 0u);
    EXPECT_TRUE(health.answered);
    NoteRequestResult(health, S_FALSE, t + 10);
    EXPECT_EQ(health.firstError, S_FALSE) << "S_FALSE is a failure too";

    // A few failures far apart are no run of polls; many in a short time are not enough either.
    RequestHealth sparse = {};
    for (int i = 0; i < 3; ++i) NoteRequestResult(sparse, E_FAIL, 1000u * (DWORD)i);
    EXPECT_FALSE(IsReceiverLost(sparse, 5000));
    RequestHealth quick = {};
    for (int i = 0; i < 30; ++i) NoteRequestResult(quick, E_FAIL, 100u + (DWORD)i);
    EXPECT_FALSE(IsReceiverLost(quick, 1999 + 100));
    EXPECT_TRUE(IsReceiverLost(quick, 2000 + 100));
    // The tick counter's wrap does not hide a run.
    RequestHealth wrapped = {};
    for (int i = 0; i < 12; ++i) NoteRequestResult(wrapped, E_FAIL, 0xFFFFFF00u + 200u * (DWORD)i);
    EXPECT_TRUE(IsReceiverLost(wrapped, 0xFFFFFF00u + 2400u));
    EXPECT_EQ(lostReports, 2);
    receiverLost = nullptr;
}

TEST(RecoveryNotices, EachNoticeBindsAnUnboundCardOrProbesABoundOne) {
    DEV_BROADCAST_DEVICEINTERFACE_A capture = Interface(kCapture), other = Interface(kOther);
    DEV_BROADCAST_HDR volume = {sizeof volume, DBT_DEVTYP_VOLUME, 0};
    DEV_BROADCAST_DEVICEINTERFACE_A shortHeader = capture;
    shortHeader.dbcc_size = 12; // too short to hold a class
    const DEV_BROADCAST_HDR *asHeader = (const DEV_BROADCAST_HDR *)&capture;
    DEV_BROADCAST_HANDLE card = {};
    card.dbch_size = sizeof card;
    card.dbch_devicetype = DBT_DEVTYP_HANDLE;
    const DEV_BROADCAST_HDR *cardHeader = (const DEV_BROADCAST_HDR *)&card;
    struct Case {
        const char *what;
        DeviceNotice notice;
        RecoveryStep unbound, bound;
    } cases[] = {
        {"capture arrival", DeviceChangeNotice(DBT_DEVICEARRIVAL, asHeader), kStepBind, kStepNothing},
        {"capture removal", DeviceChangeNotice(DBT_DEVICEREMOVECOMPLETE, asHeader), kStepNothing, kStepProbe},
        {"devices changed", DeviceChangeNotice(DBT_DEVNODES_CHANGED, nullptr), kStepBind, kStepProbe},
        {"resume", PowerNotice(PBT_APMRESUMEAUTOMATIC), kStepBind, kStepProbe},
        {"resume by a user", PowerNotice(PBT_APMRESUMESUSPEND), kStepBind, kStepProbe},
        {"suspend", PowerNotice(PBT_APMSUSPEND), kStepNothing, kStepNothing},
        {"other class", DeviceChangeNotice(DBT_DEVICEARRIVAL, (const DEV_BROADCAST_HDR *)&other), kStepNothing,
         kStepNothing},
        {"volume", DeviceChangeNotice(DBT_DEVICEARRIVAL, &volume), kStepNothing, kStepNothing},
        {"short header", DeviceChangeNotice(DBT_DEVICEARRIVAL, (const DEV_BROADCAST_HDR *)&shortHeader),
         kStepNothing, kStepNothing},
        {"arrival without header", DeviceChangeNotice(DBT_DEVICEARRIVAL, nullptr), kStepNothing, kStepNothing},
        {"query remove", DeviceChangeNotice(DBT_DEVICEQUERYREMOVE, asHeader), kStepNothing, kStepNothing},
        // The card's own handle: the system waits for it to be closed.
        {"card query remove", DeviceChangeNotice(DBT_DEVICEQUERYREMOVE, cardHeader), kStepNothing, kStepRelease},
        {"card remove pending", DeviceChangeNotice(DBT_DEVICEREMOVEPENDING, cardHeader), kStepNothing, kStepRelease},
        {"card removed", DeviceChangeNotice(DBT_DEVICEREMOVECOMPLETE, cardHeader), kStepNothing, kStepRelease},
        {"card removal called off", DeviceChangeNotice(DBT_DEVICEQUERYREMOVEFAILED, cardHeader), kStepBind,
         kStepNothing},
    };
    for (const Case &c : cases) {
        EXPECT_EQ(StepForNotice(c.notice, false), c.unbound) << c.what;
        EXPECT_EQ(StepForNotice(c.notice, true), c.bound) << c.what;
    }
}

TEST(RecoveryNotices, BindingAttemptsWaitFromOneSecondDoublingToHalfAMinute) {
    DWORD delays[8], previous = 0;
    for (DWORD &d : delays) previous = d = NextRebindDelay(previous);
    const DWORD expected[8] = {1000, 2000, 4000, 8000, 16000, 30000, 30000, 30000};
    for (int i = 0; i < 8; ++i) EXPECT_EQ(delays[i], expected[i]) << i;
    // A notice binds at once, unless an attempt was made less than a second ago.
    EXPECT_EQ(NoticeBindWait(false, 0), 0u);
    EXPECT_EQ(NoticeBindWait(true, 1000), 0u);
    EXPECT_EQ(NoticeBindWait(true, 250), 750u);
    EXPECT_EQ(NoticeBindWait(true, 0), 1000u);
}
