// The whole life of an installation, in a Wine prefix of its own: the
// packages from build/dist installed as a user would, the remote used, the
// product removed through its wizard or its uninstall entry, and nothing of
// it left behind; the installs the packages refuse, and what a re-install
// keeps. The 32-bit build of this test installs the x86 packages and sees
// them as a 32-bit program does on 64-bit Windows (WoW64); the 64-bit build
// installs the x64 packages.
#undef _WIN32_WINNT
#define _WIN32_WINNT 0x0600 // QueryFullProcessImageNameA
#include <gtest/gtest.h>
#include <windows.h>
#include <aclapi.h>
#include <sddl.h>
#include <shlobj.h>
#include <tlhelp32.h>
#include <atomic>
#include <functional>
#include <mutex>
#include <string>
#include <thread>
#include <vector>
#include "platform/key_editor_link.h"
#include "sim/card/card_state.h"
#include "tests/support/process.h"
#include "tests/support/registry_fixture.h"
#include "tests/support/sim_card.h"
#include "tests/support/telvix_session.h"
#include "tests/support/window_capture.h"
#include "tests/support/wizard_pages.h"

namespace {

const char kUninstallRoot[] = "Software\\Microsoft\\Windows\\CurrentVersion\\Uninstall";
const char kUtilitiesEntry[] = "Software\\Microsoft\\Windows\\CurrentVersion\\Uninstall\\VelmoraUtilities";
const char kDriversEntry[] = "Software\\Microsoft\\Windows\\CurrentVersion\\Uninstall\\VelmoraWDMDrivers";
const char kRunKey[] = "Software\\Microsoft\\Windows\\CurrentVersion\\Run";
const char kLogonValue[] = "Corvane Remote Control";
const char kCompanyKey[] = "SOFTWARE\\Halvex Multimedia";
const char kSettingsKey[] = "SOFTWARE\\Halvex Multimedia\\Corvane Utilities";
const char kCaptureInstances[] = "CLSID\\{65E8773D-8F56-11D0-A3B9-00A0C9223196}\\Instance";
// HKEY_CLASSES_ROOT's machine part, where an explicit view can be asked for.
const std::string kMachineClasses = "Software\\Classes\\";

const bool kX86 = sizeof(void *) == 4;
const char *const kPackageArch = kX86 ? "x86" : "x64";
// The registry view the packages write to, and the other architecture's,
// which stays empty (and where its packages would register).
const REGSAM kPackageView = kX86 ? KEY_WOW64_32KEY : KEY_WOW64_64KEY;
const char *ViewName(REGSAM view) { return view == KEY_WOW64_32KEY ? "32-bit view" : "64-bit view"; }

// Where each architecture's programs go on 64-bit Windows: "Program Files (x86)" or "Program Files".
std::string ProgramFiles(bool x86 = kX86) {
    char path[MAX_PATH] = "";
    GetEnvironmentVariableA(x86 ? "ProgramFiles(x86)" : "ProgramW6432", path, sizeof path);
    return path;
}
std::string CompanyDir(bool x86 = kX86) { return ProgramFiles(x86) + "\\Halvex Multimedia"; }
std::string UtilitiesDir() { return CompanyDir() + "\\Velmora Utilities"; }
std::string DriversDir() { return CompanyDir() + "\\Velmora WDM Drivers"; }
std::string MenuDir() {
    char path[MAX_PATH] = "";
    SHGetFolderPathA(NULL, CSIDL_COMMON_PROGRAMS, NULL, 0, path);
    return std::string(path) + "\\Velmora Utilities";
}
std::string Package(const char *name) {
    return BinDir() + "\\..\\dist\\" + name + "-" PRODUCT_VERSION "-" + kPackageArch + ".exe";
}

bool Exists(const std::string &path) { return GetFileAttributesA(path.c_str()) != INVALID_FILE_ATTRIBUTES; }

std::string ClsidText(const CLSID &id) {
    wchar_t wide[40];
    StringFromGUID2(id, wide, 40);
    char text[40];
    WideCharToMultiByte(CP_ACP, 0, wide, -1, text, sizeof text, NULL, NULL);
    return text;
}

bool IsWow64(HANDLE process) {
    BOOL wow64 = FALSE;
    return IsWow64Process(process, &wow64) && wow64;
}

std::string ImageOf(HANDLE process) {
    char path[MAX_PATH] = "";
    DWORD size = sizeof path;
    if (!QueryFullProcessImageNameA(process, 0, path, &size)) return "";
    return path;
}

// Every running process with that program name, as (id, full path).
std::vector<std::pair<DWORD, std::string>> ProcessesNamed(const char *exeName) {
    std::vector<std::pair<DWORD, std::string>> found;
    HANDLE snapshot = CreateToolhelp32Snapshot(TH32CS_SNAPPROCESS, 0);
    PROCESSENTRY32 entry = {};
    entry.dwSize = sizeof entry;
    for (BOOL more = Process32First(snapshot, &entry); more; more = Process32Next(snapshot, &entry)) {
        if (lstrcmpiA(entry.szExeFile, exeName) != 0) continue;
        std::string image;
        if (HANDLE process = OpenProcess(PROCESS_QUERY_LIMITED_INFORMATION, FALSE, entry.th32ProcessID)) {
            image = ImageOf(process);
            CloseHandle(process);
        }
        found.push_back({entry.th32ProcessID, image});
    }
    CloseHandle(snapshot);
    return found;
}

// The program name of a process's parent, "" when the parent is gone.
std::string ParentName(DWORD pid) {
    DWORD parent = 0;
    std::string name;
    HANDLE snapshot = CreateToolhelp32Snapshot(TH32CS_SNAPPROCESS, 0);
    PROCESSENTRY32 entry = {};
    entry.dwSize = sizeof entry;
    for (BOOL more = Process32First(snapshot, &entry); more; more = Process32Next(snapshot, &entry))
        if (entry.th32ProcessID == pid) parent = entry.th32ParentProcessID;
    entry.dwSize = sizeof entry;
    for (BOOL more = Process32First(snapshot, &entry); parent && more; more = Process32Next(snapshot, &entry))
        if (entry.th32ProcessID == parent) name = entry.szExeFile;
    CloseHandle(snapshot);
    return name;
}

// What a security descriptor grants one group (its allowing entries' rights
// and inheritance flags), whether its list is protected from what the parent
// passes on, and whether the Administrators group owns the object.
struct Grant {
    ACCESS_MASK rights = 0;
    BYTE inheritance = 0;
    bool isProtected = false, ownedByAdministrators = false;
};
Grant GrantIn(PSECURITY_DESCRIPTOR descriptor, WELL_KNOWN_SID_TYPE group) {
    Grant grant;
    BYTE sid[SECURITY_MAX_SID_SIZE], admins[SECURITY_MAX_SID_SIZE];
    DWORD size = sizeof sid, adminsSize = sizeof admins, revision;
    CreateWellKnownSid(group, NULL, sid, &size);
    CreateWellKnownSid(WinBuiltinAdministratorsSid, NULL, admins, &adminsSize);
    SECURITY_DESCRIPTOR_CONTROL control = 0;
    GetSecurityDescriptorControl(descriptor, &control, &revision);
    PSID owner = NULL;
    PACL dacl = NULL;
    BOOL present = FALSE, defaulted = FALSE;
    GetSecurityDescriptorOwner(descriptor, &owner, &defaulted);
    GetSecurityDescriptorDacl(descriptor, &present, &dacl, &defaulted);
    grant.isProtected = control & SE_DACL_PROTECTED;
    grant.ownedByAdministrators = owner && EqualSid(owner, admins);
    for (DWORD i = 0; dacl && i < dacl->AceCount; ++i) {
        ACCESS_ALLOWED_ACE *ace = NULL;
        if (!GetAce(dacl, i, (void **)&ace) || ace->Header.AceType != ACCESS_ALLOWED_ACE_TYPE) continue;
        if (!EqualSid(&ace->SidStart, sid)) continue;
        grant.rights |= ace->Mask;
        grant.inheritance |= ace->Header.AceFlags & VALID_INHERIT_FLAGS;
    }
    return grant;
}
Grant GrantOf(const std::string &object, SE_OBJECT_TYPE type, WELL_KNOWN_SID_TYPE group) {
    PSECURITY_DESCRIPTOR descriptor = NULL;
    if (GetNamedSecurityInfoA(object.c_str(), type, DACL_SECURITY_INFORMATION | OWNER_SECURITY_INFORMATION, NULL,
                              NULL, NULL, NULL, &descriptor) != ERROR_SUCCESS)
        return Grant();
    Grant grant = GrantIn(descriptor, group);
    LocalFree(descriptor);
    return grant;
}

// The visible top-level dialog of a process.
HWND VisibleDialogOf(HANDLE process) { return VisibleWindowOf(GetProcessId(process), "#32770"); }

// The process behind the tray program's hidden window.
HANDLE OpenTrayProgram(DWORD access) {
    HWND tray = FindWindowA(kTrayClass, NULL);
    DWORD pid = 0;
    if (!tray || !GetWindowThreadProcessId(tray, &pid)) return NULL;
    return OpenProcess(access, FALSE, pid);
}

// Opens a Start-menu entry as the shell opens it.
bool OpenShortcut(const std::string &shortcut) {
    SHELLEXECUTEINFOA open = {};
    open.cbSize = sizeof open;
    open.lpFile = shortcut.c_str();
    open.nShow = SW_SHOWNORMAL;
    return ShellExecuteExA(&open);
}

// Runs a command line as the system would and waits for its end; its exit code or -1.
int RunAndWait(const std::string &commandLine, DWORD timeoutMs = 120000) {
    ProcessSet processes;
    HANDLE process = processes.Start(commandLine);
    DWORD code = 0;
    if (!process || !WaitExit(process, timeoutMs, &code)) return -1;
    return (int)code;
}

int InstallSilently(const char *package) { return RunAndWait("\"" + Package(package) + "\" /S"); }

std::string UninstallCommand(const char *entry) {
    std::string command;
    ReadRegString(HKEY_LOCAL_MACHINE, entry, "UninstallString", &command);
    return command;
}

// Entries in the system's list whose display name is `name`.
int EntriesNamed(const char *name) {
    HKEY root;
    if (RegOpenKeyExA(HKEY_LOCAL_MACHINE, kUninstallRoot, 0, KEY_READ, &root) != ERROR_SUCCESS) return 0;
    int count = 0;
    char subkey[256];
    for (DWORD i = 0;; ++i) {
        DWORD size = sizeof subkey;
        if (RegEnumKeyExA(root, i, subkey, &size, NULL, NULL, NULL, NULL) != ERROR_SUCCESS) break;
        std::string displayName;
        if (ReadRegString(root, subkey, "DisplayName", &displayName) && displayName == name) ++count;
    }
    RegCloseKey(root);
    return count;
}

// What is left of either package, one line per leftover; empty when clean.
std::string Leftovers() {
    std::string left;
    auto note = [&](bool present, const std::string &what) {
        if (present) left += what + "\n";
    };
    for (bool x86 : {true, false}) note(Exists(CompanyDir(x86)), "folder " + CompanyDir(x86));
    note(Exists(MenuDir()), "Start-menu folder " + MenuDir());
    for (REGSAM view : {KEY_WOW64_32KEY, KEY_WOW64_64KEY}) {
        std::string in = std::string(" in the ") + ViewName(view);
        note(KeyExists(HKEY_LOCAL_MACHINE, kUtilitiesEntry, view), "utilities' uninstall entry" + in);
        note(KeyExists(HKEY_LOCAL_MACHINE, kDriversEntry, view), "drivers' uninstall entry" + in);
        std::string logon;
        note(ReadRegString(HKEY_LOCAL_MACHINE, kRunKey, kLogonValue, &logon, view), "logon entry " + logon + in);
        note(KeyExists(HKEY_LOCAL_MACHINE, kCompanyKey, view), std::string("settings key ") + kCompanyKey + in);
        for (int slot = 1; slot <= kSimCardSlots; ++slot) {
            std::string clsid = ClsidText(SimCardClsid(slot));
            note(KeyExists(HKEY_LOCAL_MACHINE, (kMachineClasses + "CLSID\\" + clsid).c_str(), view),
                 "card's COM class " + clsid + in);
            note(KeyExists(HKEY_LOCAL_MACHINE, (kMachineClasses + kCaptureInstances + "\\" + clsid).c_str(), view),
                 "card's capture device " + clsid + in);
        }
    }
    for (const char *program : {"Telvix.exe", "Purgex.exe", "RemoteKeys.exe", "Uninstall.exe"})
        for (auto &process : ProcessesNamed(program)) note(true, "process " + process.second);
    char temp[MAX_PATH];
    GetTempPathA(sizeof temp, temp);
    WIN32_FIND_DATAA found;
    HANDLE find = FindFirstFileA((std::string(temp) + "~nsu*").c_str(), &found);
    note(find != INVALID_HANDLE_VALUE, std::string("uninstaller copy in ") + temp);
    if (find != INVALID_HANDLE_VALUE) FindClose(find);
    return left;
}

bool NothingLeft(std::string *left) {
    // The last files go once the programs that held them have ended.
    bool clean = WaitUntil([&] { return (*left = Leftovers()).empty(); }, 30000);
    return clean;
}

void SavePicture(HWND window, const std::string &name) {
    WaitUntil([] { return false; }, 500); // let the screen catch up with the window's drawing
    EXPECT_TRUE(SaveWindowPng(window, ScreenshotDir() + "\\" + name + ".png")) << name;
}

// Watches the uninstallers run while the wizard removes both packages: their
// start and end times as the system recorded them, and what the other
// package's removal had done by the time each one appeared.
class RemovalWatch {
public:
    struct Run {
        HANDLE process = NULL;
        std::string image;
        bool utilitiesEntryAtStart = false;
        bool telvixFileAtStart = false;
        FILETIME created = {}, exited = {};
    };

