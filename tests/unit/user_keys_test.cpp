// The user's key maps (KeyMaps.ini): the format read line by line, the lookup
// by the foreground window, the user's file over the machine's, and the keys
// reaching a real window of this process through the poll cycle's routing.
#include <gtest/gtest.h>
#include <string>
#include <vector>
#include "apps/tv_app_table.h"
#include "keymaps/key_map_file.h"
#include "keyref/user_keys_page.h"
#include "platform/product_texts.h"
#include "platform/trace.h"
#include "routing/pointer.h"
#include "routing/poll_cycle.h"
#include "routing/tray_hooks.h"
#include "routing/user_key_delivery.h"
#include "routing/user_key_route.h"
#include "tests/support/effects_recorder.h"
#include "tests/support/process_state.h"
#include "tests/support/test_windows.h"

namespace {

struct Parsed {
    UserKeyMap map;
    std::vector<std::string> skipped; // "line: why"
};

void Collect(void *context, const KeyMapLine &line) {
    if (line.skipped) static_cast<Parsed *>(context)->skipped.push_back(std::to_string(line.number) + ": " + line.skipped);
}

// The map must outlive the test's stack frame comfortably.
Parsed &Parse(const std::string &text, Parsed &parsed) {
    parsed.skipped.clear();
    ParseKeyMap(text.data(), text.size(), parsed.map, Collect, &parsed);
    return parsed;
}
Parsed &Parse(const std::string &text) {
    static Parsed parsed;
    return Parse(text, parsed);
}

std::string Action(const UserKeyMap &map, const UserAction &action) {
    char text[1100];
    FormatUserAction(map, action, text, sizeof text);
    return text;
}

// "[name] P=process C=class 27=post:VK_SPACE 27.long=... ..." per section
// that is used, "|" between.
std::string Dump(const UserKeyMap &map) {
    std::string out;
    for (int i = 0; i < map.count; ++i) {
        const UserKeySection &s = map.sections[i];
        if (!s.process && !s.windowClass && !s.everywhere) continue;
        if (!out.empty()) out += " | ";
        out += "[" + std::string(KeyMapText(map, s.name)) + "]";
        if (s.everywhere) out += " P=*";
        if (s.process) out += " P=" + std::string(KeyMapText(map, s.process));
        if (s.windowClass) out += " C=" + std::string(KeyMapText(map, s.windowClass));
        for (int k = 0; k < kKeyMapKeys; ++k) {
            if (s.keys[k].kind != kActionNone) out += " " + std::to_string(k) + "=" + Action(map, s.keys[k]);
            if (s.longKeys[k].kind != kActionNone)
                out += " " + std::to_string(k) + ".long=" + Action(map, s.longKeys[k]);
            if (s.noRepeat >> k & 1) out += " " + std::to_string(k) + ".repeat=no";
        }
    }
    return out;
}

std::string Joined(const std::vector<std::string> &lines) {
    std::string out;
    for (const std::string &l : lines) out += (out.empty() ? "" : "; ") + l;
    return out;
}

} // namespace

