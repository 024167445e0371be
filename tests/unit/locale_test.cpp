#include <gtest/gtest.h>
#include <string>
#include "tests/support/registry_fixture.h"
#include "platform/locale.h"

TEST(CountryCode, ConvertsAtMostFiveCharactersWithoutCheckingDigits) {
    struct Case { const char *text; int expected; } cases[] = {
        {"81", 81}, {"1", 1}, {"886", 886}, {"", 0}, {"12345", 12345}, {"1234567", 12345},
        // Non-digits count with their distance from '0', as the conversion always did.
        {"8A", 8 * 10 + ('A' - '0')}, {"0081", 81},
    };
    for (const auto &c : cases) EXPECT_EQ(CountryCodeFromText(c.text), c.expected) << c.text;
}

namespace {
const char kIntl[] = "Control Panel\\International";

struct SavedCountry {
    std::string value;
    bool had;
    SavedCountry() { had = ReadRegString(HKEY_CURRENT_USER, kIntl, "iCountry", &value); }
    ~SavedCountry() {
        if (had) WriteRegString(HKEY_CURRENT_USER, kIntl, "iCountry", value);
        else DeleteRegValue(HKEY_CURRENT_USER, kIntl, "iCountry");
    }
};
} // namespace

TEST(CountryCode, RegistryPathSetsJapanLayoutOnlyFor81) {
    SavedCountry saved;
    WriteRegString(HKEY_CURRENT_USER, kIntl, "iCountry", "81");
    DetermineJapanLayout();
    EXPECT_EQ(JapanLayout, 1);
    WriteRegString(HKEY_CURRENT_USER, kIntl, "iCountry", "1");
    DetermineJapanLayout();
    EXPECT_EQ(JapanLayout, 0);
    WriteRegString(HKEY_CURRENT_USER, kIntl, "iCountry", "810");
    DetermineJapanLayout();
    EXPECT_EQ(JapanLayout, 0);
}

TEST(CountryCode, UnreadableRegistryValueIsNoCountry) {
    SavedCountry saved;
    DeleteRegValue(HKEY_CURRENT_USER, kIntl, "iCountry");
    EXPECT_EQ(CountryCodeFromRegistry(), 0);
    WriteRegDword(HKEY_CURRENT_USER, kIntl, "iCountry", 81);
    EXPECT_EQ(CountryCodeFromRegistry(), 0) << "a number stored as DWORD is not the text the system keeps";
    std::string overlong(100, '8');
    WriteRegString(HKEY_CURRENT_USER, kIntl, "iCountry", overlong);
    EXPECT_EQ(CountryCodeFromRegistry(), 0) << "a value larger than the buffer is unreadable";
    const char unterminated[2] = {'8', '1'};
    WriteRegRaw(HKEY_CURRENT_USER, kIntl, "iCountry", REG_SZ, unterminated, 2);
    EXPECT_EQ(CountryCodeFromRegistry(), 81) << "a string without terminator is terminated by us";
    WriteRegString(HKEY_CURRENT_USER, kIntl, "iCountry", "abc");
    EXPECT_NE(CountryCodeFromRegistry(), 81);
}

TEST(CountryCode, WinIniPathDefaultsToOne) {
    char dir[MAX_PATH];
    GetTempPathA(sizeof dir, dir);
    std::string ini = std::string(dir) + "telvix_win_test.ini";
    DeleteFileA(ini.c_str());
    EXPECT_EQ(CountryCodeFromWinIni(ini.c_str()), 1);
    WritePrivateProfileStringA("intl", "iCountry", "81", ini.c_str());
    EXPECT_EQ(CountryCodeFromWinIni(ini.c_str()), 81);
    WritePrivateProfileStringA("intl", "iCountry", "x", ini.c_str());
    EXPECT_EQ(CountryCodeFromWinIni(ini.c_str()), 0);
    DeleteFileA(ini.c_str());
}
