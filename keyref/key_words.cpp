#include "keyref/key_words.h"
#include <stdio.h>
#include <windows.h>
#include "apps/tv_app_table.h"
#include "routing/pointer.h"

namespace {

// The remote from top to bottom: power row, number block, the direction keys
// around OK, transport, then the function keys. The Japanese remote has 11
// and 28 where the normal one has 256 and 512, and numbers 10-12 in the block.
const RemoteKey kNormalKeys[] = {
    {18, "Power"}, {20, "TV"},    {21, "PC off"},
    {1, "1"},      {2, "2"},      {3, "3"},     {4, "4"},    {5, "5"},      {6, "6"},
    {7, "7"},      {8, "8"},      {9, "9"},     {10, "100"}, {0, "0"},      {23, "Back"},
    {26, "CH+"},   {31, "VOL-"},  {22, "OK"},   {27, "VOL+"}, {30, "CH-"},
    {13, "Rec"},   {29, "Play"},  {14, "Stop"}, {25, "Snap"},
    {16, "Mute"},  {19, "Menu"},  {15, "Info"}, {17, "Zoom"}, {12, "Audio"}, {24, "Window"},
    {256, "Fn1"},  {512, "Fn2"},
};
const RemoteKey kJapaneseKeys[] = {
    {18, "Power"}, {20, "TV"},    {21, "PC off"},
    {1, "1"},      {2, "2"},      {3, "3"},     {4, "4"},    {5, "5"},      {6, "6"},
    {7, "7"},      {8, "8"},      {9, "9"},     {0, "10"},   {10, "11"},    {23, "12"},
    {26, "CH+"},   {31, "VOL-"},  {22, "OK"},   {27, "VOL+"}, {30, "CH-"},
    {13, "Rec"},   {29, "Play"},  {14, "Stop"}, {25, "Pause"},
    {16, "Mute"},  {19, "Menu"},  {15, "Info"}, {17, "Zoom"}, {12, "Audio"}, {24, "Window"},
    {28, "Snap"},  {11, "Fn3"},
};
static_assert(sizeof kNormalKeys == sizeof kJapaneseKeys, "both remotes have the same keys");

// Key names as a keyboard shows them, with each key's own scan code: a row
// that posts another scan code says so.
struct KeyName {
    BYTE vk;
    const char *name;
    BYTE scan;
};
const KeyName kKeyNames[] = {
    {'0', "0", 0x0B}, {'1', "1", 0x02}, {'2', "2", 0x03}, {'3', "3", 0x04}, {'4', "4", 0x05},
    {'5', "5", 0x06}, {'6', "6", 0x07}, {'7', "7", 0x08}, {'8', "8", 0x09}, {'9', "9", 0x0A},
    {'A', "A", 0x1E}, {'C', "C", 0x2E}, {'I', "I", 0x17}, {'K', "K", 0x25}, {'M', "M", 0x32},
    {'N', "N", 0x31}, {'P', "P", 0x19}, {'Q', "Q", 0x10}, {'R', "R", 0x13}, {'S', "S", 0x1F},
    {'T', "T", 0x14}, {'U', "U", 0x16}, {'Z', "Z", 0x2C},
    {VK_MULTIPLY, "keypad *", 0x37}, {VK_ADD, "keypad +", 0x4E}, {VK_SUBTRACT, "keypad -", 0x4A},
    {VK_SPACE, "Space", 0x39}, {VK_ESCAPE, "Esc", 0x01}, {VK_PRIOR, "Page Up", 0x49},
    {VK_NEXT, "Page Down", 0x51}, {VK_F8, "F8", 0x42}, {VK_F9, "F9", 0x43}, {VK_F10, "F10", 0x44},
    {VK_F11, "F11", 0x57}, {VK_F12, "F12", 0x58}, {VK_CONTROL, "Ctrl", 0x1D}, {VK_MENU, "Alt", 0x38},
};

const KeyName *FindKeyName(WPARAM vk) {
    for (const KeyName &k : kKeyNames)
        if (k.vk == vk) return &k;
    return nullptr;
}

// A key without a name reads as its number, which has no description either.
std::string KeyText(WPARAM vk) {
    const KeyName *k = FindKeyName(vk);
    return k ? k->name : Format("virtual key 0x%02X", (unsigned)vk);
}

std::string PostedText(const KeyAction &a) {
    unsigned scan = (unsigned)(a.lParam >> 16) & 0xFF;
    if (a.message == WM_CHAR)
        return a.code == '\r' ? "Enter (character)" : Format("character 0x%02X", (unsigned)a.code);
    std::string text = KeyText(a.code);
    const KeyName *k = FindKeyName(a.code);
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
    if (app.commandWaits && row->waitMs) w.note = Format("then Telvix waits %lu ms", (unsigned long)row->waitMs);
    return w;
}

// The keys that the tray program's routing takes before any key map: the
// power key toggles the application that has the keys; key 20 toggles it
// too, or sends the command of its row; key 21 sends the command of its row
// or means nothing.
bool FromRouting(const TvApp &app, RemoteKeyCode code, KeyWords *w) {
    if (code == kPowerKey || (code == kKey20 && !app.command20)) w->sends = "toggle";
    else if (code == kKey20) w->sends = Format("command %d", app.command20);
    else if (code == kKey21 && app.command21) w->sends = Format("command %d", app.command21);
    else return code == kKey21;
    return true;
}

const char *const kDirections[3][3] = {
    {"up-left", "up", "up-right"},
    {"left", "", "right"},
    {"down-left", "down", "down-right"},
};

KeyWords WithoutApp(RemoteKeyCode code) {
    KeyWords w;
    POINT to;
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
    } else if (MoveTarget(code, POINT{1, 1}, 1, &to)) {
        w.sends = std::string("pointer ") + kDirections[to.y][to.x];
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

const RemoteKey *RemoteKeys(int japanLayout, size_t *count) {
    *count = sizeof kNormalKeys / sizeof kNormalKeys[0];
    return japanLayout ? kJapaneseKeys : kNormalKeys;
}

const char *KeyLabel(RemoteKeyCode code, int japanLayout) {
    size_t count;
    const RemoteKey *keys = RemoteKeys(japanLayout, &count);
    for (size_t i = 0; i < count; ++i)
        if (keys[i].code == code) return keys[i].label;
    return "";
}

const char *TvAppTitle(int tvAppId) {
    // The applications' own names; the tray menu's are shorter.
    if (tvAppId == kNoTvApp) return "No TV application";
    const TvApp *app = FindTvApp(tvAppId);
    return app ? app->title : "";
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
    const char *group = app ? app->descriptionGroup : TvAppTitle(kNoTvApp);
    if (w.does.empty() && !w.sends.empty())
        if (const char *d = DescriptionOf(group, w.sends)) w.does = d;
    return w;
}
