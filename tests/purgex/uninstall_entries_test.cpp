// Uninstall entry lookups against real entries under the system's uninstall
// root, and runs of the stand-in uninstaller as a real child process.
#include <gtest/gtest.h>
#include <windows.h>
#include <string>
#include <vector>
#include "tests/purgex/purgex_support.h"
#include "tests/support/process.h"
#include "tests/support/registry_fixture.h"
#include "tests/support/registry_key_cases.h"
#include "uninstall/registry_key.h"
#include "uninstall/uninstall_entries.h"

namespace {

class PurgexUninstallEntries : public ::testing::Test {
protected:
    void SetUp() override {
        log_ = ScratchDir("purgex_entries") + "\\uninstall.log";
        uninstallCommand[0] = '\0';
    }
    void TearDown() override {
        for (const std::string &name : created_) DeleteKeyTree(HKEY_LOCAL_MACHINE, EntryPath(name).c_str());
    }
    // An entry `name` with an optional display name and command.
    void AddEntry(const std::string &name, const char *displayName, const char *command) {
        created_.push_back(name);
        WriteRegRaw(HKEY_LOCAL_MACHINE, EntryPath(name).c_str(), "Placeholder", REG_DWORD, "\0\0\0", 4);
        if (displayName) WriteRegString(HKEY_LOCAL_MACHINE, EntryPath(name).c_str(), "DisplayName", displayName);
        if (command) WriteRegString(HKEY_LOCAL_MACHINE, EntryPath(name).c_str(), "UninstallString", command);
    }
    // A command without terminator. Wine's ANSI read appends one to a string
    // value, so the bytes are stored untyped, which it hands over as they are.
    void AddRawCommand(const std::string &name, const std::string &bytes) {
        created_.push_back(name);
        WriteRegRaw(HKEY_LOCAL_MACHINE, EntryPath(name).c_str(), "UninstallString", REG_BINARY, bytes.data(),
                    (DWORD)bytes.size());
    }
    std::string log_;
    std::vector<std::string> created_;
};

// Of `names`, the one the uninstall root enumerates last.
std::string LastEnumerated(const std::vector<std::string> &names) {
    HKEY root;
    std::string last;
    if (RegOpenKeyExA(HKEY_LOCAL_MACHINE, kUninstallRootPath, 0, KEY_READ, &root) != ERROR_SUCCESS) return last;
    char name[256];
    for (DWORD i = 0;; ++i) {
        DWORD size = sizeof name;
        if (RegEnumKeyExA(root, i, name, &size, NULL, NULL, NULL, NULL) != ERROR_SUCCESS) break;
        for (const std::string &n : names)
            if (lstrcmpiA(n.c_str(), name) == 0) last = n;
    }
    RegCloseKey(root);
    return last;
}

TEST_F(PurgexUninstallEntries, DisplayNameMatchesInAnyCaseAndTheLastMatchSuppliesTheCommand) {
    AddEntry("PurgexTest Alpha", "Corvane Utilities Test", "alpha.exe /remove");
    AddEntry("PurgexTest Beta", "CORVANE utilities TEST", "beta.exe /remove");
    AddEntry("PurgexTest Gamma", "Corvane Utilities Test Extra", "gamma.exe /remove");
    std::string last = LastEnumerated({"PurgexTest Alpha", "PurgexTest Beta"});
    ASSERT_FALSE(last.empty());

    EXPECT_TRUE(FindUninstallByDisplayName("corvane UTILITIES test"));
    EXPECT_STREQ(uninstallCommand, last == "PurgexTest Alpha" ? "alpha.exe /remove" : "beta.exe /remove");
    EXPECT_FALSE(FindUninstallByDisplayName("Corvane Utilities"));
}

TEST_F(PurgexUninstallEntries, MatchWithoutCommandLeavesNoEarlierCommandToRun) {
    AddEntry("PurgexTest Driver", NULL, SimCommand(log_, "drivers", 0).c_str());
    AddEntry("PurgexTest Bare", "Corvane Bare Test", NULL);

    // An earlier lookup fills the shared command with a runnable one.
    ASSERT_TRUE(FindUninstallByKey("PurgexTest Driver"));
    EXPECT_TRUE(FindUninstallByDisplayName("Corvane Bare Test")) << "the display name alone makes it present";
    EXPECT_STREQ(uninstallCommand, "");

    ASSERT_TRUE(FindUninstallByKey("PurgexTest Driver"));
    EXPECT_FALSE(RunUninstallByDisplayName("Corvane Bare Test"));
    EXPECT_EQ(ReadTextFile(log_), "") << "the drivers' uninstaller ran in place of the utilities'";
}

TEST_F(PurgexUninstallEntries, EmptyDisplayNameMatchesNothing) {
    AddEntry("PurgexTest Nameless", NULL, "nameless.exe");
    EXPECT_FALSE(FindUninstallByDisplayName(""));
    EXPECT_STREQ(uninstallCommand, "");
}

TEST_F(PurgexUninstallEntries, DisplayNameFillingItsBufferWithoutTerminatorMatchesNothing) {
    // Longer than any configured name can be, and with no room for an end.
    std::string name(256, 'd');
    AddEntry("PurgexTest LongName", NULL, "longname.exe");
    WriteRegRaw(HKEY_LOCAL_MACHINE, EntryPath("PurgexTest LongName").c_str(), "DisplayName", REG_BINARY, name.data(),
                (DWORD)name.size());
    EXPECT_FALSE(FindUninstallByDisplayName(std::string(255, 'd').c_str()));
    EXPECT_FALSE(FindUninstallByDisplayName(name.c_str()));
}

TEST_F(PurgexUninstallEntries, DirectKeyIsPresentOnlyWithACommandThatFits) {
    AddEntry("PurgexTest NoCommand", "x", NULL);
    AddEntry("PurgexTest Fits", NULL, std::string(254, 'f').c_str());      // 255 bytes
    AddEntry("PurgexTest TooLong", NULL, std::string(255, 't').c_str());   // 256 bytes
    AddEntry("PurgexTest 259", NULL, std::string(258, 't').c_str());
    AddEntry("PurgexTest 260", NULL, std::string(259, 't').c_str());
    AddRawCommand("PurgexTest Unterminated", std::string(255, 'u'));       // fills the read

    struct Case {
        const char *key;
        bool present;
        std::string command;
    } cases[] = {
        {"PurgexTest Fits", true, std::string(254, 'f')},
        {"purgextest fits", true, std::string(254, 'f')},
        {"PurgexTest NoCommand", false, ""},
        {"PurgexTest TooLong", false, ""},
        {"PurgexTest 259", false, ""},
        {"PurgexTest 260", false, ""},
        {"PurgexTest Unterminated", true, std::string(255, 'u')},
        {"PurgexTest Missing", false, ""},
        {"", false, ""},
    };
    for (const Case &c : cases) {
        lstrcpynA(uninstallCommand, "left over", sizeof uninstallCommand);
        EXPECT_EQ(FindUninstallByKey(c.key), c.present) << c.key;
        EXPECT_EQ(std::string(uninstallCommand), c.command) << c.key;
    }
}

TEST_F(PurgexUninstallEntries, DisplayNameSearchReadsCommandsUpTo256Bytes) {
    AddEntry("PurgexTest Read256", "Corvane Read 256", std::string(255, 'a').c_str());   // 256 bytes
    AddEntry("PurgexTest Read257", "Corvane Read 257", std::string(256, 'b').c_str());   // 257 bytes
    AddEntry("PurgexTest Read259", "Corvane Read 259", std::string(258, 'e').c_str());
    AddEntry("PurgexTest Read260", "Corvane Read 260", std::string(259, 'f').c_str());
    AddRawCommand("PurgexTest Raw256", std::string(256, 'c'));                          // no terminator
    WriteRegString(HKEY_LOCAL_MACHINE, EntryPath("PurgexTest Raw256").c_str(), "DisplayName", "Corvane Raw 256");

    struct Case {
        const char *name;
        std::string command;
    } cases[] = {
        {"Corvane Read 256", std::string(255, 'a')},
        {"Corvane Read 257", ""},
        {"Corvane Read 259", ""},
        {"Corvane Read 260", ""},
        {"Corvane Raw 256", std::string(256, 'c')},
    };
    for (const Case &c : cases) {
        lstrcpynA(uninstallCommand, "left over", sizeof uninstallCommand);
        EXPECT_TRUE(FindUninstallByDisplayName(c.name)) << c.name;
        EXPECT_EQ(std::string(uninstallCommand), c.command) << c.name;
    }
}

TEST_F(PurgexUninstallEntries, KeyNameTooLongForThePathIsAbsent) {
    // A cut path would open this entry in place of the one asked for.
    std::string fitting(203, 'k');
    AddEntry(fitting, NULL, "cut.exe");
    ASSERT_TRUE(FindUninstallByKey(fitting.c_str()));
    EXPECT_FALSE(FindUninstallByKey((fitting + "kkkkk").c_str()));
    EXPECT_STREQ(uninstallCommand, "");
}

TEST_F(PurgexUninstallEntries, RunsWaitForTheUninstallerToEnd) {
    AddEntry("PurgexTest Slow Utilities", "Corvane Slow Test", SimCommand(log_, "utilities", 1500).c_str());
    AddEntry("PurgexTest Slow Drivers", NULL, SimCommand(log_, "drivers", 1500).c_str());

    EXPECT_TRUE(RunUninstallByDisplayName("Corvane Slow Test"));
    EXPECT_EQ(LinesWith(ReadTextFile(log_), "end utilities").size(), 1u);
    EXPECT_TRUE(RunUninstallByKey("PurgexTest Slow Drivers"));
    std::string log = ReadTextFile(log_);
    EXPECT_EQ(LinesWith(log, "end drivers").size(), 1u);
    // The command line reaches the uninstaller as it stands in the registry.
    std::vector<std::string> started = LinesWith(log, "start drivers");
    ASSERT_EQ(started.size(), 1u);
    EXPECT_NE(started[0].find(SimCommand(log_, "drivers", 1500)), std::string::npos) << started[0];
}

// Each run tells whether its uninstaller ran, so the wizard never reports as
// removed what was not.
TEST_F(PurgexUninstallEntries, RunsTellWhetherTheUninstallerCouldStart) {
    struct Case {
        const char *what;
        std::string command;
        bool ran;
    } cases[] = {
        {"a program that exists", SimCommand(log_, "utilities", 0), true},
        {"no such program", "Z:\\no\\such\\uninstaller.exe", false},
        {"an environment variable, passed unexpanded", "%SystemRoot%\\system32\\cmd.exe /c exit", false},
        {"a folder", BinDir(), false},
        {"blanks", "   ", false},
        {"empty", "", false},
        {"longer than the read", std::string(300, 'x'), false},
    };
    for (const Case &c : cases) {
        AddEntry("PurgexTest Start", "Corvane Start Test", c.command.c_str());
        EXPECT_EQ(RunUninstallByDisplayName("Corvane Start Test"), c.ran) << c.what;
        EXPECT_EQ(RunUninstallByKey("PurgexTest Start"), c.ran) << c.what;
    }
    EXPECT_FALSE(RunUninstallByDisplayName("Corvane Nowhere Test")) << "no entry";
    EXPECT_FALSE(RunUninstallByKey("PurgexTest Nowhere")) << "no entry";
    EXPECT_EQ(LinesWith(ReadTextFile(log_), "end utilities").size(), 2u);
}

TEST_F(PurgexUninstallEntries, FindsTheMatchAmongFiveThousandEntries) {
    const int kEntries = 5000;
    HKEY root;
    ASSERT_EQ(RegCreateKeyExA(HKEY_LOCAL_MACHINE, kUninstallRootPath, 0, NULL, 0, KEY_ALL_ACCESS, NULL, &root, NULL),
              ERROR_SUCCESS);
    for (int i = 0; i < kEntries; ++i) {
        char name[64], display[64];
        snprintf(name, sizeof name, "PurgexBulk %04d", i);
        snprintf(display, sizeof display, "Bulk Program %d", i);
        created_.push_back(name);
        HKEY entry;
        ASSERT_EQ(RegCreateKeyExA(root, name, 0, NULL, 0, KEY_ALL_ACCESS, NULL, &entry, NULL), ERROR_SUCCESS);
        RegSetValueExA(entry, "DisplayName", 0, REG_SZ, (const BYTE *)display, lstrlenA(display) + 1);
        RegSetValueExA(entry, "UninstallString", 0, REG_SZ, (const BYTE *)name, lstrlenA(name) + 1);
        RegCloseKey(entry);
    }
    RegCloseKey(root);

    DWORD start = GetTickCount();
    EXPECT_TRUE(FindUninstallByDisplayName("bulk program 4321"));
    DWORD elapsed = GetTickCount() - start;
    EXPECT_STREQ(uninstallCommand, "PurgexBulk 4321");
    EXPECT_FALSE(FindUninstallByDisplayName("Bulk Program 5000"));
    // A figure, not a limit: the walk's time over this many entries.
    RecordProperty("FindMs", (int)elapsed);
    printf("FindUninstallByDisplayName over %d entries: %lu ms\n", kEntries, elapsed);
}

} // namespace

TEST(RegistryKey, FailuresLeaveEveryOutputAndTheKeyClosesWithItsScope) {
    CheckRegistryKey<RegistryKey>([](const RegistryKey &key, const char *name, char *data, DWORD *size) {
        return key.Read(name, data, size);
    });
}