    RemovalWatch() : thread_([this] { Watch(); }) {}
    ~RemovalWatch() {
        stop_ = true;
        thread_.join();
        for (Run &run : runs_) CloseHandle(run.process);
    }
    // The runs seen so far, with their times once ended.
    std::vector<Run> Runs() {
        std::lock_guard<std::mutex> lock(mutex_);
        for (Run &run : runs_) {
            FILETIME kernel, user;
            if (WaitForSingleObject(run.process, 0) == WAIT_OBJECT_0)
                GetProcessTimes(run.process, &run.created, &run.exited, &kernel, &user);
        }
        return runs_;
    }

private:
    void Watch() {
        while (!stop_) {
            for (auto &seen : ProcessesNamed("Uninstall.exe")) {
                std::lock_guard<std::mutex> lock(mutex_);
                if (Known(seen.first)) continue;
                Run run;
                run.process = OpenProcess(PROCESS_QUERY_LIMITED_INFORMATION | SYNCHRONIZE, FALSE, seen.first);
                if (!run.process) continue;
                run.image = ImageOf(run.process);
                run.utilitiesEntryAtStart = KeyExists(HKEY_LOCAL_MACHINE, kUtilitiesEntry);
                run.telvixFileAtStart = Exists(UtilitiesDir() + "\\Telvix.exe");
                ids_.push_back(seen.first);
                runs_.push_back(run);
            }
            Sleep(10);
        }
    }
    bool Known(DWORD id) const {
        for (DWORD known : ids_)
            if (known == id) return true;
        return false;
    }

