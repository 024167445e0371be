// The real uninstall wizard as a process: Purgex.exe with its ini file beside
// it, stand-in uninstallers registered as the system's uninstall entries and
// the real tray program running, driven through its pages like a person.
#include <gtest/gtest.h>
#include <windows.h>
#include <functional>
#include <memory>
#include <string>
#include <thread>
#include "tests/purgex/purgex_support.h"
#include "tests/support/dialog_items.h"
#include "tests/support/process.h"
#include "tests/support/registry_fixture.h"
#include "tests/support/telvix_session.h"
#include "tests/support/test_windows.h"
#include "tests/support/window_capture.h"
#include "tests/support/wizard_pages.h"

namespace {

const char kTitle[] = "Corvane Uninstall Test";
const char kTrayTitle[] = "Corvane Remote Control";
const char kUtilitiesEntry[] = "PurgexE2E Utilities";
const char kDriversEntry[] = "PurgexE2E Drivers";
const char kTraySettings[] = "SOFTWARE\\Halvex Multimedia\\Corvane Utilities";

class PurgexProcess : public ::testing::Test {
protected:
    void SetUp() override {
        dir_ = ScratchDir("purgex_e2e");
        log_ = dir_ + "\\uninstall.log";
        ASSERT_TRUE(CopyOneFile(BinDir() + "\\Purgex.exe", dir_ + "\\Purgex.exe"));
        WriteTextFile(dir_ + "\\Purgex.ini",
                      std::string("[1]\r\n") + "UninstallWizardAppTitle=" + kTitle + "\r\n" +
                          "UninstallWizardTPG1Tip1=Now we will remove the utilities and drivers.\r\n"
                          "UninstallWizardTPG1Tip2=Please select which components will be removed.\r\n"
                          "UninstallWizardTPG1OPT1=Remove All Utilities.\r\n"
                          "UninstallWizardTPG1OPT2=Remove WDM Drivers.\r\n"
                          "UninstallWizardTPG2Tip1=Now we have uninstalled completely !.\r\n"
                          "UninstallWizardTPG2Tip2=Nothing has been removed.\r\n"
                          "UninstallWizardTPG2Tip3=Some components could not be removed.\r\n"
                          "UninstallUtilityRegName=Corvane E2E Utilities\r\n"
                          "RemoteTitleName=" + kTrayTitle + "\r\n" +
                          "DrvUninstRegKeyPath=" + kDriversEntry + "\r\n"
                          "OKText=Finish\r\n"
                          "CancelText=Quit\r\n"
                          "StartText=Remove\r\n");
        RegisterEntries();
    }
    void TearDown() override {
        processes_.KillAll();
        DeleteKeyTree(HKEY_LOCAL_MACHINE, TvAppRow(kPowerVcr).identity.registryKey, kTvAppView);
        if (touchedTraySettings_) {
            if (hadRemoteOff_) WriteRegDword(HKEY_LOCAL_MACHINE, kTraySettings, "AlwaysRemoteOff", remoteOff_);
            else DeleteRegValue(HKEY_LOCAL_MACHINE, kTraySettings, "AlwaysRemoteOff");
        }
        DeleteKeyTree(HKEY_LOCAL_MACHINE, EntryPath(kUtilitiesEntry).c_str());
        DeleteKeyTree(HKEY_LOCAL_MACHINE, EntryPath(kDriversEntry).c_str());
        DeleteKeyTree(HKEY_LOCAL_MACHINE, EntryPath(kUtilitiesEntry).c_str(), kOtherView);
        DeleteKeyTree(HKEY_LOCAL_MACHINE, EntryPath(kDriversEntry).c_str(), kOtherView);
    }
    void RegisterEntries() {
        std::string utilities = EntryPath(kUtilitiesEntry);
        WriteRegString(HKEY_LOCAL_MACHINE, utilities.c_str(), "DisplayName", "Corvane E2E Utilities");
        // Long enough to see the page hidden and the drivers kept waiting; its
        // broadcast waits for the hidden page too.
        WriteRegString(HKEY_LOCAL_MACHINE, utilities.c_str(), "UninstallString",
                       SimCommand(log_, "utilities", 2500, "broadcast"));
        WriteRegString(HKEY_LOCAL_MACHINE, EntryPath(kDriversEntry).c_str(), "UninstallString",
                       SimCommand(log_, "drivers", 500));
    }
    // The tray program as installed; a remote switched off in its settings
    // would end it at once, so that one is put back afterwards.
    HANDLE StartTelvix() {
        if (!touchedTraySettings_)
            hadRemoteOff_ = ReadRegDword(HKEY_LOCAL_MACHINE, kTraySettings, "AlwaysRemoteOff", &remoteOff_);
        touchedTraySettings_ = true;
        WriteRegDword(HKEY_LOCAL_MACHINE, kTraySettings, "AlwaysRemoteOff", 0);
        HANDLE telvix = processes_.Start("\"" + BinDir() + "\\Telvix.exe\"");
        EXPECT_TRUE(WaitForWindow(kTrayTitle, kTrayTitle, 30000)) << "the tray program did not come up";
        return telvix;
    }
    HANDLE StartPurgex(const std::string &dir) {
        return processes_.Start("\"" + dir + "\\Purgex.exe\"", dir);
    }
    std::string dir_, log_;
    ProcessSet processes_;
    bool touchedTraySettings_ = false, hadRemoteOff_ = false;
    DWORD remoteOff_ = 0;
};

TEST_F(PurgexProcess, PageShowsTheConfiguredTextsAndPresetsEachOptionByItsEntry) {
    struct Case {
        bool drivers;
    } cases[] = {{true}, {false}};
    for (const Case &c : cases) {
        if (!c.drivers) DeleteKeyTree(HKEY_LOCAL_MACHINE, EntryPath(kDriversEntry).c_str());
        HANDLE purgex = StartPurgex(dir_);
        HWND page = WaitForPage(kTitle, false);
        ASSERT_TRUE(page);
        EXPECT_EQ(ItemText(page, kPageText),
                  "Now we will remove the utilities and drivers.\n\nPlease select which components will be removed.");
        EXPECT_EQ(ItemText(page, kUtilitiesBox), "Remove All Utilities.");
        EXPECT_EQ(ItemText(page, kDriversBox), "Remove WDM Drivers.");
        EXPECT_EQ(ItemText(page, IDOK), "Remove");
        EXPECT_EQ(ItemText(page, IDCANCEL), "Quit");
        EXPECT_EQ(SendDlgItemMessageA(page, kUtilitiesBox, BM_GETCHECK, 0, 0), BST_CHECKED);
        EXPECT_EQ(SendDlgItemMessageA(page, kDriversBox, BM_GETCHECK, 0, 0), c.drivers ? BST_CHECKED : BST_UNCHECKED);
        ClickButton(page, IDCANCEL);
        ASSERT_TRUE(WaitExit(purgex, 30000, NULL));
    }
}

TEST_F(PurgexProcess, StartClosesTheTrayProgramAndRunsUtilitiesToTheirEndBeforeDrivers) {
    HANDLE telvix = StartTelvix();
    HANDLE purgex = StartPurgex(dir_);
    HWND page = WaitForPage(kTitle, false);
    ASSERT_TRUE(page);
    ClickButton(page, IDOK);

    ASSERT_TRUE(WaitUntil([&] { return !LinesWith(ReadTextFile(log_), "start utilities").empty(); }, 30000));
    EXPECT_TRUE(WaitExit(telvix, 30000, NULL)) << "WM_CLOSE ends the tray program";
    EXPECT_FALSE(FindWindowA(kTrayTitle, kTrayTitle)) << "closed before any uninstaller started";
    if (LinesWith(ReadTextFile(log_), "end utilities").empty()) {
        EXPECT_FALSE(IsWindowVisible(page)) << "the page hides while an uninstaller runs";
    }

    HWND finish = WaitForPage(kTitle, true);
    ASSERT_TRUE(finish);
    std::string log = ReadTextFile(log_);
    size_t utilitiesEnd = log.find("end utilities"), driversStart = log.find("start drivers");
    ASSERT_NE(utilitiesEnd, std::string::npos) << log;
    ASSERT_NE(driversStart, std::string::npos) << log;
    EXPECT_LT(utilitiesEnd, driversStart) << log;
    EXPECT_NE(log.find("end drivers"), std::string::npos) << "the finish page waits for the last uninstaller";
    EXPECT_EQ(LinesWith(log, "start ").size(), 2u) << log;

    EXPECT_EQ(ItemText(finish, kFinishText), "Now we have uninstalled completely !.");
    EXPECT_EQ(ItemText(finish, IDOK), "Finish");
    EXPECT_FALSE(IsWindowVisible(GetDlgItem(finish, IDCANCEL)));
    ClickButton(finish, IDOK);
    DWORD code = 99;
    ASSERT_TRUE(WaitExit(purgex, 30000, &code));
    EXPECT_EQ(code, 0u);
}

// A window of the tray program's title on a thread that never takes its
// messages, as a hung program's.
class HungWindow {
public:
    explicit HungWindow(const char *title) {
        HANDLE ready = CreateEventA(NULL, TRUE, FALSE, NULL);
        release_ = CreateEventA(NULL, TRUE, FALSE, NULL);
        thread_ = std::thread([this, title, ready] {
            TestWindow window("PurgexE2EHung", title);
            window_ = window.hwnd();
            SetEvent(ready);
            WaitForSingleObject(release_, INFINITE);
        });
        WaitForSingleObject(ready, 30000);
        CloseHandle(ready);
    }
    ~HungWindow() {
        SetEvent(release_);
        thread_.join();
        CloseHandle(release_);
    }
    HWND hwnd() const { return window_; }

private:
    HANDLE release_;
    std::thread thread_;
    HWND window_ = NULL;
};

// Whatever else carries the tray program's title, above its window: Start
// still ends the tray program, and in bounded time.
TEST_F(PurgexProcess, StartClosesTheTrayProgramPastOtherWindowsOfItsTitle) {
    DeleteKeyTree(HKEY_LOCAL_MACHINE, EntryPath(kUtilitiesEntry).c_str());
    DeleteKeyTree(HKEY_LOCAL_MACHINE, EntryPath(kDriversEntry).c_str());
    // An install folder without the program: choosing it opens the tray
    // program's own "Can't launch" box.
    const TvAppIdentity &powerVcr = TvAppRow(kPowerVcr).identity;
    WriteRegString(HKEY_LOCAL_MACHINE, powerVcr.registryKey, powerVcr.valueName, ScratchDir("purgex_e2e_noapp"),
                   kTvAppView);
    struct Case {
        const char *what;
        std::function<std::function<bool()>(HWND tray)> disturb; // returns "the disturbance is gone"
    } cases[] = {
        {"the tray program's message box",
         [](HWND tray) -> std::function<bool()> {
             PostMessageA(tray, WM_COMMAND, 1102, 0);
             HWND box = WaitForWindow("#32770", kTrayTitle, 30000);
             EXPECT_TRUE(box) << "the box did not open";
             return [box] { return !IsWindow(box); };
         }},
        {"a foreign window",
         [](HWND) -> std::function<bool()> {
             auto foreign = std::make_shared<TestWindow>("PurgexE2EForeign", kTrayTitle);
             return [foreign] { return !IsWindow(foreign->hwnd()); };
         }},
        {"a hung window",
         [](HWND) -> std::function<bool()> {
             auto hung = std::make_shared<HungWindow>(kTrayTitle);
             return [hung] { return true; }; // it keeps its window, and the wizard goes on
         }},
    };
    for (const Case &c : cases) {
        SCOPED_TRACE(c.what);
        HANDLE telvix = StartTelvix();
        HWND tray = FindWindowA(kTrayTitle, kTrayTitle);
        ASSERT_TRUE(tray);
        std::function<bool()> gone = c.disturb(tray);
        HANDLE purgex = StartPurgex(dir_);
        HWND page = WaitForPage(kTitle, false);
        ASSERT_TRUE(page);
        ClickButton(page, IDOK);
        HWND finish = WaitForPage(kTitle, true);
        EXPECT_TRUE(finish) << "the wizard is stuck";
        EXPECT_TRUE(WaitExit(telvix, 30000, NULL)) << "the tray program still runs";
        EXPECT_TRUE(WaitUntil(gone, 30000));
        if (finish) ClickButton(finish, IDOK);
        EXPECT_TRUE(WaitExit(purgex, 30000, NULL));
        processes_.KillAll();
    }
}

TEST_F(PurgexProcess, AnUninstallerThatCannotStartIsNotReportedAsRemoved) {
    WriteRegString(HKEY_LOCAL_MACHINE, EntryPath(kUtilitiesEntry).c_str(), "UninstallString",
                   "Z:\\no\\such\\folder\\uninstall.exe");
    HANDLE purgex = StartPurgex(dir_);
    HWND page = WaitForPage(kTitle, false);
    ASSERT_TRUE(page);
    ClickButton(page, IDOK);
    HWND finish = WaitForPage(kTitle, true);
    ASSERT_TRUE(finish);
    EXPECT_EQ(ItemText(finish, kFinishText), "Some components could not be removed.");
    EXPECT_EQ(LinesWith(ReadTextFile(log_), "end drivers").size(), 1u) << "the other one still ran";
    ClickButton(finish, IDOK);
    ASSERT_TRUE(WaitExit(purgex, 30000, NULL));
}

// On 64-bit Windows an installer of the other architecture keeps its entry in
// the other registry view: the wizard finds it there, but only when its own
// view has none.
TEST_F(PurgexProcess, EntriesOfTheOtherRegistryViewCountWhenOursHasNone) {
    DeleteKeyTree(HKEY_LOCAL_MACHINE, EntryPath(kDriversEntry).c_str());
    WriteRegString(HKEY_LOCAL_MACHINE, EntryPath(kDriversEntry).c_str(), "UninstallString",
                   SimCommand(log_, "drivers-other-view", 0), kOtherView);
    std::string utilities = EntryPath(kUtilitiesEntry);
    WriteRegString(HKEY_LOCAL_MACHINE, utilities.c_str(), "DisplayName", "Corvane E2E Utilities", kOtherView);
    WriteRegString(HKEY_LOCAL_MACHINE, utilities.c_str(), "UninstallString",
                   SimCommand(log_, "utilities-other-view", 0), kOtherView);
    ASSERT_FALSE(KeyExists(HKEY_LOCAL_MACHINE, EntryPath(kDriversEntry).c_str())) << "a prefix with both views";
    HANDLE purgex = StartPurgex(dir_);
    HWND page = WaitForPage(kTitle, false);
    ASSERT_TRUE(page);
    EXPECT_EQ(SendDlgItemMessageA(page, kDriversBox, BM_GETCHECK, 0, 0), BST_CHECKED);
    ClickButton(page, IDOK);
    HWND finish = WaitForPage(kTitle, true);
    ASSERT_TRUE(finish);
    std::string log = ReadTextFile(log_);
    EXPECT_EQ(LinesWith(log, "start utilities ").size(), 1u) << "our own view's entry wins: " << log;
    EXPECT_TRUE(LinesWith(log, "start utilities-other-view").empty()) << log;
    EXPECT_EQ(LinesWith(log, "end drivers-other-view").size(), 1u) << log;
    EXPECT_EQ(ItemText(finish, kFinishText), "Now we have uninstalled completely !.");
    ClickButton(finish, IDOK);
    ASSERT_TRUE(WaitExit(purgex, 30000, NULL));
}

TEST_F(PurgexProcess, StartWithNothingChosenRunsNothingAndSaysSo) {
    HANDLE purgex = StartPurgex(dir_);
    HWND page = WaitForPage(kTitle, false);
    ASSERT_TRUE(page);
    ClickButton(page, kUtilitiesBox);
    ClickButton(page, kDriversBox);
    ASSERT_TRUE(WaitUntil([&] {
        return SendDlgItemMessageA(page, kUtilitiesBox, BM_GETCHECK, 0, 0) == BST_UNCHECKED &&
               SendDlgItemMessageA(page, kDriversBox, BM_GETCHECK, 0, 0) == BST_UNCHECKED;
    }));
    ClickButton(page, IDOK);
    HWND finish = WaitForPage(kTitle, true);
    ASSERT_TRUE(finish);
    EXPECT_EQ(ItemText(finish, kFinishText), "Nothing has been removed.");
    EXPECT_EQ(ReadTextFile(log_), "");
    ClickButton(finish, IDOK);
    ASSERT_TRUE(WaitExit(purgex, 30000, NULL));
}

TEST_F(PurgexProcess, CancelClosesNothingAndRunsNothing) {
    HANDLE telvix = StartTelvix();
    HANDLE purgex = StartPurgex(dir_);
    HWND page = WaitForPage(kTitle, false);
    ASSERT_TRUE(page);
    ClickButton(page, IDCANCEL);
    DWORD code = 99;
    ASSERT_TRUE(WaitExit(purgex, 30000, &code));
    EXPECT_EQ(code, 0u);
    EXPECT_FALSE(FindPage(kTitle, true)) << "no finish page after Cancel";
    EXPECT_EQ(WaitForSingleObject(telvix, 0), (DWORD)WAIT_TIMEOUT) << "the tray program still runs";
    EXPECT_TRUE(FindWindowA(kTrayTitle, kTrayTitle));
    EXPECT_EQ(ReadTextFile(log_), "");
}

TEST_F(PurgexProcess, WithoutItsIniTheButtonsKeepTheirDefaultTexts) {
    std::string bare = ScratchDir("purgex_e2e_bare");
    ASSERT_TRUE(CopyOneFile(BinDir() + "\\Purgex.exe", bare + "\\Purgex.exe"));
    HANDLE purgex = StartPurgex(bare);
    // Every text but the buttons' is empty, the caption too.
    HWND page = WaitForPage("", false);
    ASSERT_TRUE(page);
    EXPECT_EQ(ItemText(page, IDOK), "Start");
    EXPECT_EQ(ItemText(page, IDCANCEL), "Cancel");
    EXPECT_EQ(ItemText(page, kPageText), "\n\n");
    EXPECT_EQ(ItemText(page, kUtilitiesBox), "");
    EXPECT_EQ(SendDlgItemMessageA(page, kUtilitiesBox, BM_GETCHECK, 0, 0), BST_UNCHECKED)
        << "an empty display name matches no entry";
    ClickButton(page, IDOK);
    HWND finish = WaitForPage("", true);
    ASSERT_TRUE(finish);
    EXPECT_EQ(ItemText(finish, IDOK), "OK");
    EXPECT_EQ(ItemText(finish, kFinishText), "");
    ClickButton(finish, IDOK);
    ASSERT_TRUE(WaitExit(purgex, 30000, NULL));
    EXPECT_EQ(ReadTextFile(log_), "");
}

// The wizard as a user gets it: Purgex.exe run from the build folder with the
// shipped Purgex.ini beside it, under each language it ships. Leaves pictures
// of both pages per language in the screenshot folder.
class ShippedPurgex : public ::testing::Test {
protected:
    const char *kInternational = "Control Panel\\International";
    const char *kUtilitiesKey = "PurgexE2E Shipped Utilities";
    void SetUp() override {
        hadCountry_ = ReadRegString(HKEY_CURRENT_USER, kInternational, "iCountry", &country_);
        log_ = ScratchDir("purgex_shipped") + "\\uninstall.log";
        // Stand-ins under the names the shipped texts give, so both options
        // start ticked and Start leads to the "removed" text.
        WriteRegString(HKEY_LOCAL_MACHINE, EntryPath(kUtilitiesKey).c_str(), "DisplayName",
                       Ini("1", "UninstallUtilityRegName"));
        WriteRegString(HKEY_LOCAL_MACHINE, EntryPath(kUtilitiesKey).c_str(), "UninstallString",
                       SimCommand(log_, "utilities", 0));
        driversKey_ = EntryPath(Ini("1", "DrvUninstRegKeyPath"));
        ASSERT_FALSE(KeyExists(HKEY_LOCAL_MACHINE, driversKey_.c_str())) << "the real drivers' entry is in this prefix";
        WriteRegString(HKEY_LOCAL_MACHINE, driversKey_.c_str(), "UninstallString", SimCommand(log_, "drivers", 0));
    }
    void TearDown() override {
        processes_.KillAll();
        if (hadCountry_) WriteRegString(HKEY_CURRENT_USER, kInternational, "iCountry", country_);
        else DeleteRegValue(HKEY_CURRENT_USER, kInternational, "iCountry");
        DeleteKeyTree(HKEY_LOCAL_MACHINE, EntryPath(kUtilitiesKey).c_str());
        if (!driversKey_.empty()) DeleteKeyTree(HKEY_LOCAL_MACHINE, driversKey_.c_str());
    }
    static std::string Ini(const char *section, const char *key) {
        char text[512] = "";
        GetPrivateProfileStringA(section, key, "", text, sizeof text, (BinDir() + "\\Purgex.ini").c_str());
        return text;
    }
    bool hadCountry_ = false;
    std::string country_, log_, driversKey_;
    ProcessSet processes_;
};

TEST_F(ShippedPurgex, ShowsTheTextsOfTheUsersLanguage) {
    for (const std::string &language : ShippedWizardLanguages()) {
        const char *section = language.c_str();
        SCOPED_TRACE(std::string("country ") + section);
        DeleteFileA(log_.c_str());
        WriteRegString(HKEY_CURRENT_USER, kInternational, "iCountry", section);
        std::string title = Ini(section, "UninstallWizardAppTitle");
        ASSERT_NE(title, "");
        HANDLE purgex = processes_.Start("\"" + BinDir() + "\\Purgex.exe\"", BinDir());
        HWND page = WaitForPage(title.c_str(), false);
        ASSERT_TRUE(page);
        EXPECT_EQ(ItemText(page, kPageText),
                  Ini(section, "UninstallWizardTPG1Tip1") + "\n\n" + Ini(section, "UninstallWizardTPG1Tip2"));
        EXPECT_EQ(ItemText(page, kUtilitiesBox), Ini(section, "UninstallWizardTPG1OPT1"));
        EXPECT_EQ(ItemText(page, kDriversBox), Ini(section, "UninstallWizardTPG1OPT2"));
        EXPECT_EQ(ItemText(page, IDOK), Ini(section, "StartText"));
        EXPECT_EQ(ItemText(page, IDCANCEL), Ini(section, "CancelText"));
        EXPECT_EQ(SendDlgItemMessageA(page, kUtilitiesBox, BM_GETCHECK, 0, 0), BST_CHECKED);
        EXPECT_EQ(SendDlgItemMessageA(page, kDriversBox, BM_GETCHECK, 0, 0), BST_CHECKED);
        WaitUntil([] { return false; }, 500); // let the screen catch up with the page's drawing
        EXPECT_TRUE(SaveWindowPng(page, ScreenshotDir() + "\\purgex_wizard_" + section + ".png"));

        ClickButton(page, IDOK);
        HWND finish = WaitForPage(title.c_str(), true);
        ASSERT_TRUE(finish);
        EXPECT_EQ(ItemText(finish, kFinishText), Ini(section, "UninstallWizardTPG2Tip1"));
        EXPECT_EQ(ItemText(finish, IDOK), Ini(section, "OKText"));
        EXPECT_EQ(LinesWith(ReadTextFile(log_), "end ").size(), 2u) << "both stand-ins ran";
        WaitUntil([] { return false; }, 500);
        EXPECT_TRUE(SaveWindowPng(finish, ScreenshotDir() + "\\purgex_finish_" + section + ".png"));
        ClickButton(finish, IDOK);
        ASSERT_TRUE(WaitExit(purgex, 30000, NULL));
    }
}

} // namespace
