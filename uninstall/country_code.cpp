// The same conversion as the tray program's platform/country_code.cpp, kept as
// a copy on purpose: Purgex shares no code with Telvix.
#include "uninstall/country_code.h"

int CountryCodeFromText(const char *text) {
    int value = 0;
    for (int i = 0; i < 5 && text[i] != '\0'; ++i)
        value = value * 10 + (text[i] - '0');
    return value;
}