TEST(UserKeyMapFormat, ReadsSectionsAndSkipsEachLineItCannotUnderstand) {
    struct Case {
        const char *what;
        std::string text;
        const char *sections;
        const char *skipped;
    };
    const Case cases[] = {
        {"the documented example, comments and all",
         "[Any Name]                      ; one section per program\n"
         "Process=player.exe              ; the program's file name\n"
         "Class=PlayerMainWindowClass     ; its window class\n"
         "Key27=post:VK_SPACE\n"
         "Key26=chord:Ctrl+Right\n"
         "Key22=app:MEDIA_PLAY_PAUSE\n",
         "[Any Name] P=player.exe C=PlayerMainWindowClass 22=app:MEDIA_PLAY_PAUSE 26=chord:Ctrl+VK_RIGHT "
         "27=post:VK_SPACE",
         ""},
        {"key names with and without VK_, hex, letters, digits, any case",
         "[P]\r\nclass = C\r\nKey0=post:Space\r\nKey1=post:f11\r\nKey2=post:a\r\nKey3=post:7\r\n"
         "Key4=post:0xb3\r\nkey5 = POST : vk_media_play_pause\r\nKey6=chord:Ctrl+Alt+Shift+Win+F4\r\n"
         "Key7=app:APPCOMMAND_VOLUME_UP\r\nKey8=App:media_stop\r\nKey9=post:VK_NUMPAD5\r\nKey10=post:PageDown\r\n",
         "[P] C=C 0=post:VK_SPACE 1=post:VK_F11 2=post:A 3=post:7 4=post:VK_MEDIA_PLAY_PAUSE "
         "5=post:VK_MEDIA_PLAY_PAUSE 6=chord:Ctrl+Alt+Shift+Win+VK_F4 7=app:VOLUME_UP 8=app:MEDIA_STOP "
         "9=post:VK_NUMPAD5 10=post:VK_NEXT",
         ""},
        {"bad lines skipped, the good ones kept",
         "Key1=post:A\n"                 // 1 outside a section
         "[S]\n"                         // 2
         "Process=s.exe\n"               // 3
         "Key32=post:A\n"                // 4
         "KeyX=post:A\n"                 // 5
         "Key1=press:A\n"                // 6
         "Key2=post:VK_NOPE\n"           // 7
         "Key3=\n"                       // 8
         "Key4=chord:Ctrl+\n"            // 9
         "Key5=chord:Hyper+A\n"          // 10
         "Key18=post:A\n"                // 11
         "garbage\n"                     // 12
         "Key6=post:0x100\n"             // 13
         "Key7=app:LAUNCH_ROCKET\n"      // 14
         "Colour=red\n"                  // 15
         "Key8=post:B\n"                 // 16
         "Key8=post:C\n"                 // 17
         "Key9=chord:Alt+F4\n",          // 18
         "[S] P=s.exe 8=post:B 9=chord:Alt+VK_F4",
         "1: outside a section; 4: unknown key number (0..31); 5: unknown key number (0..31); "
         "6: unknown action (post:, chord:, app:, run:, volume:, media: or power:); 7: unknown key name; 8: empty value; 9: empty part of a chord; "
         "10: unknown modifier (Ctrl, Alt, Shift, Win); 11: keys 18, 20 and 21 keep their own roles; "
         "12: not understood; 13: unknown key name; 14: unknown command; 15: unknown setting (Process, Class or KeyN); "
         "17: key mapped twice in this section"},
        {"binary and a 5,000-character line",
         std::string("[S]\nClass=C\nKey1=post:\x01\x02\x00\xFF\n", 27) + std::string(5000, 'x') + "\nKey2=post:B\n",
         "[S] C=C 2=post:B", "3: not text; 4: line too long"},
        {"a section that names no window is not used; its lines are not reported again",
         "[Every window]\nKey1=post:A\n[Ok]\nProcess=ok.exe\nKey1=post:B\n[]\nKey1=post:C\n",
         "[Ok] P=ok.exe 1=post:B", "1: section names neither Process= nor Class=: not used; 6: section without a name"},
        {"every program, the new kinds, long press and no repeat",
         "[Everywhere]\nProcess=*\nKey27=volume:up\nKey31=Volume: down 5\nKey16=volume:mute\nKey29=media:play-pause\n"
         "Key26=media:next\nKey30=media:previous\nKey14=media:stop\nKey19=power:sleep\nKey1=power:hibernate\n"
         "Key2=power:monitor-off\nKey3=power:lock\nKey4=run:\"C:\\Program Files\\P\\p.exe\" /x\nKey5=run:notepad.exe\n"
         "Key6=post:A\nKey6.long=run:calc.exe\nKey6.repeat=no\nKey7.LONG=media:stop\n",
         "[Everywhere] P=* 1=power:hibernate 2=power:monitor-off 3=power:lock 4=run:\"C:\\Program Files\\P\\p.exe\" /x "
         "5=run:notepad.exe 6=post:A 6.long=run:calc.exe 6.repeat=no 7.long=media:stop 14=media:stop "
         "16=volume:mute 19=power:sleep 26=media:next 27=volume:up 29=media:play-pause 30=media:previous "
         "31=volume:down 5",
         ""},
        {"the new forms' bad values",
         "[S]\nClass=C\nKey1=volume:loud\nKey2=volume:up 0\nKey3=volume:up 101\nKey4=volume:mute 3\n"
         "Key5=media:rewind\nKey6=power:reboot\nKey7=run:\"C:\\x\nKey8=run:\"\"\nKey9=run:\"a\"b\n"
         "Key10.long=post:A\nKey10.long=post:B\nKey11.hold=post:A\nKey12.repeat=maybe\nKey18.long=post:A\n",
         "[S] C=C 10.long=post:A",
         "3: unknown volume action (up, down, mute); 4: volume step not 1..100; 5: volume step not 1..100; "
         "6: volume step not 1..100; 7: unknown media key (play-pause, next, previous, stop); "
         "8: unknown power action (sleep, hibernate, monitor-off, lock); 9: program without its closing quote; "
         "10: empty value; 11: blank expected after the program's quote; 13: key mapped twice in this section; "
         "14: unknown setting of a key (KeyN.long or KeyN.repeat); 15: repeat is yes or no; "
         "16: keys 18, 20 and 21 keep their own roles"},
        {"a byte-order mark, a lone CR and # comments",
         "\xEF\xBB\xBF[S]\rProcess=p.exe\r# Key1=post:A\rKey2=post:B", "[S] P=p.exe 2=post:B", ""},
    };
    for (const Case &c : cases) {
        SCOPED_TRACE(c.what);
        Parsed &p = Parse(c.text);
        EXPECT_EQ(Dump(p.map), c.sections);
        EXPECT_EQ(Joined(p.skipped), c.skipped);
    }
}

