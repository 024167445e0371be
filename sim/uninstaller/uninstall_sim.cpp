// Stand-in uninstaller: uninstall_sim.exe <log file> <name> <milliseconds> [broadcast]
// Appends "start <name> <tick> <command line>" to the log, works for the
// given time, appends "end <name> <tick>" and exits with code 0. With
// "broadcast" it then announces a changed environment to every top-level
// window and waits until each has answered, as uninstallers that change the
// PATH do.
#include <windows.h>
#include <stdio.h>
#include <stdlib.h>
#include "sim/log_append.h"

int WINAPI WinMain(HINSTANCE, HINSTANCE, LPSTR, int) {
    if (__argc < 4) return 2;
    const char *logPath = __argv[1];
    const char *name = __argv[2];
    DWORD workMs = (DWORD)strtoul(__argv[3], NULL, 10);

    char line[1024];
    snprintf(line, sizeof line, "start %s %lu %s", name, GetTickCount(), GetCommandLineA());
    AppendLogLine(logPath, line);
    Sleep(workMs);
    if (__argc > 4 && lstrcmpA(__argv[4], "broadcast") == 0)
        SendMessageA(HWND_BROADCAST, WM_SETTINGCHANGE, 0, (LPARAM) "Environment");
    snprintf(line, sizeof line, "end %s %lu", name, GetTickCount());
    AppendLogLine(logPath, line);
    return 0;
}
