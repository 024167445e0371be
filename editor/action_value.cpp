#include "editor/action_value.h"
#include <stdio.h>
#include <stdlib.h>
#include <string.h>

const ActionChoice kVolumeChoices[3] = {{"up", "Louder"}, {"down", "Softer"}, {"mute", "Sound off and on"}};
const ActionChoice kMediaChoices[4] = {
    {"play-pause", "Play or pause"}, {"next", "Next track"}, {"previous", "Previous track"}, {"stop", "Stop"}};
const ActionChoice kPowerChoices[4] = {
    {"sleep", "Sleep"}, {"hibernate", "Hibernate"}, {"monitor-off", "Turn the monitor off"}, {"lock", "Lock"}};

namespace {

// Where a run: value's text goes while it is checked; never one of the files.
UserKeyMap scratch;

// "kind:option" for the kinds whose value is a name of a list.
void ListValue(const ActionFields &f, char *text, size_t size) {
    bool stepped = f.kind == kActionVolume && strcmp(f.option, "mute") != 0 && f.step != kDefaultVolumeStep;
    if (stepped) (void)snprintf(text, size, "%s:%s %d", kUserActionKinds[f.kind].name, f.option, f.step);
    else (void)snprintf(text, size, "%s:%s", kUserActionKinds[f.kind].name, f.option);
}

} // namespace

const char *ActionValueText(const ActionFields &f, char *out, size_t size) {
    if (size) out[0] = 0;
    if (f.kind == kActionNone) return nullptr;
    if (f.kind >= kActionKindCount) return "unknown action";
    ClearKeyMap(scratch);
    char text[1400];
    if (f.kind == kActionPost || f.kind == kActionChord) {
        if (!f.vk) return "Press the key to send.";
        UserAction key = {f.kind, f.vk, (uint16_t)(f.kind == kActionChord ? f.modifiers : 0)};
        FormatUserAction(scratch, key, text, sizeof text);
    } else if (f.kind == kActionRun) {
        if (!f.program[0]) return "Choose the program to start.";
        // The file has no escape: ';' starts a comment, a quote ends the name.
        if (strpbrk(f.program, "\";") || strchr(f.arguments, ';'))
            return "The file cannot hold a semicolon in a command line, nor a quote in a program's name.";
        (void)snprintf(text, sizeof text, "run:\"%s\"%s%s", f.program, f.arguments[0] ? " " : "", f.arguments);
    } else {
        if (!f.option[0]) return "Choose from the list.";
        ListValue(f, text, sizeof text);
    }
    UserAction parsed = {};
    if (const char *why = ParseUserAction(text, scratch, parsed)) return why;
    char formatted[1400];
    FormatUserAction(scratch, parsed, formatted, sizeof formatted);
    if (strlen(formatted) >= size) return "line too long";
    memcpy(out, formatted, strlen(formatted) + 1);
    return nullptr;
}

void ActionFieldsFromValue(const char *value, ActionFields &f) {
    f = ActionFields{};
    f.step = kDefaultVolumeStep;
    ClearKeyMap(scratch);
    UserAction a = {};
    if (!value[0] || ParseUserAction(value, scratch, a)) return;
    f.kind = a.kind;
    if (a.kind == kActionPost || a.kind == kActionChord) {
        f.vk = a.code;
        f.modifiers = (uint8_t)a.arg;
    } else if (a.kind == kActionRun) {
        const char *arguments = "";
        SplitRunCommand(scratch, a, f.program, sizeof f.program, &arguments);
        (void)snprintf(f.arguments, sizeof f.arguments, "%s", arguments);
    } else {
        char text[64];
        kUserActionKinds[a.kind].format(scratch, a, text, sizeof text);
        if (char *blank = strchr(text, ' ')) {
            *blank = 0;
            f.step = (int)strtol(blank + 1, NULL, 10);
        }
        (void)snprintf(f.option, sizeof f.option, "%s", text);
    }
}

bool AppCommandChoice(int command, char *name, size_t nameSize, char *words, size_t wordsSize) {
    if (command <= 0 || command > 255 || !nameSize || !wordsSize) return false;
    char text[64];
    FormatUserAction(scratch, UserAction{kActionApp, (uint8_t)command, 0}, text, sizeof text);
    const char *colon = strchr(text, ':');
    if (!colon || strcmp(colon + 1, "?") == 0) return false;
    (void)snprintf(name, nameSize, "%s", colon + 1);
    (void)snprintf(words, wordsSize, "%s", colon + 1);
    for (char *c = words + 1; *c; ++c) *c = *c == '_' ? ' ' : (char)(*c >= 'A' && *c <= 'Z' ? *c - 'A' + 'a' : *c);
    return true;
}
