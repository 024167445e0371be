// The country code's text (the registry's iCountry), as both programs convert
// it: the two copies agree, only the first five characters count, and a text
// without a terminator is read no further than those five.
#include <stdint.h>
#include <string.h>
#include <string>
#include <vector>
#include "platform/locale.h"
#include "tests/fuzz/fuzz_check.h"

int WizardCountryCodeFromText(const char *text);

extern "C" int LLVMFuzzerTestOneInput(const uint8_t *data, size_t size) {
    std::string text((const char *)data, size);
    int code = CountryCodeFromText(text.c_str());
    FUZZ_CHECK(code == WizardCountryCodeFromText(text.c_str()));
    FUZZ_CHECK(code == CountryCodeFromText(text.substr(0, 5).c_str()));
    if (size >= 5) {
        // Exactly the bytes given, no terminator after them: AddressSanitizer
        // reports any read past the fifth.
        std::vector<char> unterminated(data, data + 5);
        FUZZ_CHECK(CountryCodeFromText(unterminated.data()) == CountryCodeFromText(text.substr(0, 5).c_str()));
    }
    return 0;
}
