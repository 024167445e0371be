// Stand-in TV application. Started under the executable name of one of the
// four TV applications (or as "PlayerSim.exe", a program of today that the
// user's key maps drive), it shows that application's window identity, logs
// every keystroke, character, private message, show-state change and close
// request it receives to "tvapp_sim.log" beside itself, and closes the way
// that application is told to close.
#include <windows.h>
#include <stdio.h>
#include <string.h>

namespace {

enum CloseBy { kChordAltCtrlShiftF8, kChordCtrlX, kCommandOne, kWindowCloseOnly };

struct Identity {
    const char *exeName;
    const char *tag;        // name in the log
    const char *className;
    const char *title;
    CloseBy closeBy;
    bool videoWindow;       // PowerVCR II: a second window holding "VideoWindow2"
};

const Identity kIdentities[] = {
    {"Home Theater.exe", "HomeTheater", "HomeTheaterSimFrame", "Home Theater", kChordAltCtrlShiftF8, false},
    {"PVCR.EXE", "PowerVCR", "PowerVCR II Taurus", "PowerVCR II", kChordCtrlX, true},
    {"QuickTV.EXE", "QuickTV", "Quick_TV", "FormMainWindow", kCommandOne, false},
    {"MSITVR.exe", "TVAnywhere", "TV@Anywhere", "FormMainWindow", kCommandOne, false},
    {"PlayerSim.exe", "Player", "TelvixSimPlayer", "Player", kWindowCloseOnly, false},
};

const UINT WM_TVAPP_COMMAND = 0x0BD0;
const UINT WM_PRIVATE_38F = 0x038F;

const Identity *identity = nullptr;
char logPath[MAX_PATH];
HWND mainWindow = nullptr;
HWND videoWindow = nullptr;

void Log(const char *format, ...) {
    char line[512];
    int n = snprintf(line, sizeof line, "%s %lu ", identity->tag, GetTickCount());
    va_list args;
    va_start(args, format);
    vsnprintf(line + n, sizeof line - n, format, args);
    va_end(args);
    // Opened per line and shared, so a test can read it while we run.
    HANDLE file = INVALID_HANDLE_VALUE;
    for (int attempt = 0; attempt < 50 && file == INVALID_HANDLE_VALUE; ++attempt) {
        file = CreateFileA(logPath, FILE_APPEND_DATA, FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE, NULL,
                           OPEN_ALWAYS, FILE_ATTRIBUTE_NORMAL, NULL);
        if (file == INVALID_HANDLE_VALUE) Sleep(10);
    }
    if (file == INVALID_HANDLE_VALUE) return;
    DWORD written;
    lstrcatA(line, "\r\n");
    WriteFile(file, line, lstrlenA(line), &written, NULL);
    CloseHandle(file);
}

const char *WindowTag(HWND window) { return window == videoWindow ? "video" : "main"; }

bool Down(int vk) { return (GetKeyState(vk) & 0x8000) != 0; }

void Close(const char *why) {
    Log("close %s", why);
    if (videoWindow) DestroyWindow(videoWindow);
    DestroyWindow(mainWindow);
}

void OnKey(const char *name, WPARAM vk, LPARAM lParam, bool isDown) {
    Log("%s 0x%02X 0x%08lX ctrl=%d shift=%d alt=%d", name, (unsigned)vk, (unsigned long)lParam, Down(VK_CONTROL),
        Down(VK_SHIFT), Down(VK_MENU));
    if (!isDown) return;
    if (identity->closeBy == kChordAltCtrlShiftF8 && vk == VK_F8 && Down(VK_CONTROL) && Down(VK_SHIFT) &&
        Down(VK_MENU))
        Close("chord Alt+Ctrl+Shift+F8");
    else if (identity->closeBy == kChordCtrlX && vk == 'X' && Down(VK_CONTROL))
        Close("chord Ctrl+X");
}

LRESULT CALLBACK WindowProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
    switch (message) {
    case WM_KEYDOWN: OnKey("WM_KEYDOWN", wParam, lParam, true); return 0;
    case WM_KEYUP: OnKey("WM_KEYUP", wParam, lParam, false); return 0;
    case WM_SYSKEYDOWN: OnKey("WM_SYSKEYDOWN", wParam, lParam, true); return 0;
    case WM_SYSKEYUP: OnKey("WM_SYSKEYUP", wParam, lParam, false); return 0;
    case WM_CHAR: Log("WM_CHAR 0x%02X 0x%08lX", (unsigned)wParam, (unsigned long)lParam); return 0;
    case WM_SYSCHAR: Log("WM_SYSCHAR 0x%02X 0x%08lX", (unsigned)wParam, (unsigned long)lParam); return 0;
    case WM_PRIVATE_38F:
        Log("MSG_038F 0x%lX 0x%lX", (unsigned long)wParam, (unsigned long)lParam);
        return 0;
    case WM_TVAPP_COMMAND:
        Log("MSG_0BD0 %lu %ld", (unsigned long)wParam, (long)lParam);
        if (identity->closeBy == kCommandOne && wParam == 1) Close("command 1");
        return 0;
    case WM_APPCOMMAND:
        Log("WM_APPCOMMAND %d", GET_APPCOMMAND_LPARAM(lParam));
        return TRUE;
    case WM_SIZE:
        if (wParam == SIZE_MINIMIZED) Log("show %s minimized", WindowTag(window));
        else if (wParam == SIZE_RESTORED) Log("show %s restored", WindowTag(window));
        break;
    case WM_CLOSE:
        Log("WM_CLOSE %s", WindowTag(window));
        Close("WM_CLOSE");
        return 0;
    case WM_DESTROY:
        if (window == mainWindow) PostQuitMessage(0);
        return 0;
    default: break;
    }
    return DefWindowProcA(window, message, wParam, lParam);
}

