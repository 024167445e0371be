// No Windows header: the fuzzers build it natively.
#include "platform/locale.h"

int CountryCodeFromText(const char *text) {
    int value = 0;
    for (int i = 0; i < 5 && text[i] != '\0'; ++i)
        value = value * 10 + (text[i] - '0');
    return value;
}
