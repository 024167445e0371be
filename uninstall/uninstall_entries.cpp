#include "uninstall/uninstall_entries.h"
#include <windows.h>
#include <stdio.h>

char uninstallCommand[260];

namespace {

const char kUninstallRoot[] = "Software\\Microsoft\\Windows\\CurrentVersion\\Uninstall";

#ifndef _WIN64
static_assert(sizeof(STARTUPINFOA) == 68, "the start-up record the uninstallers are started with");
#endif

// Reads string value `name` with a read size of `readSize` into `buffer` of
// `bufferSize` bytes and terminates it. A value that fills the whole buffer
// without its own terminator has no room for ours and counts as unreadable.
// On failure the buffer is left empty, never holding an older text.
bool ReadStringValue(HKEY key, const char *name, char *buffer, DWORD bufferSize, DWORD readSize) {
    DWORD size = readSize;
    if (RegQueryValueExA(key, name, NULL, NULL, (BYTE *)buffer, &size) != ERROR_SUCCESS) {
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
bool SearchByDisplayName(const char *displayName) {
    // An empty name would match every entry that lacks a display name.
    if (displayName[0] == '\0') return false;
    HKEY root;
    if (RegOpenKeyExA(HKEY_LOCAL_MACHINE, kUninstallRoot, 0, KEY_ALL_ACCESS, &root) != ERROR_SUCCESS) return false;
    bool found = false;
    char subkeyName[256];
    char entryName[256];
    for (DWORD index = 0;; ++index) {
        DWORD size = sizeof subkeyName;
        FILETIME lastWrite;
        if (RegEnumKeyExA(root, index, subkeyName, &size, NULL, NULL, NULL, &lastWrite) != ERROR_SUCCESS) break;
        HKEY entry;
        if (RegOpenKeyExA(root, subkeyName, 0, KEY_ALL_ACCESS, &entry) != ERROR_SUCCESS) continue;
        ReadStringValue(entry, "DisplayName", entryName, sizeof entryName, sizeof entryName);
        if (lstrcmpiA(entryName, displayName) == 0) {
            found = true;
            ReadStringValue(entry, "UninstallString", uninstallCommand, sizeof uninstallCommand, 256);
        }
        RegCloseKey(entry);
    }
    RegCloseKey(root);
    return found;
}

// Opens entry `keyName` and reads its command; false when absent.
bool LookUpByKey(const char *keyName) {
    uninstallCommand[0] = '\0';
    if (keyName[0] == '\0') return false; // the root itself is no entry
    char keyPath[256];
    int length = snprintf(keyPath, sizeof keyPath, "%s\\%s", kUninstallRoot, keyName);
    // A cut path would name some other key.
    if (length < 0 || length >= (int)sizeof keyPath) return false;
    HKEY entry;
    if (RegOpenKeyA(HKEY_LOCAL_MACHINE, keyPath, &entry) != ERROR_SUCCESS) return false;
    bool read = ReadStringValue(entry, "UninstallString", uninstallCommand, sizeof uninstallCommand, 255);
    RegCloseKey(entry);
    return read;
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
    WaitForSingleObject(process.hProcess, INFINITE);
    CloseHandle(process.hProcess);
    CloseHandle(process.hThread);
    return true;
}

} // namespace

bool FindUninstallByDisplayName(const char *displayName) { return SearchByDisplayName(displayName); }

bool RunUninstallByDisplayName(const char *displayName) {
    return SearchByDisplayName(displayName) && RunUninstallCommand();
}

bool FindUninstallByKey(const char *keyName) { return LookUpByKey(keyName); }

bool RunUninstallByKey(const char *keyName) { return LookUpByKey(keyName) && RunUninstallCommand(); }
