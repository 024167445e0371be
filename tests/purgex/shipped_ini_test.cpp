// The Purgex.ini that ships, as copied beside the built Purgex.exe: every
// language complete, in the bytes the ANSI reads return, its texts fitting
// the pages they are shown on.
#include <gtest/gtest.h>
#include <windows.h>
#include <stdlib.h>
#include <algorithm>
#include <string>
#include <vector>
#include "res/purgex_resource.h"
#include "res/resource.h"
#include "tests/support/dialog_items.h"
#include "tests/support/process.h"
#include "uninstall/wizard_config.h"

namespace {

// kWizardKeys by index.
enum Key {
    kTitle, kTip1, kTip2, kOption1, kOption2, kDone, kNothingDone, kUtilityRegName,
    kRemoteTitle, kDriverKey, kOk, kCancel, kStart, kNotStarted, kKeyCount
};
static_assert(kKeyCount == kWizardKeyCount, "a name for every key");

std::string IniPath() { return BinDir() + "\\Purgex.ini"; }

// The text as the wizard's ANSI read returns it; "<missing>" for no key.
std::string Read(const char *section, Key key) {
    char text[1024];
    GetPrivateProfileStringA(section, kWizardKeys[key].name, "<missing>", text, sizeof text, IniPath().c_str());
    return text;
}

std::string PageText(const char *section) {
    return Read(section, kTip1) + "\n\n" + Read(section, kTip2);
}

INT_PTR CALLBACK PlainDialog(HWND, UINT, WPARAM, LPARAM) { return FALSE; }

// A page from the program's own template, hidden, with its template texts.
struct Page {
    explicit Page(int id) : hwnd(CreateDialogParamA(GetModuleHandleA(NULL), MAKEINTRESOURCEA(id), NULL,
                                                     PlainDialog, 0)) {
        ShowWindow(hwnd, SW_HIDE);
    }
    ~Page() { DestroyWindow(hwnd); }
    std::string Text(int id) const { return ItemText(hwnd, id); }
    // Whether `text` fits the control's client area in the control's font,
    // wrapped as a static or check box wraps it; `inset` is what the control
    // keeps for itself (the box of a check box, the edges of a button).
    bool Fits(int id, const std::string &text, int inset, UINT format, std::string *why) const {
        HWND control = GetDlgItem(hwnd, id);
        RECT client;
        GetClientRect(control, &client);
        RECT need = {0, 0, client.right - inset, 0};
        HDC dc = GetDC(control);
        HGDIOBJ old = SelectObject(dc, (HFONT)SendMessageA(control, WM_GETFONT, 0, 0));
        DrawTextA(dc, text.c_str(), -1, &need, format | DT_CALCRECT | DT_NOPREFIX);
        SelectObject(dc, old);
        ReleaseDC(control, dc);
        *why = "needs " + std::to_string(need.right) + " x " + std::to_string(need.bottom) + " of " +
               std::to_string(client.right - inset) + " x " + std::to_string(client.bottom);
        return need.right <= client.right - inset && need.bottom <= client.bottom;
    }
    HWND hwnd;
};

TEST(ShippedIni, EverySectionHasEveryKeyWithinItsBuffer) {
    char tray[256] = "";
    HMODULE telvix = LoadLibraryExA((BinDir() + "\\Telvix.exe").c_str(), NULL, LOAD_LIBRARY_AS_DATAFILE);
    ASSERT_NE(telvix, nullptr);
    LoadStringA(telvix, IDS_TRAY_TITLE, tray, sizeof tray);
    FreeLibrary(telvix);

    const std::vector<std::string> languages = ShippedWizardLanguages();
    ASSERT_NE(std::find(languages.begin(), languages.end(), "1"), languages.end()) << "the fallback language";
    for (const std::string &language : languages) {
        const char *section = language.c_str();
        SCOPED_TRACE(std::string("section ") + section);
        for (int key = 0; key < kKeyCount; ++key) {
            std::string text = Read(section, (Key)key);
            EXPECT_NE(text, "<missing>") << kWizardKeys[key].name;
            EXPECT_NE(text, "") << kWizardKeys[key].name;
            EXPECT_LT((int)text.size(), kWizardKeys[key].size) << kWizardKeys[key].name << ": " << text;
        }
        EXPECT_LT(PageText(section).size(), 256u) << "both tips share the page text's buffer";
        // Names the program looks up, not words to translate.
        for (Key key : {kUtilityRegName, kRemoteTitle, kDriverKey})
            EXPECT_EQ(Read(section, key), Read("1", key)) << kWizardKeys[key].name;
        EXPECT_EQ(Read(section, kRemoteTitle), tray) << "the tray program's window title";
    }
}

TEST(ShippedIni, KeepsItsLatin1BytesAndWindowsLineEnds) {
    std::string raw = ReadTextFile(IniPath());
    ASSERT_FALSE(raw.empty());
    EXPECT_EQ(MultiByteToWideChar(CP_UTF8, MB_ERR_INVALID_CHARS, raw.data(), (int)raw.size(), NULL, 0), 0)
        << "an editor saved it as UTF-8";
    std::string section;
    size_t values = 0;
    for (size_t at = 0, end; at < raw.size(); at = end + 1) {
        end = raw.find('\n', at);
        ASSERT_NE(end, std::string::npos) << "the last line ends too";
        ASSERT_GT(end, at);
        ASSERT_EQ(raw[end - 1], '\r') << "line at byte " << at;
        std::string line = raw.substr(at, end - 1 - at);
        if (line.empty() || line[0] == ';') continue;
        if (line[0] == '[') {
            section = line.substr(1, line.find(']') - 1);
            continue;
        }
        size_t equals = line.find('=');
        ASSERT_NE(equals, std::string::npos) << line;
        char text[1024];
        GetPrivateProfileStringA(section.c_str(), line.substr(0, equals).c_str(), "", text, sizeof text,
                                 IniPath().c_str());
        EXPECT_EQ(std::string(text), line.substr(equals + 1)) << "read back byte for byte";
        ++values;
    }
    EXPECT_EQ(values, ShippedWizardLanguages().size() * kKeyCount);
}

TEST(ShippedIni, EnglishIsThePagesOwnTextsAndButtonDefaults) {
    Page wizard(IDD_WIZARD), finish(IDD_FINISH);
    char caption[256] = "";
    GetWindowTextA(wizard.hwnd, caption, sizeof caption);
    EXPECT_EQ(Read("1", kTitle), caption);
    EXPECT_EQ(PageText("1"), wizard.Text(IDC_PAGE_TEXT));
    EXPECT_EQ(Read("1", kOption1), wizard.Text(IDC_REMOVE_UTILITIES));
    EXPECT_EQ(Read("1", kOption2), wizard.Text(IDC_REMOVE_DRIVERS));
    EXPECT_EQ(Read("1", kDone), finish.Text(IDC_FINISH_TEXT));

    WizardConfig defaults;
    char section[32];
    ReadWizardConfig(NULL, 1, &defaults, section);
    EXPECT_EQ(Read("1", kOk), defaults.okText);
    EXPECT_EQ(Read("1", kCancel), defaults.cancelText);
    EXPECT_EQ(Read("1", kStart), defaults.startText);
}

// As the program reads them: each section, and the built-in defaults that
// stand in for keys an ini file lacks.
TEST(ShippedIni, EveryTextFitsWhereThePagesShowIt) {
    Page wizard(IDD_WIZARD), finish(IDD_FINISH);
    const int checkBox = GetSystemMetrics(SM_CXMENUCHECK) + 4;
    const int buttonEdges = 2 * GetSystemMetrics(SM_CXEDGE) + 4;
    std::string ini = IniPath();
    std::vector<std::string> sections = ShippedWizardLanguages();
    sections.push_back("defaults");
    for (const std::string &name : sections) {
        const char *section = name.c_str();
        SCOPED_TRACE(std::string("section ") + section);
        WizardConfig c;
        char used[32];
        bool defaults = section[0] == 'd';
        ReadWizardConfig(defaults ? NULL : ini.c_str(), defaults ? 1 : atoi(section), &c, used);
        EXPECT_STREQ(used, defaults ? "1" : section);
        struct Place {
            const Page &page;
            int id;
            std::string text;
            int inset;
            UINT format;
        } places[] = {
            {wizard, IDC_PAGE_TEXT, std::string(c.page1Tip1) + "\n\n" + c.page1Tip2, 0, DT_WORDBREAK},
            {wizard, IDC_REMOVE_UTILITIES, c.page1Option1, checkBox, DT_WORDBREAK},
            {wizard, IDC_REMOVE_DRIVERS, c.page1Option2, checkBox, DT_WORDBREAK},
            {wizard, IDOK, c.startText, buttonEdges, DT_SINGLELINE},
            {wizard, IDCANCEL, c.cancelText, buttonEdges, DT_SINGLELINE},
            {finish, IDC_FINISH_TEXT, c.page2Tip1, 0, DT_WORDBREAK},
            {finish, IDC_FINISH_TEXT, c.page2Tip2, 0, DT_WORDBREAK},
            {finish, IDC_FINISH_TEXT, c.page2Tip3, 0, DT_WORDBREAK},
            {finish, IDOK, c.okText, buttonEdges, DT_SINGLELINE},
        };
        for (const Place &p : places) {
            std::string why;
            EXPECT_TRUE(p.page.Fits(p.id, p.text, p.inset, p.format, &why)) << p.text << ": " << why;
        }
    }
}

} // namespace
