// The country code's text as the wizard converts it; no Windows header, so
// the fuzzers build it natively.
#pragma once

// Decimal value of at most the first five characters, digits or not.
int CountryCodeFromText(const char *text);
