#include "tray/settings.h"
#include <windows.h>
#include "platform/trace.h"

bool alwaysRemoteOff = false;

namespace {

void WriteDword(HKEY key, const char *name, DWORD value) {
    RegSetValueExA(key, name, 0, REG_DWORD, (const BYTE *)&value, sizeof value);
}

// Reads four bytes of a number: a REG_DWORD, or the same bytes stored
// untyped (REG_BINARY), as administrators' tools often write them. Anything
// else, text of four bytes included, is treated as unreadable, so it is
// repaired rather than misread as a number.
bool ReadDword(HKEY key, const char *name, DWORD *value) {
    DWORD type = 0, size = sizeof *value;
    LONG rc = RegQueryValueExA(key, name, NULL, &type, (BYTE *)value, &size);
    return rc == ERROR_SUCCESS && (type == REG_DWORD || type == REG_BINARY) && size == sizeof *value;
}

// All the settings need: the installer grants standard users exactly this.
const REGSAM kSettingsAccess = KEY_QUERY_VALUE | KEY_SET_VALUE;

} // namespace

int LoadSettings() {
    HKEY key;
    LONG opened = RegOpenKeyExA(HKEY_LOCAL_MACHINE, TELVIX_SETTINGS_KEY, 0, kSettingsAccess, &key);
    // A key this user may read but not write (an older install's list, or
    // none set) is still read; its repairs then fail and change nothing.
    if (opened == ERROR_ACCESS_DENIED)
        opened = RegOpenKeyExA(HKEY_LOCAL_MACHINE, TELVIX_SETTINGS_KEY, 0, KEY_QUERY_VALUE, &key);
    if (opened != ERROR_SUCCESS) {
        if (RegCreateKeyExA(HKEY_LOCAL_MACHINE, TELVIX_SETTINGS_KEY, 0, NULL, 0, kSettingsAccess, NULL,
                            &key, NULL) == ERROR_SUCCESS) {
            WriteDword(key, "DefaultTVAPP", (DWORD)defaultTvApp);
            WriteDword(key, "AlwaysRemoteOff", 0);
            RegFlushKey(key);
            RegCloseKey(key);
            Trace("settings: key created, DefaultTVAPP %d, AlwaysRemoteOff 0", defaultTvApp);
        } else {
            Trace("settings: key cannot be opened or created, defaults in force");
        }
        return 1;
    }
    DWORD value;
    if (ReadDword(key, "DefaultTVAPP", &value)) {
        defaultTvApp = (int)value;
        Trace("settings: DefaultTVAPP %d read", defaultTvApp);
    } else {
        WriteDword(key, "DefaultTVAPP", (DWORD)defaultTvApp);
        RegFlushKey(key);
        Trace("settings: DefaultTVAPP unreadable, repaired to %d", defaultTvApp);
    }
    if (ReadDword(key, "AlwaysRemoteOff", &value)) {
        alwaysRemoteOff = (value == 1);
        Trace("settings: AlwaysRemoteOff %lu read", (unsigned long)value);
    } else {
        WriteDword(key, "AlwaysRemoteOff", 0);
        RegFlushKey(key);
        Trace("settings: AlwaysRemoteOff unreadable, repaired to 0");
    }
    RegCloseKey(key);
    return 1;
}

int SaveSettings() {
    HKEY key;
    if (RegOpenKeyExA(HKEY_LOCAL_MACHINE, TELVIX_SETTINGS_KEY, 0, kSettingsAccess, &key) != ERROR_SUCCESS)
        return 0;
    DWORD value;
    if (!ReadDword(key, "DefaultTVAPP", &value)) {
        RegCloseKey(key);
        return 0;
    }
    WriteDword(key, "DefaultTVAPP", (DWORD)defaultTvApp);
    RegFlushKey(key);
    RegCloseKey(key);
    return 1;
}

bool ReadTraceSetting() {
    HKEY key;
    // Read only: the value is the user's, never written here.
    if (RegOpenKeyExA(HKEY_LOCAL_MACHINE, TELVIX_SETTINGS_KEY, 0, KEY_QUERY_VALUE, &key) != ERROR_SUCCESS)
        return false;
    DWORD value = 0;
    bool on = ReadDword(key, "Trace", &value) && value != 0;
    RegCloseKey(key);
    return on;
}

int ReadOnScreenDisplaySetting() {
    HKEY key;
    if (RegOpenKeyExA(HKEY_CURRENT_USER, TELVIX_USER_SETTINGS_KEY, 0, KEY_QUERY_VALUE, &key) != ERROR_SUCCESS)
        return 0;
    DWORD value = 0;
    bool read = ReadDword(key, "OnScreenDisplay", &value);
    RegCloseKey(key);
    return read && value <= 2 ? (int)value : 0;
}