TEST(UserKeyMapFormat, ReadsAtMost64SectionsAnd64KB) {
    std::string text;
    for (int i = 0; i < 70; ++i) text += "[S" + std::to_string(i) + "]\nClass=C\nKey1=post:A\n";
    Parsed &many = Parse(text);
    EXPECT_EQ(many.map.count, 64);
    EXPECT_EQ(Joined(many.skipped), "193: more than 64 sections: the rest is not read");

    std::string big = "[S]\nClass=C\n" + std::string(kKeyMapFileBytes, ';') + "\nKey1=post:A\n";
    Parsed &large = Parse(big);
    ASSERT_EQ(large.map.count, 1);
    EXPECT_EQ(large.map.sections[0].keys[1].kind, kActionNone) << "a line after 64 KB is not read";
}

TEST(UserKeyMapFormat, EveryEncodingNotepadWritesAndNamesComparedIgnoringCase) {
    struct Case {
        const char *what;
        std::string bytes;
        KeyMapEncoding encoding;
        const char *text;
    };
    const Case cases[] = {
        {"ASCII", "[S]\n", kEncodingUtf8, "[S]\n"},
        {"UTF-8", "Process=\xC3\x84.exe", kEncodingUtf8, "Process=\xC3\x84.exe"},
        {"UTF-8 with BOM", "\xEF\xBB\xBFK=\xC3\x84", kEncodingUtf8Bom, "K=\xC3\x84"},
        {"ANSI (Latin-1 without a code page)", "K=\xC4", kEncodingAnsi, "K=\xC3\x84"},
        {"UTF-16 LE", std::string("\xFF\xFEK\0=\0\xC4\0\x3D\xD8\x00\xDE", 12), kEncodingUtf16Le,
         "K=\xC3\x84\xF0\x9F\x98\x80"},
        {"UTF-16 BE, a lone surrogate", std::string("\xFE\xFF\0K\xD8\x3D\0\n", 8), kEncodingUtf16Be,
         "K\xEF\xBF\xBD\n"},
    };
    for (const Case &c : cases) {
        SCOPED_TRACE(c.what);
        EXPECT_EQ(DetectKeyMapEncoding(c.bytes.data(), c.bytes.size()), c.encoding);
        char out[64];
        bool cut;
        size_t n = DecodeKeyMapText(c.bytes.data(), c.bytes.size(), out, sizeof out, nullptr, &cut);
        EXPECT_EQ(std::string(out, n), c.text);
        EXPECT_FALSE(cut);
    }
    char out[8];
    bool cut;
    size_t n = DecodeKeyMapText("[A]\r\nKey1=post:A\r\n", 20, out, sizeof out, nullptr, &cut);
    EXPECT_EQ(std::string(out, n), "[A]\r\n") << "a text that does not fit ends with its last whole line";
    EXPECT_TRUE(cut);

    const struct {
        const char *a, *b;
        bool equal;
    } names[] = {{"\xC3\x84PFEL.EXE", "\xC3\xA4pfel.exe", true}, // Ä, ä
                 {"\xD0\x9F\xD0\xBB\xD0\xB5\xD0\xB5\xD1\x80.exe", "\xD0\xBF\xD0\x9B\xD0\x95\xD0\x95\xD0\xA0.EXE", true},
                 {"\xC5\x81odz", "\xC5\x82ODZ", true}, // Ł, ł
                 {"stra\xC3\x9F" "e", "STRASSE", false},    // ordinal: no expansion
                 {"a.exe", "a.ex", false}, {"\xC3", "\xC3\x84", false}};
    for (const auto &c : names) EXPECT_EQ(CompareNamesIgnoringCase(c.a, c.b) == 0, c.equal) << c.a << " / " << c.b;
}

