#include "platform/shutdown_privilege.h"
#include <windows.h>
#include "platform/effects.h"

bool EnableShutdownPrivilege() {
    HANDLE token = NULL;
    if (!fx.OpenProcessToken(GetCurrentProcess(), TOKEN_ADJUST_PRIVILEGES | TOKEN_QUERY, &token)) return false;
    TOKEN_PRIVILEGES privileges;
    ZeroMemory(&privileges, sizeof privileges);
    // A failed look-up leaves a LUID that the adjustment then refuses.
    fx.LookupPrivilegeValueA(NULL, SE_SHUTDOWN_NAME, &privileges.Privileges[0].Luid);
    privileges.PrivilegeCount = 1;
    privileges.Privileges[0].Attributes = SE_PRIVILEGE_ENABLED;
    // Its result says nothing about partial success; only the last error does.
    fx.AdjustTokenPrivileges(token, FALSE, &privileges, 0, NULL, NULL);
    DWORD error = fx.GetLastError();
    CloseHandle(token);
    return error == ERROR_SUCCESS;
}
