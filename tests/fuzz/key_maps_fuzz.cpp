// KeyMaps.ini from any bytes: decoded as the tray program reads a file, then
// parsed. Every reported line lies within the text, every section within the
// limits, every text of a section terminated inside its pool; a lookup of
// any key runs. Round trip: the map written back as a file and parsed again
// is the same map.
#include <stdint.h>
#include <string.h>
#include <string>
#include <vector>
#include "keymaps/key_map_file.h"
#include "tests/fuzz/fuzz_check.h"

namespace {

struct LineCheck {
    size_t length;
    int lines;
};

void CheckLine(void *context, const KeyMapLine &line) {
    LineCheck &check = *(LineCheck *)context;
    ++check.lines;
    FUZZ_CHECK(line.begin <= line.end && line.end <= check.length);
    FUZZ_CHECK(line.role <= kLineIgnored);
    FUZZ_CHECK((line.role == kLineSkipped) == (line.skipped != nullptr));
    FUZZ_CHECK(line.key >= -1 && line.key < kKeyMapKeys);
}

// A text of the pool, checked to end inside it.
std::string Text(const UserKeyMap &map, uint16_t at) {
    const char *text = KeyMapText(map, at);
    if (at == 0) return text;
    FUZZ_CHECK(text >= map.pool && text < map.pool + kKeyMapPoolBytes);
    FUZZ_CHECK(memchr(text, 0, (size_t)(map.pool + kKeyMapPoolBytes - text)) != nullptr);
    return text;
}

void CheckMap(const UserKeyMap &map) {
    FUZZ_CHECK(map.count >= 0 && map.count <= kKeyMapSectionsPerFile);
    FUZZ_CHECK(map.poolUsed <= kKeyMapPoolBytes);
    for (int i = 0; i < map.count; ++i) {
        const UserKeySection &s = map.sections[i];
        FUZZ_CHECK(!Text(map, s.name).empty());
        Text(map, s.process);
        Text(map, s.windowClass);
        for (int key = 0; key < kKeyMapKeys; ++key) {
            for (const UserAction &a : {s.keys[key], s.longKeys[key]}) {
                FUZZ_CHECK(a.kind < kActionKindCount);
                if (a.kind == kActionRun) Text(map, a.arg);
                char words[512];
                DescribeUserAction(map, a, words, sizeof words);
                FUZZ_CHECK(memchr(words, 0, sizeof words) != nullptr);
            }
        }
    }
}

std::string Value(const UserKeyMap &map, const UserAction &action) {
    char value[2048];
    FormatUserAction(map, action, value, sizeof value);
    FUZZ_CHECK(memchr(value, 0, sizeof value) != nullptr);
    return value;
}

// The map as a file: each section's header, names and keys.
std::string Write(const UserKeyMap &map) {
    std::string out;
    for (int i = 0; i < map.count; ++i) {
        const UserKeySection &s = map.sections[i];
        out += "[" + Text(map, s.name) + "]\n";
        if (s.everywhere) out += "Process=*\n";
        if (s.process) out += "Process=" + Text(map, s.process) + "\n";
        if (s.windowClass) out += "Class=" + Text(map, s.windowClass) + "\n";
        for (int key = 0; key < kKeyMapKeys; ++key) {
            std::string n = "Key" + std::to_string(key);
            if (s.keys[key].kind != kActionNone) out += n + "=" + Value(map, s.keys[key]) + "\n";
            if (s.longKeys[key].kind != kActionNone) out += n + ".long=" + Value(map, s.longKeys[key]) + "\n";
            if (s.noRepeat & (1u << key)) out += n + ".repeat=no\n";
        }
    }
    return out;
}

// Two maps hold the same sections, texts compared by content.
bool SameAction(const UserKeyMap &a, const UserAction &x, const UserKeyMap &b, const UserAction &y) {
    if (x.kind != y.kind || x.code != y.code) return false;
    if (x.kind == kActionRun) return Text(a, x.arg) == Text(b, y.arg);
    return x.arg == y.arg;
}

void CheckSame(const UserKeyMap &a, const UserKeyMap &b) {
    FUZZ_CHECK(a.count == b.count);
    for (int i = 0; i < a.count; ++i) {
        const UserKeySection &x = a.sections[i], &y = b.sections[i];
        FUZZ_CHECK(Text(a, x.name) == Text(b, y.name));
        FUZZ_CHECK(Text(a, x.process) == Text(b, y.process));
        FUZZ_CHECK(Text(a, x.windowClass) == Text(b, y.windowClass));
        FUZZ_CHECK(x.everywhere == y.everywhere && x.noRepeat == y.noRepeat);
        for (int key = 0; key < kKeyMapKeys; ++key) {
            FUZZ_CHECK(SameAction(a, x.keys[key], b, y.keys[key]));
            FUZZ_CHECK(SameAction(a, x.longKeys[key], b, y.longKeys[key]));
        }
    }
}

UserKeyMap first, second; // 180 KB each: not on the stack

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t *data, size_t size) {
    static std::vector<char> text(kKeyMapFileBytes + 1);
    bool cut = false;
    size_t length = DecodeKeyMapText((const char *)data, size, text.data(), text.size() - 1, nullptr, &cut);
    FUZZ_CHECK(length < text.size());

    LineCheck check = {length, 0};
    int sections = ParseKeyMap(text.data(), length, first, CheckLine, &check);
    FUZZ_CHECK(sections == first.count);
    CheckMap(first);

    // Any key for a program named by the input's first section, and for none.
    const UserKeyMap *maps[] = {&first};
    const char *process = first.count ? KeyMapText(first, first.sections[0].process) : "";
    for (int code = -1; code <= kKeyMapKeys; ++code) {
        UserKeyBinding found = FindKeyBinding(maps, 1, process, "", code);
        if (found.section) FUZZ_CHECK(found.map == &first && code >= 0 && code < kKeyMapKeys);
    }

    std::string written = Write(first);
    if (written.size() > kKeyMapFileBytes) return 0; // a longer file is not read whole: no round trip
    ParseKeyMap(written.data(), written.size(), second, nullptr, nullptr);
    CheckSame(first, second);
    return 0;
}