TEST(UserKeyMapFormat, TheInstalledExamplesReadCleanlyOnceSwitchedOn) {
    std::string path = "Z:" SOURCE_DIR "/packaging/KeyMaps.ini";
    for (char &c : path) if (c == '/') c = '\\';
    HANDLE file = CreateFileA(path.c_str(), GENERIC_READ, FILE_SHARE_READ, NULL, OPEN_EXISTING, 0, NULL);
    ASSERT_NE(file, INVALID_HANDLE_VALUE) << path;
    static char text[kKeyMapFileBytes];
    DWORD length = 0;
    ReadFile(file, text, sizeof text, &length, NULL);
    CloseHandle(file);
    std::string shipped(text, length), switchedOn;
    // Example lines are ";" directly followed by the line; explanations have a space.
    for (size_t pos = 0; pos < shipped.size();) {
        size_t end = shipped.find('\n', pos);
        if (end == std::string::npos) end = shipped.size();
        std::string line = shipped.substr(pos, end - pos);
        if (line.size() > 1 && line[0] == ';' && line[1] != ' ') line.erase(0, 1);
        switchedOn += line + "\n";
        pos = end + 1;
    }
    EXPECT_EQ(Parse(shipped).map.count, 0) << "switched off as installed";
    Parsed &on = Parse(switchedOn);
    EXPECT_EQ(Joined(on.skipped), "");
    EXPECT_GE(on.map.count, 4);
    for (int i = 0; i < on.map.count; ++i) {
        const UserKeySection &s = on.map.sections[i];
        SCOPED_TRACE(KeyMapText(on.map, s.name));
        EXPECT_TRUE(s.process || s.everywhere);
        for (RemoteKeyCode code : {14, 16, 26, 27, 29, 30, 31}) EXPECT_NE(s.keys[code].kind, kActionNone) << code;
    }
}

TEST(UserKeyMapFormat, ThePageListsEachMappedKeyUnderItsProgramInTheRemotesOrder) {
    std::string page = UserKeysPage(Parse("[Player]\nProcess=p.exe\nClass=C\nKey29=app:MEDIA_PLAY_PAUSE\n"
                                          "Key26=chord:Ctrl+Right\nKey11=post:Space\n[Browser]\nProcess=b.exe\n")
                                        .map,
                                    "KeyMaps.ini");
    EXPECT_NE(page.find("## Player\n\nWhen the window in front is of the program p.exe and of the class C.\n\n"
                        "| Key | Sent as |\n|---|---|\n"
                        "| CH+ (26) | Ctrl+RIGHT (typed) |\n"
                        "| Play (29) | command MEDIA_PLAY_PAUSE |\n"
                        "| Fn3 (11) | SPACE (posted to the window) |\n"
                        "\n## Browser\n\nWhen the window in front is of the program b.exe.\n\n| Key | Sent as |\n|---|---|\n"),
              std::string::npos)
        << page;
}

TEST(UserKeyMapLookup, FirstSectionMatchingTheWindowAndMappingTheKey) {
    UserKeyMap &map = Parse("[All]\nProcess=*\nKey1=post:Z\nKey5=post:Y\n"
                            "[ByProcess]\nProcess=player.exe\nKey1=post:A\n"
                            "[Apple]\nProcess=\xC3\x84pfel.exe\nKey6.long=post:F\n"
                            "[ByClass]\nClass=PlayerClass\nKey2=post:B\n"
                            "[Both]\nProcess=x.exe\nClass=PlayerClass\nKey3=post:C\n"
                            "[Later]\nClass=PlayerClass\nKey2=post:D\nKey4=post:E\n")
                          .map;
    struct Case {
        const char *process, *windowClass;
        RemoteKeyCode code;
        const char *action; // "" for none
    };
    const Case cases[] = {
        {"PLAYER.EXE", "Other", 1, "post:A"}, {"player.exe", "Other", 2, ""},
        {"z.exe", "playerclass", 2, "post:B"}, {"x.exe", "PlayerClass", 3, "post:C"},
        {"y.exe", "PlayerClass", 3, ""},      {"y.exe", "PlayerClass", 4, "post:E"},
        {"", "PlayerClass", 1, "post:Z"},     {"player.exe", "", -1, ""},
        {"player.exe", "", 65536, ""},
        // Named sections first, then every program's, the desktop's none included.
        {"z.exe", "Other", 1, "post:Z"},      {"player.exe", "", 5, "post:Y"},
        {"", "", 5, "post:Y"},
        {"\xC3\xA4PFEL.EXE", "", 6, "hold post:F"},
    };
    for (const Case &c : cases) {
        SCOPED_TRACE(std::string(c.process) + "/" + c.windowClass + " key " + std::to_string(c.code));
        const UserKeyMap *maps[] = {&map};
        UserKeyBinding found = FindKeyBinding(maps, 1, c.process, c.windowClass, c.code);
        EXPECT_EQ(found.hold->kind ? "hold " + Action(map, *found.hold) : Action(map, *found.press), c.action);
    }
}

