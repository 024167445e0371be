// The editor's document and its file: each edit changes its own lines and no
// other byte, in every encoding and line break; a refused edit changes
// nothing; a save replaces the file in one step.
#include <gtest/gtest.h>
#include <windows.h>
#include <algorithm>
#include <functional>
#include <string>
#include <vector>
#include "editor/key_map_save.h"

namespace {

KeyMapDocument doc, machine;
char saved[kKeyMapSavedBytes];

const std::vector<std::string> kLines = {
    "; mes touches \xC3\xA9t\xC3\xA9", "[VLC]  ; the player", "Process=vlc.exe", "Key1=post:A ; play", "key1 = post:B",
    "", "; the next one", "[All]", "Process=*", "Key27=volume:up"};

// The lines in `encoding`, made by the system's own conversions.
std::string Bytes(const std::vector<std::string> &lines, const char *br, KeyMapEncoding encoding) {
    std::string utf8, out = encoding == kEncodingUtf8Bom ? "\xEF\xBB\xBF" : encoding == kEncodingUtf16Le ? "\xFF\xFE"
                                                           : encoding == kEncodingUtf16Be ? "\xFE\xFF" : "";
    for (const std::string &l : lines) utf8 += l + br;
    if (encoding == kEncodingUtf8 || encoding == kEncodingUtf8Bom) return out + utf8;
    std::wstring wide(utf8.size(), 0);
    wide.resize(MultiByteToWideChar(CP_UTF8, 0, utf8.data(), (int)utf8.size(), &wide[0], (int)wide.size()));
    for (wchar_t c : wide) out += encoding == kEncodingUtf16Be ? std::string{char(c >> 8), char(c)} : std::string{char(c), char(c >> 8)};
    if (encoding != kEncodingAnsi) return out;
    out.resize(wide.size() * 2);
    out.resize(WideCharToMultiByte(CP_ACP, 0, wide.data(), (int)wide.size(), &out[0], (int)out.size(), 0, 0));
    return out;
}

std::string Saved(const KeyMapDocument &d, const char **why) {
    return std::string(saved, EncodeKeyMapBytes(d, saved, sizeof saved, Utf8ToAcp, why));
}

bool Load(KeyMapDocument &d, const std::string &bytes) {
    return LoadKeyMapDocument(d, bytes.data(), bytes.size(), AnsiToUtf8Acp, Utf8ToAcp);
}

} // namespace

TEST(KeyMapDocument, EditsChangeOnlyTheirLinesInEveryEncodingAndRefusalsNothing) {
    struct Case {
        const char *what;
        std::function<bool()> edit;
        size_t from, count; // the lines replaced by `with`; none at all: refused
        std::vector<std::string> with;
    };
    const Case cases[] = {
        {"a key set: its line rewritten, comment kept, its duplicate gone",
         [] { return SetKeyLine(doc, 0, 1, kKeyPress, " post:VK_SPACE "); }, 3, 2, {"Key1=post:VK_SPACE ; play"}},
        {"a new key after the section's last setting, before the next one's comments",
         [] { return SetKeyLine(doc, 0, 5, kKeyPress, "chord:Ctrl+Right"); }, 5, 0, {"Key5=chord:Ctrl+Right"}},
        {"long press", [] { return SetKeyLine(doc, 1, 27, kKeyLong, "media:next"); }, 10, 0, {"Key27.long=media:next"}},
        {"no repeat", [] { return SetKeyLine(doc, 1, 27, kKeyRepeat, "no"); }, 10, 0, {"Key27.repeat=no"}},
        {"a key removed", [] { return SetKeyLine(doc, 1, 27, kKeyPress, ""); }, 9, 1, {}},
        {"a section added", [] { return AddSection(doc, "Player", "player.exe", "") == 2; }, 10, 0,
         {"", "[Player]", "Process=player.exe"}},
        {"renamed", [] { return RenameSection(doc, 0, "Video"); }, 1, 1, {"[Video]  ; the player"}},
        {"removed, comments within", [] { return RemoveSection(doc, 0); }, 1, 6, {}},
        {"copied from the machine's file", [] { return CopySection(doc, machine, 0) == 2; }, 10, 0,
         {"", "[MPC] ; \xC3\xA9", "Process=mpc.exe", "Key3=post:C"}},
        {"a value the parser refuses", [] { return SetKeyLine(doc, 0, 2, kKeyPress, "post:VK_NOPE"); }, 0, 0, {}},
        {"a fixed key", [] { return SetKeyLine(doc, 0, 18, kKeyPress, "post:A"); }, 0, 0, {}},
        {"a comment in a value", [] { return SetKeyLine(doc, 0, 2, kKeyPress, "post:A ;x"); }, 0, 0, {}},
        {"a line break in a value", [] { return SetKeyLine(doc, 0, 2, kKeyPress, "post:A\r\nKey3=post:B"); }, 0, 0, {}},
        {"a name taken", [] { return AddSection(doc, "vlc", "v.exe", "") >= 0 || RenameSection(doc, 1, "VLC"); }, 0, 0, {}},
        {"no section", [] { return SetKeyLine(doc, 2, 1, kKeyPress, "post:A") || RemoveSection(doc, -1); }, 0, 0, {}},
    };
    const KeyMapEncoding encodings[] = {kEncodingAnsi, kEncodingUtf8, kEncodingUtf8Bom, kEncodingUtf16Le, kEncodingUtf16Be};
    const std::string mpc = "[MPC] ; \xC3\xA9\nProcess=mpc.exe\nKey3=post:C\n; the next\n";
    LoadKeyMapDocument(machine, mpc.data(), mpc.size(), nullptr);
    for (const char *br : {"\r\n", "\n"})
        for (KeyMapEncoding encoding : encodings)
            for (const Case &c : cases) {
                SCOPED_TRACE(testing::Message() << c.what << ", encoding " << encoding << ", " << strlen(br));
                ASSERT_TRUE(Load(doc, Bytes(kLines, br, encoding)));
                ASSERT_EQ(doc.encoding, encoding);
                std::vector<std::string> expected = kLines;
                expected.erase(expected.begin() + c.from, expected.begin() + c.from + c.count);
                expected.insert(expected.begin() + c.from, c.with.begin(), c.with.end());
                bool refused = !c.count && c.with.empty();
                EXPECT_EQ(c.edit(), !refused);
                EXPECT_EQ(doc.modified, !refused);
                const char *why;
                EXPECT_EQ(Saved(doc, &why), Bytes(expected, br, encoding));
            }

    // A character the code page lacks fails the save of an ANSI file; a new file is UTF-8, CRLF.
    const char *why = nullptr;
    ASSERT_TRUE(Load(doc, Bytes(kLines, "\r\n", kEncodingAnsi)));
    ASSERT_TRUE(SetKeyLine(doc, 0, 2, kKeyPress, "run:\xE6\x97\xA5.exe"));
    EXPECT_EQ(Saved(doc, &why), "");
    EXPECT_STREQ(why, "a character has no form in the file's encoding, the system's code page (ANSI)");
    NewKeyMapDocument(doc);
    EXPECT_EQ(AddSection(doc, "\xC3\xA9", "*", ""), 0);
    EXPECT_EQ(Saved(doc, &why), "[\xC3\xA9]\r\nProcess=*\r\n");

    // Cut at 64 KB: shown, never saved nor edited (the tail would be lost).
    std::string big = "[S]\nProcess=s.exe\n" + std::string(kKeyMapFileBytes, ';') + "\nKey1=post:A\n";
    ASSERT_TRUE(Load(doc, big));
    EXPECT_TRUE(doc.cut);
    EXPECT_FALSE(SetKeyLine(doc, 0, 2, kKeyPress, "post:B"));
    EXPECT_EQ(Saved(doc, &why), "");
    EXPECT_EQ(doc.problems[0].line, 0);
}

