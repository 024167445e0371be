#include <gtest/gtest.h>
#include <string>
#include "platform/locale.h"
#include "tests/support/registry_fixture.h"

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

// The value is read into 30 bytes: text of up to 29 characters and its end.
// Whatever cannot be read that way, or is no text, is no country.
TEST(CountryCode, RegistryValuesOfEveryShape) {
    SavedCountry saved;
    const DWORD dword81 = 81;
    std::string japan29 = "00081" + std::string(24, 'x');
    const char unterminated[2] = {'8', '1'}, multi[4] = {'8', '1', 0, 0};
    struct Case { const char *what; DWORD type; std::string bytes; int expected; } cases[] = {
        {"\"81\"", REG_SZ, std::string("81", 3), 81},
        {"expandable \"81\"", REG_EXPAND_SZ, std::string("81", 3), 81},
        {"without terminator", REG_SZ, std::string(unterminated, 2), 81},
        {"29 characters", REG_SZ, japan29 + '\0', 81},
        {"30 characters", REG_SZ, "00081" + std::string(25, 'x') + '\0', 0},
        {"31 characters", REG_SZ, "00081" + std::string(26, 'x') + '\0', 0},
        {"100 characters", REG_SZ, std::string(100, '8') + '\0', 0},
        {"empty", REG_SZ, std::string(1, '\0'), 0},
        {"letters", REG_SZ, std::string("abc", 4), ('a' - '0') * 100 + ('b' - '0') * 10 + ('c' - '0')},
        {"a DWORD", REG_DWORD, std::string((const char *)&dword81, 4), 0},
        {"untyped", REG_BINARY, std::string("81", 3), 0},
        {"a text list", REG_MULTI_SZ, std::string(multi, 4), 0},
    };
    for (const Case &c : cases) {
        WriteRegRaw(HKEY_CURRENT_USER, kIntl, "iCountry", c.type, c.bytes.data(), (DWORD)c.bytes.size());
        EXPECT_EQ(CountryCodeOrZeroFromRegistry(), c.expected) << c.what;
    }
    DeleteRegValue(HKEY_CURRENT_USER, kIntl, "iCountry");
    EXPECT_EQ(CountryCodeOrZeroFromRegistry(), 0) << "missing";
    WriteRegString(HKEY_CURRENT_USER, kIntl, "iCountry", japan29);
    DetermineJapanLayout();
    EXPECT_EQ(JapanLayout, 1) << "29 characters beginning 00081";
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
