// The wizard's texts, read once at start-up from "Purgex.ini" beside the
// program, in the section of the user's country code.
#pragma once
#include <windows.h>
#include "uninstall/country_code.h"

struct WizardConfig {
    char appTitle[256];        // UninstallWizardAppTitle
    char page1Tip1[256];       // UninstallWizardTPG1Tip1
    char page1Tip2[256];       // UninstallWizardTPG1Tip2
    char page1Option1[256];    // UninstallWizardTPG1OPT1
    char page1Option2[256];    // UninstallWizardTPG1OPT2
    char page2Tip1[256];       // UninstallWizardTPG2Tip1
    char page2Tip2[256];       // UninstallWizardTPG2Tip2
    char utilityRegName[256];  // UninstallUtilityRegName
    char remoteTitleName[256]; // RemoteTitleName
    char driverKeyPath[256];   // DrvUninstRegKeyPath
    char okText[32];           // OKText
    char cancelText[32];       // CancelText
    char startText[32];        // StartText
    char page2Tip3[256];       // UninstallWizardTPG2Tip3: finish text when an uninstaller could not start
};

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