TEST(KeyMapFile, SavedThroughATemporaryFileThatReplacesItInOneStep) {
    wchar_t root[MAX_PATH];
    GetTempPathW(MAX_PATH, root);
    std::wstring folder = std::wstring(root) + L"rk-save-\x00E9" + std::to_wstring(GetCurrentProcessId());
    std::wstring path = folder + L"\\sub\\KeyMaps.ini";
    auto files = [&] {
        std::vector<std::wstring> names;
        WIN32_FIND_DATAW found;
        HANDLE find = FindFirstFileW((folder + L"\\sub\\*").c_str(), &found);
        for (bool more = find != INVALID_HANDLE_VALUE; more; more = FindNextFileW(find, &found))
            if (found.cFileName[0] != L'.') names.push_back(found.cFileName);
        if (find != INVALID_HANDLE_VALUE) FindClose(find);
        std::sort(names.begin(), names.end());
        return names;
    };
    unsigned long error;
    char why[200] = "";
    EXPECT_EQ(ReadKeyMapFile(path.c_str(), doc, &error), kKeyMapFileMissing);
    ASSERT_EQ(AddSection(doc, "P", "p.exe", ""), 0);
    EXPECT_TRUE(SaveKeyMapFile(path.c_str(), doc, why, sizeof why)) << why << " (folder made)";
    ASSERT_TRUE(SetKeyLine(doc, 0, 1, kKeyPress, "post:A"));
    EXPECT_TRUE(SaveKeyMapFile(path.c_str(), doc, why, sizeof why)) << why << " (replaced)";
    EXPECT_FALSE(doc.modified);
    EXPECT_EQ(files(), std::vector<std::wstring>{L"KeyMaps.ini"});
    ASSERT_EQ(ReadKeyMapFile(path.c_str(), machine, &error), kKeyMapFileRead);
    EXPECT_EQ(std::string(machine.text, machine.length), "[P]\r\nProcess=p.exe\r\nKey1=post:A\r\n");

    // A folder where the file should be: refused, nothing left behind, and never overwritten when read.
    std::wstring blocked = folder + L"\\sub\\Blocked";
    CreateDirectoryW(blocked.c_str(), NULL);
    EXPECT_FALSE(SaveKeyMapFile(blocked.c_str(), doc, why, sizeof why));
    EXPECT_STRNE(why, "");
    EXPECT_EQ(files(), (std::vector<std::wstring>{L"Blocked", L"KeyMaps.ini"}));
    EXPECT_EQ(ReadKeyMapFile(blocked.c_str(), doc, &error), kKeyMapFileUnreadable);
    EXPECT_FALSE(SaveKeyMapFile(blocked.c_str(), doc, why, sizeof why));

    RemoveDirectoryW(blocked.c_str());
    DeleteFileW(path.c_str());
    RemoveDirectoryW((folder + L"\\sub").c_str());
    RemoveDirectoryW(folder.c_str());
}