const Identity *IdentityFromModule() {
    char path[MAX_PATH];
    GetModuleFileNameA(NULL, path, sizeof path);
    const char *base = strrchr(path, '\\');
    base = base ? base + 1 : path;
    for (const Identity &id : kIdentities)
        if (lstrcmpiA(base, id.exeName) == 0) return &id;
    return nullptr;
}

} // namespace

int WINAPI WinMain(HINSTANCE instance, HINSTANCE, LPSTR, int show) {
    identity = IdentityFromModule();
    if (!identity) return 2;
    GetModuleFileNameA(NULL, logPath, sizeof logPath);
    char *slash = strrchr(logPath, '\\');
    lstrcpyA(slash ? slash + 1 : logPath, "tvapp_sim.log");

    WNDCLASSA wc = {};
    wc.lpfnWndProc = WindowProc;
    wc.hInstance = instance;
    wc.hCursor = LoadCursorA(NULL, IDC_ARROW);
    wc.hbrBackground = (HBRUSH)(COLOR_WINDOW + 1);
    wc.lpszClassName = identity->className;
    RegisterClassA(&wc);

    mainWindow = CreateWindowExA(0, identity->className, identity->title, WS_OVERLAPPEDWINDOW, 40, 40, 320, 240,
                                 NULL, NULL, instance, NULL);
    if (identity->videoWindow) {
        wc.lpszClassName = "PowerVCRSimVideo";
        RegisterClassA(&wc);
        videoWindow = CreateWindowExA(0, wc.lpszClassName, "Video", WS_OVERLAPPEDWINDOW, 380, 40, 240, 180, NULL,
                                      NULL, instance, NULL);
        CreateWindowExA(0, "STATIC", "VideoWindow2", WS_CHILD | WS_VISIBLE, 0, 0, 200, 150, videoWindow, NULL,
                        instance, NULL);
        ShowWindow(videoWindow, SW_SHOWNOACTIVATE);
    }
    ShowWindow(mainWindow, show);
    UpdateWindow(mainWindow);
    SetForegroundWindow(mainWindow);
    SetFocus(mainWindow);
    Log("started pid=%lu main=%p", GetCurrentProcessId(), (void *)mainWindow);

    MSG msg;
    while (GetMessageA(&msg, NULL, 0, 0) > 0) {
        TranslateMessage(&msg);
        DispatchMessageA(&msg);
    }
    Log("exited");
    return 0;
}
