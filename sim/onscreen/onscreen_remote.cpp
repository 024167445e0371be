// The on-screen remote of the simulated tuner card: the remote's keys as
// buttons that press the card's keys the way the command-line remote does. A
// click is a press; a button held down is a held key, so the tray program's
// repeats and pointer acceleration can be felt. The status lines show what the
// card reports and where the keys go; each key's tooltip says what it does
// there, in the key reference's words.
#include <windows.h>
#include <commctrl.h>
#include <dbt.h>
#include <stdio.h>
#include <string>
#include "apps/tv_app_table.h"
#include "keyref/key_words.h"
#include "receiver/receiver.h"
#include "sim/onscreen/onscreen_resource.h"
#include "sim/remote/card_keys.h"
#include "platform/locale.h"
#include "tray/settings.h"

namespace {

const UINT_PTR kCardTimer = 1;   // follows a press while the card has it
const DWORD kCardPeriodMs = 30;
const UINT_PTR kTargetTimer = 2; // which TV application has the keys
const DWORD kTargetPeriodMs = 500;
const DWORD kReadTimeoutMs = 5000;
// With no TV application, keys 0 and 5 make the tray program press the mouse
// button where the pointer is, which is on this remote right after a click:
// such a click must not press a key again.
const DWORD kPointerClickGuardMs = 700;

struct Shortcut {
    UINT vk;
    RemoteKeyCode code;
    const char *name;
};
// Besides the digits (main row and keypad).
const Shortcut kShortcuts[] = {
    {'P', 18, "P"},         {'T', 20, "T"},          {VK_UP, 26, "Up"},       {VK_PRIOR, 26, "Page Up"},
    {VK_DOWN, 30, "Down"},  {VK_NEXT, 30, "Page Down"}, {VK_LEFT, 31, "Left"}, {VK_SUBTRACT, 31, "keypad -"},
    {VK_RIGHT, 27, "Right"}, {VK_ADD, 27, "keypad +"}, {VK_RETURN, 22, "Enter"}, {VK_BACK, 23, "Backspace"},
    {'R', 13, "R"},         {VK_SPACE, 29, "Space"}, {'S', 14, "S"},          {'M', 16, "M"},
};

SimCardState *card;
bool japanLayout;
const RemoteKey *keys;
size_t keyCount;
HWND dialog;
WNDPROC buttonProc;
int target = kNoTvApp;

// The key this remote has put down, until the card has let it go.
struct Pressing {
    bool active = false;
    bool letGo = false;      // the user has let go; the card may still hold it
    bool byKeyboard = false;
    size_t index = 0;
    CardPress press = {};
    DWORD letGoTick = 0;
    DWORD firstReadTick = 0;
} current;
RemoteKeyCode lastCode = -1;
DWORD guardUntil = 0;

int KeyIndexOf(RemoteKeyCode code) {
    for (size_t i = 0; i < keyCount; ++i)
        if (keys[i].code == code) return (int)i;
    return -1;
}

int ShortcutIndex(WPARAM vk) {
    if (vk >= '0' && vk <= '9') return KeyIndexOf((RemoteKeyCode)(vk - '0'));
    if (vk >= VK_NUMPAD0 && vk <= VK_NUMPAD9) return KeyIndexOf((RemoteKeyCode)(vk - VK_NUMPAD0));
    for (const Shortcut &s : kShortcuts)
        if (s.vk == vk) return KeyIndexOf(s.code);
    return -1;
}

std::string ShortcutOf(RemoteKeyCode code) {
    std::string names;
    if (code >= 0 && code <= 9) names = std::string(1, (char)('0' + code));
    for (const Shortcut &s : kShortcuts)
        if (s.code == code) names += (names.empty() ? "" : ", ") + std::string(s.name);
    return names;
}

int RawOf(RemoteKeyCode code) { return japanLayout ? code : RawOfLogical(code); }
RemoteKeyCode LogicalOf(int raw) { return japanLayout ? raw : MapRawKeyCode(raw); }

void SetText(int id, const std::string &text) {
    char now[256];
    GetDlgItemTextA(dialog, id, now, sizeof now);
    if (text != now) SetDlgItemTextA(dialog, id, text.c_str()); // no flicker while nothing changes
}

void ShowCardStatus(const char *state) {
    const RemoteKey &key = keys[current.index];
    int raw = current.press.raw;
    SetText(IDC_STATUS, Format("%s: raw code %d, logical %d\r\n%s", key.label, raw, LogicalOf(raw), state));
}

void FollowPress() {
    if (!current.active) return;
    DWORD now = GetTickCount();
    LONG reads = ReadsSince(card, current.press);
    if (reads > 0 && !current.firstReadTick) current.firstReadTick = now;
    std::string read = current.firstReadTick
                           ? Format("read by Telvix after %lu ms", (unsigned long)(current.firstReadTick -
                                                                                     current.press.downTick))
                           : "";
    if (!current.letGo) {
        ShowCardStatus(reads ? Format("held, %s, %ld reads", read.c_str(), (long)reads).c_str()
                             : "down, waiting for Telvix to read it");
        return;
    }
    if (card->keyDown) {
        if (now - current.letGoTick < kReadTimeoutMs) return;
        ReleaseKey(card);
        ShowCardStatus(card->liveFilters ? "not read within 5 s: is Telvix polling the card?"
                                         : "not read: no program has the card open (start Telvix)");
    } else {
        ShowCardStatus(reads > 1 ? Format("%s, %ld reads", read.c_str(), (long)reads).c_str() : read.c_str());
    }
    if (lastCode == 0 || lastCode == 5) guardUntil = now + kPointerClickGuardMs;
    current.active = false;
    KillTimer(dialog, kCardTimer);
}

void LetGo() {
    if (!current.active || current.letGo) return;
    EndPress(card, current.press);
    current.letGo = true;
    current.letGoTick = GetTickCount();
    FollowPress();
}

void PressKey(size_t index, bool byKeyboard) {
    if (current.active) {
        ReleaseKey(card); // the card has one key at a time
        current.active = false;
    }
    current = Pressing();
    current.active = true;
    current.byKeyboard = byKeyboard;
    current.index = index;
    current.press = PutKeyDown(card, RawOf(keys[index].code), false);
    lastCode = keys[index].code;
    SetTimer(dialog, kCardTimer, kCardPeriodMs, NULL);
    FollowPress();
}

bool IsGuardedClick() {
    if (target != kNoTvApp || (lastCode != 0 && lastCode != 5)) return false;
    return current.active || (int)(guardUntil - GetTickCount()) > 0;
}

int DefaultTvApp() {
    DWORD value = 0, size = sizeof value;
    HKEY key;
    if (RegOpenKeyExA(HKEY_LOCAL_MACHINE, TELVIX_SETTINGS_KEY, 0, KEY_READ, &key) == ERROR_SUCCESS) {
        RegQueryValueExA(key, "DefaultTVAPP", NULL, NULL, (BYTE *)&value, &size);
        RegCloseKey(key);
    }
    return (int)value;
}

// The TV application that has the keys, as far as can be seen from outside:
// the one whose window is open, in the order the tray program adopts them.
// Applications that answer to one window (Quick TV and TV@Anywhere) share it;
// it belongs to the default application when that is one of them (the power
// key started it).
int FindTarget() {
    const TvApp *first = nullptr;
    HWND window = NULL;
    for (const TvApp *app : kTvApps) {
        HWND w = FindTvAppPresent(*app);
        if (w && (!first || app->adoptionRank < first->adoptionRank)) first = app, window = w;
    }
    if (!first) return kNoTvApp;
    const TvApp *byDefault = FindTvApp(DefaultTvApp());
    if (byDefault && FindTvAppPresent(*byDefault) == window) return byDefault->id;
    return first->id;
}

void ShowTarget() {
    target = FindTarget();
    SetText(IDC_TARGET, target ? Format("Keys go to %s (its window is open)%s", TvAppTitle(target),
                                        japanLayout ? "; Japanese layout" : "")
                               : Format("No TV application: the keys work the pointer; Power starts the "
                                        "default one%s", japanLayout ? "; Japanese layout" : ""));
}

// Telvix's window class, which its notices go to.
const char kTelvixWindow[] = "Corvane Remote Control";

void ShowPlugButton() {
    SetText(IDC_PLUG, card->unplugged ? "Plug the card in" : "Unplug the card");
}

// Telvix hears of it from the system on a real computer; under Wine the
// remote tells its window what the system would.
void TogglePlug() {
    bool unplug = !card->unplugged;
    if (current.active) {
        ReleaseKey(card);
        current.active = false;
    }
    bool done = unplug ? UnplugCard(card) : PlugCard(card);
    if (HWND tray = FindWindowA(kTelvixWindow, NULL))
        PostMessageA(tray, WM_DEVICECHANGE, DBT_DEVNODES_CHANGED, 0);
    SetText(IDC_STATUS, !done ? "No device of the card is registered."
                        : unplug ? "Unplugged: the card's device is gone and Telvix's requests fail."
                                 : "Plugged in: a new device; Telvix binds it when it hears of it.");
    ShowPlugButton();
}

std::string TooltipOf(size_t index) {
    const RemoteKey &key = keys[index];
    KeyWords w = DescribeKey(target, japanLayout, key.code);
    std::string where = target ? std::string("in ") + TvAppTitle(target) : "with no TV application";
    std::string text = Format("%s (key %d) %s:\r\n", key.label, key.code, where.c_str());
    text += w.sends.empty() ? "nothing" : w.sends + ": " + w.does;
    if (!w.note.empty()) text += " (" + w.note + ")";
    std::string shortcut = ShortcutOf(key.code);
    if (!shortcut.empty()) text += "\r\nKeyboard: " + shortcut;
    return text;
}

LRESULT CALLBACK KeyButtonProc(HWND button, UINT message, WPARAM wParam, LPARAM lParam) {
    size_t index = (size_t)(GetDlgCtrlID(button) - IDC_KEY_FIRST);
    switch (message) {
    case WM_LBUTTONDOWN:
    case WM_LBUTTONDBLCLK:
        if (IsGuardedClick()) return 0;
        PressKey(index, false);
        break;
    case WM_LBUTTONUP: {
        LRESULT result = CallWindowProcA(buttonProc, button, message, wParam, lParam);
        if (!current.byKeyboard) LetGo();
        return result;
    }
    case WM_CAPTURECHANGED:
        if (!current.byKeyboard) LetGo();
        break;
    default: break;
    }
    return CallWindowProcA(buttonProc, button, message, wParam, lParam);
}

void AddTooltips() {
    HWND tip = CreateWindowExA(WS_EX_TOPMOST, TOOLTIPS_CLASSA, NULL, WS_POPUP | TTS_ALWAYSTIP, CW_USEDEFAULT,
                               CW_USEDEFAULT, CW_USEDEFAULT, CW_USEDEFAULT, dialog, NULL, NULL, NULL);
    SendMessageA(tip, TTM_SETMAXTIPWIDTH, 0, 320);
    SendMessageA(tip, TTM_SETDELAYTIME, TTDT_AUTOPOP, 20000);
    for (size_t i = 0; i < keyCount; ++i) {
        TOOLINFOA info = {};
        info.cbSize = TTTOOLINFOA_V2_SIZE;
        info.uFlags = TTF_IDISHWND | TTF_SUBCLASS;
        info.hwnd = dialog;
        info.uId = (UINT_PTR)GetDlgItem(dialog, IDC_KEY_FIRST + (int)i);
        info.lpszText = LPSTR_TEXTCALLBACKA;
        SendMessageA(tip, TTM_ADDTOOLA, 0, (LPARAM)&info);
    }
}

void OnInitDialog(HWND window) {
    dialog = window;
    keys = RemoteKeys(japanLayout, &keyCount);
    for (size_t i = 0; i < keyCount; ++i) {
        HWND button = GetDlgItem(window, IDC_KEY_FIRST + (int)i);
        SetWindowTextA(button, keys[i].label);
        buttonProc = (WNDPROC)SetWindowLongPtrA(button, GWLP_WNDPROC, (LONG_PTR)KeyButtonProc);
    }
    AddTooltips();
    // Beside the TV application's windows, at the right of the work area.
    RECT area, self;
    SystemParametersInfoA(SPI_GETWORKAREA, 0, &area, 0);
    GetWindowRect(window, &self);
    SetWindowPos(window, NULL, area.right - (self.right - self.left) - 16, area.top + 16, 0, 0,
                 SWP_NOSIZE | SWP_NOZORDER);
    SetText(IDC_STATUS, card->liveFilters ? "Click a key, or hold it down."
                                          : "No program has the card open yet: start Telvix with the "
                                            "simulated card registered.");
    ShowTarget();
    ShowPlugButton();
    SetTimer(window, kTargetTimer, kTargetPeriodMs, NULL);
}

INT_PTR CALLBACK DialogProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
    switch (message) {
    case WM_INITDIALOG: OnInitDialog(window); return TRUE;
    case WM_TIMER:
        if (wParam == kCardTimer) FollowPress();
        if (wParam == kTargetTimer) ShowTarget();
        return TRUE;
    case WM_NOTIFY: {
        NMHDR *header = (NMHDR *)lParam;
        if (header->code != TTN_GETDISPINFOA) return FALSE;
        static char text[512];
        int index = GetDlgCtrlID((HWND)header->idFrom) - IDC_KEY_FIRST;
        if (index < 0 || index >= (int)keyCount) return FALSE;
        lstrcpynA(text, TooltipOf((size_t)index).c_str(), sizeof text);
        ((NMTTDISPINFOA *)lParam)->lpszText = text;
        return TRUE;
    }
    case WM_ACTIVATE:
        // A key held from the keyboard would never see its key-up elsewhere.
        if (LOWORD(wParam) == WA_INACTIVE && current.byKeyboard) LetGo();
        return FALSE;
    case WM_COMMAND:
        if (LOWORD(wParam) == IDC_PLUG && HIWORD(wParam) == BN_CLICKED) TogglePlug();
        return TRUE; // Esc and Enter are keys of the remote, not the dialog's
    case WM_CLOSE: DestroyWindow(window); return TRUE;
    case WM_DESTROY:
        if (current.active) ReleaseKey(card);
        PostQuitMessage(0);
        return TRUE;
    default: return FALSE;
    }
}

