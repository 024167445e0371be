#include <gtest/gtest.h>
#include <stdio.h>
#include <string>
#include "platform/trace.h"
#include "tests/support/registry_fixture.h"
#include "tray/settings.h"

namespace {

std::string ReadWhole(const std::string &path) {
    std::string text;
    if (FILE *file = fopen(path.c_str(), "rb")) {
        char chunk[4096];
        size_t got;
        while ((got = fread(chunk, 1, sizeof chunk, file)) > 0) text.append(chunk, got);
        fclose(file);
    }
    return text;
}

bool Exists(const std::string &path) { return GetFileAttributesA(path.c_str()) != INVALID_FILE_ATTRIBUTES; }

class TraceLog : public ::testing::Test {
protected:
    std::string folder, log, previous;
    void SetUp() override {
        char temp[MAX_PATH];
        GetTempPathA(sizeof temp, temp);
        folder = std::string(temp) + "telvix trace test";
        log = folder + "\\" + kTraceFileName;
        previous = folder + "\\" + kTracePreviousFileName;
        Clean();
    }
    void TearDown() override {
        StartTrace(nullptr);
        Clean();
    }
    void Clean() {
        DeleteFileA(log.c_str());
        DeleteFileA(previous.c_str());
        RemoveDirectoryA(folder.c_str());
    }
};

} // namespace

TEST_F(TraceLog, OffWritesNothingAndOnAppendsTimedLinesInAFolderItMakes) {
    StartTrace(nullptr);
    Trace("key: raw %d", 30);
    EXPECT_FALSE(Exists(folder));

    StartTrace(folder.c_str());
    DWORD before = GetTickCount();
    Trace("key: raw %d logical %d", 30, 18);
    Trace("%s", "route: pointer");
    std::string text = ReadWhole(log);
    unsigned long time = 0;
    char event[64] = "";
    ASSERT_EQ(sscanf(text.c_str(), "%lu %63[^\r]", &time, event), 2) << text;
    EXPECT_GE(time, (unsigned long)before);
    EXPECT_STREQ(event, "key: raw 30 logical 18");
    EXPECT_NE(text.find(" route: pointer\r\n"), std::string::npos);

    // A long event is cut, never overrun, and still ends its line.
    std::string longText(2000, 'x');
    Trace("%s", longText.c_str());
    text = ReadWhole(log);
    EXPECT_EQ(text.substr(text.size() - 2), "\r\n");
    EXPECT_LT(text.size(), 1000u);
}

TEST_F(TraceLog, AtItsLimitTheLogBecomesThePreviousFileAndOnlyOneIsKept) {
    StartTrace(folder.c_str());
    std::string filler(400, 'f');
    // Over two limits' worth: the log has been moved aside twice.
    for (DWORD written = 0; written < 2 * kTraceMaxBytes + 4096; written += 420) Trace("%s", filler.c_str());
    Trace("the last line");
    std::string text = ReadWhole(log), old = ReadWhole(previous);
    EXPECT_LE(text.size(), kTraceMaxBytes);
    EXPECT_LE(old.size(), kTraceMaxBytes);
    EXPECT_GT(old.size(), kTraceMaxBytes - 1024) << "the previous file was full";
    EXPECT_NE(text.find(" the last line\r\n"), std::string::npos);
}

TEST_F(TraceLog, ALogThatCannotBeWrittenLosesTheLineAndNothingElse) {
    // A file where the folder would be: neither the folder nor the log can be made.
    HANDLE blocker = CreateFileA(folder.c_str(), GENERIC_WRITE, 0, NULL, CREATE_ALWAYS, 0, NULL);
    ASSERT_NE(blocker, INVALID_HANDLE_VALUE);
    CloseHandle(blocker);
    StartTrace(folder.c_str());
    Trace("nowhere to go");
    EXPECT_FALSE(Exists(log));
    DeleteFileA(folder.c_str());
}

TEST(TraceSetting, OnlyANonZeroTraceValueTurnsItOnAndReadingWritesNothing) {
    const char kKey[] = TELVIX_SETTINGS_KEY;
    DeleteKeyTree(HKEY_LOCAL_MACHINE, kKey);
    EXPECT_FALSE(ReadTraceSetting()) << "no key";
    EXPECT_FALSE(KeyExists(HKEY_LOCAL_MACHINE, kKey)) << "reading creates nothing";
    struct Case { DWORD stored; bool on; } cases[] = {{0, false}, {1, true}, {7, true}};
    for (const Case &c : cases) {
        WriteRegDword(HKEY_LOCAL_MACHINE, kKey, "Trace", c.stored);
        EXPECT_EQ(ReadTraceSetting(), c.on) << c.stored;
    }
    WriteRegRaw(HKEY_LOCAL_MACHINE, kKey, "Trace", REG_SZ, "1", 2);
    EXPECT_FALSE(ReadTraceSetting()) << "text is not a number";
    DeleteKeyTree(HKEY_LOCAL_MACHINE, kKey);
}
