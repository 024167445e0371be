#include "tests/support/effects_recorder.h"
#include <endpointvolume.h>
#include <mmdeviceapi.h>
#include <stdio.h>

std::vector<std::string> FakeEffects::calls;
DWORD FakeEffects::tick, FakeEffects::tickStep;
UINT FakeEffects::winExecResult;
int FakeEffects::messageBoxResult;
POINT FakeEffects::cursor;
bool FakeEffects::refuseForeground;
HWND FakeEffects::foreground;
DWORD FakeEffects::ownSession, FakeEffects::consoleSession;
BOOL FakeEffects::sessionKnown;
int FakeEffects::sessionRegisterCalls, FakeEffects::sessionRegisterRefusals;
bool FakeEffects::sessionInfoKnown;
LONG FakeEffects::sessionFlags;
int FakeEffects::trayAddRefusals;
std::vector<RECT> FakeEffects::monitors;
DWORD FakeEffects::platformId;
BOOL FakeEffects::openTokenResult, FakeEffects::lookupResult, FakeEffects::adjustResult, FakeEffects::exitResult;
DWORD FakeEffects::lastError;
BOOL FakeEffects::shellExecuteResult, FakeEffects::suspendResult, FakeEffects::lockResult;
DWORD FakeEffects::integrity;
bool FakeEffects::playbackDevice;
float FakeEffects::volumeLevel;
BOOL FakeEffects::volumeMuted;