    std::atomic<bool> stop_{false};
    std::mutex mutex_;
    std::vector<DWORD> ids_;
    std::vector<Run> runs_;
    std::thread thread_;
};

ULONGLONG Ticks(const FILETIME &time) { return ((ULONGLONG)time.dwHighDateTime << 32) | time.dwLowDateTime; }

class Lifecycle : public ::testing::Test {
protected:
    void SetUp() override {
        CoInitialize(NULL);
        // The wizard's texts from the English section, whatever the machine's locale.
        WriteRegString(HKEY_CURRENT_USER, "Control Panel\\International", "iCountry", "1");
        std::string left = Leftovers();
        ASSERT_EQ(left, "") << "the prefix must start without the product";
    }
    void TearDown() override {
        // A failed run must not leave the product for the next case.
        if (!Leftovers().empty()) {
            for (const char *entry : {kUtilitiesEntry, kDriversEntry}) {
                std::string command = UninstallCommand(entry);
                if (!command.empty()) RunAndWait(command);
            }
        }
        CloseStrayWindows(kTrayClass);
        CloseStrayWindows(kKeyEditorWindowClass);
        CoUninitialize();
    }

    // The wizard's caption as the installed ini gives it (English section).
    std::string WizardTitle(const std::string &folder = UtilitiesDir()) {
        char title[256] = "";
        GetPrivateProfileStringA("1", "UninstallWizardAppTitle", "", title, sizeof title,
                                 (folder + "\\Purgex.ini").c_str());
        return title;
    }

