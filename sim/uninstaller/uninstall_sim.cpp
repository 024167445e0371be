// Stand-in uninstaller: uninstall_sim.exe <log file> <name> <milliseconds> [broadcast]
// Appends "start <name> <tick> <command line>" to the log, works for the
// given time, appends "end <name> <tick>" and exits with code 0. With
// "broadcast" it then announces a changed environment to every top-level
// window and waits until each has answered, as uninstallers that change the
// PATH do.
#include <windows.h>
#include <stdio.h>
#include <stdlib.h>

namespace {

void Append(const char *logPath, const char *line) {
    // Opened per line and shared, so a test (or a second stand-in) can read
    // and write it meanwhile.
    HANDLE file = INVALID_HANDLE_VALUE;
    for (int attempt = 0; attempt < 100 && file == INVALID_HANDLE_VALUE; ++attempt) {
        file = CreateFileA(logPath, FILE_APPEND_DATA, FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE, NULL,
                           OPEN_ALWAYS, FILE_ATTRIBUTE_NORMAL, NULL);
        if (file == INVALID_HANDLE_VALUE) Sleep(10);
    }
    if (file == INVALID_HANDLE_VALUE) return;
    DWORD written;
    WriteFile(file, line, lstrlenA(line), &written, NULL);
    WriteFile(file, "\r\n", 2, &written, NULL);
    CloseHandle(file);
}

} // namespace

int WINAPI WinMain(HINSTANCE, HINSTANCE, LPSTR, int) {
    if (__argc < 4) return 2;
    const char *logPath = __argv[1];
    const char *name = __argv[2];
    DWORD workMs = (DWORD)strtoul(__argv[3], NULL, 10);

    char line[1024];
    snprintf(line, sizeof line, "start %s %lu %s", name, GetTickCount(), GetCommandLineA());
    Append(logPath, line);
    Sleep(workMs);
    if (__argc > 4 && lstrcmpA(__argv[4], "broadcast") == 0)
        SendMessageA(HWND_BROADCAST, WM_SETTINGCHANGE, 0, (LPARAM) "Environment");
    snprintf(line, sizeof line, "end %s %lu", name, GetTickCount());
    Append(logPath, line);
    return 0;
}
