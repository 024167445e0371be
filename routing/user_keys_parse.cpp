#include "routing/user_keys.h"
#include <stdio.h>
#include <string.h>

namespace {

struct Named {
    const char *name;
    BYTE value;
};

// Virtual keys by their names without "VK_"; the first name of a value is the
// one written back. Letters, digits, F1..F24 and NUMPAD0..9 are formed, not listed.
const Named kVirtualKeys[] = {
    {"BACK", 0x08}, {"BACKSPACE", 0x08}, {"TAB", 0x09}, {"CLEAR", 0x0C}, {"RETURN", 0x0D}, {"ENTER", 0x0D},
    {"PAUSE", 0x13}, {"CAPITAL", 0x14}, {"ESCAPE", 0x1B}, {"ESC", 0x1B}, {"SPACE", 0x20}, {"PRIOR", 0x21},
    {"PAGEUP", 0x21}, {"NEXT", 0x22}, {"PAGEDOWN", 0x22}, {"END", 0x23}, {"HOME", 0x24}, {"LEFT", 0x25},
    {"UP", 0x26}, {"RIGHT", 0x27}, {"DOWN", 0x28}, {"SELECT", 0x29}, {"PRINT", 0x2A}, {"EXECUTE", 0x2B},
    {"SNAPSHOT", 0x2C}, {"INSERT", 0x2D}, {"DELETE", 0x2E}, {"HELP", 0x2F}, {"LWIN", 0x5B}, {"RWIN", 0x5C},
    {"APPS", 0x5D}, {"SLEEP", 0x5F}, {"MULTIPLY", 0x6A}, {"ADD", 0x6B}, {"SEPARATOR", 0x6C},
    {"SUBTRACT", 0x6D}, {"DECIMAL", 0x6E}, {"DIVIDE", 0x6F}, {"NUMLOCK", 0x90}, {"SCROLL", 0x91},
    {"BROWSER_BACK", 0xA6}, {"BROWSER_FORWARD", 0xA7}, {"BROWSER_REFRESH", 0xA8}, {"BROWSER_STOP", 0xA9},
    {"BROWSER_SEARCH", 0xAA}, {"BROWSER_FAVORITES", 0xAB}, {"BROWSER_HOME", 0xAC}, {"VOLUME_MUTE", 0xAD},
    {"VOLUME_DOWN", 0xAE}, {"VOLUME_UP", 0xAF}, {"MEDIA_NEXT_TRACK", 0xB0}, {"MEDIA_PREV_TRACK", 0xB1},
    {"MEDIA_STOP", 0xB2}, {"MEDIA_PLAY_PAUSE", 0xB3}, {"LAUNCH_MAIL", 0xB4}, {"LAUNCH_MEDIA_SELECT", 0xB5},
    {"LAUNCH_APP1", 0xB6}, {"LAUNCH_APP2", 0xB7}, {"OEM_1", 0xBA}, {"OEM_PLUS", 0xBB}, {"OEM_COMMA", 0xBC},
    {"OEM_MINUS", 0xBD}, {"OEM_PERIOD", 0xBE}, {"OEM_2", 0xBF}, {"OEM_3", 0xC0}, {"OEM_4", 0xDB},
    {"OEM_5", 0xDC}, {"OEM_6", 0xDD}, {"OEM_7", 0xDE}, {"OEM_8", 0xDF}, {"OEM_102", 0xE2}, {"PLAY", 0xFA},
    {"ZOOM", 0xFB},
};

// WM_APPCOMMAND commands by their names without "APPCOMMAND_".
const Named kAppCommands[] = {
    {"BROWSER_BACKWARD", 1}, {"BROWSER_FORWARD", 2}, {"BROWSER_REFRESH", 3}, {"BROWSER_STOP", 4},
    {"BROWSER_SEARCH", 5}, {"BROWSER_FAVORITES", 6}, {"BROWSER_HOME", 7}, {"VOLUME_MUTE", 8},
    {"VOLUME_DOWN", 9}, {"VOLUME_UP", 10}, {"MEDIA_NEXTTRACK", 11}, {"MEDIA_PREVIOUSTRACK", 12},
    {"MEDIA_STOP", 13}, {"MEDIA_PLAY_PAUSE", 14}, {"LAUNCH_MAIL", 15}, {"LAUNCH_MEDIA_SELECT", 16},
    {"LAUNCH_APP1", 17}, {"LAUNCH_APP2", 18}, {"BASS_DOWN", 19}, {"BASS_BOOST", 20}, {"BASS_UP", 21},
    {"TREBLE_DOWN", 22}, {"TREBLE_UP", 23}, {"MICROPHONE_VOLUME_MUTE", 24}, {"MICROPHONE_VOLUME_DOWN", 25},
    {"MICROPHONE_VOLUME_UP", 26}, {"HELP", 27}, {"FIND", 28}, {"NEW", 29}, {"OPEN", 30}, {"CLOSE", 31},
    {"SAVE", 32}, {"PRINT", 33}, {"UNDO", 34}, {"REDO", 35}, {"COPY", 36}, {"CUT", 37}, {"PASTE", 38},
    {"REPLY_TO_MAIL", 39}, {"FORWARD_MAIL", 40}, {"SEND_MAIL", 41}, {"SPELL_CHECK", 42},
    {"DICTATE_OR_COMMAND_CONTROL_TOGGLE", 43}, {"MIC_ON_OFF_TOGGLE", 44}, {"CORRECTION_LIST", 45},
    {"MEDIA_PLAY", 46}, {"MEDIA_PAUSE", 47}, {"MEDIA_RECORD", 48}, {"MEDIA_FAST_FORWARD", 49},
    {"MEDIA_REWIND", 50}, {"MEDIA_CHANNEL_UP", 51}, {"MEDIA_CHANNEL_DOWN", 52}, {"DELETE", 53},
    {"DWM_FLIP3D", 54},
};

// Chord modifiers, in the order they are pressed.
const Named kModifiers[] = {{"Ctrl", kModCtrl}, {"Control", kModCtrl}, {"Alt", kModAlt},
                            {"Shift", kModShift}, {"Win", kModWin}};

const size_t kMaxLine = 1023;

bool LookUp(const Named *table, size_t count, const char *name, BYTE *value) {
    for (size_t i = 0; i < count; ++i)
        if (lstrcmpiA(table[i].name, name) == 0) {
            *value = table[i].value;
            return true;
        }
    return false;
}

const char *NameOf(const Named *table, size_t count, BYTE value) {
    for (size_t i = 0; i < count; ++i)
        if (table[i].value == value) return table[i].name;
    return nullptr;
}

bool StartsWithNoCase(const char *text, const char *prefix) {
    return _strnicmp(text, prefix, strlen(prefix)) == 0;
}

// Trims spaces and tabs in place; returns the first kept character.
char *Trim(char *text) {
    while (*text == ' ' || *text == '\t') ++text;
    size_t n = strlen(text);
    while (n && (text[n - 1] == ' ' || text[n - 1] == '\t')) text[--n] = 0;
    return text;
}

// 1..2 digits in [min, max] and nothing else; base 10 or 16.
bool ParseSmallNumber(const char *text, int base, int min, int max, int *value) {
    int n = 0, digits = 0;
    for (; *text; ++text, ++digits) {
        int d;
        if (*text >= '0' && *text <= '9') d = *text - '0';
        else if (base == 16 && (*text | 0x20) >= 'a' && (*text | 0x20) <= 'f') d = (*text | 0x20) - 'a' + 10;
        else return false;
        if (digits == 2) return false;
        n = n * base + d;
    }
    if (digits == 0 || n < min || n > max) return false;
    *value = n;
    return true;
}

bool ParseModifier(const char *text, BYTE *bit) {
    return LookUp(kModifiers, sizeof kModifiers / sizeof *kModifiers, text, bit);
}

// The value after "post:", "chord:" or "app:"; null with `why` set otherwise.
const char *ParseAction(char *value, UserAction *action) {
    char *colon = strchr(value, ':');
    if (!colon) return "unknown action (post:, chord: or app:)";
    *colon = 0;
    char *kind = Trim(value), *rest = Trim(colon + 1);
    if (!*rest) return "empty value";
    UserAction a = {};
    if (lstrcmpiA(kind, "post") == 0) {
        a.kind = kUserPost;
        if (!ParseVirtualKey(rest, &a.vk)) return "unknown key name";
    } else if (lstrcmpiA(kind, "chord") == 0) {
        a.kind = kUserChord;
        char *token = rest;
        for (;;) {
            char *plus = strchr(token, '+');
            if (plus) *plus = 0;
            char *name = Trim(token);
            if (!*name) return "empty part of a chord";
            if (!plus) {
                if (!ParseVirtualKey(name, &a.vk)) return "unknown key name";
                break;
            }
            BYTE bit;
            if (!ParseModifier(name, &bit)) return "unknown modifier (Ctrl, Alt, Shift, Win)";
            a.modifiers |= bit;
            token = plus + 1;
        }
    } else if (lstrcmpiA(kind, "app") == 0) {
        a.kind = kUserAppCommand;
        if (StartsWithNoCase(rest, "APPCOMMAND_")) rest += 11;
        if (!LookUp(kAppCommands, sizeof kAppCommands / sizeof *kAppCommands, rest, &a.command))
            return "unknown command";
    } else {
        return "unknown action (post:, chord: or app:)";
    }
    *action = a;
    return nullptr;
}

// One file being read: the section being filled and what to do with lines.
struct Reader {
    UserKeyMap &map;
    UserMapReport report;
    void *context;
    int line;
    int added;
    UserKeySection *section; // null outside a usable section
    int sectionLine;
    bool ignoring;           // inside a section that is not read: its lines are skipped quietly
    bool overflowReported;

