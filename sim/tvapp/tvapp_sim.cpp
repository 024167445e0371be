// Stand-in TV application. Started under the executable name of one of the
// TV applications of kTvApps (or as "PlayerSim.exe", a program of today that
// the user's key maps drive), it shows that application's window identity,
// logs every keystroke, character, private message, show-state change and
// close request it receives to "tvapp_sim.log" beside itself, and closes when
// it gets the close action of that application's row.
#include <windows.h>
#include <stdio.h>
#include <string.h>
#include <deque>
#include <string>
#include "sim/tvapp/stand_in.h"
#include "sim/log_append.h"

namespace {

const UINT WM_PRIVATE_38F = 0x038F;

const TvApp *identity = nullptr;
std::string tag; // name in the log
char logPath[MAX_PATH];
HWND mainWindow = nullptr;
HWND videoWindow = nullptr;
// The last events, newest first, drawn in the main window: a picture of it
// shows what it received.
std::deque<std::string> recent;
const size_t kRecentShown = 10;

void Remember(const char *event) {
    recent.push_front(event);
    if (recent.size() > kRecentShown) recent.pop_back();
    if (mainWindow) InvalidateRect(mainWindow, NULL, TRUE);
}

void PaintRecent(HWND window) {
    PAINTSTRUCT paint;
    HDC dc = BeginPaint(window, &paint);
    HGDIOBJ old = SelectObject(dc, GetStockObject(DEFAULT_GUI_FONT));
    SetBkMode(dc, TRANSPARENT);
    TEXTMETRICA metrics;
    GetTextMetricsA(dc, &metrics);
    RECT line;
    GetClientRect(window, &line);
    line.left += 6;
    line.top += 4;
    std::string heading = "Received, newest first:";
    for (size_t i = 0; i <= recent.size(); ++i) {
        const std::string &text = i == 0 ? heading : recent[i - 1];
        DrawTextA(dc, text.c_str(), -1, &line, DT_SINGLELINE | DT_NOPREFIX | DT_END_ELLIPSIS);
        line.top += metrics.tmHeight + 1;
    }
    SelectObject(dc, old);
    EndPaint(window, &paint);
}

void Log(const char *format, ...) {
    char line[512];
    int n = snprintf(line, sizeof line, "%s %lu ", tag.c_str(), GetTickCount());
    va_list args;
    va_start(args, format);
    vsnprintf(line + n, sizeof line - n, format, args);
    va_end(args);
    Remember(line + n);
    AppendLogLine(logPath, line);
}

const char *WindowTag(HWND window) { return window == videoWindow ? "video" : "main"; }

bool Down(int vk) { return (GetKeyState(vk) & 0x8000) != 0; }

void Close(const char *why) {
    Log("close %s", why);
    if (videoWindow) DestroyWindow(videoWindow);
    DestroyWindow(mainWindow);
}

std::string KeyName(BYTE vk) {
    switch (vk) {
    case VK_MENU: return "Alt";
    case VK_CONTROL: return "Ctrl";
    case VK_SHIFT: return "Shift";
    default: break;
    }
    if (vk >= VK_F1 && vk <= VK_F24) return "F" + std::to_string(vk - VK_F1 + 1);
    return std::string(1, (char)vk);
}

// The close chord of the row: its modifiers held and its key going down.
void OnKey(const char *name, WPARAM vk, LPARAM lParam, bool isDown) {
    Log("%s 0x%02X 0x%08lX ctrl=%d shift=%d alt=%d", name, (unsigned)vk, (unsigned long)lParam, Down(VK_CONTROL),
        Down(VK_SHIFT), Down(VK_MENU));
    const KeyAction &close = identity->close.action;
    if (!isDown || close.form != KeyForm::Chord || vk != close.key) return;
    std::string chord = "chord ";
    for (int i = 0; i < close.modifierCount; ++i) {
        if (!Down(close.modifiers[i])) return;
        chord += KeyName(close.modifiers[i]) + "+";
    }
    Close((chord + KeyName(close.key)).c_str());
}

// The close message of the row.
void OnPrivate(UINT message, WPARAM wParam) {
    const KeyAction &close = identity->close.action;
    if (close.form == KeyForm::Private && message == close.message && wParam == close.code)
        Close(("command " + std::to_string(wParam)).c_str());
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
        OnPrivate(message, wParam);
        return 0;
    case WM_TVAPP_COMMAND:
        Log("MSG_0BD0 %lu %ld", (unsigned long)wParam, (long)lParam);
        OnPrivate(message, wParam);
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
    case WM_PAINT:
        if (window != mainWindow) break;
        PaintRecent(window);
        return 0;
    default: break;
    }
    return DefWindowProcA(window, message, wParam, lParam);
}

const TvApp *IdentityFromModule() {
    char path[MAX_PATH];
    GetModuleFileNameA(NULL, path, sizeof path);
    const char *base = strrchr(path, '\\');
    base = base ? base + 1 : path;
    for (const TvApp *app : kTvApps)
        if (lstrcmpiA(base, app->identity.exeName) == 0) return app;
    // Not a TV application: a plain program for the user's key maps, closed
    // only through its window.
    static const TvApp player = {
        .id = TvAppId(0),
        .identity = {.name = "Player", .registryKey = "", .valueName = "", .exeName = "PlayerSim.exe",
                     .windowClass = "TelvixSimPlayer", .titlePrefix = "Player"},
        .descriptor = nullptr,
        .windows = {.presentClass = nullptr, .presentTitle = nullptr, .findMain = nullptr, .runningBy = TvAppSearch::Main},
        .keyMap = nullptr,
        .close = {.action = Nothing, .by = TvAppSearch::Main},
        .commands = {.key20 = 0, .key21 = 0, .waits = false},
        .adoptionRank = 0,
        .menuCommand = 0,
        .names = {.title = "Player", .descriptionGroup = ""},
    };
    if (lstrcmpiA(base, player.identity.exeName) == 0) return &player;
    return nullptr;
}

} // namespace

int WINAPI WinMain(HINSTANCE instance, HINSTANCE, LPSTR, int show) {
    identity = IdentityFromModule();
    if (!identity) return 2;
    tag = StandInTag(*identity);
    const std::string className = StandInClass(*identity);
    const std::string title = StandInTitle(*identity);
    // PowerVCR II's key 24 shows and hides a second window holding "VideoWindow2".
    const bool withVideoWindow = identity->id == kPowerVcr;
    GetModuleFileNameA(NULL, logPath, sizeof logPath);
    char *slash = strrchr(logPath, '\\');
    lstrcpyA(slash ? slash + 1 : logPath, "tvapp_sim.log");

    WNDCLASSA wc = {};
    wc.lpfnWndProc = WindowProc;
    wc.hInstance = instance;
    wc.hCursor = LoadCursorA(NULL, IDC_ARROW);
    wc.hbrBackground = (HBRUSH)(COLOR_WINDOW + 1);
    wc.lpszClassName = className.c_str();
    RegisterClassA(&wc);

    mainWindow = CreateWindowExA(0, className.c_str(), title.c_str(), WS_OVERLAPPEDWINDOW, 40, 40, 320, 240, NULL,
                                 NULL, instance, NULL);
    if (withVideoWindow) {
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