// Shortcut keys go to the remote before the dialog turns them into its own
// navigation (arrows, Enter, Space).
bool HandleShortcut(const MSG &msg) {
    if (msg.message != WM_KEYDOWN && msg.message != WM_KEYUP) return false;
    if (msg.hwnd != dialog && !IsChild(dialog, msg.hwnd)) return false;
    int index = ShortcutIndex(msg.wParam);
    if (index < 0) return false;
    if (msg.message == WM_KEYDOWN && !(msg.lParam & (1 << 30))) PressKey((size_t)index, true);
    if (msg.message == WM_KEYUP && current.active && current.index == (size_t)index) LetGo();
    return true;
}

} // namespace

int WINAPI WinMain(HINSTANCE instance, HINSTANCE, LPSTR, int show) {
    HANDLE mapping;
    card = OpenSimCardState(&mapping);
    if (!card) {
        MessageBoxA(NULL, "The simulated card's state cannot be opened.", "Remote Control", MB_ICONERROR);
        return 1;
    }
    // The layout the tray program chooses on this computer.
    japanLayout = GetCountryCode() == 81;
    INITCOMMONCONTROLSEX controls = {sizeof controls, ICC_WIN95_CLASSES};
    InitCommonControlsEx(&controls);
    HWND window = CreateDialogParamA(instance, MAKEINTRESOURCEA(IDD_REMOTE), NULL, DialogProc, 0);
    if (!window) return 1;
    ShowWindow(window, show);
    MSG msg;
    while (GetMessageA(&msg, NULL, 0, 0) > 0) {
        if (HandleShortcut(msg) || IsDialogMessageA(dialog, &msg)) continue;
        TranslateMessage(&msg);
        DispatchMessageA(&msg);
    }
    UnmapViewOfFile(card);
    CloseHandle(mapping);
    return 0;
}
