#include <gtest/gtest.h>
#include "tests/support/registry_fixture.h"
#include "tray/settings.h"

namespace {
const char kKey[] = TELVIX_SETTINGS_KEY;

class Settings : public ::testing::Test {
protected:
    void SetUp() override {
        DeleteKeyTree(HKEY_LOCAL_MACHINE, kKey);
        defaultTvApp = 2;
        alwaysRemoteOff = false;
    }
    void TearDown() override { SetUp(); }
    static DWORD Stored(const char *name) {
        DWORD value = 0xDEAD;
        EXPECT_TRUE(ReadRegDword(HKEY_LOCAL_MACHINE, kKey, name, &value)) << name;
        return value;
    }
};
} // namespace

TEST_F(Settings, FirstRunCreatesTheKeyWithDefaults) {
    EXPECT_EQ(LoadSettings(), 1);
    EXPECT_EQ(Stored("DefaultTVAPP"), 2u);
    EXPECT_EQ(Stored("AlwaysRemoteOff"), 0u);
    EXPECT_EQ(defaultTvApp, 2);
    EXPECT_FALSE(alwaysRemoteOff);
}

TEST_F(Settings, StoredValuesAreReadAndOnlyExactlyOneMeansAlwaysOff) {
    struct Case { DWORD stored; bool off; } cases[] = {{0, false}, {1, true}, {2, false}, {0xFFFFFFFF, false}};
    for (const Case &c : cases) {
        WriteRegDword(HKEY_LOCAL_MACHINE, kKey, "DefaultTVAPP", 3);
        WriteRegDword(HKEY_LOCAL_MACHINE, kKey, "AlwaysRemoteOff", c.stored);
        LoadSettings();
        EXPECT_EQ(defaultTvApp, 3);
        EXPECT_EQ(alwaysRemoteOff, c.off) << c.stored;
        EXPECT_EQ(Stored("AlwaysRemoteOff"), c.stored) << "a value that was read is left alone";
    }
}

TEST_F(Settings, MissingValuesAreWrittenBack) {
    WriteRegDword(HKEY_LOCAL_MACHINE, kKey, "AlwaysRemoteOff", 1);
    LoadSettings();
    EXPECT_EQ(Stored("DefaultTVAPP"), 2u);
    EXPECT_TRUE(alwaysRemoteOff);

    DeleteKeyTree(HKEY_LOCAL_MACHINE, kKey);
    alwaysRemoteOff = false;
    WriteRegDword(HKEY_LOCAL_MACHINE, kKey, "DefaultTVAPP", 4);
    LoadSettings();
    EXPECT_EQ(defaultTvApp, 4);
    EXPECT_EQ(Stored("AlwaysRemoteOff"), 0u);
}

TEST_F(Settings, DefaultOutsideOneToFourIsReadWithoutARangeCheck) {
    WriteRegDword(HKEY_LOCAL_MACHINE, kKey, "DefaultTVAPP", 9);
    WriteRegDword(HKEY_LOCAL_MACHINE, kKey, "AlwaysRemoteOff", 0);
    LoadSettings();
    EXPECT_EQ(defaultTvApp, 9);
}

TEST_F(Settings, ValuesOfTheWrongTypeOrSizeAreRepairedNotMisread) {
    const char text[] = "4";
    const BYTE twoBytes[2] = {3, 0};
    const BYTE eightBytes[8] = {1, 0, 0, 0, 1, 0, 0, 0};
    struct Case { const char *what; DWORD type; const void *data; DWORD size; } cases[] = {
        {"text", REG_SZ, text, sizeof text},
        {"2 bytes", REG_BINARY, twoBytes, sizeof twoBytes},
        {"8 bytes", REG_QWORD, eightBytes, sizeof eightBytes},
        {"DWORD-typed but 2 bytes", REG_DWORD, twoBytes, sizeof twoBytes},
    };
    for (const Case &c : cases) {
        DeleteKeyTree(HKEY_LOCAL_MACHINE, kKey);
        defaultTvApp = 2;
        alwaysRemoteOff = false;
        WriteRegRaw(HKEY_LOCAL_MACHINE, kKey, "DefaultTVAPP", c.type, c.data, c.size);
        WriteRegRaw(HKEY_LOCAL_MACHINE, kKey, "AlwaysRemoteOff", c.type, c.data, c.size);
        LoadSettings();
        EXPECT_EQ(defaultTvApp, 2) << c.what;
        EXPECT_FALSE(alwaysRemoteOff) << c.what;
        EXPECT_EQ(Stored("DefaultTVAPP"), 2u) << c.what;
        EXPECT_EQ(Stored("AlwaysRemoteOff"), 0u) << c.what;
    }
}

TEST_F(Settings, SaveWritesOnlyAnExistingDefaultValue) {
    defaultTvApp = 3;
    EXPECT_EQ(SaveSettings(), 0) << "no key";
    EXPECT_FALSE(KeyExists(HKEY_LOCAL_MACHINE, kKey)) << "and none is created";

    WriteRegDword(HKEY_LOCAL_MACHINE, kKey, "AlwaysRemoteOff", 0);
    EXPECT_EQ(SaveSettings(), 0) << "no DefaultTVAPP value";
    DWORD value;
    EXPECT_FALSE(ReadRegDword(HKEY_LOCAL_MACHINE, kKey, "DefaultTVAPP", &value));

    WriteRegDword(HKEY_LOCAL_MACHINE, kKey, "DefaultTVAPP", 1);
    EXPECT_EQ(SaveSettings(), 1);
    EXPECT_EQ(Stored("DefaultTVAPP"), 3u);
}
