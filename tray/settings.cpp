#include "tray/settings.h"
#include <windows.h>
#include "platform/product_texts.h"
#include "platform/registry_key.h"
#include "platform/trace.h"

bool alwaysRemoteOff = false;

namespace {

// Reads four bytes of a number: a REG_DWORD, or the same bytes stored
// untyped (REG_BINARY), as administrators' tools often write them. Anything
// else, text of four bytes included, is treated as unreadable, so it is
// repaired rather than misread as a number.
bool ReadDword(const RegistryKey &key, const char *name, DWORD *value) {
    DWORD type = 0, size = sizeof *value;
    LONG rc = key.Read(name, value, &size, &type);
    return rc == ERROR_SUCCESS && (type == REG_DWORD || type == REG_BINARY) && size == sizeof *value;
}

// All the settings need: the installer grants standard users exactly this.
const REGSAM kSettingsAccess = KEY_QUERY_VALUE | KEY_SET_VALUE;

} // namespace

int LoadSettings() {
    RegistryKey key;
    LONG opened = key.Open(HKEY_LOCAL_MACHINE, TELVIX_SETTINGS_KEY, kSettingsAccess);
    // A key this user may read but not write (an older install's list, or
    // none set) is still read; its repairs then fail and change nothing.
    if (opened == ERROR_ACCESS_DENIED) opened = key.Open(HKEY_LOCAL_MACHINE, TELVIX_SETTINGS_KEY, KEY_QUERY_VALUE);
    if (opened != ERROR_SUCCESS) {
        if (key.Create(HKEY_LOCAL_MACHINE, TELVIX_SETTINGS_KEY, kSettingsAccess) == ERROR_SUCCESS) {
            key.WriteDword("DefaultTVAPP", (DWORD)defaultTvApp);
            key.WriteDword("AlwaysRemoteOff", 0);
            key.Flush();
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
        key.WriteDword("DefaultTVAPP", (DWORD)defaultTvApp);
        key.Flush();
        Trace("settings: DefaultTVAPP unreadable, repaired to %d", defaultTvApp);
    }
    if (ReadDword(key, "AlwaysRemoteOff", &value)) {
        alwaysRemoteOff = (value == 1);
        Trace("settings: AlwaysRemoteOff %lu read", (unsigned long)value);
    } else {
        key.WriteDword("AlwaysRemoteOff", 0);
        key.Flush();
        Trace("settings: AlwaysRemoteOff unreadable, repaired to 0");
    }
    return 1;
}

int SaveSettings() {
    RegistryKey key;
    if (key.Open(HKEY_LOCAL_MACHINE, TELVIX_SETTINGS_KEY, kSettingsAccess) != ERROR_SUCCESS) return 0;
    DWORD value;
    if (!ReadDword(key, "DefaultTVAPP", &value)) return 0;
    key.WriteDword("DefaultTVAPP", (DWORD)defaultTvApp);
    key.Flush();
    return 1;
}

bool ReadTraceSetting() {
    RegistryKey key;
    // Read only: the value is the user's, never written here.
    if (key.Open(HKEY_LOCAL_MACHINE, TELVIX_SETTINGS_KEY, KEY_QUERY_VALUE) != ERROR_SUCCESS) return false;
    DWORD value = 0;
    return ReadDword(key, "Trace", &value) && value != 0;
}

int ReadOnScreenDisplaySetting() {
    RegistryKey key;
    if (key.Open(HKEY_CURRENT_USER, kUserSettingsKey, KEY_QUERY_VALUE) != ERROR_SUCCESS) return 0;
    DWORD value = 0;
    return ReadDword(key, "OnScreenDisplay", &value) && value <= 2 ? (int)value : 0;
}
