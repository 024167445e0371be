#include "routing/user_key_route.h"
#include <stdio.h>
#include <string.h>
#include "apps/key_delivery.h"
#include "platform/effects.h"
#include "platform/foreground.h"
#include "platform/trace.h"
#include "routing/poll_timing.h"
#include "routing/user_keys.h"

namespace {

const int kFileCount = 2; // the machine's, the user's
const char kUserFolder[] = "Corvane Remote Control"; // under %APPDATA%

// What a change check compares: a file that appears, goes, or is written anew.
struct FileStamp {
    bool present;
    FILETIME written;
    DWORD size;
};

char paths[kFileCount][MAX_PATH];
FileStamp stamps[kFileCount];
DWORD lastCheck;
UserKeyMap fileMaps[kFileCount];
UserKeyMap userKeyMap; // what routing looks keys up in

FileStamp StampOf(const char *path) {
    FileStamp stamp = {};
    WIN32_FILE_ATTRIBUTE_DATA data;
    if (path[0] && GetFileAttributesExA(path, GetFileExInfoStandard, &data) &&
        !(data.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY)) {
        stamp.present = true;
        stamp.written = data.ftLastWriteTime;
        stamp.size = data.nFileSizeLow;
    }
    return stamp;
}

bool SameStamp(const FileStamp &a, const FileStamp &b) {
    return a.present == b.present && a.size == b.size && CompareFileTime(&a.written, &b.written) == 0;
}

void ReportLine(void *context, int line, const char *why) {
    Trace("key maps: %s line %d skipped: %s", (const char *)context, line, why);
}

// Reads at most kUserMapFileBytes; a line cut there is dropped, not half read.
void ReadMapFile(const char *path, UserKeyMap &map) {
    static char text[kUserMapFileBytes + 1];
    map.count = 0;
    if (!path[0]) return;
    HANDLE file = CreateFileA(path, GENERIC_READ, FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE, NULL,
                              OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL, NULL);
    if (file == INVALID_HANDLE_VALUE) return;
    DWORD length = 0;
    BOOL read = ReadFile(file, text, sizeof text, &length, NULL);
    CloseHandle(file);
    if (!read) return;
    if (length > kUserMapFileBytes) {
        length = kUserMapFileBytes;
        while (length && text[length - 1] != '\n' && text[length - 1] != '\r') --length;
        ReportLine((void *)path, 0, "longer than 64 KB: the rest is not read");
    }
    int sections = ParseUserKeyMap(text, length, map, ReportLine, (void *)path);
    Trace("key maps: %s read, %d sections", path, sections);
}

void ReadAll() {
    for (int i = 0; i < kFileCount; ++i) {
        stamps[i] = StampOf(paths[i]);
        ReadMapFile(paths[i], fileMaps[i]);
    }
    MergeUserKeyMaps(fileMaps[0], fileMaps[1], userKeyMap);
}

// The foreground window and what sections are matched against.
struct ForegroundProgram {
    HWND window;
    DWORD thread, pid;
    char process[MAX_PATH]; // file name only; "" when it cannot be read
    char windowClass[256];
};

void ProcessFileName(DWORD pid, char *out, DWORD size) {
    out[0] = 0;
    // Vista and later; it also names programs running with more rights than ours.
    typedef BOOL(WINAPI * QueryName)(HANDLE, DWORD, LPSTR, PDWORD);
    static QueryName query =
        (QueryName)(void *)GetProcAddress(GetModuleHandleA("kernel32.dll"), "QueryFullProcessImageNameA");
    const DWORD kQueryLimited = 0x1000; // PROCESS_QUERY_LIMITED_INFORMATION
    HANDLE process = query ? OpenProcess(kQueryLimited, FALSE, pid) : NULL;
    if (!process) return;
    char path[MAX_PATH];
    DWORD length = sizeof path;
    if (query(process, 0, path, &length)) {
        const char *slash = strrchr(path, '\\');
        lstrcpynA(out, slash ? slash + 1 : path, (int)size);
    }
    CloseHandle(process);
}

ForegroundProgram inFront; // 0.5 KB of names: kept off the poll cycle's stack

bool ReadForeground(ForegroundProgram &fg) {
    fg.window = fx.GetForegroundWindow();
    // A minimised window may keep the foreground for a while: it gets nothing.
    if (!fg.window || IsIconic(fg.window) || !IsWindowVisible(fg.window)) return false;
    fg.thread = GetWindowThreadProcessId(fg.window, &fg.pid);
    if (!fg.thread) return false;
    if (!GetClassNameA(fg.window, fg.windowClass, sizeof fg.windowClass)) fg.windowClass[0] = 0;
    ProcessFileName(fg.pid, fg.process, sizeof fg.process);
    return true;
}

// Keys go where the program's keyboard input goes: its focused window when
// that is the program's own, else the foreground window itself.
HWND InputWindowOf(const ForegroundProgram &fg) {
    GUITHREADINFO info = {};
    info.cbSize = sizeof info;
    DWORD owner = 0;
    if (GetGUIThreadInfo(fg.thread, &info) && info.hwndFocus && GetWindowThreadProcessId(info.hwndFocus, &owner) &&
        owner == fg.pid)
        return info.hwndFocus;
    return fg.window;
}

KeyReason PostKeyPress(HWND window, BYTE vk) {
    LPARAM down = KeyLParam(1, MapVirtualKeyA(vk, 0), IsExtendedVirtualKey(vk));
    KeyReason reason = PostKey(window, WM_KEYDOWN, vk, down);
    if (reason == kTaken) reason = PostKey(window, WM_KEYUP, vk, down | (LPARAM)0xC0000000u); // previous state down, transition up
    return reason;
}

// One SendInput call, so no other input falls between the chord's keys.
void SendInputChord(BYTE modifiers, BYTE vk) {
    const BYTE kModifierKeys[] = {VK_CONTROL, VK_MENU, VK_SHIFT, VK_LWIN}; // kModCtrl, kModAlt, kModShift, kModWin
    BYTE keys[5];
    int count = 0;
    for (int i = 0; i < 4; ++i)
        if (modifiers & (1 << i)) keys[count++] = kModifierKeys[i];
    keys[count++] = vk;
    INPUT inputs[10] = {};
    int n = 0;
    for (int i = 0; i < count; ++i, ++n) {
        inputs[n].type = INPUT_KEYBOARD;
        inputs[n].ki.wVk = keys[i];
        inputs[n].ki.wScan = (WORD)MapVirtualKeyA(keys[i], 0);
        inputs[n].ki.dwFlags = IsExtendedVirtualKey(keys[i]) ? KEYEVENTF_EXTENDEDKEY : 0;
    }
    for (int i = count - 1; i >= 0; --i, ++n) {
        inputs[n] = inputs[i];
        inputs[n].ki.dwFlags |= KEYEVENTF_KEYUP;
    }
    fx.SendInput((UINT)n, inputs, sizeof(INPUT));
}

// The value as the file writes it, in a user's words: "chord:Ctrl+VK_RIGHT"
// reads "Ctrl+Right", "app:MEDIA_PLAY_PAUSE" "Media Play Pause".
void DescribeUserAction(const UserAction &action, char *out, size_t size) {
    char value[64];
    FormatUserAction(action, value, sizeof value);
    const char *from = strchr(value, ':');
    from = from ? from + 1 : value;
    size_t n = 0;
    bool wordStart = true;
    for (; *from && n + 1 < size; ++from) {
        if (strncmp(from, "VK_", 3) == 0) from += 3;
        char c = *from;
        if (!c) break;
        if (c == '_') c = ' ';
        else if (!wordStart && c >= 'A' && c <= 'Z') c = (char)(c - 'A' + 'a');
        wordStart = c == ' ' || c == '+';
        out[n++] = c;
    }
    out[n] = 0;
}

// The section whose key `action` is.
const char *SectionOf(const UserAction *action) {
    for (int i = 0; i < userKeyMap.count; ++i) {
        const UserKeySection &s = userKeyMap.sections[i];
        if (action >= s.keys && action < s.keys + kUserKeyCount) return s.name;
    }
    return "";
}

KeyReason Deliver(const ForegroundProgram &fg, const UserAction &action) {
    switch (action.kind) {
    case kUserPost: return PostKeyPress(InputWindowOf(fg), action.vk);
    case kUserChord:
        // Synthesized input goes to whoever is in front when it is read:
        // only while the matched program still is.
        if (!ForegroundBelongsTo(fg.pid)) return kNotInFront;
        SendInputChord(action.modifiers, action.vk);
        return kTaken;
    case kUserAppCommand: {
        HWND target = InputWindowOf(fg); // unhandled, it travels up to the parents
        return PostKey(target, WM_APPCOMMAND, (WPARAM)target, MAKELPARAM(0, action.command));
    }
    default: return kNothingMapped;
    }
}

} // namespace

