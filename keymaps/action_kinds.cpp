// The table of action kinds: how each is read, written back and put in words.
#include <stdio.h>
#include <string.h>
#include "keymaps/key_map_internal.h"

using namespace keymaps_internal;

namespace {

// post:VK_SPACE
const char *ParsePost(char *value, UserKeyMap &, UserAction &action) {
    return ParseVirtualKey(value, &action.code) ? nullptr : "unknown key name";
}

void FormatPost(const UserKeyMap &, const UserAction &action, char *out, size_t size) {
    FormatVirtualKey(action.code, out, size);
}

// chord:Ctrl+Shift+Right
const char *ParseChord(char *value, UserKeyMap &, UserAction &action) {
    for (char *token = value;;) {
        char *plus = strchr(token, '+');
        if (plus) *plus = 0;
        char *name = Trim(token);
        if (!*name) return "empty part of a chord";
        if (!plus) return ParseVirtualKey(name, &action.code) ? nullptr : "unknown key name";
        uint8_t bit;
        if (!ParseModifier(name, &bit)) return "unknown modifier (Ctrl, Alt, Shift, Win)";
        action.arg = (uint16_t)(action.arg | bit);
        token = plus + 1;
    }
}

void FormatChord(const UserKeyMap &, const UserAction &action, char *out, size_t size) {
    size_t used = 0;
    out[0] = 0;
    for (uint8_t bit = kModCtrl; bit <= kModWin; bit = (uint8_t)(bit << 1))
        if ((action.arg & bit) && used + 1 < size) {
            (void)snprintf(out + used, size - used, "%s+", ModifierName(bit));
            used = strlen(out);
        }
    FormatVirtualKey(action.code, out + used, size - used);
}

// app:MEDIA_PLAY_PAUSE
const char *ParseApp(char *value, UserKeyMap &, UserAction &action) {
    return ParseAppCommand(value, &action.code) ? nullptr : "unknown command";
}

void FormatApp(const UserKeyMap &, const UserAction &action, char *out, size_t size) {
    const char *name = AppCommandName(action.code);
    CopyText(out, size, name ? name : "?");
}

// run:"C:\Program Files\Player\player.exe" /play
const char *ParseRun(char *value, UserKeyMap &map, UserAction &action) {
    if (value[0] == '"') {
        const char *close = strchr(value + 1, '"');
        if (!close) return "program without its closing quote";
        if (close == value + 1) return "empty value";
        if (close[1] && close[1] != ' ' && close[1] != '\t') return "blank expected after the program's quote";
    }
    action.arg = AddPoolText(map, value);
    return action.arg ? nullptr : "no room left for more text in this file";
}

void FormatRun(const UserKeyMap &map, const UserAction &action, char *out, size_t size) {
    CopyText(out, size, KeyMapText(map, action.arg));
}

// volume:up, volume:down 5, volume:mute
const NamedValue kVolumeOps[] = {{"up", kVolumeUp}, {"down", kVolumeDown}, {"mute", kVolumeMute}};

const char *ParseVolume(char *value, UserKeyMap &, UserAction &action) {
    char *step = strpbrk(value, " \t");
    if (step) *step++ = 0;
    if (!LookUpName(kVolumeOps, 3, value, &action.code)) return "unknown volume action (up, down, mute)";
    int percent = kDefaultVolumeStep;
    if (step && (action.code == kVolumeMute || !ParseSmallNumber(Trim(step), 10, 3, 1, 100, &percent)))
        return "volume step not 1..100";
    action.arg = (uint16_t)percent;
    return nullptr;
}

void FormatVolume(const UserKeyMap &, const UserAction &action, char *out, size_t size) {
    const char *op = NameOfValue(kVolumeOps, 3, action.code);
    if (action.code == kVolumeMute || action.arg == kDefaultVolumeStep) CopyText(out, size, op ? op : "?");
    else (void)snprintf(out, size, "%s %d", op ? op : "?", action.arg);
}

bool VolumeRepeats(const UserAction &action) {
    return action.code != kVolumeMute; // a held Mute must not flicker the sound
}

// A value that is one name of a short list: media:, power:.
struct NamedList {
    const NamedValue *values;
    size_t count;
    const char *unknown; // why a value is not understood
};

template <const NamedList &list> const char *ParseNamed(char *value, UserKeyMap &, UserAction &action) {
    return LookUpName(list.values, list.count, value, &action.code) ? nullptr : list.unknown;
}

template <const NamedList &list>
void FormatNamed(const UserKeyMap &, const UserAction &action, char *out, size_t size) {
    const char *name = NameOfValue(list.values, list.count, action.code);
    CopyText(out, size, name ? name : "?");
}

// media:play-pause: the media keys' own virtual keys.
const NamedValue kMediaKeys[] = {{"play-pause", 0xB3}, {"next", 0xB0}, {"previous", 0xB1}, {"stop", 0xB2}};
const NamedList kMediaList = {kMediaKeys, 4, "unknown media key (play-pause, next, previous, stop)"};

// power:sleep
const NamedValue kPowerOps[] = {
    {"sleep", kPowerSleep}, {"hibernate", kPowerHibernate}, {"monitor-off", kPowerMonitorOff}, {"lock", kPowerLock}};
const NamedList kPowerList = {kPowerOps, 4, "unknown power action (sleep, hibernate, monitor-off, lock)"};

bool AlwaysRepeats(const UserAction &) {
    return true;
}

void FormatNothing(const UserKeyMap &, const UserAction &, char *out, size_t size) {
    CopyText(out, size, "");
}

} // namespace