    void Skip(const char *why) const {
        if (report) report(context, line, why);
    }

    // A section without Process= or Class= would match every window: dropped.
    void EndSection() {
        if (section && !section->process[0] && !section->windowClass[0]) {
            if (report) report(context, sectionLine, "section names neither Process= nor Class=: not used");
            --map.count;
            --added;
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
        if (strlen(name) >= sizeof section->name) return Skip("section name too long");
        if (added == kUserSectionsPerFile || map.count == (int)(sizeof map.sections / sizeof *map.sections)) {
            if (!overflowReported) Skip("more than 64 sections: the rest is not read");
            overflowReported = true;
            return;
        }
        section = &map.sections[map.count++];
        *section = UserKeySection{};
        lstrcpynA(section->name, name, sizeof section->name);
        sectionLine = line;
        ++added;
        ignoring = false;
    }

    void Setting(char *text) {
        char *equals = strchr(text, '=');
        if (!equals) return Skip("not understood");
        if (!section) {
            if (!ignoring) Skip("outside a section");
            return;
        }
        *equals = 0;
        char *key = Trim(text), *value = Trim(equals + 1);
        if (!*value) return Skip("empty value");
        if (lstrcmpiA(key, "Process") == 0 || lstrcmpiA(key, "Class") == 0) {
            bool isProcess = (key[0] | 0x20) == 'p';
            char *field = isProcess ? section->process : section->windowClass;
            size_t size = isProcess ? sizeof section->process : sizeof section->windowClass;
            if (strlen(value) >= size) return Skip("name too long");
            lstrcpynA(field, value, (int)size);
            return;
        }
        int code;
        if (!StartsWithNoCase(key, "Key")) return Skip("unknown setting (Process, Class or KeyN)");
        if (!ParseSmallNumber(key + 3, 10, 0, kUserKeyCount - 1, &code)) return Skip("unknown key number (0..31)");
        if (code == kPowerKey || code == kKey20 || code == kKey21)
            return Skip("keys 18, 20 and 21 keep their own roles");
        if (section->keys[code].kind != kUserNone) return Skip("key mapped twice in this section");
        UserAction action;
        if (const char *why = ParseAction(value, &action)) return Skip(why);
        section->keys[code] = action;
    }

    void Line(const char *start, size_t length) {
        ++line;
        if (length > kMaxLine) return Skip("line too long");
        char text[kMaxLine + 1];
        for (size_t i = 0; i < length; ++i) {
            unsigned char c = (unsigned char)start[i];
            if ((c < 0x20 && c != '\t') || c == 0x7F) return Skip("not text");
            text[i] = (char)c;
        }
        text[length] = 0;
        if (char *comment = strchr(text, ';')) *comment = 0;
        char *content = Trim(text);
        if (!*content || *content == '#') return;
        if (*content == '[') return Header(content);
        Setting(content);
    }
};

} // namespace

int ParseUserKeyMap(const char *text, size_t length, UserKeyMap &map, UserMapReport report, void *context) {
    if (length > kUserMapFileBytes) length = kUserMapFileBytes;
    Reader reader{map, report, context, 0, 0, nullptr, 0, false, false};
    size_t pos = 0;
    // A byte-order mark from an editor is no part of the first line.
    if (length >= 3 && memcmp(text, "\xEF\xBB\xBF", 3) == 0) pos = 3;
    while (pos < length) {
        size_t end = pos;
        while (end < length && text[end] != '\n' && text[end] != '\r') ++end;
        reader.Line(text + pos, end - pos);
        pos = end;
        if (pos < length && text[pos] == '\r') ++pos;
        if (pos < length && text[pos] == '\n') ++pos;
    }
    reader.EndSection();
    return reader.added;
}

void MergeUserKeyMaps(const UserKeyMap &machine, const UserKeyMap &user, UserKeyMap &merged) {
    const int capacity = (int)(sizeof merged.sections / sizeof *merged.sections);
    merged.count = 0;
    for (int i = 0; i < user.count && merged.count < capacity; ++i) merged.sections[merged.count++] = user.sections[i];
    for (int i = 0; i < machine.count && merged.count < capacity; ++i) {
        bool replaced = false;
        for (int j = 0; j < user.count && !replaced; ++j)
            replaced = lstrcmpiA(user.sections[j].name, machine.sections[i].name) == 0;
        if (!replaced) merged.sections[merged.count++] = machine.sections[i];
    }
}

const UserAction *FindUserKeyAction(const UserKeyMap &map, const char *processName, const char *windowClass,
                                    RemoteKeyCode code) {
    if (code < 0 || code >= kUserKeyCount) return nullptr;
    for (int i = 0; i < map.count; ++i) {
        const UserKeySection &s = map.sections[i];
        if (s.process[0] && lstrcmpiA(s.process, processName) != 0) continue;
        if (s.windowClass[0] && lstrcmpiA(s.windowClass, windowClass) != 0) continue;
        if (s.keys[code].kind != kUserNone) return &s.keys[code];
    }
    return nullptr;
}

bool ParseVirtualKey(const char *text, BYTE *vk) {
    if (StartsWithNoCase(text, "VK_")) text += 3;
    int n;
    if (StartsWithNoCase(text, "0x")) {
        if (!ParseSmallNumber(text + 2, 16, 1, 0xFE, &n)) return false;
    } else if (text[0] && !text[1] && ((text[0] | 0x20) >= 'a' && (text[0] | 0x20) <= 'z')) {
        n = (unsigned char)text[0] & ~0x20;
    } else if (text[0] >= '0' && text[0] <= '9' && !text[1]) {
        n = (unsigned char)text[0];
    } else if ((text[0] | 0x20) == 'f' && ParseSmallNumber(text + 1, 10, 1, 24, &n)) {
        n += VK_F1 - 1;
    } else if (StartsWithNoCase(text, "NUMPAD") && ParseSmallNumber(text + 6, 10, 0, 9, &n) && !text[7]) {
        n += VK_NUMPAD0;
    } else {
        BYTE value;
        if (!LookUp(kVirtualKeys, sizeof kVirtualKeys / sizeof *kVirtualKeys, text, &value)) return false;
        n = value;
    }
    *vk = (BYTE)n;
    return true;
}

void FormatUserAction(const UserAction &action, char *out, size_t size) {
    char key[32];
    BYTE vk = action.vk;
    if ((vk >= 'A' && vk <= 'Z') || (vk >= '0' && vk <= '9')) (void)snprintf(key, sizeof key, "%c", vk);
    else if (vk >= VK_F1 && vk <= VK_F24) (void)snprintf(key, sizeof key, "VK_F%d", vk - VK_F1 + 1);
    else if (vk >= VK_NUMPAD0 && vk <= VK_NUMPAD9) (void)snprintf(key, sizeof key, "VK_NUMPAD%d", vk - VK_NUMPAD0);
    else if (const char *name = NameOf(kVirtualKeys, sizeof kVirtualKeys / sizeof *kVirtualKeys, vk))
        (void)snprintf(key, sizeof key, "VK_%s", name);
    else (void)snprintf(key, sizeof key, "0x%02X", vk);
    switch (action.kind) {
    case kUserPost: (void)snprintf(out, size, "post:%s", key); break;
    case kUserChord: {
        char mods[32] = "";
        for (BYTE bit = kModCtrl; bit <= kModWin; bit = (BYTE)(bit << 1))
            if (action.modifiers & bit) {
                const char *name = NameOf(kModifiers, sizeof kModifiers / sizeof *kModifiers, bit);
                size_t used = strlen(mods);
                (void)snprintf(mods + used, sizeof mods - used, "%s+", name);
            }
        (void)snprintf(out, size, "chord:%s%s", mods, key);
        break;
    }
    case kUserAppCommand: {
        const char *name = NameOf(kAppCommands, sizeof kAppCommands / sizeof *kAppCommands, action.command);
        (void)snprintf(out, size, "app:%s", name ? name : "?");
        break;
    }
    default: (void)snprintf(out, size, "%s", ""); break;
    }
}

bool IsExtendedVirtualKey(BYTE vk) {
    return (vk >= VK_PRIOR && vk <= VK_DOWN) || vk == VK_INSERT || vk == VK_DELETE || vk == VK_LWIN ||
           vk == VK_RWIN || vk == VK_APPS || vk == VK_DIVIDE || vk == VK_NUMLOCK || vk == VK_SNAPSHOT ||
           vk == VK_RCONTROL || vk == VK_RMENU || (vk >= VK_BROWSER_BACK && vk <= VK_LAUNCH_APP2);
}