void UseUserKeyMapFiles(const char *machinePath, const char *userPath) {
    lstrcpynA(paths[0], machinePath ? machinePath : "", MAX_PATH);
    lstrcpynA(paths[1], userPath ? userPath : "", MAX_PATH);
    lastCheck = fx.GetTickCount();
    ReadAll();
}

void LoadUserKeyMaps() {
    char machine[MAX_PATH] = "", user[MAX_PATH] = "";
    char dir[MAX_PATH] = "";
    DWORD n = GetModuleFileNameA(NULL, dir, sizeof dir);
    char *slash = n && n < sizeof dir ? strrchr(dir, '\\') : nullptr;
    if (slash) {
        *slash = 0;
        int written = snprintf(machine, sizeof machine, "%s\\KeyMaps.ini", dir);
        if (written < 0 || written >= (int)sizeof machine) machine[0] = 0;
    }
    char appData[MAX_PATH];
    n = GetEnvironmentVariableA("APPDATA", appData, sizeof appData);
    if (n && n < sizeof appData) {
        int written = snprintf(user, sizeof user, "%s\\%s\\KeyMaps.ini", appData, kUserFolder);
        if (written < 0 || written >= (int)sizeof user) user[0] = 0;
    }
    UseUserKeyMapFiles(machine, user);
}