TEST(UserKeyMapLookup, TheUsersSectionReplacesTheMachinesOfTheSameName) {
    static Parsed machine, user;
    Parse("[One]\nClass=A\nKey1=post:A\n[Two]\nClass=B\nKey1=post:B\n", machine);
    Parse("[two]\nClass=B\nKey2=app:MEDIA_STOP\n[Three]\nClass=C\nKey3=post:C\n", user);
    MarkReplacedSections(user.map, machine.map);
    const UserKeyMap *maps[] = {&user.map, &machine.map};
    EXPECT_EQ(Action(machine.map, *FindKeyBinding(maps, 2, "", "A", 1).press), "post:A");
    EXPECT_EQ(FindKeyBinding(maps, 2, "", "B", 1).map, nullptr) << "[Two] is replaced by [two]";
    EXPECT_EQ(Action(user.map, *FindKeyBinding(maps, 2, "", "B", 2).press), "app:MEDIA_STOP");
}

TEST(UserKeyMapLookup, ChordKeysThatNeedTheExtendedFlag) {
    for (int vk : {VK_RIGHT, VK_PRIOR, VK_DELETE, VK_LWIN, VK_VOLUME_UP, VK_MEDIA_PLAY_PAUSE})
        EXPECT_TRUE(IsExtendedVirtualKey((BYTE)vk)) << vk;
    for (int vk : {VK_SPACE, (int)'A', VK_F11, VK_CONTROL, VK_MENU, VK_SHIFT, VK_NUMPAD4, VK_RETURN})
        EXPECT_FALSE(IsExtendedVirtualKey((BYTE)vk)) << vk;
}

namespace {

// The routing with no TV application about, a window of this process in
// front and the two files in a scratch folder.
class UserKeyRouting : public ::testing::Test {
protected:
    void SetUp() override {
        ResetProcessState();
        char temp[MAX_PATH];
        GetTempPathA(sizeof temp, temp);
        machine = std::string(temp) + "telvix_keymaps_machine.ini";
        user = std::string(temp) + "telvix_keymaps_user.ini";
        DeleteFileA(machine.c_str());
        DeleteFileA(user.c_str());
        ShowWindow(target.hwnd(), SW_SHOWNORMAL);
        SetForegroundWindow(target.hwnd());
        SetFocus(target.hwnd());
        PumpMessages();
        ASSERT_EQ(GetForegroundWindow(), target.hwnd());
        FakeEffects::cursor = {300, 300};
        UpdateScreenMetrics(1024, 768);
    }
    void TearDown() override {
        DeleteFileA(machine.c_str());
        DeleteFileA(user.c_str());
        UseUserKeyMapFiles(nullptr, nullptr);
        ResetProcessState();
    }
    static void Write(const std::string &path, const std::string &text) {
        HANDLE file = CreateFileA(path.c_str(), GENERIC_WRITE, 0, NULL, CREATE_ALWAYS, FILE_ATTRIBUTE_NORMAL, NULL);
        DWORD written;
        WriteFile(file, text.data(), (DWORD)text.size(), &written, NULL);
        CloseHandle(file);
    }
    // Messages of `message` posted to the target: "wParam/lParam" each, the
    // target's own handle as wParam written "target".
    std::string Posted(UINT message) {
        std::string out;
        MSG msg;
        while (PeekMessageA(&msg, target.hwnd(), message, message, PM_REMOVE)) {
            char text[48];
            if (msg.wParam == (WPARAM)target.hwnd()) snprintf(text, sizeof text, "target");
            else snprintf(text, sizeof text, "0x%X", (unsigned)msg.wParam);
            out += (out.empty() ? "" : " ") + std::string(text) + "/" + Hex(msg.lParam);
        }
        return out;
    }
    static std::string Hex(LPARAM value) {
        char text[24];
        snprintf(text, sizeof text, "0x%lX", (unsigned long)value);
        return text;
    }
    std::string machine, user;
    FakeEffects effects;
    TestWindow target{"UserKeyTarget", "User key target", true};
};

const char kTargetMap[] = "[Target]\nClass=UserKeyTarget\n"
                          "Key6=post:Space\nKey2=chord:Ctrl+Shift+Right\nKey22=app:MEDIA_PLAY_PAUSE\n";

} // namespace

TEST_F(UserKeyRouting, EachActionReachesTheWindowInFrontAndAnUnmappedKeyMovesThePointer) {
    Write(machine, kTargetMap);
    UseUserKeyMapFiles(machine.c_str(), user.c_str());

    RouteKey(NULL, 6);
    EXPECT_EQ(Posted(WM_KEYDOWN), "0x20/0x390001");
    EXPECT_EQ(Posted(WM_KEYUP), "0x20/0xC0390001");
    KeyOutcome outcome = RouteKey(NULL, 22);
    EXPECT_EQ(Posted(WM_APPCOMMAND), "target/0xE0000") << "command 14 in the high word";
    EXPECT_EQ(outcome.place, kToUserMap);
    EXPECT_STREQ(outcome.target, "Target") << "the section's name";
    EXPECT_STREQ(outcome.sent, "Media Play Pause");
    EXPECT_STREQ(RouteKey(NULL, 2).sent, "Ctrl+Shift+Right");
    EXPECT_EQ(FakeEffects::CallsStartingWith("SendInput"),
              (std::vector<std::string>{"SendInput 0x11 0x1D 0x0", "SendInput 0x10 0x2A 0x0", "SendInput 0x27 0x4D 0x1",
                                        "SendInput 0x27 0x4D 0x3", "SendInput 0x10 0x2A 0x2",
                                        "SendInput 0x11 0x1D 0x2"}));
    EXPECT_TRUE(FakeEffects::CallsStartingWith("SetCursorPos").empty());

    RouteKey(NULL, 4); // not in the map: the pointer as always
    EXPECT_EQ(FakeEffects::CallsStartingWith("SetCursorPos"), std::vector<std::string>{"SetCursorPos 299 300"});
    EXPECT_EQ(Posted(WM_KEYDOWN), "");
}

