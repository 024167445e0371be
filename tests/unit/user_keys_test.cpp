// The user's key maps (KeyMaps.ini): the format read line by line, the lookup
// by the foreground window, the user's file over the machine's, and the keys
// reaching a real window of this process through the poll cycle's routing.
#include <gtest/gtest.h>
#include <string>
#include <vector>
#include "apps/tv_app_table.h"
#include "keyref/user_keys_page.h"
#include "platform/trace.h"
#include "routing/pointer.h"
#include "routing/poll_cycle.h"
#include "routing/tray_hooks.h"
#include "routing/user_key_route.h"
#include "routing/user_keys.h"
#include "tests/support/effects_recorder.h"
#include "tests/support/test_windows.h"

namespace {

struct Parsed {
    UserKeyMap map;
    std::vector<std::string> skipped; // "line: why"
};

void Collect(void *context, int line, const char *why) {
    static_cast<Parsed *>(context)->skipped.push_back(std::to_string(line) + ": " + why);
}

// The map must outlive the test's stack frame comfortably: 90 KB.
Parsed &Parse(const std::string &text) {
    static Parsed parsed;
    parsed.map.count = 0;
    parsed.skipped.clear();
    ParseUserKeyMap(text.data(), text.size(), parsed.map, Collect, &parsed);
    return parsed;
}

// "[name] P=process C=class 27=post:VK_SPACE ..." per section, "|" between.
std::string Dump(const UserKeyMap &map) {
    std::string out;
    for (int i = 0; i < map.count; ++i) {
        const UserKeySection &s = map.sections[i];
        if (i) out += " | ";
        out += "[" + std::string(s.name) + "]";
        if (s.process[0]) out += " P=" + std::string(s.process);
        if (s.windowClass[0]) out += " C=" + std::string(s.windowClass);
        for (int k = 0; k < kUserKeyCount; ++k) {
            if (s.keys[k].kind == kUserNone) continue;
            char action[64];
            FormatUserAction(s.keys[k], action, sizeof action);
            out += " " + std::to_string(k) + "=" + action;
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
         "6: unknown action (post:, chord: or app:); 7: unknown key name; 8: empty value; 9: empty part of a chord; "
         "10: unknown modifier (Ctrl, Alt, Shift, Win); 11: keys 18, 20 and 21 keep their own roles; "
         "12: not understood; 13: unknown key name; 14: unknown command; 15: unknown setting (Process, Class or KeyN); "
         "17: key mapped twice in this section"},
        {"binary and a 5,000-character line",
         std::string("[S]\nClass=C\nKey1=post:\x01\x02\x00\xFF\n", 27) + std::string(5000, 'x') + "\nKey2=post:B\n",
         "[S] C=C 2=post:B", "3: not text; 4: line too long"},
        {"a section that names no window is not used; its lines are not reported again",
         "[Every window]\nKey1=post:A\n[Ok]\nProcess=ok.exe\nKey1=post:B\n[]\nKey1=post:C\n",
         "[Ok] P=ok.exe 1=post:B", "1: section names neither Process= nor Class=: not used; 6: section without a name"},
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

    std::string big = "[S]\nClass=C\n" + std::string(kUserMapFileBytes, ';') + "\nKey1=post:A\n";
    Parsed &large = Parse(big);
    ASSERT_EQ(large.map.count, 1);
    EXPECT_EQ(large.map.sections[0].keys[1].kind, kUserNone) << "a line after 64 KB is not read";
}

TEST(UserKeyMapFormat, TheInstalledExamplesReadCleanlyOnceSwitchedOn) {
    std::string path = "Z:" SOURCE_DIR "/packaging/KeyMaps.ini";
    for (char &c : path) if (c == '/') c = '\\';
    HANDLE file = CreateFileA(path.c_str(), GENERIC_READ, FILE_SHARE_READ, NULL, OPEN_EXISTING, 0, NULL);
    ASSERT_NE(file, INVALID_HANDLE_VALUE) << path;
    static char text[kUserMapFileBytes];
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
        SCOPED_TRACE(s.name);
        EXPECT_TRUE(s.process[0]);
        for (RemoteKeyCode code : {14, 16, 26, 27, 29, 30, 31}) EXPECT_NE(s.keys[code].kind, kUserNone) << code;
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
    UserKeyMap &map = Parse("[ByProcess]\nProcess=player.exe\nKey1=post:A\n"
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
        {"", "PlayerClass", 1, ""},           {"player.exe", "", -1, ""},
        {"player.exe", "", 65536, ""},
    };
    for (const Case &c : cases) {
        SCOPED_TRACE(std::string(c.process) + "/" + c.windowClass + " key " + std::to_string(c.code));
        const UserAction *action = FindUserKeyAction(map, c.process, c.windowClass, c.code);
        char text[64] = "";
        if (action) FormatUserAction(*action, text, sizeof text);
        EXPECT_STREQ(text, c.action);
    }
}

TEST(UserKeyMapLookup, TheUsersSectionReplacesTheMachinesOfTheSameName) {
    static UserKeyMap machine, user, merged;
    machine = Parse("[One]\nClass=A\nKey1=post:A\n[Two]\nClass=B\nKey1=post:B\n").map;
    user = Parse("[two]\nClass=B\nKey2=app:MEDIA_STOP\n[Three]\nClass=C\nKey3=post:C\n").map;
    MergeUserKeyMaps(machine, user, merged);
    EXPECT_EQ(Dump(merged), "[two] C=B 2=app:MEDIA_STOP | [Three] C=C 3=post:C | [One] C=A 1=post:A");
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
        pollState = RepeatState{};
        for (const TvApp &app : kTvApps) app.descriptor->active = 0;
        promptOpen = 0;
        pointerAcceleration = 0;
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

    DeleteFileA(user.c_str());
    FakeEffects::tick += 1000;
    RouteKey(NULL, 6);
    EXPECT_EQ(Posted(WM_KEYDOWN), "");
    EXPECT_EQ(FakeEffects::CallsStartingWith("SetCursorPos").size(), 3u);
}

TEST_F(UserKeyRouting, AHeldKeyRepeatsAsForThePointerEveryEventPassing) {
    Write(machine, kTargetMap);
    UseUserKeyMapFiles(machine.c_str(), user.c_str());
    for (int i = 0; i < 12; ++i) HandleKeyEvent(NULL, 6, 5000 + 65 * i);
    int downs = 0;
    MSG msg;
    while (PeekMessageA(&msg, target.hwnd(), WM_KEYDOWN, WM_KEYDOWN, PM_REMOVE)) ++downs;
    EXPECT_EQ(downs, 12);
    EXPECT_EQ(pollState.repeatCount, 11);
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
