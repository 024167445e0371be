#include <gtest/gtest.h>
#include <string>
#include <vector>
#include "tests/support/effects_recorder.h"
#include "tray/shutdown.h"

namespace {

using Calls = std::vector<std::string>;

const char kVersion[] = "GetVersionExA 148";
const char kOpenToken[] = "OpenProcessToken 0x28";
const char kLookup[] = "LookupPrivilegeValueA SeShutdownPrivilege";
const char kAdjust[] = "AdjustTokenPrivileges 1 19 0x2"; // one privilege, the looked-up LUID, enabled
const char kPowerOff[] = "ExitWindowsEx 0xC 0";           // power off, forced
const char kRefused[] = "MessageBox Can't run ExitWindowsEx.|Corvane Remote Control|0x40000|no owner";

struct Case {
    const char *what;
    DWORD platform;
    BOOL openToken, lookup, adjust;
    DWORD lastError;
    BOOL exit;
    Calls expected;
};

} // namespace

TEST(ShutDownComputer, BothFamiliesAndEveryFailure) {
    const Case cases[] = {
        {"9x: an ordinary shutdown", VER_PLATFORM_WIN32_WINDOWS, TRUE, TRUE, TRUE, 0, TRUE,
         {kVersion, "ExitWindowsEx 0x1 0"}},
        {"9x: a refused shutdown is not reported", VER_PLATFORM_WIN32_WINDOWS, TRUE, TRUE, TRUE, 0, FALSE,
         {kVersion, "ExitWindowsEx 0x1 0"}},
        {"NT: privilege, then forced power-off", VER_PLATFORM_WIN32_NT, TRUE, TRUE, TRUE, 0, TRUE,
         {kVersion, kOpenToken, kLookup, kAdjust, kPowerOff}},
        {"NT: no token, nothing more", VER_PLATFORM_WIN32_NT, FALSE, TRUE, TRUE, 0, TRUE, {kVersion, kOpenToken}},
        {"NT: privilege not granted stops silently", VER_PLATFORM_WIN32_NT, TRUE, TRUE, TRUE,
         ERROR_NOT_ALL_ASSIGNED, TRUE, {kVersion, kOpenToken, kLookup, kAdjust}},
        {"NT: any error after the adjustment stops", VER_PLATFORM_WIN32_NT, TRUE, TRUE, FALSE,
         ERROR_INVALID_HANDLE, TRUE, {kVersion, kOpenToken, kLookup, kAdjust}},
        {"NT: only the last error counts, not the adjustment's result", VER_PLATFORM_WIN32_NT, TRUE, FALSE, FALSE,
         0, TRUE, {kVersion, kOpenToken, kLookup, kAdjust, kPowerOff}},
        {"NT: refused power-off tells the user", VER_PLATFORM_WIN32_NT, TRUE, TRUE, TRUE, 0, FALSE,
         {kVersion, kOpenToken, kLookup, kAdjust, kPowerOff, kRefused}},
    };
    for (const Case &c : cases) {
        FakeEffects fake;
        FakeEffects::platformId = c.platform;
        FakeEffects::openTokenResult = c.openToken;
        FakeEffects::lookupResult = c.lookup;
        FakeEffects::adjustResult = c.adjust;
        FakeEffects::lastError = c.lastError;
        FakeEffects::exitResult = c.exit;
        ShutDownComputer();
        EXPECT_EQ(FakeEffects::calls, c.expected) << c.what;
    }
}
