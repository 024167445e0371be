#include "routing/user_key_route.h"
#include <stdio.h>
#include <string.h>
#include "keymaps/key_map_file.h"
#include "platform/effects.h"
#include "platform/product_texts.h"
#include "platform/registry_key.h"
#include "platform/trace.h"
#include "routing/poll_cycle.h"
#include "routing/poll_timing.h"
#include "routing/user_key_delivery.h"
#include "routing/user_key_press.h"

namespace {

const int kFileCount = 2; // the machine's, the user's

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
// The user's first, so that its sections come first and replace the machine's.
const UserKeyMap *const lookupOrder[kFileCount] = {&fileMaps[1], &fileMaps[0]};
PressTiming timing = {kDefaultRepeatDelayMs, kDefaultLongPressMs};

// The key being held, the section that maps it and the program it acts for.
HeldKey held = kNoHeldKey;
UserKeyBinding heldBinding;
ForegroundProgram heldFor, inFront; // 1.5 KB of names each: kept off the poll cycle's stack

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

void ReportLine(void *context, const KeyMapLine &line) {
    if (line.role == kLineSkipped)
        Trace("key maps: %s line %d skipped: %s", (const char *)context, line.number, line.skipped);
}

// The system's ANSI code page, as Notepad's "ANSI" means it.
size_t AnsiToUtf8Text(const char *bytes, size_t length, char *out, size_t size) {
    int chars = MultiByteToWideChar(CP_ACP, 0, bytes, (int)length, NULL, 0);
    WCHAR *wide = chars > 0 ? (WCHAR *)HeapAlloc(GetProcessHeap(), 0, (SIZE_T)chars * sizeof(WCHAR)) : NULL;
    if (!wide) return 0;
    MultiByteToWideChar(CP_ACP, 0, bytes, (int)length, wide, chars);
    // Whole characters only: a character that does not fit is left out with the rest.
    int used = 0;
    for (int i = 0; i < chars; ++i) {
        char one[8];
        int n = WideCharToMultiByte(CP_UTF8, 0, wide + i, 1, one, sizeof one, NULL, NULL);
        if (n <= 0 || (size_t)used + (size_t)n > size) break;
        memcpy(out + used, one, (size_t)n);
        used += n;
    }
    HeapFree(GetProcessHeap(), 0, wide);
    return (size_t)used;
}

enum ReadResult { kReadNoFile, kReadDone, kReadFailed };

// Reads at most kKeyMapFileBytes of text; a line cut there is dropped, not
// half read. The buffers are only needed while reading.
ReadResult ReadMapFile(const char *path, UserKeyMap &map) {
    const DWORD kBytes = 2 * kKeyMapFileBytes + 2; // UTF-16 takes twice the bytes of its text
    HANDLE file = CreateFileA(path, GENERIC_READ, FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE, NULL,
                              OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL, NULL);
    DWORD error = GetLastError();
    if (file == INVALID_HANDLE_VALUE && (error == ERROR_FILE_NOT_FOUND || error == ERROR_PATH_NOT_FOUND))
        return kReadNoFile;
    char *bytes = (char *)HeapAlloc(GetProcessHeap(), 0, kBytes + kKeyMapFileBytes);
    DWORD length = 0;
    BOOL read = file != INVALID_HANDLE_VALUE && bytes && ReadFile(file, bytes, kBytes, &length, NULL);
    if (!read) error = bytes ? GetLastError() : ERROR_NOT_ENOUGH_MEMORY;
    if (file != INVALID_HANDLE_VALUE) CloseHandle(file);
    if (read) {
        char *text = bytes + kBytes;
        bool cut;
        size_t used = DecodeKeyMapText(bytes, length, text, kKeyMapFileBytes, AnsiToUtf8Text, &cut);
        if (cut) Trace("key maps: %s is longer than 64 KB: the rest is not read", path);
        int sections = ParseKeyMap(text, used, map, ReportLine, (void *)path);
        Trace("key maps: %s read, %d sections", path, sections);
    } else {
        Trace("key maps: %s could not be read (error %lu): the maps read last are kept, tried again within a second",
              path, (unsigned long)error);
    }
    if (bytes) HeapFree(GetProcessHeap(), 0, bytes);
    return read ? kReadDone : kReadFailed;
}

void ReadAll() {
    for (int i = 0; i < kFileCount; ++i) {
        FileStamp now = StampOf(paths[i]);
        if (SameStamp(stamps[i], now) && fileMaps[i].poolUsed) continue;
        ReadResult result = paths[i][0] ? ReadMapFile(paths[i], fileMaps[i]) : kReadNoFile;
        if (result == kReadNoFile) ClearKeyMap(fileMaps[i]);
        // A failed read keeps the old stamp, so the next check tries again.
        if (result != kReadFailed) stamps[i] = now;
    }
    MarkReplacedSections(fileMaps[1], fileMaps[0]);
    held = kNoHeldKey; // its section may be another one now
}

// Each user's own timing, in their settings key; out of range, the default.
void ReadTiming() {
    DWORD values[2] = {kDefaultRepeatDelayMs, kDefaultLongPressMs};
    const char *const names[2] = {"RepeatDelayMs", "LongPressMs"};
    RegistryKey key;
    if (key.Open(HKEY_CURRENT_USER, kUserSettingsKey, KEY_QUERY_VALUE) == ERROR_SUCCESS) {
        for (int i = 0; i < 2; ++i) {
            DWORD value = 0, type = 0, size = sizeof value;
            if (key.Read(names[i], &value, &size, &type) == ERROR_SUCCESS && type == REG_DWORD &&
                size == sizeof value && value >= kPollPeriodMs && value <= 10000)
                values[i] = value;
        }
    }
    timing = PressTiming{values[0], values[1]};
}

void Utf8Of(const WCHAR *text, char *out, int size) {
    if (WideCharToMultiByte(CP_UTF8, 0, text, -1, out, size, NULL, NULL) <= 0) out[0] = 0;
}

// The integrity level's RID of a process's token; 0 when it cannot be read
// (before Vista, or a process we may not open).
DWORD IntegrityOf(HANDLE process, BOOL(WINAPI *query)(HANDLE, TOKEN_INFORMATION_CLASS, LPVOID, DWORD, PDWORD)) {
    HANDLE token;
    DWORD rid = 0;
    if (!OpenProcessToken(process, TOKEN_QUERY, &token)) return 0;
    union {
        TOKEN_MANDATORY_LABEL label;
        BYTE bytes[64];
    } info;
    DWORD size = 0;
    if (query(token, TokenIntegrityLevel, &info, sizeof info, &size) && info.label.Label.Sid &&
        IsValidSid(info.label.Label.Sid)) {
        UCHAR count = *GetSidSubAuthorityCount(info.label.Label.Sid);
        if (count) rid = *GetSidSubAuthority(info.label.Label.Sid, (DWORD)count - 1);
    }
    CloseHandle(token);
    return rid;
}

// The program's file name, and whether it runs with more rights than ours
// (Windows then drops the keys we post and the input we synthesize).
void ReadProcess(ForegroundProgram &fg) {
    fg.process[0] = 0;
    fg.elevated = false;
    // Vista and later; it also names programs running with more rights than ours.
    typedef BOOL(WINAPI * QueryName)(HANDLE, DWORD, LPWSTR, PDWORD);
    static QueryName query =
        (QueryName)(void *)GetProcAddress(GetModuleHandleA("kernel32.dll"), "QueryFullProcessImageNameW");
    const DWORD kQueryLimited = 0x1000; // PROCESS_QUERY_LIMITED_INFORMATION
    HANDLE process = query ? OpenProcess(kQueryLimited, FALSE, fg.pid) : NULL;
    if (!process) return;
    WCHAR path[MAX_PATH];
    DWORD length = MAX_PATH;
    if (query(process, 0, path, &length)) {
        const WCHAR *slash = wcsrchr(path, L'\\');
        Utf8Of(slash ? slash + 1 : path, fg.process, sizeof fg.process);
    }
    static const DWORD ours = IntegrityOf(GetCurrentProcess(), GetTokenInformation);
    fg.elevated = IntegrityOf(process, fx.GetTokenInformation) > ours;
    CloseHandle(process);
}

// False when no program's window can be matched: none is in front, or a
// minimised one, which may keep the foreground for a while and gets nothing.
// Sections for every program match then all the same.
bool ReadForeground(ForegroundProgram &fg) {
    fg = ForegroundProgram{};
    HWND front = fx.GetForegroundWindow();
    if (!front || IsIconic(front) || !IsWindowVisible(front)) return false;
    fg.window = front;
    WCHAR name[256];
    if (!GetClassNameW(front, name, 256)) name[0] = 0;
    if (!GetWindowThreadProcessId(front, &fg.framePid)) {
        fg = ForegroundProgram{};
        return false;
    }
    // A Store app: matched, and given the keys, as the window its frame hosts.
    if (lstrcmpW(name, L"ApplicationFrameWindow") == 0)
        if (HWND app = FindWindowExW(front, NULL, L"Windows.UI.Core.CoreWindow", NULL)) {
            fg.window = app;
            fg.hosted = true;
            lstrcpynW(name, L"Windows.UI.Core.CoreWindow", 256);
        }
    fg.thread = GetWindowThreadProcessId(fg.window, &fg.pid);
    if (!fg.thread) {
        fg = ForegroundProgram{};
        return false;
    }
    Utf8Of(name, fg.windowClass, sizeof fg.windowClass);
    ReadProcess(fg);
    return true;
}

// Carries out what the press calls for; says what became of it in `outcome`
// when one is asked for (the pending press of a key let go has none).
void Act(PressStep step, RemoteKeyCode code, KeyOutcome *outcome = nullptr) {
    if (outcome) {
        outcome->place = kToUserMap;
        outcome->reason = step == kStepNothing && pollState.repeatCount ? kRepeatDropped : kTaken;
        SetOutcomeTarget(*outcome, KeyMapText(*heldBinding.map, heldBinding.section->name));
    }
    if (step == kStepNothing) return;
    const UserAction &action = step == kStepHold ? *heldBinding.hold : *heldBinding.press;
    if (action.kind == kActionNone) return;
    char text[1100];
    KeyReason reason = DeliverUserAction(heldFor, *heldBinding.map, action, text, sizeof text);
    if (outcome) {
        outcome->reason = reason;
        // A refusal names the program itself.
        if (reason != kTaken) SetOutcomeTarget(*outcome, heldFor.process);
        SetOutcomeSent(*outcome, text);
    }
    if (traceOn) {
        char value[1100];
        FormatUserAction(*heldBinding.map, action, value, sizeof value);
        char to[sizeof heldFor.process + sizeof heldFor.windowClass + 16] = "no program in front";
        if (heldFor.window) (void)snprintf(to, sizeof to, "%s (class %s)", heldFor.process, heldFor.windowClass);
        Trace("key maps: key %d%s to %s: %s: %s%s", code, step == kStepHold ? " held" : "", to, value,
              reason == kTaken ? "" : "nothing sent, ", text);
    }
}

} // namespace

