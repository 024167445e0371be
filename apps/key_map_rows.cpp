// Carries out one row of a key map: keystroke rows (Home Theater, PowerVCR II)
// and command rows (Quick TV, TV@Anywhere).
#include "apps/key_map_rows.h"
#include <stdio.h>
#include <string.h>
#include "platform/effects.h"
#include "platform/locale.h"

const KeyAction &KeyActionFor(const KeyRow *rows, size_t count, RemoteKeyCode key, int japanLayout) {
    for (size_t i = 0; i < count; ++i) {
        if (rows[i].key != key) continue;
        if (japanLayout && rows[i].japanese.form != KeyForm::Same) return rows[i].japanese;
        return rows[i].western;
    }
    return Nothing;
}

KeyReason DeliverKeyAction(HWND window, const KeyAction &action) {
    if (action.beforeDelivery) action.beforeDelivery();
    switch (action.form) {
    case KeyForm::Posted: return PostKey(window, action.message, action.code, action.lParam);
    case KeyForm::Chord:
        return SendChord(window, action.activate, action.modifiers, action.modifierCount, action.key) ? kTaken
                                                                                                       : kNotInFront;
    case KeyForm::ShowToggle: ToggleShow(window); break;
    case KeyForm::Private: return PostPrivate(window, action.message, action.code, action.lParam);
    case KeyForm::Nothing:
    case KeyForm::Same:
    case KeyForm::Custom: break;
    }
    return kTaken;
}

namespace {

// Appends a keyboard key's name, or its number when it has none here.
void AppendKeyName(char *out, size_t size, unsigned vk) {
    size_t used = strlen(out);
    const KeyboardKey *key = FindKeyboardKey(vk);
    if (key) (void)snprintf(out + used, size - used, "%s", key->name);
    else (void)snprintf(out + used, size - used, "key %d", (int)vk);
}

} // namespace

void DescribeKeyAction(const KeyAction &action, char *out, size_t size) {
    out[0] = 0;
    switch (action.form) {
    case KeyForm::Posted:
        if (action.message == WM_CHAR) (void)snprintf(out, size, "%s", action.code == '\r' ? "Enter" : "a character");
        else AppendKeyName(out, size, (unsigned)action.code);
        break;
    case KeyForm::Chord:
        for (int i = 0; i < action.modifierCount; ++i) {
            AppendKeyName(out, size, action.modifiers[i]);
            (void)strncat(out, "+", size - strlen(out) - 1);
        }
        AppendKeyName(out, size, action.key);
        break;
    case KeyForm::ShowToggle: (void)snprintf(out, size, "%s", "minimise or restore"); break;
    case KeyForm::Private:
        if (action.message == WM_TVAPP_COMMAND) (void)snprintf(out, size, "command %d", (int)action.code);
        else (void)snprintf(out, size, "message %d, %d", (int)action.message, (int)action.code);
        break;
    case KeyForm::Nothing:
    case KeyForm::Same:
    case KeyForm::Custom: break;
    }
}

KeyOutcome RunKeyMap(const KeyRow *rows, size_t count, TvAppDescriptor &app, HWND (*search)(), RemoteKeyCode key) {
    KeyOutcome outcome = {};
    const KeyAction &action = KeyActionFor(rows, count, key, JapanLayout);
    if (action.form == KeyForm::Nothing) {
        outcome.reason = kNothingOnKey;
    } else if (action.form == KeyForm::Custom) {
        action.custom(app, outcome);
    } else if (HWND window = FindForKeyAction(app, search)) {
        outcome.reason = DeliverKeyAction(window, action);
        DescribeKeyAction(action, outcome.sent, sizeof outcome.sent);
    } else {
        outcome.reason = kWindowGone;
    }
    return outcome;
}

int TvCommandFor(const TvCommandRow &row, int japanLayout) {
    return japanLayout && row.japanese != kSameCommand ? row.japanese : row.western;
}

const TvCommandRow *CommandRowFor(const KeyMap &map, RemoteKeyCode key) {
    for (size_t i = 0; i < map.commandCount; ++i)
        if (map.commands[i].key == key) return &map.commands[i];
    return nullptr;
}

KeyOutcome SendTvCommand(TvAppDescriptor &app, HWND (*search)(), int command) {
    KeyOutcome outcome = {};
    HWND window = FindForKeyAction(app, search);
    outcome.reason = window ? PostPrivate(window, WM_TVAPP_COMMAND, (WPARAM)command, 0) : kWindowGone;
    (void)snprintf(outcome.sent, sizeof outcome.sent, "command %d", command);
    return outcome;
}

KeyOutcome RunCommandMap(const KeyMap &map, TvAppDescriptor &app, HWND (*search)(), bool waits, RemoteKeyCode key) {
    const TvCommandRow *row = CommandRowFor(map, key);
    int command = row ? TvCommandFor(*row, JapanLayout) : kNoCommand;
    KeyOutcome outcome = {};
    if (command == kNoCommand) {
        outcome.reason = kNothingOnKey;
        return outcome;
    }
    outcome = SendTvCommand(app, search, command);
    if (waits && row->waitMs) BusyWaitMs(row->waitMs);
    return outcome;
}

DWORD BusyWaitMs(DWORD ms) {
    // A spin, not a sleep: nothing else of ours runs until the time is up.
    // The unsigned difference makes the counter's wrap harmless.
    DWORD start = fx.timeGetTime();
    DWORD elapsed;
    do {
        elapsed = fx.timeGetTime() - start;
    } while (elapsed < ms);
    return elapsed;
}
