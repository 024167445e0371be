#include "platform/remote_words.h"
#include <stdio.h>
#include <string.h>

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

// The keys the TV applications' maps send, each with its own scan code.
const KeyboardKey kKeyboardKeys[] = {
    {'0', 0x0B, "0"}, {'1', 0x02, "1"}, {'2', 0x03, "2"}, {'3', 0x04, "3"}, {'4', 0x05, "4"},
    {'5', 0x06, "5"}, {'6', 0x07, "6"}, {'7', 0x08, "7"}, {'8', 0x09, "8"}, {'9', 0x0A, "9"},
    {'A', 0x1E, "A"}, {'C', 0x2E, "C"}, {'I', 0x17, "I"}, {'K', 0x25, "K"}, {'M', 0x32, "M"},
    {'N', 0x31, "N"}, {'P', 0x19, "P"}, {'Q', 0x10, "Q"}, {'R', 0x13, "R"}, {'S', 0x1F, "S"},
    {'T', 0x14, "T"}, {'U', 0x16, "U"}, {'X', 0x2D, "X"}, {'Z', 0x2C, "Z"},
    {0x6A, 0x37, "keypad *"}, {0x6B, 0x4E, "keypad +"}, {0x6D, 0x4A, "keypad -"},
    {0x20, 0x39, "Space"}, {0x1B, 0x01, "Esc"}, {0x21, 0x49, "Page Up"}, {0x22, 0x51, "Page Down"},
    {0x77, 0x42, "F8"}, {0x78, 0x43, "F9"}, {0x79, 0x44, "F10"}, {0x7A, 0x57, "F11"}, {0x7B, 0x58, "F12"},
    {0x10, 0x2A, "Shift"}, {0x11, 0x1D, "Ctrl"}, {0x12, 0x38, "Alt"},
};

const char *const kPlaceWords[kKeyPlaceCount] = {
    "nothing", "the Shut Down prompt", "the active application", "the default application",
    "an adopted application", "KeyMaps.ini", "the pointer",
};

// %k: the key's label, %t: the outcome's target.
const char *const kReasonWords[kKeyReasonCount] = {
    "",
    "repeat dropped",
    "%t has nothing on %k",
    "%t's window is gone",
    "no TV application and nothing mapped for %k in %t",
    "%t is not in front",
    "%t runs as administrator",
    "no default application is chosen",
    "a TV application's window is open",
    "%t is not installed",
    "%t could not be started",
    "the pointer is at the edge of the screen",
};

void Copy(char *out, size_t size, const char *text) {
    if (size) (void)snprintf(out, size, "%s", text ? text : "");
}

} // namespace

const RemoteKey *RemoteKeys(int japanLayout, size_t *count) {
    *count = sizeof kNormalKeys / sizeof kNormalKeys[0];
    return japanLayout ? kJapaneseKeys : kNormalKeys;
}

const char *RemoteKeyLabel(int code, int japanLayout) {
    size_t count;
    const RemoteKey *keys = RemoteKeys(japanLayout, &count);
    for (size_t i = 0; i < count; ++i)
        if (keys[i].code == code) return keys[i].label;
    return "";
}

const KeyboardKey *FindKeyboardKey(unsigned vk) {
    for (const KeyboardKey &k : kKeyboardKeys)
        if (k.vk == vk) return &k;
    return nullptr;
}

const char *KeyPlaceWords(KeyPlace place) { return place < kKeyPlaceCount ? kPlaceWords[place] : ""; }

void FormatKeyReason(const KeyOutcome &outcome, int japanLayout, char *out, size_t size) {
    if (!size) return;
    const char *words = outcome.reason < kKeyReasonCount ? kReasonWords[outcome.reason] : "";
    char key[16];
    const char *label = RemoteKeyLabel(outcome.code, japanLayout);
    if (!*label) (void)snprintf(key, sizeof key, "key %d", outcome.code);
    else Copy(key, sizeof key, label);
    const char *target = outcome.target[0] ? outcome.target : "the program in front";
    size_t n = 0;
    for (const char *c = words; *c && n + 1 < size; ++c) {
        const char *insert = nullptr;
        if (c[0] == '%' && c[1] == 'k') insert = key;
        else if (c[0] == '%' && c[1] == 't') insert = target;
        if (!insert) {
            out[n++] = *c;
            continue;
        }
        ++c;
        while (*insert && n + 1 < size) out[n++] = *insert++;
    }
    out[n] = 0;
}

void FormatKeyOutcome(const KeyOutcome &outcome, int japanLayout, char *out, size_t size) {
    if (!size) return;
    if (outcome.reason != kTaken) {
        char why[128];
        FormatKeyReason(outcome, japanLayout, why, sizeof why);
        (void)snprintf(out, size, "nothing: %s", why);
    } else if (outcome.target[0] && outcome.sent[0]) {
        (void)snprintf(out, size, "%s: %s", outcome.target, outcome.sent);
    } else {
        Copy(out, size, outcome.target[0] ? outcome.target : outcome.sent);
    }
}

void SetOutcomeTarget(KeyOutcome &outcome, const char *target) { Copy(outcome.target, sizeof outcome.target, target); }

void SetOutcomeSent(KeyOutcome &outcome, const char *sent) { Copy(outcome.sent, sizeof outcome.sent, sent); }