namespace {

void Record(const char *format, ...) {
    char line[600];
    va_list args;
    va_start(args, format);
    vsnprintf(line, sizeof line, format, args);
    va_end(args);
    FakeEffects::calls.push_back(line);
}

void WINAPI KeybdEvent(BYTE vk, BYTE scan, DWORD flags, ULONG_PTR extra) {
    Record("keybd 0x%02X %u %lu %lu", vk, scan, (unsigned long)flags, (unsigned long)extra);
}
// One line per event: "SendInput 0x11 0x1D 0x0" (virtual key, scan code, flags).
UINT WINAPI SendInputFake(UINT count, LPINPUT inputs, int size) {
    for (UINT i = 0; i < count && size == (int)sizeof(INPUT); ++i)
        Record("SendInput 0x%02X 0x%02X 0x%lX", inputs[i].ki.wVk, inputs[i].ki.wScan, (unsigned long)inputs[i].ki.dwFlags);
    return count;
}
void WINAPI MouseEvent(DWORD flags, DWORD dx, DWORD dy, DWORD data, ULONG_PTR) {
    Record("mouse %lu %lu %lu %lu", (unsigned long)flags, (unsigned long)dx, (unsigned long)dy, (unsigned long)data);
}
BOOL WINAPI SetCursorPosFake(int x, int y) {
    Record("SetCursorPos %d %d", x, y);
    FakeEffects::cursor = {x, y};
    return TRUE;
}
BOOL WINAPI GetCursorPosFake(LPPOINT point) {
    *point = FakeEffects::cursor;
    return TRUE;
}
BOOL WINAPI SetForegroundWindowFake(HWND window) {
    return FakeEffects::refuseForeground ? FALSE : ::SetForegroundWindow(window);
}
HWND WINAPI GetForegroundWindowFake() {
    return FakeEffects::foreground ? FakeEffects::foreground : ::GetForegroundWindow();
}
BOOL WINAPI ProcessIdToSessionIdFake(DWORD, DWORD *session) {
    if (FakeEffects::sessionKnown) *session = FakeEffects::ownSession;
    return FakeEffects::sessionKnown;
}
DWORD WINAPI ConsoleSessionFake() { return FakeEffects::consoleSession; }
BOOL WINAPI RegisterSessionFake(HWND, DWORD) {
    ++FakeEffects::sessionRegisterCalls;
    if (FakeEffects::sessionRegisterRefusals == 0) return TRUE;
    --FakeEffects::sessionRegisterRefusals;
    return FALSE;
}
BOOL WINAPI UnregisterSessionFake(HWND) { return TRUE; }
// WTSINFOEXA's start: its level (1), then at offset 8 level 1's session id,
// state and flags.
BOOL WINAPI QuerySessionFake(HANDLE, DWORD session, WTS_INFO_CLASS what, LPSTR *buffer, DWORD *bytes) {
    static union {
        LONG fields[8];
        char text[32];
    } info;
    if (!FakeEffects::sessionInfoKnown || what != 25) return FALSE;
    info.fields[0] = 1;
    info.fields[2] = (LONG)session;
    info.fields[3] = WTSActive;
    info.fields[4] = FakeEffects::sessionFlags;
    *buffer = info.text;
    *bytes = sizeof info;
    return TRUE;
}
void WINAPI FreeMemoryFake(PVOID) {}
int WINAPI GetSystemMetricsFake(int index) {
    if (index == SM_CMONITORS && !FakeEffects::monitors.empty()) return (int)FakeEffects::monitors.size();
    return ::GetSystemMetrics(index);
}
HMONITOR WINAPI MonitorFromPointFake(POINT p, DWORD flags) {
    if (FakeEffects::monitors.empty()) return ::MonitorFromPoint(p, flags);
    for (size_t i = 0; i < FakeEffects::monitors.size(); ++i)
        if (PtInRect(&FakeEffects::monitors[i], p)) return (HMONITOR)(i + 1);
    return flags == MONITOR_DEFAULTTONULL ? NULL : (HMONITOR)1;
}
// Shows the window for real, and records the flags Wine may not honour.
BOOL WINAPI SetWindowPosFake(HWND window, HWND after, int x, int y, int cx, int cy, UINT flags) {
    Record("SetWindowPos %s 0x%X", after == HWND_TOPMOST ? "topmost" : "", flags);
    return ::SetWindowPos(window, after, x, y, cx, cy, flags);
}
HMONITOR WINAPI MonitorFromWindowFake(HWND window, DWORD flags) {
    if (FakeEffects::monitors.empty()) return ::MonitorFromWindow(window, flags);
    RECT r = {0, 0, 0, 0};
    GetWindowRect(window, &r);
    return MonitorFromPointFake({(r.left + r.right) / 2, (r.top + r.bottom) / 2}, flags);
}
// The first monitor is the primary; each work area leaves 40 pixels of taskbar at the bottom.
BOOL WINAPI GetMonitorInfoFake(HMONITOR monitor, LPMONITORINFO info) {
    if (FakeEffects::monitors.empty()) return ::GetMonitorInfoA(monitor, info);
    size_t i = (size_t)monitor - 1;
    if (i >= FakeEffects::monitors.size()) return FALSE;
    info->rcMonitor = info->rcWork = FakeEffects::monitors[i];
    info->rcWork.bottom -= 40;
    info->dwFlags = i == 0 ? MONITORINFOF_PRIMARY : 0;
    return TRUE;
}
UINT WINAPI WinExecFake(LPCSTR commandLine, UINT show) {
    Record("WinExec %s %u", commandLine, show);
    return FakeEffects::winExecResult;
}
int WINAPI MessageBoxFake(HWND owner, LPCSTR text, LPCSTR caption, UINT type) {
    Record("MessageBox %s|%s|0x%X|%s", text, caption, type, owner ? "owned" : "no owner");
    return FakeEffects::messageBoxResult;
}
BOOL WINAPI GetVersionExFake(LPOSVERSIONINFOA info) {
    Record("GetVersionExA %lu", (unsigned long)info->dwOSVersionInfoSize);
    info->dwPlatformId = FakeEffects::platformId;
    return TRUE;
}
BOOL WINAPI OpenProcessTokenFake(HANDLE, DWORD access, PHANDLE token) {
    Record("OpenProcessToken 0x%lX", (unsigned long)access);
    *token = FakeEffects::openTokenResult ? (HANDLE)0x1234 : NULL;
    return FakeEffects::openTokenResult;
}
BOOL WINAPI LookupPrivilegeValueFake(LPCSTR, LPCSTR name, PLUID luid) {
    Record("LookupPrivilegeValueA %s", name);
    luid->LowPart = 19;
    luid->HighPart = 0;
    return FakeEffects::lookupResult;
}
BOOL WINAPI AdjustTokenPrivilegesFake(HANDLE, BOOL, PTOKEN_PRIVILEGES state, DWORD, PTOKEN_PRIVILEGES, PDWORD) {
    Record("AdjustTokenPrivileges %lu %lu 0x%lX", (unsigned long)state->PrivilegeCount,
           (unsigned long)state->Privileges[0].Luid.LowPart, (unsigned long)state->Privileges[0].Attributes);
    return FakeEffects::adjustResult;
}
DWORD WINAPI GetLastErrorFake() { return FakeEffects::lastError; }
BOOL WINAPI ExitWindowsExFake(UINT flags, DWORD reason) {
    Record("ExitWindowsEx 0x%X %lu", flags, (unsigned long)reason);
    return FakeEffects::exitResult;
}
BOOL WINAPI ShellNotifyIconFake(DWORD message, PNOTIFYICONDATAA data) {
    bool refused = message == NIM_ADD && FakeEffects::trayAddRefusals > 0;
    if (refused) --FakeEffects::trayAddRefusals;
    const char *name = message == NIM_ADD ? "NIM_ADD" : message == NIM_MODIFY ? "NIM_MODIFY"
                       : message == NIM_DELETE ? "NIM_DELETE" : "NIM_?";
    Record("Shell_NotifyIconA %s size=%lu window=%p id=%u flags=0x%X message=%u icon=%p tip=%s", name,
           (unsigned long)data->cbSize, (void *)data->hWnd, data->uID, data->uFlags, data->uCallbackMessage,
           (void *)data->hIcon, (data->uFlags & NIF_TIP) ? data->szTip : "");
    return refused ? FALSE : TRUE;
}
DWORD WINAPI TickFake() {
    DWORD now = FakeEffects::tick;
    FakeEffects::tick += FakeEffects::tickStep;
    return now;
}
void WINAPI SleepFake(DWORD ms) { Record("Sleep %lu", (unsigned long)ms); }
BOOL WINAPI ShellExecuteExFake(SHELLEXECUTEINFOA *info) {
    Record("ShellExecuteExA %s|%s|%s|%s|%d", info->lpVerb ? info->lpVerb : "", info->lpFile,
           info->lpParameters ? info->lpParameters : "", info->lpDirectory ? info->lpDirectory : "", info->nShow);
    return FakeEffects::shellExecuteResult;
}
BOOLEAN WINAPI SetSuspendStateFake(BOOLEAN hibernate, BOOLEAN force, BOOLEAN noWake) {
    Record("SetSuspendState %d %d %d", hibernate, force, noWake);
    return (BOOLEAN)FakeEffects::suspendResult;
}
BOOL WINAPI LockWorkStationFake() {
    Record("LockWorkStation");
    return FakeEffects::lockResult;
}
BOOL WINAPI GetTokenInformationFake(HANDLE, TOKEN_INFORMATION_CLASS what, LPVOID out, DWORD size, PDWORD returned) {
    struct Label {
        TOKEN_MANDATORY_LABEL label;
        SID sid;
    };
    if (what != TokenIntegrityLevel || size < sizeof(Label)) return FALSE;
    Label *l = (Label *)out;
    l->sid = SID{SID_REVISION, 1, SECURITY_MANDATORY_LABEL_AUTHORITY, {FakeEffects::integrity}};
    l->label.Label.Sid = &l->sid;
    l->label.Label.Attributes = SE_GROUP_INTEGRITY;
    *returned = sizeof(Label);
    return TRUE;
}

// One object for the enumerator, the device and its endpoint volume.
struct FakeAudio : IMMDeviceEnumerator, IMMDevice, IAudioEndpointVolume {
    HRESULT STDMETHODCALLTYPE QueryInterface(REFIID, void **) override { return E_NOINTERFACE; }
    ULONG STDMETHODCALLTYPE AddRef() override { return 1; }
    ULONG STDMETHODCALLTYPE Release() override { return 1; }
    HRESULT STDMETHODCALLTYPE EnumAudioEndpoints(EDataFlow, DWORD, IMMDeviceCollection **) override { return E_FAIL; }
    HRESULT STDMETHODCALLTYPE GetDefaultAudioEndpoint(EDataFlow flow, ERole role, IMMDevice **device) override {
        Record("Volume GetDefaultAudioEndpoint %d %d", flow, role);
        *device = FakeEffects::playbackDevice ? this : nullptr;
        return FakeEffects::playbackDevice ? S_OK : E_NOTFOUND;
    }
    HRESULT STDMETHODCALLTYPE GetDevice(LPCWSTR, IMMDevice **) override { return E_FAIL; }
    HRESULT STDMETHODCALLTYPE RegisterEndpointNotificationCallback(IMMNotificationClient *) override { return E_FAIL; }
    HRESULT STDMETHODCALLTYPE UnregisterEndpointNotificationCallback(IMMNotificationClient *) override { return E_FAIL; }
    HRESULT STDMETHODCALLTYPE Activate(REFIID, DWORD, PROPVARIANT *, void **out) override {
        *out = static_cast<IAudioEndpointVolume *>(this);
        return S_OK;
    }
    HRESULT STDMETHODCALLTYPE OpenPropertyStore(DWORD, IPropertyStore **) override { return E_FAIL; }
    HRESULT STDMETHODCALLTYPE GetId(LPWSTR *) override { return E_FAIL; }
    HRESULT STDMETHODCALLTYPE GetState(DWORD *) override { return E_FAIL; }
    HRESULT STDMETHODCALLTYPE RegisterControlChangeNotify(IAudioEndpointVolumeCallback *) override { return E_FAIL; }
    HRESULT STDMETHODCALLTYPE UnregisterControlChangeNotify(IAudioEndpointVolumeCallback *) override { return E_FAIL; }
    HRESULT STDMETHODCALLTYPE GetChannelCount(UINT *) override { return E_FAIL; }
    HRESULT STDMETHODCALLTYPE SetMasterVolumeLevel(float, LPCGUID) override { return E_FAIL; }
    HRESULT STDMETHODCALLTYPE SetMasterVolumeLevelScalar(float level, LPCGUID) override {
        Record("Volume SetMasterVolumeLevelScalar %.2f", level);
        FakeEffects::volumeLevel = level;
        return S_OK;
    }
    HRESULT STDMETHODCALLTYPE GetMasterVolumeLevel(float *) override { return E_FAIL; }
    HRESULT STDMETHODCALLTYPE GetMasterVolumeLevelScalar(float *level) override {
        *level = FakeEffects::volumeLevel;
        return S_OK;
    }
    HRESULT STDMETHODCALLTYPE SetChannelVolumeLevel(UINT, float, LPCGUID) override { return E_FAIL; }
    HRESULT STDMETHODCALLTYPE SetChannelVolumeLevelScalar(UINT, float, LPCGUID) override { return E_FAIL; }
    HRESULT STDMETHODCALLTYPE GetChannelVolumeLevel(UINT, float *) override { return E_FAIL; }
    HRESULT STDMETHODCALLTYPE GetChannelVolumeLevelScalar(UINT, float *) override { return E_FAIL; }
    HRESULT STDMETHODCALLTYPE SetMute(WINBOOL muted, LPCGUID) override {
        Record("Volume SetMute %d", muted);
        FakeEffects::volumeMuted = muted;
        return S_OK;
    }
    HRESULT STDMETHODCALLTYPE GetMute(WINBOOL *muted) override {
        *muted = FakeEffects::volumeMuted;
        return S_OK;
    }
    HRESULT STDMETHODCALLTYPE GetVolumeStepInfo(UINT *, UINT *) override { return E_FAIL; }
    HRESULT STDMETHODCALLTYPE VolumeStepUp(LPCGUID) override { return E_FAIL; }
    HRESULT STDMETHODCALLTYPE VolumeStepDown(LPCGUID) override { return E_FAIL; }
    HRESULT STDMETHODCALLTYPE QueryHardwareSupport(DWORD *) override { return E_FAIL; }
    HRESULT STDMETHODCALLTYPE GetVolumeRange(float *, float *, float *) override { return E_FAIL; }
} fakeAudio;

HRESULT WINAPI CoCreateInstanceFake(REFCLSID clsid, LPUNKNOWN, DWORD, REFIID, LPVOID *object) {
    if (clsid != __uuidof(MMDeviceEnumerator)) return REGDB_E_CLASSNOTREG;
    *object = static_cast<IMMDeviceEnumerator *>(&fakeAudio);
    return S_OK;
}

} // namespace

