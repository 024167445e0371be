#include "uninstall/wizard_config.h"
#include <stdio.h>
#include "uninstall/registry_key.h"

namespace {

const char kProgramName[] = "Purgex.exe";
const char kIniName[] = "Purgex.ini";
const char kFallbackSection[] = "1";
const int kSectionSize = 32;
const UINT kWindowsDirSize = 128;

void ReadKey(const WizardKey &row, const char *iniPath, const char *section, WizardConfig *config) {
    char *field = reinterpret_cast<char *>(config) + row.offset;
    if (iniPath == NULL)
        lstrcpynA(field, row.defaultText, row.size);
    else
        GetPrivateProfileStringA(section, row.name, row.defaultText, field, static_cast<DWORD>(row.size), iniPath);
}

} // namespace

bool CountryFromRegistry(const OSVERSIONINFOA &version) {
    return version.dwPlatformId == VER_PLATFORM_WIN32_NT && version.dwMajorVersion >= 5;
}

int CountryCodeFromWinIni(const char *winIniPath) {
    return (int)GetPrivateProfileIntA("intl", "iCountry", 1, winIniPath);
}

int CountryCodeOrOneFromRegistry() {
    RegistryKey key;
    if (key.OpenDefault(HKEY_CURRENT_USER, "Control Panel\\International") != ERROR_SUCCESS) return 1;
    char text[30];
    DWORD size = sizeof text;
    LONG read = key.Read("iCountry", text, &size);
    // Without a readable value there is nothing to convert: the same 1 the
    // win.ini path gives for a missing entry.
    if (read != ERROR_SUCCESS) return 1;
    // A value without terminator: the conversion stops after five characters.
    if (size < sizeof text) text[size] = '\0';
    else text[sizeof text - 1] = '\0';
    return CountryCodeFromText(text);
}

void WinIniPathFromWindowsDir(const char *windowsDir, UINT length, char *path, int size) {
    // Never "\\win.ini", the root of whichever drive is current.
    if (length == 0 || length >= kWindowsDirSize)
        lstrcpynA(path, "win.ini", size);
    else // the caller's path holds the longest directory taken here
        (void)snprintf(path, (size_t)size, "%s\\win.ini", windowsDir);
}

int GetCountryCode() {
    OSVERSIONINFOA version;
    ZeroMemory(&version, sizeof version);
    version.dwOSVersionInfoSize = sizeof version;
    GetVersionExA(&version);
    if (CountryFromRegistry(version)) return CountryCodeOrOneFromRegistry();
    char windowsDir[kWindowsDirSize];
    UINT length = GetWindowsDirectoryA(windowsDir, sizeof windowsDir);
    char winIniPath[kWindowsDirSize + sizeof "\\win.ini"];
    WinIniPathFromWindowsDir(windowsDir, length, winIniPath, sizeof winIniPath);
    return CountryCodeFromWinIni(winIniPath);
}

bool IniPathFromModulePath(const char *modulePath, char *iniPath, int iniPathSize) {
    iniPath[0] = '\0';
    // The cut is by the program name's length plus its backslash.
    int cut = (int)(sizeof kProgramName - 1) + 1;
    int length = lstrlenA(modulePath);
    if (length < cut) return false;
    int written = snprintf(iniPath, static_cast<size_t>(iniPathSize), "%.*s\\%s", length - cut, modulePath, kIniName);
    if (written < 0 || written >= iniPathSize) {
        iniPath[0] = '\0';
        return false;
    }
    return true;
}

void ReadWizardConfig(const char *iniPath, int countryCode, WizardConfig *config, char *section) {
    (void)snprintf(section, kSectionSize, "%d", countryCode); // any int fits
    const WizardKey &title = kWizardKeys[0];
    ReadKey(title, iniPath, section, config);
    if (config->appTitle[0] == '\0') {
        lstrcpynA(section, kFallbackSection, kSectionSize);
        ReadKey(title, iniPath, section, config);
    }
    for (int key = 1; key < kWizardKeyCount; ++key) ReadKey(kWizardKeys[key], iniPath, section, config);
}

void LoadWizardConfig(WizardConfig *config, char *section) {
    int countryCode = GetCountryCode();
    char modulePath[128];
    DWORD length = GetModuleFileNameA(NULL, modulePath, sizeof modulePath);
    char iniPath[256];
    // A path cut off by its buffer names no folder we could trust.
    bool located = length > 0 && length < sizeof modulePath &&
                   IniPathFromModulePath(modulePath, iniPath, sizeof iniPath);
    ReadWizardConfig(located ? iniPath : NULL, countryCode, config, section);
}
