// The dialog templates as compiled into Telvix.exe and Purgex.exe, read back
// word by word and held against their tables; the version resources and the
// manifests of both programs.
#include <gtest/gtest.h>
#include <set>
#include <windows.h>
#include <stdio.h>
#include <ostream>
#include <regex>
#include <string>
#include <vector>
#include "res/purgex_resource.h"
#include "res/resource.h"
#include "tests/unit/dialog_driver.h"
#include "tray/tray_icon.h"

namespace {

// Position and size in dialog units.
struct Box {
    int x, y, cx, cy;
    bool operator==(const Box &o) const { return x == o.x && y == o.y && cx == o.cx && cy == o.cy; }
};
std::ostream &operator<<(std::ostream &out, const Box &b) {
    return out << "(" << b.x << ", " << b.y << ") " << b.cx << " x " << b.cy;
}

struct Item {
    int id; // -1: static without id
    std::string className;
    Box box;
    DWORD style; // besides WS_CHILD and WS_VISIBLE
    std::string text; // "#n" for resource number n
    bool visible = true;
};

struct Template {
    DWORD style;
    Box box;
    std::string caption;
    int pointSize;
    std::string font;
    std::vector<Item> items;
    DWORD exStyle = 0;
    bool extended = false; // DIALOGEX
};

class Reader {
public:
    explicit Reader(const BYTE *at) : at_(at) {}
    WORD Word() {
        WORD w;
        memcpy(&w, at_, 2);
        at_ += 2;
        return w;
    }
    DWORD Dword() {
        DWORD lo = Word();
        return lo | ((DWORD)Word() << 16);
    }
    short Short() { return (short)Word(); }
    Box ReadBox() {
        Box b;
        b.x = Short(), b.y = Short(), b.cx = Short(), b.cy = Short();
        return b;
    }
    // A string or a 0xFFFF-led ordinal, as "#n".
    std::string SzOrOrd() {
        WORD first = Word();
        if (first == 0xFFFF) return "#" + std::to_string(Word());
        std::string out;
        for (WORD c = first; c != 0; c = Word()) out += (char)c;
        return out;
    }
    void AlignDword(const BYTE *base) {
        while ((at_ - base) % 4) ++at_;
    }
    void Skip(size_t n) { at_ += n; }
    const BYTE *at() const { return at_; }

private:
    const BYTE *at_;
};

std::string ClassFromOrdinal(const std::string &cls) {
    static const char *const names[] = {"BUTTON", "EDIT", "STATIC", "LISTBOX", "SCROLLBAR", "COMBOBOX"};
    if (cls.size() > 1 && cls[0] == '#') {
        int atom = std::stoi(cls.substr(1));
        if (atom >= 0x80 && atom <= 0x85) return names[atom - 0x80];
    }
    return cls;
}

HMODULE PurgexResources() {
    static HMODULE module = ProgramResources("Purgex.exe");
    return module;
}

// Both layouts: the plain one, and the extended one that starts with
// version 1 and 0xFFFF and carries help ids and font details. What the
// tables do not state is checked here against its neutral value.
Template ReadTemplate(HMODULE module, int resourceId) {
    Template t = {};
    HRSRC found = FindResourceA(module, MAKEINTRESOURCEA(resourceId), (LPCSTR)RT_DIALOG);
    EXPECT_NE(found, nullptr) << resourceId;
    if (!found) return t;
    const BYTE *base = (const BYTE *)LockResource(LoadResource(module, found));
    Reader r(base);
    DWORD first = r.Dword();
    t.extended = first == 0xFFFF0001;
    if (t.extended) {
        EXPECT_EQ(r.Dword(), 0u) << "help id";
        t.exStyle = r.Dword();
        t.style = r.Dword();
    } else {
        t.style = first;
        t.exStyle = r.Dword();
    }
    int count = r.Word();
    t.box = r.ReadBox();
    EXPECT_EQ(r.SzOrOrd(), "") << "no menu";
    EXPECT_EQ(r.SzOrOrd(), "") << "the standard dialog class";
    t.caption = r.SzOrOrd();
    if (t.style & DS_SETFONT) {
        t.pointSize = r.Word();
        if (t.extended) {
            EXPECT_EQ(r.Word(), 0) << "font weight";
            EXPECT_EQ(r.Word() & 0xFF, 0) << "italic";
        }
        t.font = r.SzOrOrd();
    }
    for (int i = 0; i < count; ++i) {
        r.AlignDword(base);
        Item item;
        DWORD exStyle;
        if (t.extended) {
            EXPECT_EQ(r.Dword(), 0u) << "help id";
            exStyle = r.Dword();
            item.style = r.Dword();
        } else {
            item.style = r.Dword();
            exStyle = r.Dword();
        }
        item.box = r.ReadBox();
        item.id = t.extended ? (int)r.Dword() : r.Short();
        item.className = ClassFromOrdinal(r.SzOrOrd());
        item.text = r.SzOrOrd();
        WORD extra = r.Word();
        r.Skip(extra);
        EXPECT_EQ(exStyle, 0u) << item.text;
        EXPECT_EQ(extra, 0) << "creation data of " << item.text;
        EXPECT_TRUE(item.style & WS_CHILD) << item.text;
        item.visible = (item.style & WS_VISIBLE) != 0;
        item.style &= ~(WS_CHILD | WS_VISIBLE);
        t.items.push_back(item);
    }
    return t;
}
Template ReadTemplate(int resourceId) { return ReadTemplate(TelvixResources(), resourceId); }

void ExpectTemplate(HMODULE module, int resourceId, const Template &want) {
    Template got = ReadTemplate(module, resourceId);
    SCOPED_TRACE("dialog " + std::to_string(resourceId));
    EXPECT_EQ(got.style, want.style);
    EXPECT_EQ(got.exStyle, want.exStyle);
    EXPECT_EQ(got.extended, want.extended);
    EXPECT_EQ(got.box, want.box);
    EXPECT_EQ(got.caption, want.caption);
    EXPECT_EQ(got.pointSize, want.pointSize);
    EXPECT_EQ(got.font, want.font);
    ASSERT_EQ(got.items.size(), want.items.size());
    for (size_t i = 0; i < want.items.size(); ++i) {
        const Item &g = got.items[i], &w = want.items[i];
        SCOPED_TRACE("control " + std::to_string(i) + " " + w.text);
        EXPECT_EQ(g.id, w.id);
        EXPECT_EQ(g.className, w.className);
        EXPECT_EQ(g.box, w.box);
        EXPECT_EQ(g.style, w.style) << std::hex << g.style << " vs " << w.style;
        EXPECT_EQ(g.visible, w.visible);
        if (w.text != "*") {
            EXPECT_EQ(g.text, w.text);
        }
    }
}
void ExpectTemplate(int resourceId, const Template &want) { ExpectTemplate(TelvixResources(), resourceId, want); }

const char kYearRange[] = "\\b(19|20)\\d\\d-(19|20)\\d\\d\\b";

} // namespace

