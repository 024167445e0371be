// Carries out one row of a key map: keystroke rows (Home Theater, PowerVCR II)
// and command rows (Quick TV, TV@Anywhere).
#include "apps/key_map_rows.h"
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

bool DeliverKeyAction(HWND window, const KeyAction &action) {
    if (action.beforeDelivery) action.beforeDelivery();
    switch (action.form) {
    case KeyForm::Posted: PostKey(window, action.message, action.code, action.lParam); break;
    case KeyForm::Chord: return SendChord(window, action.activate, action.modifiers, action.modifierCount, action.key);
    case KeyForm::ShowToggle: ToggleShow(window); break;
    case KeyForm::Private: PostPrivate(window, action.message, action.code, action.lParam); break;
    case KeyForm::Nothing:
    case KeyForm::Same:
    case KeyForm::Custom: break;
    }
    return true;
}

void RunKeyMap(const KeyRow *rows, size_t count, TvAppDescriptor &app, HWND (*search)(), RemoteKeyCode key) {
    const KeyAction &action = KeyActionFor(rows, count, key, JapanLayout);
    if (action.form == KeyForm::Nothing) return;
    if (action.form == KeyForm::Custom) {
        action.custom(app);
        return;
    }
    HWND window = FindForKeyAction(app, search);
    if (window) DeliverKeyAction(window, action);
}

int TvCommandFor(const TvCommandRow &row, int japanLayout) {
    return japanLayout && row.japanese != kSameCommand ? row.japanese : row.western;
}

const TvCommandRow *CommandRowFor(const KeyMap &map, RemoteKeyCode key) {
    for (size_t i = 0; i < map.commandCount; ++i)
        if (map.commands[i].key == key) return &map.commands[i];
    return nullptr;
}

void SendTvCommand(TvAppDescriptor &app, HWND (*search)(), int command) {
    HWND window = FindForKeyAction(app, search);
    if (window) PostPrivate(window, WM_TVAPP_COMMAND, (WPARAM)command, 0);
}

void RunCommandMap(const KeyMap &map, TvAppDescriptor &app, HWND (*search)(), bool waits, RemoteKeyCode key) {
    const TvCommandRow *row = CommandRowFor(map, key);
    if (!row) return;
    int command = TvCommandFor(*row, JapanLayout);
    if (command == kNoCommand) return;
    SendTvCommand(app, search, command);
    if (waits && row->waitMs) BusyWaitMs(row->waitMs);
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
