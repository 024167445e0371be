// One end-to-end session with the real tray program: the stand-in TV
// applications installed in a scratch folder, the settings in a known state,
// Telvix.exe started and stopped. Everything it started is stopped, and the
// registry keys it wrote are removed, when the session ends.
#pragma once
#include <windows.h>
#include <string>
#include <vector>
#include "apps/tv_app_table.h"
#include "tests/support/process.h"

const char kTrayClass[] = "Corvane Remote Control";
const char kSettingsKey[] = "SOFTWARE\\Halvex Multimedia\\Corvane Utilities";

class TelvixSession {
public:
    explicit TelvixSession(const std::string &name);
    // Named after the running test.
    TelvixSession();
    ~TelvixSession();

    // Copies the stand-in under the executable name of the row of `tvAppId`
    // and writes its install key.
    void InstallStandIn(int tvAppId);
    const std::string &appsDir() const { return appsDir_; }

    // Settings as Telvix reads them at start; Clear removes the key.
    static void ClearSettings();
    static void WriteSettings(DWORD defaultTvApp, DWORD alwaysRemoteOff);

    // Starts Telvix.exe; Wait... returns its hidden window (null on time-out).
    HANDLE StartTelvix();
    HWND WaitForTrayWindow(DWORD timeoutMs = 30000);
    // Asks the tray window to close and waits for the exit; false on time-out.
    bool CloseTelvix(DWORD *exitCode);
    HANDLE telvix() const { return telvix_; }

    // Starts a stand-in directly (as the user would).
    HANDLE StartStandIn(int tvAppId);

    // The stand-in applications' log, and waiting for a line in it.
    std::string StandInLog() const;
    bool WaitForLog(const std::string &needle, DWORD timeoutMs = 20000) const;
    int CountLog(const std::string &needle) const;
    // Log lines of stand-in `tvAppId` whose event is `event` (e.g.
    // "WM_KEYDOWN 0x35 0x00060001"), and waiting for `count` of them.
    std::vector<std::string> Events(int tvAppId, const std::string &event) const;
    bool WaitForEvent(int tvAppId, const std::string &event, size_t count = 1) const;

    ProcessSet &processes() { return processes_; }

private:
    std::string appsDir_;
    ProcessSet processes_;
    HANDLE telvix_ = NULL;
};

// What the system tells the tray window about devices and power, the way it
// would (Wine sends none for the simulated card): a capture device's arrival
// or removal, sent with its interface header; the devices-changed broadcast
// and the resume from sleep, posted.
void SendCaptureDeviceNotice(HWND tray, WPARAM event);
// A notice about the bound card's own handle; returns what the tray answered.
DWORD_PTR SendCardHandleNotice(HWND tray, WPARAM event);
void PostDevicesChanged(HWND tray);
void PostResume(HWND tray);

// Telvix's trace: turned on in its settings (after the session cleared them),
// and the log, removed and read.
void TurnTraceOn();
std::string TraceLogPath();
void RemoveTraceLog();
std::string TraceLog();
bool WaitForTrace(const std::string &needle, DWORD timeoutMs = 20000);

// The row of a TvAppId; a test that names a missing one fails here.
const TvApp &TvAppRow(int tvAppId);
// Removes the install keys of every TV application.
void ClearStandInInstalls();
// Ends every window of class `className` still open (leftovers of a failed test).
void CloseStrayWindows(const char *className);

// Stand-ins that the tray program started are none of the session's
// processes: these are closed before and after the test.
struct StrayStandIns {
    StrayStandIns() { CloseAll(); }
    ~StrayStandIns() { CloseAll(); }
    static void CloseAll();
};
