// Reading the file line by line into sections, and the lookup of a key.
#include <string.h>
#include "keymaps/key_map_internal.h"

using namespace keymaps_internal;

namespace {

const size_t kMaxLine = 1023;
const size_t kMaxProcess = 259; // MAX_PATH less its terminator
const size_t kMaxClass = 255;
const size_t kMaxSectionName = 63;
const UserAction kNoAction = {kActionNone, 0, 0};

bool HasFixedRole(int code) {
    return code == 18 || code == 20 || code == 21; // power, and the two control keys
}

// One file being read: the section being filled and what to do with lines.
struct Reader {
    UserKeyMap &map;
    KeyMapLineSink sink;
    void *context;
    KeyMapLine line;
    UserKeySection *section; // null outside a usable section
    KeyMapLine header;      // the current section's header line
    bool ignoring;          // inside a section that is not read: its lines are skipped quietly
    bool overflowReported;

    void Report(KeyMapLineRole role, int key = -1) {
        line.role = role;
        line.key = key;
        line.section = section ? (int)(section - map.sections) : -1;
        if (sink) sink(context, line);
    }
    void Skip(const char *why) {
        line.skipped = why;
        Report(kLineSkipped);
    }

    void EndSection() {
        if (section && !section->process && !section->windowClass && !section->everywhere && sink) {
            KeyMapLine again = header;
            again.role = kLineSkipped;
            again.skipped = "section names neither Process= nor Class=: not used";
            sink(context, again);
        }
        section = nullptr;
    }

    void Header(char *text) {
        EndSection();
        ignoring = true;
        size_t n = strlen(text);
        if (n < 2 || text[n - 1] != ']') return Skip("not understood");
        text[n - 1] = 0;
        char *name = Trim(text + 1);
        if (!*name) return Skip("section without a name");
        if (strlen(name) > kMaxSectionName) return Skip("section name too long");
        if (map.count == kKeyMapSectionsPerFile) {
            if (!overflowReported) {
                overflowReported = true;
                return Skip("more than 64 sections: the rest is not read");
            }
            return Report(kLineIgnored);
        }
        UserKeySection *next = &map.sections[map.count];
        *next = UserKeySection{};
        next->name = AddPoolText(map, name);
        if (!next->name) return Skip("no room left for more text in this file");
        next->headerLine = line.number;
        ++map.count;
        section = next;
        ignoring = false;
        header = line;
        Report(kLineHeader);
        header.section = line.section;
    }

    void Name(bool isProcess, const char *value) {
        if (isProcess && strcmp(value, "*") == 0) {
            section->everywhere = true;
            return Report(kLineProcess);
        }
        if (strlen(value) > (isProcess ? kMaxProcess : kMaxClass)) return Skip("name too long");
        uint16_t at = AddPoolText(map, value);
        if (!at) return Skip("no room left for more text in this file");
        (isProcess ? section->process : section->windowClass) = at;
        Report(isProcess ? kLineProcess : kLineClass);
    }

    void Setting(char *text) {
        char *equals = strchr(text, '=');
        if (!equals) return Skip("not understood");
        if (!section) return ignoring ? Report(kLineIgnored) : Skip("outside a section");
        *equals = 0;
        char *key = Trim(text), *value = Trim(equals + 1);
        if (!*value) return Skip("empty value");
        if (EqualsNoCase(key, "Process") || EqualsNoCase(key, "Class")) return Name((key[0] | 0x20) == 'p', value);
        if (!StartsWithNoCase(key, "Key")) return Skip("unknown setting (Process, Class or KeyN)");
        KeyMapLineRole role = kLineKey;
        if (char *dot = strchr(key, '.')) {
            *dot = 0;
            if (EqualsNoCase(dot + 1, "long")) role = kLineLong;
            else if (EqualsNoCase(dot + 1, "repeat")) role = kLineRepeat;
            else return Skip("unknown setting of a key (KeyN.long or KeyN.repeat)");
        }
        int code;
        if (!ParseSmallNumber(key + 3, 10, 2, 0, kKeyMapKeys - 1, &code)) return Skip("unknown key number (0..31)");
        if (HasFixedRole(code)) return Skip("keys 18, 20 and 21 keep their own roles");
        if (role == kLineRepeat) {
            uint32_t bit = 1u << code;
            bool no = EqualsNoCase(value, "no");
            if (!no && !EqualsNoCase(value, "yes")) return Skip("repeat is yes or no");
            section->noRepeat = no ? section->noRepeat | bit : section->noRepeat & ~bit;
            return Report(role, code);
        }
        UserAction &slot = role == kLineLong ? section->longKeys[code] : section->keys[code];
        if (slot.kind != kActionNone) return Skip("key mapped twice in this section");
        if (const char *why = ParseUserAction(value, map, slot)) return Skip(why);
        Report(role, code);
    }

