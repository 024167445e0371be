// The three dialog templates as compiled into Telvix.exe, read back word by
// word and held against their tables.
#include <gtest/gtest.h>
#include <windows.h>
#include <ostream>
#include <regex>
#include <string>
#include <vector>
#include "res/resource.h"
#include "tests/unit/dialog_driver.h"

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
    DWORD style; // besides WS_CHILD | WS_VISIBLE
    std::string text; // "#n" for resource number n
};

struct Template {
    DWORD style;
    Box box;
    std::string caption;
    int pointSize;
    std::string font;
    std::vector<Item> items;
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

Template ReadTemplate(int resourceId) {
    Template t = {};
    HMODULE module = TelvixResources();
    HRSRC found = FindResourceA(module, MAKEINTRESOURCEA(resourceId), (LPCSTR)RT_DIALOG);
    EXPECT_NE(found, nullptr) << resourceId;
    if (!found) return t;
    const BYTE *base = (const BYTE *)LockResource(LoadResource(module, found));
    Reader r(base);
    t.style = r.Dword();
    EXPECT_NE(HIWORD(t.style), 0xFFFF) << "a plain template, not the extended form";
    r.Dword(); // extended style
    int count = r.Word();
    t.box = r.ReadBox();
    EXPECT_EQ(r.SzOrOrd(), "") << "no menu";
    EXPECT_EQ(r.SzOrOrd(), "") << "the standard dialog class";
    t.caption = r.SzOrOrd();
    if (t.style & DS_SETFONT) {
        t.pointSize = r.Word();
        t.font = r.SzOrOrd();
    }
    for (int i = 0; i < count; ++i) {
        r.AlignDword(base);
        Item item;
        item.style = r.Dword();
        r.Dword();
        item.box = r.ReadBox();
        item.id = r.Short();
        item.className = ClassFromOrdinal(r.SzOrOrd());
        item.text = r.SzOrOrd();
        r.Skip(r.Word());
        EXPECT_EQ(item.style & (WS_CHILD | WS_VISIBLE), (DWORD)(WS_CHILD | WS_VISIBLE)) << item.text;
        item.style &= ~(WS_CHILD | WS_VISIBLE);
        t.items.push_back(item);
    }
    return t;
}

void ExpectTemplate(int resourceId, const Template &want) {
    Template got = ReadTemplate(resourceId);
    SCOPED_TRACE("dialog " + std::to_string(resourceId));
    EXPECT_EQ(got.style, want.style);
    EXPECT_EQ(got.box, want.box);
    EXPECT_EQ(got.caption, want.caption);
    EXPECT_EQ(got.pointSize, 8);
    EXPECT_EQ(got.font, "Arial");
    ASSERT_EQ(got.items.size(), want.items.size());
    for (size_t i = 0; i < want.items.size(); ++i) {
        const Item &g = got.items[i], &w = want.items[i];
        SCOPED_TRACE("control " + std::to_string(i) + " " + w.text);
        EXPECT_EQ(g.id, w.id);
        EXPECT_EQ(g.className, w.className);
        EXPECT_EQ(g.box, w.box);
        EXPECT_EQ(g.style, w.style) << std::hex << g.style << " vs " << w.style;
        if (w.text != "*") {
            EXPECT_EQ(g.text, w.text);
        }
    }
}

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
    EXPECT_TRUE(std::regex_search(rights, std::regex("\\b(19|20)\\d\\d-(19|20)\\d\\d\\b"))) << rights;
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

TEST(DialogTemplates, BothIconsLoad) {
    for (int id : {IDI_TELVIX, IDI_SHUTDOWN})
        EXPECT_NE(LoadIconA(TelvixResources(), MAKEINTRESOURCEA(id)), nullptr) << id;
}