TEST(DialogTemplates, AboutIsAsTabled) {
    ExpectTemplate(IDD_ABOUT,
                   {WS_CAPTION | WS_SYSMENU | DS_MODALFRAME | DS_SETFONT, {200, 100, 250, 45},
                    "Corvane Remote Control - About", 8, "Arial",
                    {{-1, "STATIC", {10, 10, 20, 20}, SS_ICON, "#50"},
                     {-1, "STATIC", {45, 10, 140, 10}, SS_LEFT | SS_NOPREFIX | WS_GROUP,
                      "Corvane Remote Control Utility V1.2.3.1"},
                     {-1, "STATIC", {45, 25, 165, 10}, SS_LEFT | WS_GROUP, "*"},
                     {1, "BUTTON", {197, 7, 35, 15}, BS_DEFPUSHBUTTON | WS_GROUP | WS_TABSTOP, "OK"}}});
    std::string rights = ReadTemplate(IDD_ABOUT).items.at(2).text;
    EXPECT_TRUE(std::regex_search(rights, std::regex(kYearRange))) << rights;
}

TEST(DialogTemplates, SettingIsAsTabled) {
    ExpectTemplate(IDD_SETTING,
                   {WS_POPUP | WS_CAPTION | WS_SYSMENU | DS_MODALFRAME | DS_SETFONT | DS_3DLOOK, {0, 0, 200, 60},
                    "Corvane Remote Control - Setting", 8, "Arial",
                    {{1, "BUTTON", {80, 42, 40, 14}, BS_DEFPUSHBUTTON | WS_TABSTOP, "OK"},
                     {-1, "STATIC", {30, 5, 160, 16}, SS_LEFT | WS_GROUP,
                      "Select the application you want to launch when pressing power key on remote controller"},
                     {-1, "STATIC", {5, 5, 20, 20}, SS_ICON, "#50"},
                     {11, "COMBOBOX", {45, 25, 120, 31}, CBS_DROPDOWNLIST | WS_VSCROLL | WS_TABSTOP, ""}}});
}