void RefreshUserKeyMaps(DWORD now) {
    if ((DWORD)(now - lastCheck) < kKeyMapsCheckMs) return;
    lastCheck = now;
    for (int i = 0; i < kFileCount; ++i)
        if (!SameStamp(stamps[i], StampOf(paths[i]))) return ReadAll();
}

bool RouteToUserKeyMap(RemoteKeyCode code, KeyOutcome &outcome) {
    RefreshUserKeyMaps(fx.GetTickCount());
    if (userKeyMap.count == 0 || code < 0 || code >= kUserKeyCount) return false;
    if (!ReadForeground(inFront)) return false;
    SetOutcomeTarget(outcome, inFront.process);
    const UserAction *action = FindUserKeyAction(userKeyMap, inFront.process, inFront.windowClass, code);
    if (!action) return false;
    outcome.place = kToUserMap;
    outcome.reason = Deliver(inFront, *action);
    // The user's name for the program, unless a refusal must name the program itself.
    if (outcome.reason == kTaken) SetOutcomeTarget(outcome, SectionOf(action));
    DescribeUserAction(*action, outcome.sent, sizeof outcome.sent);
    return true;
}

void ForegroundProgramName(char *out, size_t size) {
    if (!ReadForeground(inFront)) inFront.process[0] = 0;
    lstrcpynA(out, inFront.process, (int)size);
}