const UserActionKindRow kUserActionKinds[kActionKindCount] = {
    {kActionNone, "", nullptr, FormatNothing, "%s", nullptr},
    {kActionPost, "post", ParsePost, FormatPost, "%s (posted to the window)", AlwaysRepeats},
    {kActionChord, "chord", ParseChord, FormatChord, "%s (typed)", AlwaysRepeats},
    {kActionApp, "app", ParseApp, FormatApp, "command %s", AlwaysRepeats},
    {kActionRun, "run", ParseRun, FormatRun, "starts %s", nullptr},
    {kActionVolume, "volume", ParseVolume, FormatVolume, "volume %s", VolumeRepeats},
    {kActionMedia, "media", ParseNamed<kMediaList>, FormatNamed<kMediaList>, "%s (media key)", AlwaysRepeats},
    {kActionPower, "power", ParseNamed<kPowerList>, FormatNamed<kPowerList>, "power: %s", nullptr},
};

const char *ParseUserAction(const char *value, UserKeyMap &map, UserAction &action) {
    const char *kUnknown = "unknown action (post:, chord:, app:, run:, volume:, media: or power:)";
    char text[1024];
    if (strlen(value) >= sizeof text) return "line too long";
    CopyText(text, sizeof text, value);
    char *colon = strchr(text, ':');
    if (!colon) return kUnknown;
    *colon = 0;
    char *kind = Trim(text), *rest = Trim(colon + 1);
    if (!*rest) return "empty value";
    for (const UserActionKindRow &row : kUserActionKinds) {
        if (!row.parse || !EqualsNoCase(row.name, kind)) continue;
        UserAction parsed = {row.kind, 0, 0};
        if (const char *why = row.parse(rest, map, parsed)) return why;
        action = parsed;
        return nullptr;
    }
    return kUnknown;
}

void FormatUserAction(const UserKeyMap &map, const UserAction &action, char *out, size_t size) {
    if (action.kind == kActionNone || action.kind >= kActionKindCount) return CopyText(out, size, "");
    const UserActionKindRow &row = kUserActionKinds[action.kind];
    char value[1024];
    row.format(map, action, value, sizeof value);
    (void)snprintf(out, size, "%s:%s", row.name, value);
}

void DescribeUserAction(const UserKeyMap &map, const UserAction &action, char *out, size_t size) {
    if (action.kind >= kActionKindCount) return CopyText(out, size, "");
    const UserActionKindRow &row = kUserActionKinds[action.kind];
    char value[1024];
    row.format(map, action, value, sizeof value);
    // A run: line keeps its text as written; elsewhere "VK_" says nothing to people.
    for (char *vk; action.kind != kActionRun && (vk = strstr(value, "VK_")) != nullptr;)
        memmove(vk, vk + 3, strlen(vk + 3) + 1);
    const char *at = strstr(row.words, "%s");
    (void)snprintf(out, size, "%.*s%s%s", (int)(at - row.words), row.words, value, at + 2);
}

void SplitRunCommand(const UserKeyMap &map, const UserAction &action, char *program, size_t programSize,
                     const char **arguments) {
    const char *text = KeyMapText(map, action.arg);
    const char *end;
    if (text[0] == '"') {
        ++text;
        end = strchr(text, '"');
        if (!end) end = text + strlen(text);
    } else {
        end = strpbrk(text, " \t");
        if (!end) end = text + strlen(text);
    }
    size_t n = (size_t)(end - text);
    if (n >= programSize) n = programSize - 1;
    memcpy(program, text, n);
    program[n] = 0;
    if (*end == '"') ++end;
    while (*end == ' ' || *end == '\t') ++end;
    *arguments = end;
}