TEST(DialogTemplates, ShutdownPromptIsAsTabled) {
    ExpectTemplate(IDD_SHUTDOWN,
                   {WS_POPUP | WS_CAPTION | WS_SYSMENU | DS_MODALFRAME | DS_SETFONT, {0, 0, 200, 60},
                    "Corvane Remote Control - Shut Down", 8, "Arial",
                    {{1, "BUTTON", {50, 39, 40, 15}, BS_DEFPUSHBUTTON | WS_TABSTOP, "OK"},
                     {2, "BUTTON", {110, 39, 40, 15}, BS_PUSHBUTTON | WS_TABSTOP, "Cancel"},
                     {-1, "STATIC", {40, 12, 145, 20}, SS_LEFT | WS_GROUP,
                      "Press \"Power\" to shut down your computer, or any other key to cancel."},
                     {-1, "STATIC", {12, 12, 20, 20}, SS_ICON, "#110"}}});
}

TEST(DialogTemplates, WizardPagesAreAsTabled) {
    const DWORD page = WS_POPUP | WS_CAPTION | WS_SYSMENU | DS_MODALFRAME | DS_SETFONT;
    ExpectTemplate(PurgexResources(), IDD_WIZARD,
                   {page, {0, 0, 250, 100}, "Uninstallation Wizard", 9, "Arial",
                    {{1, "BUTTON", {50, 80, 50, 14}, BS_DEFPUSHBUTTON | WS_TABSTOP, "OK"},
                     {2, "BUTTON", {150, 80, 50, 14}, BS_PUSHBUTTON | WS_TABSTOP, "Cancel"},
                     {1004, "STATIC", {15, 10, 220, 30}, SS_LEFT | WS_GROUP,
                      "Now we will remove Velmora Utilities and WDM Drivers.\n\n"
                      "Please select which components will be removed."},
                     {1005, "BUTTON", {15, 45, 160, 10}, BS_AUTOCHECKBOX | WS_TABSTOP, "Remove All Utilities."},
                     {1006, "BUTTON", {15, 60, 160, 10}, BS_AUTOCHECKBOX | WS_TABSTOP, "Remove WDM Drivers."}}});
    ExpectTemplate(PurgexResources(), IDD_FINISH,
                   {page | WS_VISIBLE, {0, 0, 250, 80}, "Uninstallation Wizard", 9, "Arial",
                    {{1, "BUTTON", {100, 50, 50, 14}, BS_DEFPUSHBUTTON | WS_TABSTOP, "OK"},
                     {2, "BUTTON", {190, 50, 50, 14}, BS_PUSHBUTTON | WS_TABSTOP, "Cancel", false},
                     {1003, "STATIC", {15, 25, 200, 10}, SS_LEFT | WS_GROUP, "Now we have uninstalled completely !."}},
                    WS_EX_APPWINDOW, true});
}

TEST(DialogTemplates, WizardAboutIsAsTabled) {
    ExpectTemplate(PurgexResources(), IDD_ABOUTBOX,
                   {WS_POPUP | WS_CAPTION | WS_SYSMENU | DS_MODALFRAME | DS_SETFONT, {0, 0, 210, 50},
                    "About Uninstallation", 9, "Arial",
                    {{-1, "STATIC", {10, 15, 20, 20}, SS_ICON, "#128"},
                     {-1, "STATIC", {35, 15, 120, 8}, SS_LEFT | SS_NOPREFIX | WS_GROUP,
                      "Uninstallation Version V3.0.0.0"},
                     {-1, "STATIC", {35, 25, 160, 8}, SS_LEFT | WS_GROUP, "*"},
                     {1, "BUTTON", {160, 10, 40, 14}, BS_DEFPUSHBUTTON | WS_GROUP | WS_TABSTOP, "OK"}}});
    std::string rights = ReadTemplate(PurgexResources(), IDD_ABOUTBOX).items.at(2).text;
    EXPECT_TRUE(std::regex_search(rights, std::regex(kYearRange))) << rights;
}