    void Line(const char *text, size_t begin, size_t end) {
        ++line.number;
        line.begin = begin;
        line.end = end;
        line.skipped = nullptr;
        if (end - begin > kMaxLine) return Skip("line too long");
        char copy[kMaxLine + 1];
        for (size_t i = begin; i < end; ++i) {
            unsigned char c = (unsigned char)text[i];
            if ((c < 0x20 && c != '\t') || c == 0x7F) return Skip("not text");
            copy[i - begin] = (char)c;
        }
        copy[end - begin] = 0;
        if (char *comment = strchr(copy, ';')) *comment = 0;
        char *content = Trim(copy);
        if (!*content || *content == '#') return Report(kLineBlank);
        if (*content == '[') return Header(content);
        Setting(content);
    }
};

bool Matches(const UserKeySection &s, const UserKeyMap &map, const char *process, const char *windowClass) {
    if (s.process && CompareNamesIgnoringCase(KeyMapText(map, s.process), process) != 0) return false;
    return !s.windowClass || CompareNamesIgnoringCase(KeyMapText(map, s.windowClass), windowClass) == 0;
}

} // namespace

void ClearKeyMap(UserKeyMap &map) {
    map.count = 0;
    map.poolUsed = 1;
    map.pool[0] = 0;
}

const char *KeyMapText(const UserKeyMap &map, uint16_t at) {
    return at < map.poolUsed ? map.pool + at : map.pool;
}

uint16_t keymaps_internal::AddPoolText(UserKeyMap &map, const char *text) {
    if (map.poolUsed == 0) ClearKeyMap(map); // zero-initialised
    size_t n = strlen(text);
    if (!n || map.poolUsed + n + 1 > kKeyMapPoolBytes) return 0;
    memcpy(map.pool + map.poolUsed, text, n + 1);
    uint16_t at = (uint16_t)map.poolUsed;
    map.poolUsed += n + 1;
    return at;
}

int ParseKeyMap(const char *text, size_t length, UserKeyMap &map, KeyMapLineSink sink, void *context) {
    ClearKeyMap(map);
    Reader reader{map, sink, context, KeyMapLine{0, 0, 0, kLineBlank, -1, -1, nullptr}, nullptr, {}, false, false};
    if (length > kKeyMapFileBytes) {
        length = kKeyMapFileBytes;
        while (length && text[length - 1] != '\n' && text[length - 1] != '\r') --length;
        if (sink) sink(context, KeyMapLine{0, length, length, kLineSkipped, -1, -1,
                                           "longer than 64 KB: the rest is not read"});
    }
    size_t pos = 0;
    // A byte-order mark from an editor is no part of the first line.
    if (length >= 3 && memcmp(text, "\xEF\xBB\xBF", 3) == 0) pos = 3;
    while (pos < length) {
        size_t end = pos;
        while (end < length && text[end] != '\n' && text[end] != '\r') ++end;
        reader.Line(text, pos, end);
        pos = end;
        if (pos < length && text[pos] == '\r') ++pos;
        if (pos < length && text[pos] == '\n') ++pos;
    }
    reader.EndSection();
    return map.count;
}

void MarkReplacedSections(const UserKeyMap &earlier, UserKeyMap &later) {
    for (int i = 0; i < later.count; ++i) {
        UserKeySection &s = later.sections[i];
        s.replaced = false;
        for (int j = 0; j < earlier.count && !s.replaced; ++j)
            s.replaced = CompareNamesIgnoringCase(KeyMapText(earlier, earlier.sections[j].name),
                                                  KeyMapText(later, s.name)) == 0;
    }
}

UserKeyBinding FindKeyBinding(const UserKeyMap *const *maps, int mapCount, const char *process, const char *windowClass,
                          int code) {
    UserKeyBinding none = {nullptr, nullptr, &kNoAction, &kNoAction, true};
    if (code < 0 || code >= kKeyMapKeys) return none;
    // The sections naming the program first, then those for every program.
    for (int everywhere = 0; everywhere < 2; ++everywhere)
        for (int m = 0; m < mapCount; ++m)
            for (int i = 0; i < maps[m]->count; ++i) {
                const UserKeySection &s = maps[m]->sections[i];
                if (s.replaced || s.everywhere != (everywhere == 1)) continue;
                if (!s.everywhere && !s.process && !s.windowClass) continue; // names nothing: not used
                if (s.keys[code].kind == kActionNone && s.longKeys[code].kind == kActionNone) continue;
                if (!Matches(s, *maps[m], process, windowClass)) continue;
                return UserKeyBinding{maps[m], &s, &s.keys[code], &s.longKeys[code], !(s.noRepeat >> code & 1u)};
            }
    return none;
}