void UseUserKeyMapFiles(const char *machinePath, const char *userPath) {
    lstrcpynA(paths[0], machinePath ? machinePath : "", MAX_PATH);
    lstrcpynA(paths[1], userPath ? userPath : "", MAX_PATH);
    lastCheck = fx.GetTickCount();
    for (FileStamp &stamp : stamps) stamp = FileStamp{};
    for (UserKeyMap &map : fileMaps) map.poolUsed = 0; // read anew
    ReadAll();
    ReadTiming();
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
        int written = snprintf(user, sizeof user, "%s\\%s\\KeyMaps.ini", appData, kUserKeyMapsFolder);
        if (written < 0 || written >= (int)sizeof user) user[0] = 0;
    }
    UseUserKeyMapFiles(machine, user);
}

void RefreshUserKeyMaps(DWORD now) {
    if ((DWORD)(now - lastCheck) < kKeyMapsCheckMs) return;
    lastCheck = now;
    ReadTiming();
    for (int i = 0; i < kFileCount; ++i)
        if (!SameStamp(stamps[i], StampOf(paths[i]))) return ReadAll();
}

bool RouteToUserKeyMap(RemoteKeyCode code, KeyOutcome &outcome) {
    RefreshUserKeyMaps(fx.GetTickCount());
    // The repeat filter has just noted this event.
    bool fresh = pollState.repeatCount == 0;
    DWORD now = pollState.lastTick;
    // Another key, or the same one pressed anew: a press waiting for its long action is let go.
    if (held.code >= 0 && (fresh || held.code != code)) Act(LetGoHeldKey(held), held.code);
    if (!fresh && held.code == code) {
        Act(NoteMappedKeyEvent(held, code, false, now, held.waits, held.repeats, timing), code, &outcome);
        return true;
    }
    held = kNoHeldKey;
    if ((fileMaps[0].count == 0 && fileMaps[1].count == 0) || code < 0 || code >= kKeyMapKeys) return false;
    ReadForeground(inFront);
    SetOutcomeTarget(outcome, inFront.process);
    UserKeyBinding binding = FindKeyBinding(lookupOrder, kFileCount, inFront.process, inFront.windowClass, code);
    if (!binding.map) return false;
    heldBinding = binding;
    heldFor = inFront;
    const UserActionKindRow &kind = kUserActionKinds[binding.press->kind];
    bool repeats = binding.repeats && kind.repeats && kind.repeats(*binding.press);
    Act(NoteMappedKeyEvent(held, code, true, now, binding.hold->kind != kActionNone, repeats, timing), code,
        &outcome);
    return true;
}

void UserKeysIdle() {
    if (held.code >= 0) Act(LetGoHeldKey(held), held.code);
}

void ForegroundProgramName(char *out, size_t size) {
    ReadForeground(inFront);
    lstrcpynA(out, inFront.process, (int)size);
}
