#include "platform/locale.h"
#include <windows.h>
#include "platform/effects.h"
#include "platform/registry_key.h"
#include "platform/windows_dir.h"

int JapanLayout = 0;

int CountryCodeOrZeroFromRegistry() {
    RegistryKey key;
    if (key.OpenDefault(HKEY_CURRENT_USER, "Control Panel\\International") != ERROR_SUCCESS) return 0;
    char text[30];
    DWORD size = sizeof text;
    DWORD type = 0;
    LONG rc = key.Read("iCountry", text, &size, &type);
    // An unreadable or non-text value is no country at all, so not Japan.
    if (rc != ERROR_SUCCESS || (type != REG_SZ && type != REG_EXPAND_SZ)) return 0;
    // Terminated by us: a text filling all 30 bytes without its own end loses
    // its last character, far beyond the five that count.
    text[size < sizeof text ? size : sizeof text - 1] = '\0';
    return CountryCodeFromText(text);
}

int CountryCodeFromWinIni(const char *winIniPath) {
    return (int)GetPrivateProfileIntA("intl", "iCountry", 1, winIniPath);
}

int GetCountryCode() {
    if (GetVersion() & 0x80000000u) {
        char path[MAX_PATH];
        // Without a usable path the profile call looks for "win.ini" by name,
        // which the 9x family maps to its own.
        if (!WindowsDirPath("\\win.ini", path, sizeof path)) lstrcpynA(path, "win.ini", sizeof path);
        return CountryCodeFromWinIni(path);
    }
    return CountryCodeOrZeroFromRegistry();
}

void DetermineJapanLayout() {
    JapanLayout = (GetCountryCode() == 81) ? 1 : 0;
}

bool IsWin9xPlatform() {
    OSVERSIONINFOA info;
    ZeroMemory(&info, sizeof info);
    info.dwOSVersionInfoSize = sizeof info; // 148
    if (!fx.GetVersionExA(&info)) return false;
    return info.dwPlatformId == VER_PLATFORM_WIN32_WINDOWS;
}
