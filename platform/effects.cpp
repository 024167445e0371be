#include "platform/effects.h"
#include <mmsystem.h>
#include <powrprof.h>

namespace {

// By name: several members share a signature, so an order slip would still compile.
Effects RealEffects() {
    Effects real = {};
    real.keybd_event = ::keybd_event;
    real.SendInput = ::SendInput;
    real.mouse_event = ::mouse_event;
    real.SetCursorPos = ::SetCursorPos;
    real.GetCursorPos = ::GetCursorPos;
    real.SetForegroundWindow = ::SetForegroundWindow;
    real.GetForegroundWindow = ::GetForegroundWindow;
    real.SetWindowPos = ::SetWindowPos;
    real.WinExec = ::WinExec;
    real.ShellExecuteExA = ::ShellExecuteExA;
    real.MessageBoxA = ::MessageBoxA;
    real.ProcessIdToSessionId = ::ProcessIdToSessionId;
    real.WTSGetActiveConsoleSessionId = ::WTSGetActiveConsoleSessionId;
    real.WTSRegisterSessionNotification = ::WTSRegisterSessionNotification;
    real.WTSUnRegisterSessionNotification = ::WTSUnRegisterSessionNotification;
    real.WTSQuerySessionInformationA = ::WTSQuerySessionInformationA;
    real.WTSFreeMemory = ::WTSFreeMemory;
    real.GetSystemMetrics = ::GetSystemMetrics;
    real.MonitorFromPoint = ::MonitorFromPoint;
    real.MonitorFromWindow = ::MonitorFromWindow;
    real.GetMonitorInfoA = ::GetMonitorInfoA;
    real.GetVersionExA = ::GetVersionExA;
    real.OpenProcessToken = ::OpenProcessToken;
    real.LookupPrivilegeValueA = ::LookupPrivilegeValueA;
    real.AdjustTokenPrivileges = ::AdjustTokenPrivileges;
    real.GetLastError = ::GetLastError;
    real.ExitWindowsEx = ::ExitWindowsEx;
    real.SetSuspendState = ::SetSuspendState;
    real.LockWorkStation = ::LockWorkStation;
    real.CoCreateInstance = ::CoCreateInstance;
    real.GetTokenInformation = ::GetTokenInformation;
    real.Shell_NotifyIconA = ::Shell_NotifyIconA;
    real.GetTickCount = ::GetTickCount;
    real.timeGetTime = ::timeGetTime;
    real.Sleep = ::Sleep;
    return real;
}

} // namespace

const Effects realEffects = RealEffects();

Effects fx = realEffects;