TEST_F(UserKeyRouting, AMinimisedOrOtherWindowGetsNothingAndTheKeyMovesThePointer) {
    Write(machine, "[Other]\nClass=NoSuchClass\nKey6=post:Space\n");
    Write(user, "[Target]\nClass=UserKeyTarget\nKey6=post:Space\n");
    UseUserKeyMapFiles(machine.c_str(), user.c_str());
    ShowWindow(target.hwnd(), SW_MINIMIZE);
    PumpMessages();
    RouteKey(NULL, 6);
    EXPECT_EQ(Posted(WM_KEYDOWN), "");
    EXPECT_EQ(FakeEffects::CallsStartingWith("SetCursorPos"), std::vector<std::string>{"SetCursorPos 301 300"});
}

TEST_F(UserKeyRouting, AChangedFileIsReadAgainAtMostOnceASecondAndNoFileIsTodaysRouting) {
    UseUserKeyMapFiles(machine.c_str(), user.c_str());
    RouteKey(NULL, 6);
    EXPECT_EQ(FakeEffects::CallsStartingWith("SetCursorPos").size(), 1u) << "no file: the pointer";

    Write(user, kTargetMap);
    FakeEffects::tick += 500;
    RouteKey(NULL, 6);
    EXPECT_EQ(Posted(WM_KEYDOWN), "") << "not looked at again within the second";
    FakeEffects::tick += 500;
    RouteKey(NULL, 6);
    EXPECT_EQ(Posted(WM_KEYDOWN), "0x20/0x390001");

    Write(user, "[Target]\nClass=UserKeyTarget\nKey6=post:Enter\n; now Enter\n");
    FakeEffects::tick += 1000;
    RouteKey(NULL, 6);
    EXPECT_EQ(Posted(WM_KEYDOWN), "0xD/0x1C0001");

    // Caught while another program holds it: the maps read last stay until it can be read.
    Write(user, "[Target]\nClass=UserKeyTarget\nKey6=post:Tab\n");
    HANDLE locked = CreateFileA(user.c_str(), GENERIC_READ | GENERIC_WRITE, 0, NULL, OPEN_EXISTING, 0, NULL);
    FakeEffects::tick += 1000;
    RouteKey(NULL, 6);
    EXPECT_EQ(Posted(WM_KEYDOWN), "0xD/0x1C0001");
    CloseHandle(locked);
    FakeEffects::tick += 1000;
    RouteKey(NULL, 6);
    EXPECT_EQ(Posted(WM_KEYDOWN), "0x9/0xF0001");

    DeleteFileA(user.c_str());
    FakeEffects::tick += 1000;
    RouteKey(NULL, 6);
    EXPECT_EQ(Posted(WM_KEYDOWN), "");
    EXPECT_EQ(FakeEffects::CallsStartingWith("SetCursorPos").size(), 3u);
}

