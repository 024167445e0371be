#include "tests/support/telvix_session.h"
#include <dbt.h>
#include <gtest/gtest.h>
#include <shlobj.h>
#include <stdexcept>
#include "sim/tvapp/stand_in.h"
#include "tests/support/registry_fixture.h"

const TvApp &TvAppRow(int tvAppId) {
    const TvApp *app = FindTvApp(tvAppId);
    if (!app) throw std::out_of_range("no TV application " + std::to_string(tvAppId));
    return *app;
}

void ClearStandInInstalls() {
    for (const TvApp *app : kTvApps) DeleteKeyTree(HKEY_LOCAL_MACHINE, app->identity.registryKey, kTvAppView);
}

void StrayStandIns::CloseAll() {
    for (const TvApp *app : kTvApps) CloseStrayWindows(StandInClass(*app).c_str());
}

void CloseStrayWindows(const char *className) {
    for (int i = 0; i < 10; ++i) {
        HWND w = FindWindowA(className, NULL);
        if (!w) return;
        DWORD pid = 0;
        GetWindowThreadProcessId(w, &pid);
        if (HANDLE process = OpenProcess(PROCESS_TERMINATE | SYNCHRONIZE, FALSE, pid)) {
            TerminateProcess(process, 99);
            WaitForSingleObject(process, 5000);
            CloseHandle(process);
        }
    }
}

TelvixSession::TelvixSession(const std::string &name) : appsDir_(ScratchDir(name)) {
    CloseStrayWindows(kTrayClass);
    ClearStandInInstalls();
    ClearSettings();
    DeleteFileA((appsDir_ + "\\tvapp_sim.log").c_str());
}

TelvixSession::TelvixSession() : TelvixSession(::testing::UnitTest::GetInstance()->current_test_info()->name()) {}

TelvixSession::~TelvixSession() {
    processes_.KillAll();
    ClearStandInInstalls();
    ClearSettings();
}

void TelvixSession::InstallStandIn(int tvAppId) {
    const TvAppIdentity &identity = TvAppRow(tvAppId).identity;
    CopyOneFile(BinDir() + "\\sim\\tvapp_sim.exe", appsDir_ + "\\" + identity.exeName);
    // Where a 32-bit installer puts it; a 64-bit Telvix must look there.
    WriteRegString(HKEY_LOCAL_MACHINE, identity.registryKey, identity.valueName, appsDir_, kTvAppView);
}

void TelvixSession::ClearSettings() { DeleteKeyTree(HKEY_LOCAL_MACHINE, kSettingsKey); }

void TelvixSession::WriteSettings(DWORD defaultTvApp, DWORD alwaysRemoteOff) {
    WriteRegDword(HKEY_LOCAL_MACHINE, kSettingsKey, "DefaultTVAPP", defaultTvApp);
    WriteRegDword(HKEY_LOCAL_MACHINE, kSettingsKey, "AlwaysRemoteOff", alwaysRemoteOff);
}

HANDLE TelvixSession::StartTelvix() {
    telvix_ = processes_.Start("\"" + BinDir() + "\\Telvix.exe\"", BinDir());
    return telvix_;
}

HWND TelvixSession::WaitForTrayWindow(DWORD timeoutMs) { return WaitForWindow(kTrayClass, NULL, timeoutMs); }

bool TelvixSession::CloseTelvix(DWORD *exitCode) {
    if (HWND w = FindWindowA(kTrayClass, NULL)) PostMessageA(w, WM_CLOSE, 0, 0);
    return WaitExit(telvix_, 30000, exitCode);
}

HANDLE TelvixSession::StartStandIn(int tvAppId) {
    return processes_.Start("\"" + appsDir_ + "\\" + TvAppRow(tvAppId).identity.exeName + "\"", appsDir_);
}

std::string TelvixSession::StandInLog() const { return ReadTextFile(appsDir_ + "\\tvapp_sim.log"); }

bool TelvixSession::WaitForLog(const std::string &needle, DWORD timeoutMs) const {
    return WaitUntil([&] { return StandInLog().find(needle) != std::string::npos; }, timeoutMs);
}

int TelvixSession::CountLog(const std::string &needle) const { return (int)LinesWith(StandInLog(), needle).size(); }

std::vector<std::string> TelvixSession::Events(int tvAppId, const std::string &event) const {
    std::vector<std::string> out;
    std::string prefix = StandInTag(TvAppRow(tvAppId)) + " ";
    for (const std::string &line : LinesWith(StandInLog(), " " + event)) {
        std::string trimmed = line;
        while (!trimmed.empty() && (trimmed.back() == '\r' || trimmed.back() == '\n')) trimmed.pop_back();
        // "<Tag> <tick> <event>...": the event must follow the tick directly.
        if (trimmed.compare(0, prefix.size(), prefix) != 0) continue;
        size_t afterTick = trimmed.find(' ', prefix.size());
        if (afterTick != std::string::npos && trimmed.compare(afterTick + 1, event.size(), event) == 0)
            out.push_back(trimmed);
    }
    return out;
}

bool TelvixSession::WaitForEvent(int tvAppId, const std::string &event, size_t count) const {
    return WaitUntil([&] { return Events(tvAppId, event).size() >= count; }, 30000);
}

void SendCaptureDeviceNotice(HWND tray, WPARAM event) {
    DEV_BROADCAST_DEVICEINTERFACE_A header = {};
    header.dbcc_size = sizeof header;
    header.dbcc_devicetype = DBT_DEVTYP_DEVICEINTERFACE;
    header.dbcc_classguid = {0x65E8773D, 0x8F56, 0x11D0, {0xA3, 0xB9, 0x00, 0xA0, 0xC9, 0x22, 0x31, 0x96}};
    DWORD_PTR result = 0;
    // Sent, as the header travels with the message only then.
    SendMessageTimeoutA(tray, WM_DEVICECHANGE, event, (LPARAM)&header, SMTO_ABORTIFHUNG, 30000, &result);
}

DWORD_PTR SendCardHandleNotice(HWND tray, WPARAM event) {
    DEV_BROADCAST_HANDLE header = {};
    header.dbch_size = sizeof header;
    header.dbch_devicetype = DBT_DEVTYP_HANDLE;
    DWORD_PTR result = 0;
    SendMessageTimeoutA(tray, WM_DEVICECHANGE, event, (LPARAM)&header, SMTO_ABORTIFHUNG, 30000, &result);
    return result;
}

void PostDevicesChanged(HWND tray) { PostMessageA(tray, WM_DEVICECHANGE, DBT_DEVNODES_CHANGED, 0); }

void PostResume(HWND tray) { PostMessageA(tray, WM_POWERBROADCAST, PBT_APMRESUMEAUTOMATIC, 0); }

void TurnTraceOn() { WriteRegDword(HKEY_LOCAL_MACHINE, kSettingsKey, "Trace", 1); }

std::string TraceLogPath() {
    char base[MAX_PATH] = "";
    SHGetFolderPathA(NULL, CSIDL_LOCAL_APPDATA, NULL, SHGFP_TYPE_CURRENT, base);
    return std::string(base) + "\\Corvane Remote Control\\trace.log";
}

void RemoveTraceLog() { DeleteFileA(TraceLogPath().c_str()); }

std::string TraceLog() { return ReadTextFile(TraceLogPath()); }

bool WaitForTrace(const std::string &needle, DWORD timeoutMs) {
    return WaitUntil([&] { return TraceLog().find(needle) != std::string::npos; }, timeoutMs);
}
