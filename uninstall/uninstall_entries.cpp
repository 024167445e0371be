#include "uninstall/uninstall_entries.h"
#include <windows.h>
#include <stdio.h>
#include "uninstall/registry_key.h"

char uninstallCommand[260];

namespace {

const char kUninstallRoot[] = "Software\\Microsoft\\Windows\\CurrentVersion\\Uninstall";

// On 64-bit Windows the uninstall entries are kept in two registry views, each
// installer writing to its own: ours first, then the other one. On 32-bit
// Windows the flag is ignored and the second look repeats the first.
const REGSAM kOwnView = 0;
#ifdef _WIN64
const REGSAM kOtherView = KEY_WOW64_32KEY;
#else
const REGSAM kOtherView = KEY_WOW64_64KEY;
#endif

#ifndef _WIN64
static_assert(sizeof(STARTUPINFOA) == 68, "the start-up record the uninstallers are started with");
#endif

// Reads string value `name` with a read size of `readSize` into `buffer` of
// `bufferSize` bytes and terminates it. A value that fills the whole buffer
// without its own terminator has no room for ours and counts as unreadable.
// On failure the buffer is left empty, never holding an older text.
bool ReadStringValue(const RegistryKey &key, const char *name, char *buffer, DWORD bufferSize, DWORD readSize) {
    DWORD size = readSize;
    if (key.Read(name, buffer, &size) != ERROR_SUCCESS) {
        buffer[0] = '\0';
        return false;
    }
    if (size < bufferSize) {
        buffer[size] = '\0';
    } else if (size == 0 || buffer[size - 1] != '\0') {
        buffer[0] = '\0';
        return false;
    }
    return true;
}

// Walks every entry; a match clears the command and reads that entry's, so
// the last match wins and a match without a command leaves none behind.
bool SearchByDisplayName(const char *displayName, REGSAM view) {
    // An empty name would match every entry that lacks a display name.
    if (displayName[0] == '\0') return false;
    RegistryKey root;
    if (root.Open(HKEY_LOCAL_MACHINE, kUninstallRoot, KEY_ALL_ACCESS | view) != ERROR_SUCCESS) return false;
    bool found = false;
    char subkeyName[256];
    char entryName[256];
    for (DWORD index = 0;; ++index) {
        DWORD size = sizeof subkeyName;
        FILETIME lastWrite;
        if (RegEnumKeyExA(root.handle(), index, subkeyName, &size, NULL, NULL, NULL, &lastWrite) != ERROR_SUCCESS)
            break;
        RegistryKey entry;
        if (entry.Open(root.handle(), subkeyName, KEY_ALL_ACCESS | view) != ERROR_SUCCESS) continue;
        ReadStringValue(entry, "DisplayName", entryName, sizeof entryName, sizeof entryName);
        if (lstrcmpiA(entryName, displayName) == 0) {
            found = true;
            ReadStringValue(entry, "UninstallString", uninstallCommand, sizeof uninstallCommand, 256);
        }
    }
    return found;
}

// Opens entry `keyName` and reads its command; false when absent.
bool LookUpByKey(const char *keyName, REGSAM view) {
    uninstallCommand[0] = '\0';
    if (keyName[0] == '\0') return false; // the root itself is no entry
    char keyPath[256];
    int length = snprintf(keyPath, sizeof keyPath, "%s\\%s", kUninstallRoot, keyName);
    // A cut path would name some other key.
    if (length < 0 || length >= (int)sizeof keyPath) return false;
    RegistryKey entry;
    if (entry.Open(HKEY_LOCAL_MACHINE, keyPath, KEY_QUERY_VALUE | view) != ERROR_SUCCESS) return false;
    return ReadStringValue(entry, "UninstallString", uninstallCommand, sizeof uninstallCommand, 255);
}

// Waits for `process` to end, answering the messages other programs send to
// this thread's windows meanwhile: an uninstaller that broadcasts a change
// (SendMessage to HWND_BROADCAST, WM_SETTINGCHANGE) would otherwise wait for
// the hidden page for ever, and the wizard for it. Posted messages stay
// queued, so the page stays hidden and nothing else runs before the next
// uninstaller.
void WaitAnsweringSentMessages(HANDLE process) {
    while (MsgWaitForMultipleObjects(1, &process, FALSE, INFINITE, QS_SENDMESSAGE) == WAIT_OBJECT_0 + 1) {
        MSG msg;
        PeekMessageA(&msg, NULL, 0, 0, PM_NOREMOVE | PM_QS_SENDMESSAGE);
    }
}

// Starts the stored command as it stands and waits until it has ended;
// false when it could not be started.
bool RunUninstallCommand() {
    if (uninstallCommand[0] == '\0') return false;
    STARTUPINFOA startup;
    ZeroMemory(&startup, sizeof startup);
    startup.cb = sizeof startup;
    PROCESS_INFORMATION process;
    ZeroMemory(&process, sizeof process);
    if (!CreateProcessA(NULL, uninstallCommand, NULL, NULL, FALSE, 0, NULL, NULL, &startup, &process)) return false;
    WaitAnsweringSentMessages(process.hProcess);
    CloseHandle(process.hProcess);
    CloseHandle(process.hThread);
    return true;
}

// The other view is searched only when ours has no such entry.
bool SearchBothViews(const char *displayName) {
    return SearchByDisplayName(displayName, kOwnView) || SearchByDisplayName(displayName, kOtherView);
}

bool LookUpInBothViews(const char *keyName) {
    return LookUpByKey(keyName, kOwnView) || LookUpByKey(keyName, kOtherView);
}

} // namespace

bool FindUninstallByDisplayName(const char *displayName) { return SearchBothViews(displayName); }

bool RunUninstallByDisplayName(const char *displayName) {
    return SearchBothViews(displayName) && RunUninstallCommand();
}

bool FindUninstallByKey(const char *keyName) { return LookUpInBothViews(keyName); }

bool RunUninstallByKey(const char *keyName) { return LookUpInBothViews(keyName) && RunUninstallCommand(); }