TEST(DialogTemplates, EveryIconLoadsAndTheTrayIconHasAnImageForEachSmallIconSize) {
    for (int id : {IDI_TELVIX, IDI_SHUTDOWN})
        EXPECT_NE(LoadIconA(TelvixResources(), MAKEINTRESOURCEA(id)), nullptr) << id;
    EXPECT_NE(LoadIconA(PurgexResources(), MAKEINTRESOURCEA(IDI_PURGEX)), nullptr);

    // The icon group's directory: a count at offset 4, then 14-byte entries
    // that begin with the width. 20 and 24 are the small icon at 125 and 150 %.
    HRSRC found = FindResourceA(TelvixResources(), MAKEINTRESOURCEA(IDI_TELVIX), (LPCSTR)RT_GROUP_ICON);
    ASSERT_NE(found, nullptr);
    const BYTE *group = (const BYTE *)LockResource(LoadResource(TelvixResources(), found));
    std::set<int> widths;
    for (int i = 0; i < *(const WORD *)(group + 4); ++i) widths.insert(group[6 + 14 * i]);
    EXPECT_EQ(widths, (std::set<int>{16, 20, 24, 32}));
    ICONINFO info = {};
    ASSERT_TRUE(GetIconInfo(LoadTrayIcon(TelvixResources(), IDI_TELVIX), &info));
    BITMAP mask = {};
    GetObjectA(info.hbmMask, sizeof mask, &mask);
    EXPECT_EQ(mask.bmWidth, GetSystemMetrics(SM_CXSMICON)) << "the tray's own size, not 32 pixels scaled";
    DeleteObject(info.hbmMask);
    if (info.hbmColor) DeleteObject(info.hbmColor);
}

// The version resources of both programs: the product version is the one
// Telvix's About box shows; each file version is the one its own About box
// shows (the wizard has a version of its own); the rights line is Telvix's.
TEST(VersionResources, BothProgramsCarryTheVersionAndRightsOfTheAboutBox) {
    std::vector<Item> about = ReadTemplate(TelvixResources(), IDD_ABOUT).items;
    ASSERT_EQ(about.size(), 4u);
    const std::string telvixShown = about[1].text, rights = about[2].text;
    std::vector<Item> purgexAbout = ReadTemplate(PurgexResources(), IDD_ABOUTBOX).items;
    ASSERT_GE(purgexAbout.size(), 2u);
    const std::string purgexShown = purgexAbout[1].text;
    struct Case {
        const char *program, *productName, *description;
        std::string shownVersion, shownPrefix;
    } cases[] = {
        {"Telvix", "Corvane Remote Control Utility", "Corvane Remote Control", telvixShown,
         "Corvane Remote Control Utility V"},
        {"Purgex", "Uninstallation", "Uninstallation Wizard", purgexShown, "Uninstallation Version V"},
    };
    for (const Case &c : cases) {
        SCOPED_TRACE(c.program);
        std::string path = ProgramPath((std::string(c.program) + ".exe").c_str());
        DWORD size = GetFileVersionInfoSizeA(path.c_str(), NULL);
        ASSERT_GT(size, 0u) << path;
        std::vector<BYTE> info(size);
        ASSERT_TRUE(GetFileVersionInfoA(path.c_str(), 0, size, info.data()));

        VS_FIXEDFILEINFO *fixed = nullptr;
        UINT length = 0;
        ASSERT_TRUE(VerQueryValueA(info.data(), "\\", (void **)&fixed, &length));
        EXPECT_EQ(fixed->dwSignature, 0xFEEF04BDu);
        EXPECT_EQ(fixed->dwFileType, (DWORD)VFT_APP);
        char fileVersion[32], productVersion[32];
        snprintf(fileVersion, sizeof fileVersion, "%u.%u.%u.%u", HIWORD(fixed->dwFileVersionMS),
                 LOWORD(fixed->dwFileVersionMS), HIWORD(fixed->dwFileVersionLS), LOWORD(fixed->dwFileVersionLS));
        snprintf(productVersion, sizeof productVersion, "%u.%u.%u.%u", HIWORD(fixed->dwProductVersionMS),
                 LOWORD(fixed->dwProductVersionMS), HIWORD(fixed->dwProductVersionLS),
                 LOWORD(fixed->dwProductVersionLS));
        EXPECT_EQ(c.shownVersion, c.shownPrefix + fileVersion);
        EXPECT_EQ(telvixShown, std::string("Corvane Remote Control Utility V") + productVersion);

        WORD *translation = nullptr;
        ASSERT_TRUE(VerQueryValueA(info.data(), "\\VarFileInfo\\Translation", (void **)&translation, &length));
        ASSERT_GE(length, 4u);
        char block[64];
        snprintf(block, sizeof block, "\\StringFileInfo\\%04x%04x\\", translation[0], translation[1]);
        struct Field {
            const char *name;
            std::string expected;
        } fields[] = {
            {"CompanyName", "Halvex Multimedia"},
            {"FileDescription", c.description},
            {"FileVersion", fileVersion},
            {"InternalName", c.program},
            {"LegalCopyright", rights},
            {"OriginalFilename", std::string(c.program) + ".exe"},
            {"ProductName", c.productName},
            {"ProductVersion", productVersion},
        };
        for (const Field &f : fields) {
            char *value = nullptr;
            EXPECT_TRUE(VerQueryValueA(info.data(), (std::string(block) + f.name).c_str(), (void **)&value, &length))
                << f.name;
            EXPECT_EQ(value ? std::string(value) : std::string("(none)"), f.expected) << f.name;
        }
    }
}

