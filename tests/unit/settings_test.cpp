#include <gtest/gtest.h>
#include "platform/registry_key.h"
#include "tests/support/process_state.h"
#include "tests/support/registry_fixture.h"
#include "tests/support/registry_key_cases.h"
#include "tray/settings.h"

namespace {
const char kKey[] = TELVIX_SETTINGS_KEY;

class Settings : public ::testing::Test {
protected:
    void SetUp() override {
        DeleteKeyTree(HKEY_LOCAL_MACHINE, kKey);
        ResetProcessState();
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

// Four bytes of a number, whether typed as one or stored untyped, are read;
// anything else is repaired rather than misread as a number.
TEST_F(Settings, FourByteNumbersAreReadAndOtherFormsRepaired) {
    const BYTE one[4] = {1, 0, 0, 0};
    const BYTE bigEndianOne[4] = {0, 0, 0, 1};
    const char text2[] = "1", text4[] = "123", multi4[4] = {'1', 0, '2', 0};
    const BYTE twoBytes[2] = {1, 0}, threeBytes[3] = {1, 0, 0}, fiveBytes[5] = {1, 0, 0, 0, 0};
    const BYTE eightBytes[8] = {1, 0, 0, 0, 1, 0, 0, 0};
    struct Case { const char *what; DWORD type; const void *data; DWORD size; bool read; } cases[] = {
        {"REG_DWORD 1", REG_DWORD, one, 4, true},
        {"REG_BINARY 01 00 00 00", REG_BINARY, one, 4, true},
        {"text \"1\"", REG_SZ, text2, sizeof text2, false},
        {"text of four bytes", REG_SZ, text4, sizeof text4, false},
        {"expandable text of four bytes", REG_EXPAND_SZ, text4, sizeof text4, false},
        {"text list of four bytes", REG_MULTI_SZ, multi4, sizeof multi4, false},
        {"big-endian DWORD", REG_DWORD_BIG_ENDIAN, bigEndianOne, 4, false},
        {"untyped four bytes", REG_NONE, one, 4, false},
        {"2 bytes", REG_BINARY, twoBytes, sizeof twoBytes, false},
        {"3 bytes", REG_BINARY, threeBytes, sizeof threeBytes, false},
        {"5 bytes", REG_BINARY, fiveBytes, sizeof fiveBytes, false},
        {"no bytes", REG_BINARY, one, 0, false},
        {"8 bytes", REG_QWORD, eightBytes, sizeof eightBytes, false},
        {"DWORD-typed but 2 bytes", REG_DWORD, twoBytes, sizeof twoBytes, false},
    };
    for (const Case &c : cases) {
        DeleteKeyTree(HKEY_LOCAL_MACHINE, kKey);
        ResetProcessState();
        WriteRegRaw(HKEY_LOCAL_MACHINE, kKey, "DefaultTVAPP", c.type, c.data, c.size);
        WriteRegRaw(HKEY_LOCAL_MACHINE, kKey, "AlwaysRemoteOff", c.type, c.data, c.size);
        LoadSettings();
        EXPECT_EQ(defaultTvApp, c.read ? 1 : 2) << c.what;
        EXPECT_EQ(alwaysRemoteOff, c.read) << c.what;
        if (c.read) {
            DWORD type = 0, size = 0;
            RegGetValueA(HKEY_LOCAL_MACHINE, kKey, "AlwaysRemoteOff", RRF_RT_ANY, &type, NULL, &size);
            EXPECT_EQ(type, c.type) << c.what << ": a value that was read is left as it was";
            EXPECT_EQ(SaveSettings(), 1) << c.what;
        } else {
            EXPECT_EQ(Stored("DefaultTVAPP"), 2u) << c.what;
            EXPECT_EQ(Stored("AlwaysRemoteOff"), 0u) << c.what;
        }
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

TEST(RegistryKey, FailuresLeaveEveryOutputAndTheKeyClosesWithItsScope) {
    CheckRegistryKey<RegistryKey>([](const RegistryKey &key, const char *name, char *data, DWORD *size) {
        return key.Read(name, data, size, nullptr);
    });
}