TEST_F(UserKeyRouting, OnePressActsOnceRepeatsAfterTheDelayAndALongPressActsInsteadOfIt) {
    Write(machine, "[Target]\nClass=UserKeyTarget\nKey6=post:A\nKey7=post:B\nKey7.long=post:C\n"
                   "Key8=post:D\nKey8.repeat=no\nKey9.long=post:E\n");
    struct Case {
        const char *what;
        const char *polls; // one poll each 65 ms: a key read, or "." for none
        const char *keys;  // the keys posted, in order
        DWORD longPressMs = 0; // the user's LongPressMs; 0: none set
    };
    const Case cases[] = {
        {"a tap of three polls acts once", "6 6 6 . .", "A"},
        {"held 1 s: again from 500 ms, then every second poll", "6 6 6 6 6 6 6 6 6 6 6 6 6 6 6 6 .", "AAAAA"},
        {"a key with a long action waits until it is let go", "7 7 . .", "B"},
        {"or another key comes", "7 7 6 .", "BA"},
        {"held 600 ms: the long action once, the short one never", "7 7 7 7 7 7 7 7 7 7 7 7 7 7 7 7 .", "C"},
        {"pressed again after 250 ms: a press of its own", "7 . . . . 7 .", "BB"},
        {"repeat=no", "8 8 8 8 8 8 8 8 8 8 8 8 8 8 8 8 .", "D"},
        {"only a long action: nothing on a tap", "9 9 .", ""},
        {"the user's LongPressMs", "7 7 7 7 7 7 .", "C", 300},
    };
    for (const Case &c : cases) {
        SCOPED_TRACE(c.what);
        HKEY key;
        RegCreateKeyExA(HKEY_CURRENT_USER, kUserSettingsKey, 0, NULL, 0, KEY_SET_VALUE, NULL, &key, NULL);
        if (c.longPressMs) RegSetValueExA(key, "LongPressMs", 0, REG_DWORD, (const BYTE *)&c.longPressMs, 4);
        else RegDeleteValueA(key, "LongPressMs");
        RegCloseKey(key);
        UseUserKeyMapFiles(machine.c_str(), user.c_str());
        pollState = RepeatState{};
        DWORD now = 50000;
        for (const char *p = c.polls; *p; ++p) {
            if (*p == ' ') continue;
            now += kPollPeriodMs;
            if (*p == '.') UserKeysIdle();
            else HandleKeyEvent(NULL, *p - '0', now);
        }
        std::string keys;
        MSG msg;
        while (PeekMessageA(&msg, target.hwnd(), WM_KEYDOWN, WM_KEYDOWN, PM_REMOVE)) keys += (char)msg.wParam;
        EXPECT_EQ(keys, c.keys);
        EXPECT_TRUE(FakeEffects::CallsStartingWith("SetCursorPos").empty()) << "a mapped key never moves the pointer";
    }
    RegDeleteKeyA(HKEY_CURRENT_USER, kUserSettingsKey);
}

TEST_F(UserKeyRouting, EachKindOfActionIsCarriedOutAndSaysWhatBecameOfIt) {
    userKeysWindow = target.hwnd();
    struct Case {
        const char *action;
        std::vector<std::string> calls; // of the effect table
        const char *outcome;
        bool done;
    };
    const Case cases[] = {
        {"run:\"C:\\Program Files\\P\\p.exe\" /x /y",
         {"ShellExecuteExA open|C:\\Program Files\\P\\p.exe|/x /y|C:\\Program Files\\P|1"},
         "starts \"C:\\Program Files\\P\\p.exe\" /x /y", true},
        {"run:notepad.exe", {"ShellExecuteExA open|notepad.exe|||1"}, "starts notepad.exe", true},
        {"volume:up 5",
         {"Volume GetDefaultAudioEndpoint 0 0", "Volume SetMasterVolumeLevelScalar 0.45", "Volume SetMute 0"},
         "Volume 45 %", true},
        {"volume:down", {"Volume GetDefaultAudioEndpoint 0 0", "Volume SetMasterVolumeLevelScalar 0.43", "Volume SetMute 0"},
         "Volume 43 %", true},
        {"volume:mute", {"Volume GetDefaultAudioEndpoint 0 0", "Volume SetMute 1"}, "Sound off", true},
        {"media:next", {"SendInput 0xB0 0x00 0x1", "SendInput 0xB0 0x00 0x3"}, "next", true},
        {"power:hibernate",
         {"OpenProcessToken 0x28", "LookupPrivilegeValueA SeShutdownPrivilege", "AdjustTokenPrivileges 1 19 0x2",
          "SetSuspendState 1 0 0"},
         "hibernate", true},
        {"power:lock", {"LockWorkStation"}, "lock", true},
        {"power:monitor-off", {}, "monitor-off", true},
    };
    for (const Case &c : cases) {
        SCOPED_TRACE(c.action);
        FakeEffects::calls.clear();
        static UserKeyMap map;
        ClearKeyMap(map);
        UserAction action;
        ASSERT_EQ(ParseUserAction(c.action, map, action), nullptr);
        ForegroundProgram fg = {target.hwnd(), GetCurrentThreadId(), GetCurrentProcessId(), GetCurrentProcessId(),
                                "unit_tests.exe", "UserKeyTarget", false, false};
        char outcome[256];
        EXPECT_EQ(DeliverUserAction(fg, map, action, outcome, sizeof outcome) == kTaken, c.done);
        EXPECT_STREQ(outcome, c.outcome);
        EXPECT_EQ(FakeEffects::calls, c.calls);
    }
    MSG msg;
    ASSERT_TRUE(PeekMessageA(&msg, target.hwnd(), WM_SYSCOMMAND, WM_SYSCOMMAND, PM_REMOVE));
    EXPECT_EQ(msg.wParam, (WPARAM)SC_MONITORPOWER);
    EXPECT_EQ(msg.lParam, 2) << "off, through the tray window's own default handling";

    // What may fail: no playback device, and a program that runs as administrator.
    static UserKeyMap map;
    UserAction volume, post;
    ParseUserAction("volume:up", map, volume);
    ParseUserAction("post:A", map, post);
    ForegroundProgram elevated = {target.hwnd(), GetCurrentThreadId(), GetCurrentProcessId(), GetCurrentProcessId(),
                                  "admin.exe", "UserKeyTarget", true, false};
    char outcome[256];
    EXPECT_EQ(DeliverUserAction(elevated, map, post, outcome, sizeof outcome), kRunsElevated);
    EXPECT_STREQ(outcome, "runs as administrator");
    EXPECT_FALSE(PeekMessageA(&msg, target.hwnd(), WM_KEYDOWN, WM_KEYDOWN, PM_REMOVE));
    EXPECT_EQ(DeliverUserAction(elevated, map, volume, outcome, sizeof outcome), kTaken) << "the volume is no program's";
    FakeEffects::playbackDevice = false;
    DeliverUserAction(elevated, map, volume, outcome, sizeof outcome);
    EXPECT_STREQ(outcome, "no playback device");
}

