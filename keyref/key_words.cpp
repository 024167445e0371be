#include "keyref/key_words.h"
#include <stdio.h>
#include <windows.h>
#include "apps/tv_app_table.h"
#include "routing/pointer.h"

namespace {

// A key without a name reads as its number, which has no description either.
std::string KeyText(WPARAM vk) {
    const KeyboardKey *k = FindKeyboardKey((unsigned)vk);
    return k ? k->name : Format("virtual key 0x%02X", (unsigned)vk);
}

std::string PostedText(const KeyAction &a) {
    unsigned scan = (unsigned)(a.lParam >> 16) & 0xFF;
    if (a.message == WM_CHAR)
        return a.code == '\r' ? "Enter (character)" : Format("character 0x%02X", (unsigned)a.code);
    std::string text = KeyText(a.code);
    const KeyboardKey *k = FindKeyboardKey((unsigned)a.code);
    if (scan && (!k || k->scan != scan)) text += Format(" (scan code 0x%02X)", scan);
    return text;
}

std::string ChordText(const KeyAction &a) {
    std::string text;
    for (int i = 0; i < a.modifierCount; ++i) text += KeyText(a.modifiers[i]) + "+";
    return text + KeyText(a.key);
}

bool IsDigitKey(const std::string &sends) { return sends.size() == 1 && sends[0] >= '0' && sends[0] <= '9'; }

KeyWords FromKeyRow(const KeyRow *rows, size_t count, int japanLayout, RemoteKeyCode code) {
    KeyWords w;
    const KeyAction &a = KeyActionFor(rows, count, code, japanLayout);
    switch (a.form) {
    case KeyForm::Posted: w.sends = PostedText(a); break;
    case KeyForm::Chord:
        w.sends = ChordText(a);
        w.note = a.activate ? "brought to the front first" : "typed into the window that has the focus";
        break;
    case KeyForm::ShowToggle: w.sends = "minimise or restore"; break;
    case KeyForm::Private: w.sends = Format("message %u, %u", a.message, (unsigned)a.code); break;
    case KeyForm::Custom: w.sends = "its own action"; break;
    case KeyForm::Nothing:
    case KeyForm::Same: break;
    }
    if (a.beforeDelivery) w.note = "after a registry value is set";
    return w;
}

KeyWords FromCommandRow(const TvApp &app, int japanLayout, RemoteKeyCode code) {
    KeyWords w;
    const TvCommandRow *row = CommandRowFor(*app.keyMap, code);
    int command = row ? TvCommandFor(*row, japanLayout) : kNoCommand;
    if (command == kNoCommand) return w;
    w.sends = Format("command %d", command);
    if (command >= 10000 && command <= 10009) w.does = Format("digit %d", command - 10000);
    if (app.commands.waits && row->waitMs) w.note = Format("then Telvix waits %lu ms", (unsigned long)row->waitMs);
    return w;
}

// The keys that the tray program's routing takes before any key map: the
// power key toggles the application that has the keys; key 20 toggles it
// too, or sends the command of its row; key 21 sends the command of its row
// or means nothing.
bool FromRouting(const TvApp &app, RemoteKeyCode code, KeyWords *w) {
    if (code == kPowerKey || (code == kKey20 && !app.commands.key20)) w->sends = "toggle";
    else if (code == kKey20) w->sends = Format("command %d", app.commands.key20);
    else if (code == kKey21 && app.commands.key21) w->sends = Format("command %d", app.commands.key21);
    else return code == kKey21;
    return true;
}

KeyWords WithoutApp(RemoteKeyCode code) {
    KeyWords w;
    if (code == kPowerKey) {
        w.sends = "default application: close the others, toggle it";
        w.note = "warns first when it is not installed";
    } else if (code == kKey20) {
        w.sends = "default application: close the others, toggle it";
    } else if (code == kKey21) {
        w.sends = "shutdown prompt";
        w.note = "only while no TV application window is open";
    } else if (code == 0) {
        w.sends = "left button down and up";
    } else if (code == 10) {
        w.sends = "right button down and up";
    } else if (code == 5) {
        w.sends = "left button down, or up when held";
    } else if (*MoveDirectionName(code)) {
        w.sends = std::string("pointer ") + MoveDirectionName(code);
        w.note = "steps grow while the key is held";
    }
    return w;
}

} // namespace

std::string Format(const char *format, ...) {
    char text[256];
    va_list args;
    va_start(args, format);
    vsnprintf(text, sizeof text, format, args);
    va_end(args);
    return text;
}

const char *TvAppTitle(int tvAppId) {
    // The applications' own names; the tray menu's are shorter.
    if (tvAppId == kNoTvApp) return "No TV application";
    const TvApp *app = FindTvApp(tvAppId);
    return app ? app->names.title : "";
}

KeyWords DescribeKey(int tvAppId, int japanLayout, RemoteKeyCode code) {
    KeyWords w;
    const TvApp *app = FindTvApp(tvAppId);
    if (!app && tvAppId != kNoTvApp) return w;
    if (!app) w = WithoutApp(code);
    else if (FromRouting(*app, code, &w)) {
    } else if (app->keyMap->rows) w = FromKeyRow(app->keyMap->rows, app->keyMap->rowCount, japanLayout, code);
    else w = FromCommandRow(*app, japanLayout, code);
    if (w.does.empty() && IsDigitKey(w.sends)) w.does = "digit " + w.sends;
    const char *group = app ? app->names.descriptionGroup : TvAppTitle(kNoTvApp);
    if (w.does.empty() && !w.sends.empty())
        if (const char *d = DescriptionOf(group, w.sends)) w.does = d;
    return w;
}
