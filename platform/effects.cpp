#include "platform/effects.h"
#include <mmsystem.h>

const Effects realEffects = {
    ::keybd_event,
    ::mouse_event,
    ::SetCursorPos,
    ::GetCursorPos,
    ::WinExec,
    ::MessageBoxA,
    ::GetVersionExA,
    ::OpenProcessToken,
    ::LookupPrivilegeValueA,
    ::AdjustTokenPrivileges,
    ::GetLastError,
    ::ExitWindowsEx,
    ::GetTickCount,
    ::timeGetTime,
    ::Sleep,
};

Effects fx = realEffects;