TEST_F(UserKeyRouting, AStoreAppIsMatchedAsTheWindowItsFrameHostsAndAnElevatedProgramGetsNothing) {
    WNDCLASSW wc = {};
    wc.lpfnWndProc = DefWindowProcW;
    wc.hInstance = GetModuleHandleA(NULL);
    wc.lpszClassName = L"ApplicationFrameWindow";
    RegisterClassW(&wc);
    wc.lpszClassName = L"Windows.UI.Core.CoreWindow";
    RegisterClassW(&wc);
    HWND frame = CreateWindowExW(0, L"ApplicationFrameWindow", L"App", WS_OVERLAPPEDWINDOW | WS_VISIBLE, 0, 0, 200, 100,
                                 NULL, NULL, wc.hInstance, NULL);
    HWND app = CreateWindowExW(0, L"Windows.UI.Core.CoreWindow", L"", WS_CHILD | WS_VISIBLE, 0, 0, 200, 100, frame, NULL,
                               wc.hInstance, NULL);
    FakeEffects::foreground = frame;
    Write(machine, "[Store app]\nClass=Windows.UI.Core.CoreWindow\nKey6=post:Space\n");
    UseUserKeyMapFiles(machine.c_str(), user.c_str());
    RouteKey(NULL, 6);
    MSG msg;
    EXPECT_TRUE(PeekMessageA(&msg, app, WM_KEYDOWN, WM_KEYDOWN, PM_REMOVE));
    EXPECT_EQ(msg.wParam, (WPARAM)VK_SPACE);
    FakeEffects::integrity = SECURITY_MANDATORY_SYSTEM_RID;
    RouteKey(NULL, 6);
    EXPECT_FALSE(PeekMessageA(&msg, app, WM_KEYDOWN, WM_KEYDOWN, PM_REMOVE)) << "it runs with more rights";
    EXPECT_TRUE(FakeEffects::CallsStartingWith("SetCursorPos").empty()) << "the key was taken all the same";
    DestroyWindow(frame);
}

TEST_F(UserKeyRouting, SkippedLinesAndDeliveredKeysAreTraced) {
    char temp[MAX_PATH];
    GetTempPathA(sizeof temp, temp);
    std::string folder = std::string(temp) + "telvix keymaps trace";
    std::string log = folder + "\\" + kTraceFileName;
    DeleteFileA(log.c_str());
    StartTrace(folder.c_str());
    Write(machine, "[Target]\nClass=UserKeyTarget\nKey6=post:Space\nKey7=post:Nope\n");
    UseUserKeyMapFiles(machine.c_str(), user.c_str());
    HandleKeyEvent(NULL, 6, 1000);
    StartTrace(nullptr);
    HANDLE file = CreateFileA(log.c_str(), GENERIC_READ, FILE_SHARE_READ, NULL, OPEN_EXISTING, 0, NULL);
    char text[4096] = "";
    DWORD length = 0;
    ReadFile(file, text, sizeof text - 1, &length, NULL);
    CloseHandle(file);
    DeleteFileA(log.c_str());
    RemoveDirectoryA(folder.c_str());
    std::string trace(text, length);
    EXPECT_NE(trace.find(machine + " line 4 skipped: unknown key name"), std::string::npos) << trace;
    EXPECT_NE(trace.find(machine + " read, 1 sections"), std::string::npos) << trace;
    EXPECT_NE(trace.find("route: 6 to KeyMaps.ini, Target: Space"), std::string::npos) << trace;
}
