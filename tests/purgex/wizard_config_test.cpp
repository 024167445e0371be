// The country code, the ini file beside the program and the fourteen texts
// read from it, against real ini files and the real registry.
#include <gtest/gtest.h>
#include <windows.h>
#include <string>
#include "tests/support/process.h"
#include "tests/support/registry_fixture.h"
#include "uninstall/wizard_config.h"

namespace {

TEST(PurgexCountryCode, ConvertsAtMostFiveCharactersWithoutCheckingDigits) {
    struct Case {
        const char *text;
        int expected;
    } cases[] = {
        {"1", 1}, {"81", 81}, {"886", 886}, {"", 0}, {"12345", 12345}, {"1234567", 12345}, {"1a", 10 + ('a' - '0')},
    };
    for (const Case &c : cases) EXPECT_EQ(CountryCodeFromText(c.text), c.expected) << c.text;
}

TEST(PurgexCountryCode, RegistryOnlyFromWindows2000On) {
    struct Case {
        DWORD platform, major;
        bool registry;
    } cases[] = {
        {VER_PLATFORM_WIN32_WINDOWS, 4, false}, // 95, 98, Me
        {VER_PLATFORM_WIN32_NT, 4, false},      // NT 4
        {VER_PLATFORM_WIN32_NT, 5, true},       // 2000, XP
        {VER_PLATFORM_WIN32_NT, 10, true},
    };
    for (const Case &c : cases) {
        OSVERSIONINFOA version = {};
        version.dwPlatformId = c.platform;
        version.dwMajorVersion = c.major;
        EXPECT_EQ(CountryFromRegistry(version), c.registry) << c.platform << "." << c.major;
    }
}

TEST(PurgexCountryCode, WinIniPathDefaultsToOne) {
    std::string dir = ScratchDir("purgex_winini");
    // Not named win.ini: Wine serves that name from the registry.
    std::string ini = dir + "\\intl.ini";
    EXPECT_EQ(CountryCodeFromWinIni(ini.c_str()), 1);
    WriteTextFile(ini, "[intl]\r\niCountry=49\r\n");
    EXPECT_EQ(CountryCodeFromWinIni(ini.c_str()), 49);
}

class PurgexRegistryCountry : public ::testing::Test {
protected:
    const char *kPath = "Control Panel\\International";
    void SetUp() override { hadValue_ = ReadRegString(HKEY_CURRENT_USER, kPath, "iCountry", &saved_); }
    void TearDown() override {
        if (hadValue_) WriteRegString(HKEY_CURRENT_USER, kPath, "iCountry", saved_);
        else DeleteRegValue(HKEY_CURRENT_USER, kPath, "iCountry");
    }
    bool hadValue_ = false;
    std::string saved_;
};

// Read into 30 bytes and converted without further checks; what cannot be
// read gives the same 1 as a missing win.ini entry.
TEST_F(PurgexRegistryCountry, ReadsTheUsersCountryAndFallsBackToOne) {
    WriteRegString(HKEY_CURRENT_USER, kPath, "iCountry", "886");
    EXPECT_EQ(GetCountryCode(), 886) << "Wine reports a Windows of the registry path";

    const DWORD dword81 = 81;
    struct Case {
        const char *what;
        DWORD type;
        std::string bytes;
        int expected;
    } cases[] = {
        {"\"886\"", REG_SZ, std::string("886", 4), 886},
        {"29 characters", REG_SZ, "00049" + std::string(24, 'x') + '\0', 49},
        {"30 characters", REG_SZ, "00049" + std::string(25, 'x') + '\0', 1},
        {"31 characters", REG_SZ, "00049" + std::string(26, 'x') + '\0', 1},
        {"40 characters", REG_SZ, std::string(40, '8') + '\0', 1},
        // Filling the buffer without its end: read no further than five.
        {"30 bytes untyped", REG_BINARY, std::string(30, '7'), 77777},
        {"empty", REG_SZ, std::string(1, '\0'), 0},
        // Bytes taken as text: 'Q' (81) is 33 past '0'.
        {"a DWORD", REG_DWORD, std::string((const char *)&dword81, 4), 'Q' - '0'},
    };
    for (const Case &c : cases) {
        WriteRegRaw(HKEY_CURRENT_USER, kPath, "iCountry", c.type, c.bytes.data(), (DWORD)c.bytes.size());
        EXPECT_EQ(CountryCodeOrOneFromRegistry(), c.expected) << c.what;
    }
    DeleteRegValue(HKEY_CURRENT_USER, kPath, "iCountry");
    EXPECT_EQ(CountryCodeOrOneFromRegistry(), 1) << "missing";
}

TEST(PurgexCountryCode, WinIniIsTheSystemsOwnWhenTheWindowsDirectoryDoesNotFit) {
    std::string dir127(127, 'd');
    struct Case {
        const char *dir;
        UINT length;
        std::string path;
    } cases[] = {
        {"C:\\WINDOWS", 10, "C:\\WINDOWS\\win.ini"},
        {dir127.c_str(), 127, dir127 + "\\win.ini"},
        // GetWindowsDirectoryA: the size it needs when 128 bytes are too few, 0 on failure.
        {dir127.c_str(), 128, "win.ini"},
        {dir127.c_str(), 300, "win.ini"},
        {"", 0, "win.ini"},
    };
    for (const Case &c : cases) {
        char path[128 + sizeof "\\win.ini"];
        WinIniPathFromWindowsDir(c.dir, c.length, path, sizeof path);
        EXPECT_EQ(std::string(path), c.path) << c.length;
    }
}

TEST(PurgexIniPath, CutsTheProgramNameByItsFixedLength) {
    struct Case {
        const char *modulePath;
        int size;
        bool ok;
        const char *iniPath;
    } cases[] = {
        {"C:\\Program Files\\Corvane\\Purgex.exe", 256, true, "C:\\Program Files\\Corvane\\Purgex.ini"},
        {"C:\\Purgex.exe", 256, true, "C:\\Purgex.ini"},
        {"\\Purgex.exe", 256, true, "\\Purgex.ini"},
        // A program under a shorter name loses eleven characters all the same.
        {"C:\\Tools\\Rm.exe", 256, true, "C:\\T\\Purgex.ini"},
        {"Purgex.exe", 256, false, ""},
        {"C:\\a.exe", 256, false, ""},
        {"", 256, false, ""},
        {"C:\\Corvane\\Purgex.exe", 16, false, ""},
    };
    for (const Case &c : cases) {
        char iniPath[256];
        lstrcpynA(iniPath, "left over", sizeof iniPath);
        EXPECT_EQ(IniPathFromModulePath(c.modulePath, iniPath, c.size), c.ok) << c.modulePath;
        EXPECT_STREQ(iniPath, c.iniPath) << c.modulePath;
    }
}

class PurgexConfig : public ::testing::Test {
protected:
    void SetUp() override { ini_ = ScratchDir("purgex_config") + "\\Purgex.ini"; }
    void Read(int countryCode) {
        memset(&config_, 'x', sizeof config_);
        ReadWizardConfig(ini_.c_str(), countryCode, &config_, section_);
    }
    std::string ini_;
    WizardConfig config_;
    char section_[32];
};

const char kFullSection1[] =
    "[1]\r\n"
    "UninstallWizardAppTitle=Title 1\r\n"
    "UninstallWizardTPG1Tip1=Tip one\r\n"
    "UninstallWizardTPG1Tip2=Tip two\r\n"
    "UninstallWizardTPG1OPT1=Option one\r\n"
    "UninstallWizardTPG1OPT2=Option two\r\n"
    "UninstallWizardTPG2Tip1=Done\r\n"
    "UninstallWizardTPG2Tip2=Nothing done\r\n"
    "UninstallUtilityRegName=Corvane Utilities\r\n"
    "RemoteTitleName=Corvane Remote Control\r\n"
    "DrvUninstRegKeyPath=Corvane Drivers\r\n"
    "OKText=Fine\r\n"
    "CancelText=Stop\r\n"
    "StartText=Go\r\n"
    "UninstallWizardTPG2Tip3=Partly done\r\n";

TEST_F(PurgexConfig, ReadsEveryKeyFromTheCountrysSection) {
    WriteTextFile(ini_, std::string(kFullSection1) +
                            "[81]\r\nUninstallWizardAppTitle=Title 81\r\nUninstallWizardTPG1Tip1=Tip 81\r\n");
    Read(1);
    EXPECT_STREQ(section_, "1");
    struct Field {
        const char *value;
        const char *expected;
    } fields[] = {
        {config_.appTitle, "Title 1"},
        {config_.page1Tip1, "Tip one"},
        {config_.page1Tip2, "Tip two"},
        {config_.page1Option1, "Option one"},
        {config_.page1Option2, "Option two"},
        {config_.page2Tip1, "Done"},
        {config_.page2Tip2, "Nothing done"},
        {config_.utilityRegName, "Corvane Utilities"},
        {config_.remoteTitleName, "Corvane Remote Control"},
        {config_.driverKeyPath, "Corvane Drivers"},
        {config_.okText, "Fine"},
        {config_.cancelText, "Stop"},
        {config_.startText, "Go"},
        {config_.page2Tip3, "Partly done"},
    };
    for (const Field &f : fields) EXPECT_STREQ(f.value, f.expected);

    // A section with a title is used alone: what it lacks is empty, not
    // taken from section "1".
    Read(81);
    EXPECT_STREQ(section_, "81");
    EXPECT_STREQ(config_.appTitle, "Title 81");
    EXPECT_STREQ(config_.page1Tip1, "Tip 81");
    EXPECT_STREQ(config_.page1Tip2, "");
    EXPECT_STREQ(config_.remoteTitleName, "");
    EXPECT_STREQ(config_.okText, "OK");
}

TEST_F(PurgexConfig, EmptyTitleFallsBackToSectionOneForEveryKey) {
    struct Case {
        const char *extra;
        int country;
    } cases[] = {
        {"[81]\r\nUninstallWizardAppTitle=\r\nUninstallWizardTPG1Tip1=Tip 81\r\n", 81},
        {"[886]\r\nUninstallWizardTPG1Tip1=Tip 886\r\n", 886},
        {"", 49},
    };
    for (const Case &c : cases) {
        WriteTextFile(ini_, std::string(kFullSection1) + c.extra);
        Read(c.country);
        EXPECT_STREQ(section_, "1") << c.country;
        EXPECT_STREQ(config_.appTitle, "Title 1") << c.country;
        EXPECT_STREQ(config_.page1Tip1, "Tip one") << c.country;
        EXPECT_STREQ(config_.startText, "Go") << c.country;
    }
}

TEST_F(PurgexConfig, KeysWithoutValuesAreEmptyAndMissingKeysTakeTheirDefaults) {
    WriteTextFile(ini_,
                  "[1]\r\nUninstallWizardAppTitle=T\r\nRemoteTitleName=\r\nOKText=\r\nCancelText\r\n");
    Read(1);
    EXPECT_STREQ(config_.remoteTitleName, "");
    EXPECT_STREQ(config_.okText, "") << "present without value: empty, not the default";
    EXPECT_STREQ(config_.cancelText, "Cancel") << "a line without '=' is no key";
    EXPECT_STREQ(config_.startText, "Start");
    EXPECT_STREQ(config_.page2Tip2, "");
    EXPECT_STREQ(config_.page2Tip3, "Some components could not be removed.")
        << "ini files from before this key keep working";

    // No file at all, or no path to one: the button defaults, all else empty.
    DeleteFileA(ini_.c_str());
    for (const char *path : {ini_.c_str(), (const char *)NULL}) {
        memset(&config_, 'x', sizeof config_);
        ReadWizardConfig(path, 1, &config_, section_);
        EXPECT_STREQ(config_.appTitle, "");
        EXPECT_STREQ(config_.driverKeyPath, "");
        EXPECT_STREQ(config_.okText, "OK");
        EXPECT_STREQ(config_.cancelText, "Cancel");
        EXPECT_STREQ(config_.startText, "Start");
    }
}

TEST_F(PurgexConfig, TextsUpToTheirBuffersAreKeptAndLongerOnesCut) {
    struct Row {
        size_t length, kept;
    } titleRows[] = {{255, 255}, {256, 255}, {300, 255}}, buttonRows[] = {{31, 31}, {32, 31}, {300, 31}};
    for (size_t i = 0; i < 3; ++i) {
        const Row &t = titleRows[i], &b = buttonRows[i];
        WriteTextFile(ini_, "[1]\r\nUninstallWizardAppTitle=" + std::string(t.length, 'L') +
                                "\r\nRemoteTitleName=" + std::string(t.length, 'R') +
                                "\r\nStartText=" + std::string(b.length, 'S') + "\r\n");
        Read(1);
        EXPECT_EQ(std::string(config_.appTitle), std::string(t.kept, 'L')) << t.length;
        EXPECT_EQ(std::string(config_.remoteTitleName), std::string(t.kept, 'R')) << t.length;
        EXPECT_EQ(std::string(config_.startText), std::string(b.kept, 'S')) << b.length;
    }
}

} // namespace
