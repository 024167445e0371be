// The calls that must not really happen in a unit test, or that wait for a
// person: synthesized input, starting programs, message boxes, the shutdown,
// sleep and the lock, the system volume, the tray icon and the clock. Everything goes through this one table, which holds the real
// functions; unit tests swap in recorders. Everything else is called directly.
#pragma once
#include <windows.h>
#include <shellapi.h>
#include <wtsapi32.h>

struct Effects {
    void(WINAPI *keybd_event)(BYTE vk, BYTE scan, DWORD flags, ULONG_PTR extra);
    UINT(WINAPI *SendInput)(UINT count, LPINPUT inputs, int size);
    void(WINAPI *mouse_event)(DWORD flags, DWORD dx, DWORD dy, DWORD data, ULONG_PTR extra);
    BOOL(WINAPI *SetCursorPos)(int x, int y);
    BOOL(WINAPI *GetCursorPos)(LPPOINT point);
    // Windows may refuse a background program the foreground; Wine never does.
    BOOL(WINAPI *SetForegroundWindow)(HWND window);
    HWND(WINAPI *GetForegroundWindow)();
    // Its flags say whether a window may take activation; Wine may ignore them.
    BOOL(WINAPI *SetWindowPos)(HWND window, HWND after, int x, int y, int cx, int cy, UINT flags);
    UINT(WINAPI *WinExec)(LPCSTR commandLine, UINT show);
    BOOL(WINAPI *ShellExecuteExA)(SHELLEXECUTEINFOA *info);
    int(WINAPI *MessageBoxA)(HWND owner, LPCSTR text, LPCSTR caption, UINT type);
    // Which session is at the console: Wine runs one only.
    BOOL(WINAPI *ProcessIdToSessionId)(DWORD processId, DWORD *sessionId);
    DWORD(WINAPI *WTSGetActiveConsoleSessionId)();
    // Lock notices and the lock state: Wine neither locks nor refuses.
    BOOL(WINAPI *WTSRegisterSessionNotification)(HWND window, DWORD flags);
    BOOL(WINAPI *WTSUnRegisterSessionNotification)(HWND window);
    BOOL(WINAPI *WTSQuerySessionInformationA)(HANDLE server, DWORD session, WTS_INFO_CLASS what, LPSTR *buffer,
                                              DWORD *bytes);
    void(WINAPI *WTSFreeMemory)(PVOID memory);
    // Where the monitors are: Wine shows one here.
    int(WINAPI *GetSystemMetrics)(int index);
    HMONITOR(WINAPI *MonitorFromPoint)(POINT point, DWORD flags);
    HMONITOR(WINAPI *MonitorFromWindow)(HWND window, DWORD flags);
    BOOL(WINAPI *GetMonitorInfoA)(HMONITOR monitor, LPMONITORINFO info);
    // Shutdown and the platform family it depends on.
    BOOL(WINAPI *GetVersionExA)(LPOSVERSIONINFOA info);
    BOOL(WINAPI *OpenProcessToken)(HANDLE process, DWORD access, PHANDLE token);
    BOOL(WINAPI *LookupPrivilegeValueA)(LPCSTR system, LPCSTR name, PLUID luid);
    BOOL(WINAPI *AdjustTokenPrivileges)(HANDLE token, BOOL disableAll, PTOKEN_PRIVILEGES newState,
                                        DWORD length, PTOKEN_PRIVILEGES previous, PDWORD returned);
    DWORD(WINAPI *GetLastError)();
    BOOL(WINAPI *ExitWindowsEx)(UINT flags, DWORD reason);
    BOOLEAN(WINAPI *SetSuspendState)(BOOLEAN hibernate, BOOLEAN force, BOOLEAN wakeupEventsDisabled);
    BOOL(WINAPI *LockWorkStation)();
    // The system volume's objects (Core Audio); a test hands out its own.
    HRESULT(WINAPI *CoCreateInstance)(REFCLSID clsid, LPUNKNOWN outer, DWORD context, REFIID iid, LPVOID *object);
    // What rights the program in front has (its integrity level): Wine gives
    // every process the same.
    BOOL(WINAPI *GetTokenInformation)(HANDLE token, TOKEN_INFORMATION_CLASS what, LPVOID out, DWORD size,
                                      PDWORD returned);
    // The tray icon: a unit test's windows must not fill the shell's tray.
    BOOL(WINAPI *Shell_NotifyIconA)(DWORD message, PNOTIFYICONDATAA data);
    // Clock.
    DWORD(WINAPI *GetTickCount)();
    DWORD(WINAPI *timeGetTime)();
    void(WINAPI *Sleep)(DWORD ms);
};

extern Effects fx;

// The table as the program starts with it; tests restore it from here.
extern const Effects realEffects;
