// The user's country code, the Japanese key layout and the platform family.
#pragma once

extern int JapanLayout; // 1 when the country code is 81

// Country code from the locale: win.ini on the 9x family, else the registry.
int GetCountryCode();
// Decimal value of at most the first five characters, digits or not.
int CountryCodeFromText(const char *text);
// Country code as the registry path reads it; 0 (no country, so not Japan)
// when it cannot be read.
int CountryCodeOrZeroFromRegistry();
// Country code as the 9x path reads it from `winIniPath`; 1 when absent.
int CountryCodeFromWinIni(const char *winIniPath);
void DetermineJapanLayout();

// True on Windows 95/98/Me.
bool IsWin9xPlatform();