FakeEffects::FakeEffects() {
    calls.clear();
    tick = 1000000;
    tickStep = 0;
    winExecResult = 33;
    messageBoxResult = IDOK;
    cursor = {100, 100};
    refuseForeground = false;
    foreground = NULL;
    ownSession = consoleSession = 1;
    sessionKnown = TRUE;
    sessionRegisterCalls = sessionRegisterRefusals = 0;
    sessionInfoKnown = false;
    sessionFlags = 1;
    trayAddRefusals = 0;
    monitors.clear();
    platformId = VER_PLATFORM_WIN32_NT;
    openTokenResult = lookupResult = adjustResult = exitResult = TRUE;
    lastError = ERROR_SUCCESS;
    shellExecuteResult = suspendResult = lockResult = TRUE;
    integrity = SECURITY_MANDATORY_MEDIUM_RID;
    playbackDevice = true;
    volumeLevel = 0.4f;
    volumeMuted = FALSE;
    // By name, from an empty table: a member left out fails at once rather
    // than reaching the real function.
    fx = Effects{};
    fx.keybd_event = KeybdEvent;
    fx.SendInput = SendInputFake;
    fx.mouse_event = MouseEvent;
    fx.SetCursorPos = SetCursorPosFake;
    fx.GetCursorPos = GetCursorPosFake;
    fx.SetForegroundWindow = SetForegroundWindowFake;
    fx.GetForegroundWindow = GetForegroundWindowFake;
    fx.SetWindowPos = SetWindowPosFake;
    fx.ProcessIdToSessionId = ProcessIdToSessionIdFake;
    fx.WTSGetActiveConsoleSessionId = ConsoleSessionFake;
    fx.WTSRegisterSessionNotification = RegisterSessionFake;
    fx.WTSUnRegisterSessionNotification = UnregisterSessionFake;
    fx.WTSQuerySessionInformationA = QuerySessionFake;
    fx.WTSFreeMemory = FreeMemoryFake;
    fx.GetSystemMetrics = GetSystemMetricsFake;
    fx.MonitorFromPoint = MonitorFromPointFake;
    fx.MonitorFromWindow = MonitorFromWindowFake;
    fx.GetMonitorInfoA = GetMonitorInfoFake;
    fx.WinExec = WinExecFake;
    fx.MessageBoxA = MessageBoxFake;
    fx.GetVersionExA = GetVersionExFake;
    fx.OpenProcessToken = OpenProcessTokenFake;
    fx.LookupPrivilegeValueA = LookupPrivilegeValueFake;
    fx.AdjustTokenPrivileges = AdjustTokenPrivilegesFake;
    fx.GetLastError = GetLastErrorFake;
    fx.ExitWindowsEx = ExitWindowsExFake;
    fx.Shell_NotifyIconA = ShellNotifyIconFake;
    fx.GetTickCount = TickFake;
    fx.timeGetTime = TickFake;
    fx.Sleep = SleepFake;
    fx.ShellExecuteExA = ShellExecuteExFake;
    fx.SetSuspendState = SetSuspendStateFake;
    fx.LockWorkStation = LockWorkStationFake;
    fx.CoCreateInstance = CoCreateInstanceFake;
    fx.GetTokenInformation = GetTokenInformationFake;
}

FakeEffects::~FakeEffects() { fx = realEffects; }

std::vector<std::string> FakeEffects::CallsStartingWith(const std::string &prefix) {
    std::vector<std::string> out;
    for (const std::string &c : calls)
        if (c.compare(0, prefix.size(), prefix) == 0) out.push_back(c);
    return out;
}