    // Ends the running tray program and starts what the logon does: Wine's
    // start-up of a session runs the machine's Run values.
    HANDLE LogOnAgain() {
        if (HANDLE running = OpenTrayProgram(SYNCHRONIZE)) {
            PostMessageA(FindWindowA(kTrayClass, NULL), WM_CLOSE, 0, 0);
            EXPECT_TRUE(WaitExit(running, 30000, NULL));
            CloseHandle(running);
        }
        EXPECT_EQ(RunAndWait("wineboot.exe"), 0);
        EXPECT_TRUE(WaitForWindow(kTrayClass, NULL, 30000)) << "the logon entry did not start the tray program";
        return OpenTrayProgram(SYNCHRONIZE | PROCESS_QUERY_LIMITED_INFORMATION);
    }

    ProcessSet processes_;
};

TEST_F(Lifecycle, InstallUseAndRemoveBothPackagesThroughTheWizard) {
    SimCard card;
    TelvixSession session("lifecycle"); // the stand-in PowerVCR II, the default TV application
    session.InstallStandIn(2);
    ASSERT_EQ(InstallSilently("VelmoraWDMDrivers"), 0);
    ASSERT_EQ(InstallSilently("VelmoraUtilities"), 0);
    ASSERT_TRUE(WaitForWindow(kTrayClass, NULL, 30000)) << "the installation starts the tray program";
    // Through the desktop shell, with the desktop user's rights, not the installer's.
    DWORD started = 0;
    GetWindowThreadProcessId(FindWindowA(kTrayClass, NULL), &started);
    EXPECT_STRCASEEQ(ParentName(started).c_str(), "explorer.exe");
    // Every user may read and set Telvix's settings, and nothing more, on the key alone.
    Grant users = GrantOf(std::string("MACHINE\\") + kSettingsKey, SE_REGISTRY_KEY, WinBuiltinUsersSid);
    EXPECT_EQ(users.rights, (ACCESS_MASK)(KEY_READ | KEY_SET_VALUE));
    EXPECT_EQ(users.inheritance, 0);

    // Each package registered itself in the view of its architecture alone.
    std::string cardClass = kMachineClasses + "CLSID\\" + ClsidText(SimCardClsid(1));
    for (const char *key : {kUtilitiesEntry, kDriversEntry, cardClass.c_str()}) {
        EXPECT_TRUE(KeyExists(HKEY_LOCAL_MACHINE, key, kPackageView)) << key << " in the " << ViewName(kPackageView);
        EXPECT_FALSE(KeyExists(HKEY_LOCAL_MACHINE, key, kOtherView)) << key << " in the " << ViewName(kOtherView);
    }
    std::string logon;
    EXPECT_TRUE(ReadRegString(HKEY_LOCAL_MACHINE, kRunKey, kLogonValue, &logon, kPackageView));
    EXPECT_FALSE(ReadRegString(HKEY_LOCAL_MACHINE, kRunKey, kLogonValue, &logon, kOtherView));

    HANDLE telvix = LogOnAgain();
    ASSERT_TRUE(telvix);
    EXPECT_EQ(ImageOf(telvix), UtilitiesDir() + "\\Telvix.exe");
    EXPECT_EQ(IsWow64(telvix), kX86) << "the tray program runs as a " << (kX86 ? "32" : "64") << "-bit process";
    ASSERT_TRUE(card.WaitForPolls(3)) << "the installed tray program polls the installed card";
    ASSERT_TRUE(card.Press("POWER"));
    ASSERT_TRUE(session.WaitForLog("started")) << session.StandInLog();
    ASSERT_TRUE(WaitForWindow("PowerVCR II Taurus", NULL));
    ASSERT_TRUE(card.Press("1"));
    EXPECT_TRUE(session.WaitForLog("WM_KEYDOWN 0x31")) << session.StandInLog();
    ASSERT_TRUE(card.Press("POWER"));
    EXPECT_TRUE(session.WaitForLog("exited")) << session.StandInLog();
    // With no TV application about, a held direction key moves the pointer.
    ASSERT_TRUE(SetCursorPos(400, 300));
    ASSERT_EQ(card.Remote("hold 6 1000"), 0);
    EXPECT_TRUE(WaitUntil([] {
        POINT p;
        return GetCursorPos(&p) && p.x > 400 && p.y == 300;
    })) << "a held right key did not move the pointer";

    // The key-map editor from its entry beside Telvix's, and closed again.
    ASSERT_TRUE(OpenShortcut(MenuDir() + "\\Corvane Remote Keys.lnk"));
    HWND editor = WaitForWindow(kKeyEditorWindowClass, NULL);
    ASSERT_TRUE(editor) << "the Start-menu entry opened no editor";
    DWORD editorId = 0;
    GetWindowThreadProcessId(editor, &editorId);
    HANDLE remoteKeys = OpenProcess(SYNCHRONIZE | PROCESS_QUERY_LIMITED_INFORMATION, FALSE, editorId);
    EXPECT_EQ(ImageOf(remoteKeys), UtilitiesDir() + "\\RemoteKeys.exe");
    EXPECT_EQ(IsWow64(remoteKeys), kX86);
    PostMessageA(editor, WM_CLOSE, 0, 0);
    EXPECT_TRUE(WaitExit(remoteKeys, 30000, NULL));
    CloseHandle(remoteKeys);

    // The wizard's Start-menu entry.
    std::string title = WizardTitle();
    ASSERT_NE(title, "");
    std::string shortcut = MenuDir() + "\\Uninstall Velmora Utilities.lnk";
    ASSERT_TRUE(OpenShortcut(shortcut)) << shortcut;
    HWND page = WaitForPage(title.c_str(), false);
    ASSERT_TRUE(page);
    auto wizards = ProcessesNamed("Purgex.exe");
    ASSERT_EQ(wizards.size(), 1u);
    EXPECT_EQ(wizards[0].second, UtilitiesDir() + "\\Purgex.exe");
    HANDLE purgex = OpenProcess(SYNCHRONIZE | PROCESS_QUERY_LIMITED_INFORMATION, FALSE, wizards[0].first);
    EXPECT_EQ(IsWow64(purgex), kX86);
    EXPECT_TRUE(IsChecked(page, kUtilitiesBox));
    EXPECT_TRUE(IsChecked(page, kDriversBox));

    RemovalWatch watch;
    ClickButton(page, IDOK);
    HWND finish = WaitForPage(title.c_str(), true);
    ASSERT_TRUE(finish) << "no finish page";
    EXPECT_TRUE(WaitExit(telvix, 0, NULL)) << "the wizard closed the tray program";
    CloseHandle(telvix);
    // The finish page shows once the drivers' removal is complete.
    EXPECT_FALSE(KeyExists(HKEY_LOCAL_MACHINE, kDriversEntry, kPackageView));
    EXPECT_FALSE(KeyExists(HKEY_LOCAL_MACHINE, cardClass.c_str(), kPackageView));
    EXPECT_FALSE(Exists(DriversDir() + "\\simcard.dll"));

    std::vector<RemovalWatch::Run> runs = watch.Runs();
    std::string seen;
    for (auto &run : runs) seen += run.image + "\n";
    ASSERT_EQ(runs.size(), 2u) << "one uninstaller per package; seen:\n" << seen;
    const RemovalWatch::Run &utilities = runs[0], &drivers = runs[1];
    EXPECT_EQ(utilities.image, UtilitiesDir() + "\\Uninstall.exe");
    EXPECT_EQ(drivers.image, DriversDir() + "\\Uninstall.exe");
    EXPECT_NE(Ticks(utilities.exited), 0u);
    EXPECT_LE(Ticks(utilities.exited), Ticks(drivers.created)) << "the two removals overlapped";
    EXPECT_FALSE(drivers.utilitiesEntryAtStart) << "the drivers' removal began before the utilities' was done";
    EXPECT_FALSE(drivers.telvixFileAtStart);
    SavePicture(finish, "lifecycle-wizard-finish");

    ClickButton(finish, IDOK);
    EXPECT_TRUE(WaitExit(purgex, 30000, NULL));
    CloseHandle(purgex);
    std::string left;
    EXPECT_TRUE(NothingLeft(&left)) << left;
}

TEST_F(Lifecycle, ReinstallKeepsOneEntryAndTheEntryAloneRemovesTheUtilities) {
    ASSERT_EQ(InstallSilently("VelmoraUtilities"), 0);
    ASSERT_TRUE(WaitForWindow(kTrayClass, NULL, 30000));
    HANDLE first = OpenTrayProgram(SYNCHRONIZE);
    ASSERT_TRUE(first);
    // Another user's Telvix keeps the program file in use where no window
    // message of ours reaches; a suspended one, which has no window, stands in.
    HANDLE elsewhere = processes_.Start("\"" + UtilitiesDir() + "\\Telvix.exe\"", "", true);

    // Again, through the installer's own pages, over the running tray program.
    HANDLE setup = processes_.Start("\"" + Package("VelmoraUtilities") + "\"");
    ASSERT_TRUE(setup);
    struct Step {
        const char *picture;
        const char *buttonText; // the page is the one whose forward button reads so
    } steps[] = {{"setup-utilities-welcome", "&Install"}, {"setup-utilities-finish", "&Finish"}};
    for (const Step &step : steps) {
        HWND window = NULL;
        ASSERT_TRUE(WaitUntil([&] {
            window = VisibleDialogOf(setup);
            return window && ItemText(window, IDOK) == step.buttonText && IsWindowEnabled(GetDlgItem(window, IDOK));
        }, 60000)) << step.picture << ": " << (window ? ItemText(window, IDOK) : "no window");
        SavePicture(window, step.picture);
        ClickButton(window, IDOK);
    }
    DWORD code = 99;
    ASSERT_TRUE(WaitExit(setup, 60000, &code));
    EXPECT_EQ(code, 0u);
    EXPECT_TRUE(WaitExit(first, 0, NULL)) << "the old tray program was closed for the upgrade";
    CloseHandle(first);
    EXPECT_TRUE(WaitExit(elsewhere, 0, NULL)) << "and the one out of reach of its window was ended";
    EXPECT_TRUE(WaitForWindow(kTrayClass, NULL, 30000)) << "and the new one started";
    EXPECT_EQ(EntriesNamed("Velmora Utilities"), 1);

    // Only the utilities are installed: only their option is preset.
    std::string title = WizardTitle();
    HANDLE purgex = processes_.Start("\"" + UtilitiesDir() + "\\Purgex.exe\"", UtilitiesDir());
    HWND page = WaitForPage(title.c_str(), false);
    ASSERT_TRUE(page);
    EXPECT_TRUE(IsChecked(page, kUtilitiesBox));
    EXPECT_FALSE(IsChecked(page, kDriversBox));
    SavePicture(page, "lifecycle-wizard-page");
    ClickButton(page, IDCANCEL);
    ASSERT_TRUE(WaitExit(purgex, 30000, NULL));

    // As the system's list of programs removes it: the stored command, waited for.
    HANDLE telvix = OpenTrayProgram(SYNCHRONIZE);
    elsewhere = processes_.Start("\"" + UtilitiesDir() + "\\Telvix.exe\"", "", true);
    // What is in the settings key besides Telvix's values stays, and with it the key.
    WriteRegString(HKEY_LOCAL_MACHINE, (std::string(kSettingsKey) + "\\Planted").c_str(), "Planted", "by a user");
    ASSERT_EQ(RunAndWait(UninstallCommand(kUtilitiesEntry)), 0);
    EXPECT_TRUE(WaitExit(telvix, 0, NULL)) << "the uninstaller closed the tray program";
    EXPECT_TRUE(WaitExit(elsewhere, 0, NULL));
    DWORD value;
    EXPECT_FALSE(ReadRegDword(HKEY_LOCAL_MACHINE, kSettingsKey, "DefaultTVAPP", &value));
    EXPECT_TRUE(KeyExists(HKEY_LOCAL_MACHINE, (std::string(kSettingsKey) + "\\Planted").c_str()));
    DeleteKeyTree(HKEY_LOCAL_MACHINE, kCompanyKey);
    CloseHandle(telvix);
    EXPECT_FALSE(Exists(UtilitiesDir() + "\\Telvix.exe")) << "removed before the uninstaller ended";
    EXPECT_FALSE(KeyExists(HKEY_LOCAL_MACHINE, kUtilitiesEntry));
    std::string left;
    EXPECT_TRUE(NothingLeft(&left)) << left;
}

// What a refused install may not leave: the product's traces and the folder it was aimed at.
std::string Traces(const std::string &folder) {
    std::string traces = Leftovers();
    WIN32_FIND_DATAA found;
    HANDLE find = FindFirstFileA((folder + "\\*").c_str(), &found);
    if (find == INVALID_HANDLE_VALUE) return traces + "no folder " + folder + "\n";
    do traces += folder + "\\" + found.cFileName + "\n";
    while (FindNextFileA(find, &found));
    FindClose(find);
    return traces;
}

void WriteOtherViewEntry(const char *entry) {
    HKEY key;
    ASSERT_EQ(RegCreateKeyExA(HKEY_LOCAL_MACHINE, entry, 0, NULL, 0, KEY_SET_VALUE | kOtherView, NULL, &key, NULL),
              ERROR_SUCCESS);
    const char name[] = "Velmora Utilities";
    RegSetValueExA(key, "DisplayName", 0, REG_SZ, (const BYTE *)name, sizeof name);
    RegCloseKey(key);
}

std::string ScratchFolder(const char *name) { return "C:\\" + std::string(name); }

// Each install a package must refuse: nothing is written, the exit code says
// so, and the message (skipped by /S) says why.
TEST_F(Lifecycle, RefusedInstallsWriteNothing) {
    const std::string foreign = ScratchFolder("Other Product");
    // Another program's file in that folder, and its removal.
    auto put = [&](std::string file) -> std::function<void()> {
        return [&, file] { CreateDirectoryA(foreign.c_str(), NULL), WriteTextFile(foreign + "\\" + file, "its"); };
    };
    auto take = [&](std::string file) -> std::function<void()> {
        return [&, file] { DeleteFileA((foreign + "\\" + file).c_str()), RemoveDirectoryA(foreign.c_str()); };
    };
    struct Refusal {
        const char *what;
        const char *package;
        std::string folder; // "" installs without /D=
        std::function<void()> arrange, tidy;
        const char *message;
    } refusals[] = {
        {"the drivers' folder", "VelmoraUtilities", DriversDir(),
         [] { ASSERT_EQ(InstallSilently("VelmoraWDMDrivers"), 0); },
         [] { EXPECT_EQ(RunAndWait(UninstallCommand(kDriversEntry)), 0); },
         "is where Velmora WDM Drivers is installed"},
        {"another program's uninstaller", "VelmoraWDMDrivers", foreign, put("Uninstall.exe"), take("Uninstall.exe"),
         "holds another program's uninstaller"},
        {"a folder of 117 characters", "VelmoraUtilities", "C:\\" + std::string(114, 'L'), [] {}, [] {},
         "Choose a folder of at most 116 characters"},
        {"a folder holding other files", "VelmoraWDMDrivers", foreign, put("notes.txt"), take("notes.txt"),
         "holds other files"},
        {"a folder with %", "VelmoraUtilities", ScratchFolder("Tools %TEMP%"), [] {}, [] {},
         "whose name has no \"%\" and no \"!\""},
        {"a folder with !", "VelmoraWDMDrivers", ScratchFolder("Tools!"), [] {}, [] {},
         "whose name has no \"%\" and no \"!\""},
        {"the other architecture's package", "VelmoraUtilities", "",
         [] { WriteOtherViewEntry(kUtilitiesEntry); },
         [] { RegDeleteKeyExA(HKEY_LOCAL_MACHINE, kUtilitiesEntry, kOtherView, 0); },
         "Velmora packages are installed on this computer"},
    };
    for (const Refusal &refusal : refusals) {
        SCOPED_TRACE(refusal.what);
        refusal.arrange();
        std::string target = refusal.folder.empty() ? UtilitiesDir() : refusal.folder;
        const std::string before = Traces(target);
        std::string command = "\"" + Package(refusal.package) + "\"";
        std::string to = refusal.folder.empty() ? "" : " /D=" + refusal.folder;

        EXPECT_EQ(RunAndWait(command + " /S" + to), 2);
        EXPECT_EQ(Traces(target), before);

        HANDLE setup = processes_.Start(command + to);
        HWND box = NULL;
        EXPECT_TRUE(WaitUntil([&] { return (box = VisibleDialogOf(setup)) != NULL; }, 60000));
        if (box) {
            std::string text = ItemText(box, 0xFFFF);
            EXPECT_NE(text.find(refusal.message), std::string::npos) << text;
            ClickButton(box, IDOK);
        }
        DWORD code = 0;
        EXPECT_TRUE(WaitExit(setup, 30000, &code));
        EXPECT_EQ(code, 2u);
        EXPECT_EQ(Traces(target), before);
        refusal.tidy();
        std::string left;
        EXPECT_TRUE(NothingLeft(&left)) << left;
    }
}

// Installed into a folder of the person's choice, installed again without
// one: the new version goes where the old one is.
TEST_F(Lifecycle, ReinstallGoesWhereItIsInstalled) {
    // As long as a folder may be: the wizard in it still reads its texts.
    const std::string custom = ScratchFolder("Custom Velmora ") + std::string(116 - 18, 'v');
    ASSERT_EQ(RunAndWait("\"" + Package("VelmoraUtilities") + "\" /S /D=" + custom), 0);
    ASSERT_EQ(InstallSilently("VelmoraUtilities"), 0);
    std::string location;
    EXPECT_TRUE(ReadRegString(HKEY_LOCAL_MACHINE, kUtilitiesEntry, "InstallLocation", &location));
    EXPECT_EQ(location, custom);
    EXPECT_TRUE(Exists(custom + "\\Telvix.exe"));
    EXPECT_FALSE(Exists(UtilitiesDir())) << "a second installation in the default folder";
    EXPECT_EQ(EntriesNamed("Velmora Utilities"), 1);
    std::string quiet;
    EXPECT_TRUE(ReadRegString(HKEY_LOCAL_MACHINE, kUtilitiesEntry, "QuietUninstallString", &quiet));
    EXPECT_EQ(quiet, "\"" + custom + "\\Uninstall.exe\" /S _?=" + custom);
    // The install set the folder's list (or it would have refused); Wine keeps
    // no list of a file, so what that list grants is read from the script:
    // only administrators may change what the logon and the wizard start there.
    std::string script = ReadTextFile("Z:" SOURCE_DIR "/packaging/product.nsh");
    size_t at = script.find("!define CHOSEN_FOLDER_SDDL \"");
    ASSERT_NE(at, std::string::npos);
    at += sizeof "!define CHOSEN_FOLDER_SDDL \"" - 1;
    PSECURITY_DESCRIPTOR chosen = NULL;
    ASSERT_TRUE(ConvertStringSecurityDescriptorToSecurityDescriptorA(
        script.substr(at, script.find('"', at) - at).c_str(), SDDL_REVISION_1, &chosen, NULL));
    for (WELL_KNOWN_SID_TYPE group : {WinBuiltinUsersSid, WinAuthenticatedUserSid, WinWorldSid, WinInteractiveSid})
        EXPECT_EQ(GrantIn(chosen, group).rights & ~(FILE_GENERIC_READ | FILE_GENERIC_EXECUTE), 0u) << group;
    Grant users = GrantIn(chosen, WinBuiltinUsersSid);
    EXPECT_TRUE(users.isProtected && users.ownedByAdministrators && (users.inheritance & OBJECT_INHERIT_ACE));
    LocalFree(chosen);
    std::string title = WizardTitle(custom);
    HANDLE purgex = processes_.Start("\"" + custom + "\\Purgex.exe\"", custom);
    HWND page = WaitForPage(title.c_str(), false);
    ASSERT_TRUE(page) << "no page titled \"" << title << "\"";
    ClickButton(page, IDCANCEL);
    ASSERT_TRUE(WaitExit(purgex, 30000, NULL));

    ASSERT_EQ(RunAndWait(quiet), 0);
    std::string left;
    EXPECT_TRUE(NothingLeft(&left)) << left;
    EXPECT_TRUE(WaitUntil([&] { return !Exists(custom); }, 30000)) << custom;
}

// A driver re-install whose registration fails undoes it and leaves the
// installed driver as it was: files, registration, entry and uninstaller.
TEST_F(Lifecycle, FailedDriverReinstallKeepsThePreviousOne) {
    ASSERT_EQ(InstallSilently("VelmoraWDMDrivers"), 0);
    const std::string inproc = "CLSID\\" + ClsidText(SimCardClsid(1)) + "\\InprocServer32";
    // As this process sees the classes: the view its own architecture's packages register in.
    const std::string instance =
        "CLSID\\{65E8773D-8F56-11D0-A3B9-00A0C9223196}\\Instance\\" + ClsidText(SimCardClsid(1));
    std::string server;
    ASSERT_TRUE(ReadRegString(HKEY_CLASSES_ROOT, inproc.c_str(), NULL, &server));

    // The card has no ninth slot: its registration fails.
    SetEnvironmentVariableA("SIMCARD_SLOT", "9");
    int code = InstallSilently("VelmoraWDMDrivers");
    SetEnvironmentVariableA("SIMCARD_SLOT", NULL);
    EXPECT_EQ(code, 2);

    for (const char *file : {"simcard.dll", "remote.exe", "Uninstall.exe"})
        EXPECT_TRUE(Exists(DriversDir() + "\\" + file)) << file;
    std::string now;
    EXPECT_TRUE(ReadRegString(HKEY_CLASSES_ROOT, inproc.c_str(), NULL, &now));
    EXPECT_EQ(now, server);
    EXPECT_TRUE(KeyExists(HKEY_CLASSES_ROOT, instance.c_str()));
    EXPECT_EQ(UninstallCommand(kDriversEntry), "\"" + DriversDir() + "\\Uninstall.exe\" _?=" + DriversDir());

    ASSERT_EQ(RunAndWait(UninstallCommand(kDriversEntry)), 0);
    std::string left;
    EXPECT_TRUE(NothingLeft(&left)) << left;
}

// A tray window that never ends (this thread does not answer while it waits
// for the installer): the tray program's class, WM_CLOSE ignored.
class HungTrayWindow {
public:
    // A function of its own, not a lambda: the 32-bit build needs stdcall.
    static LRESULT CALLBACK IgnoreClose(HWND w, UINT m, WPARAM wp, LPARAM lp) {
        return m == WM_CLOSE ? 0 : DefWindowProcA(w, m, wp, lp);
    }
    HungTrayWindow() {
        WNDCLASSA wc = {};
        wc.lpfnWndProc = IgnoreClose;
        wc.hInstance = GetModuleHandleA(NULL);
        wc.lpszClassName = kTrayClass;
        RegisterClassA(&wc);
        window_ = CreateWindowA(kTrayClass, kTrayClass, WS_POPUP, 0, 0, 0, 0, NULL, NULL, wc.hInstance, NULL);
    }
    ~HungTrayWindow() {
        DestroyWindow(window_);
        UnregisterClassA(kTrayClass, GetModuleHandleA(NULL));
    }
    HWND window_;
};

const char kSessionManager[] = "System\\CurrentControlSet\\Control\\Session Manager";

// The files and folders the system removes at its next restart, one per line.
std::string PendingRemovals() {
    HKEY key;
    std::string list;
    if (RegOpenKeyExA(HKEY_LOCAL_MACHINE, kSessionManager, 0, KEY_QUERY_VALUE, &key) != ERROR_SUCCESS) return list;
    DWORD size = 0;
    if (RegQueryValueExA(key, "PendingFileRenameOperations", NULL, NULL, NULL, &size) == ERROR_SUCCESS && size) {
        std::vector<char> data(size + 2, '\0');
        RegQueryValueExA(key, "PendingFileRenameOperations", NULL, NULL, (BYTE *)data.data(), &size);
        for (const char *entry = data.data(); *entry; entry += strlen(entry) + 1) list += std::string(entry) + "\n";
    }
    RegCloseKey(key);
    return list;
}

// Closing the tray program is bounded by time: a tray program that will not
// end stops an install before it changes anything (a silent one answers
// Cancel), and an uninstall goes on and leaves the program file, still in
// use, to the next restart.
TEST_F(Lifecycle, TrayProgramThatWillNotEndStopsTheInstallAndGoesAtTheNextRestart) {
    {
        HungTrayWindow hung;
        ASSERT_TRUE(hung.window_);
        EXPECT_EQ(InstallSilently("VelmoraUtilities"), 2);
        std::string left = Leftovers();
        EXPECT_EQ(left, "") << "an install stopped by a tray program that will not end changed something";
    }

    ASSERT_EQ(InstallSilently("VelmoraUtilities"), 0);
    ASSERT_TRUE(WaitForWindow(kTrayClass, NULL, 30000));
    HANDLE telvix = OpenTrayProgram(SYNCHRONIZE);
    ASSERT_TRUE(telvix);
    PostMessageA(FindWindowA(kTrayClass, NULL), WM_CLOSE, 0, 0);
    ASSERT_TRUE(WaitExit(telvix, 30000, NULL));
    CloseHandle(telvix);
    const std::string program = UtilitiesDir() + "\\Telvix.exe";
    HANDLE inUse = CreateFileA(program.c_str(), GENERIC_READ, FILE_SHARE_READ, NULL, OPEN_EXISTING, 0, NULL);
    ASSERT_NE(inUse, INVALID_HANDLE_VALUE);
    const std::string pendingBefore = PendingRemovals();
    std::string quiet;
    ASSERT_TRUE(ReadRegString(HKEY_LOCAL_MACHINE, kUtilitiesEntry, "QuietUninstallString", &quiet));
    {
        HungTrayWindow hung;
        EXPECT_EQ(RunAndWait(quiet, 180000), 0);
    }
    EXPECT_FALSE(KeyExists(HKEY_LOCAL_MACHINE, kUtilitiesEntry));
    std::string pending = PendingRemovals();
    EXPECT_NE(pending.find(program), std::string::npos) << pending;
    CloseHandle(inUse);

    // What the restart would do, so the prefix starts the next case clean.
    HKEY key;
    ASSERT_EQ(RegOpenKeyExA(HKEY_LOCAL_MACHINE, kSessionManager, 0, KEY_SET_VALUE, &key), ERROR_SUCCESS);
    RegDeleteValueA(key, "PendingFileRenameOperations");
    RegCloseKey(key);
    EXPECT_EQ(pendingBefore, "");
    EXPECT_TRUE(WaitUntil([&] { return !Exists(UtilitiesDir() + "\\Uninstall.exe"); }, 30000));
    DeleteFileA(program.c_str());
    RemoveDirectoryA(UtilitiesDir().c_str());
    RemoveDirectoryA(CompanyDir().c_str());
    std::string left;
    EXPECT_TRUE(NothingLeft(&left)) << left;
}

} // namespace
