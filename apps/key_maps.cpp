// Carries out one row of a keystroke key map (Home Theater, PowerVCR II).
#include "apps/key_map_rows.h"
#include "apps/key_maps.h"
#include "platform/locale.h"

const KeyAction &KeyActionFor(const KeyRow *rows, size_t count, RemoteKeyCode key, int japanLayout) {
    for (size_t i = 0; i < count; ++i) {
        if (rows[i].key != key) continue;
        if (japanLayout && rows[i].japanese.form != KeyForm::Same) return rows[i].japanese;
        return rows[i].western;
    }
    return Nothing;
}

void DeliverKeyAction(HWND window, const KeyAction &action) {
    if (action.beforeDelivery) action.beforeDelivery();
    switch (action.form) {
    case KeyForm::Posted: PostKey(window, action.message, action.code, action.lParam); break;
    case KeyForm::Chord:
        SendChord(window, action.activate, action.modifiers, action.modifierCount, action.key);
        break;
    case KeyForm::ShowToggle: ToggleShow(window); break;
    case KeyForm::Private: PostPrivate(window, action.message, action.code, action.lParam); break;
    case KeyForm::Nothing:
    case KeyForm::Same:
    case KeyForm::Custom: break;
    }
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