namespace {

// The manifest a program carries (resource 1 of RT_MANIFEST), "" without one.
std::string ManifestOf(const char *exeName) {
    HMODULE module = LoadLibraryExA(ProgramPath(exeName).c_str(), NULL, LOAD_LIBRARY_AS_DATAFILE);
    if (!module) return "";
    std::string text;
    HRSRC found = FindResourceA(module, MAKEINTRESOURCEA(1), MAKEINTRESOURCEA(24)); // RT_MANIFEST
    HGLOBAL loaded = found ? LoadResource(module, found) : NULL;
    if (loaded) text.assign((const char *)LockResource(loaded), SizeofResource(module, found));
    FreeLibrary(module);
    return text;
}

} // namespace

// What Windows reads from the manifests, checked here because Wine has no UAC:
// the wizard asks for an administrator (it removes per-machine installations);
// Telvix, started at every logon, never asks for elevation and has no
// execution level at all (its 32-bit build stays virtualized for the one key
// of another maker it writes); both declare Windows Vista to 11 and DPI
// awareness, and carry their file version as their assembly's.
TEST(Manifests, PurgexRequiresAnAdministratorAndTelvixNoExecutionLevel) {
    const char *const supportedOs[] = {
        "{e2011457-1546-43c5-a5fe-008deee3d3f0}", // Vista
        "{35138b9a-5d96-4fbd-8e2d-a2440225f93a}", // 7
        "{4a2f28e3-53b9-4441-ba9c-d69d4a4a6e38}", // 8
        "{1f676c76-80e1-4239-95bb-83d0f6d0da78}", // 8.1
        "{8e0f7a12-bfb3-4fe8-b9a5-48fd50a15a9a}", // 10 and 11
    };
    struct Case {
        const char *program;
        const char *executionLevel; // nullptr: none at all
    } cases[] = {
        {"Purgex.exe", "requireAdministrator"},
        {"Telvix.exe", nullptr},
    };
    for (const Case &c : cases) {
        SCOPED_TRACE(c.program);
        const std::string manifest = ManifestOf(c.program);
        ASSERT_NE(manifest, "") << "no manifest";
        std::smatch level;
        bool hasLevel = std::regex_search(manifest, level, std::regex("<requestedExecutionLevel\\s+level=\"(\\w+)\""));
        if (c.executionLevel) {
            ASSERT_TRUE(hasLevel);
            EXPECT_EQ(level[1].str(), c.executionLevel);
            EXPECT_NE(manifest.find("uiAccess=\"false\""), std::string::npos);
        } else {
            EXPECT_FALSE(hasLevel);
            EXPECT_EQ(manifest.find("trustInfo"), std::string::npos);
        }
        for (const char *os : supportedOs)
            EXPECT_NE(manifest.find(std::string("<supportedOS Id=\"") + os + "\"/>"), std::string::npos) << os;
        EXPECT_TRUE(std::regex_search(manifest, std::regex("<dpiAware[^>]*>\\s*true\\s*</dpiAware>")));

        std::smatch identity;
        ASSERT_TRUE(std::regex_search(manifest, identity,
                                      std::regex("<assemblyIdentity[^>]*\\sversion=\"([0-9.]+)\"")));
        std::string path = ProgramPath(c.program);
        std::vector<BYTE> info(GetFileVersionInfoSizeA(path.c_str(), NULL));
        VS_FIXEDFILEINFO *fixed = nullptr;
        UINT length = 0;
        ASSERT_TRUE(!info.empty() && GetFileVersionInfoA(path.c_str(), 0, (DWORD)info.size(), info.data()) &&
                    VerQueryValueA(info.data(), "\\", (void **)&fixed, &length));
        char version[32];
        snprintf(version, sizeof version, "%u.%u.%u.%u", HIWORD(fixed->dwFileVersionMS),
                 LOWORD(fixed->dwFileVersionMS), HIWORD(fixed->dwFileVersionLS), LOWORD(fixed->dwFileVersionLS));
        EXPECT_EQ(identity[1].str(), version);
    }
}
