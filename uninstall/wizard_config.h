// The wizard's texts, read once at start-up from "Purgex.ini" beside the
// program, in the section of the user's country code.
#pragma once
#include <windows.h>
#include <stddef.h>
#include "uninstall/country_code.h"

struct WizardConfig {
    char appTitle[256];
    char page1Tip1[256];
    char page1Tip2[256];
    char page1Option1[256];
    char page1Option2[256];
    char page2Tip1[256];
    char page2Tip2[256];
    char utilityRegName[256];
    char remoteTitleName[256];
    char driverKeyPath[256];
    char okText[32];
    char cancelText[32];
    char startText[32];
    char page2Tip3[256]; // finish text when an uninstaller could not start
};

// A key of Purgex.ini and the field it fills.
struct WizardKey {
    const char *name;
    const char *defaultText; // when the ini file lacks the key, or there is none
    size_t offset;
    int size;
};

#define WIZARD_KEY(name, defaultText, field) \
    {name, defaultText, offsetof(WizardConfig, field), (int)sizeof(WizardConfig::field)}

// In the order they are read. The title comes first on its own, as it
// decides the section.
inline constexpr WizardKey kWizardKeys[] = {
    WIZARD_KEY("UninstallWizardAppTitle", "", appTitle),
    WIZARD_KEY("UninstallWizardTPG1Tip1", "", page1Tip1),
    WIZARD_KEY("UninstallWizardTPG1Tip2", "", page1Tip2),
    WIZARD_KEY("UninstallWizardTPG1OPT1", "", page1Option1),
    WIZARD_KEY("UninstallWizardTPG1OPT2", "", page1Option2),
    WIZARD_KEY("UninstallWizardTPG2Tip1", "", page2Tip1),
    WIZARD_KEY("UninstallWizardTPG2Tip2", "", page2Tip2),
    WIZARD_KEY("UninstallUtilityRegName", "", utilityRegName),
    WIZARD_KEY("RemoteTitleName", "", remoteTitleName),
    WIZARD_KEY("DrvUninstRegKeyPath", "", driverKeyPath),
    WIZARD_KEY("OKText", "OK", okText),
    WIZARD_KEY("CancelText", "Cancel", cancelText),
    WIZARD_KEY("StartText", "Start", startText),
    // Read last, and optional: ini files without it keep working. One line:
    // the finish page's text shows no second.
    WIZARD_KEY("UninstallWizardTPG2Tip3", "Some components could not be removed.", page2Tip3),
};
inline constexpr int kWizardKeyCount = sizeof kWizardKeys / sizeof *kWizardKeys;

#undef WIZARD_KEY

// Whether the country code comes from the registry rather than win.ini:
// Windows 2000 and later.
bool CountryFromRegistry(const OSVERSIONINFOA &version);
// From win.ini at `winIniPath`; 1 when the entry is missing.
int CountryCodeFromWinIni(const char *winIniPath);
// From the user's "Control Panel\International"; 1 (as win.ini's missing
// entry) when it cannot be read.
int CountryCodeOrOneFromRegistry();
// "win.ini" in the Windows directory `windowsDir`, with `length` as
// GetWindowsDirectoryA returned it for a 128-byte buffer. A directory that
// did not fit, or could not be read, gives plain "win.ini": the system's own.
void WinIniPathFromWindowsDir(const char *windowsDir, UINT length, char *path, int size);
int GetCountryCode();

// "<program's folder>\Purgex.ini" from the program's full path, cutting the
// fixed length of "\Purgex.exe". False (and an empty path) when the path is
// too short for that cut or was cut off by its buffer.
bool IniPathFromModulePath(const char *modulePath, char *iniPath, int iniPathSize);

// Fills `config` from `iniPath`, starting in section `countryCode` and
// falling back to section "1" when the title there is empty; `section`
// (32 bytes) receives the section in force. A null path reads nothing:
// every text takes its default.
void ReadWizardConfig(const char *iniPath, int countryCode, WizardConfig *config, char *section);
// The whole start-up read: country code, the ini file beside the program.
void LoadWizardConfig(WizardConfig *config, char *section);
