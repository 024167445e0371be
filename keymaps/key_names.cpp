// Names in the file: virtual keys, chord modifiers, WM_APPCOMMAND commands,
// and the small text helpers the library's files share.
#include <stdio.h>
#include <string.h>
#include "keymaps/key_map_internal.h"

using namespace keymaps_internal;

namespace {

const uint8_t kVkF1 = 0x70, kVkF24 = 0x87, kVkNumpad0 = 0x60, kVkNumpad9 = 0x69;

// Virtual keys by their names without "VK_", each its value's byte then its
// name; the first name of a value is the one written back. Letters, digits,
// F1..F24 and NUMPAD0..9 are formed, not listed. One string rather than an
// array of pointers: a third of the size.
const char kVirtualKeys[] =
    "\x08" "BACK\0" "\x08" "BACKSPACE\0" "\x09" "TAB\0" "\x0C" "CLEAR\0" "\x0D" "RETURN\0" "\x0D" "ENTER\0"
    "\x13" "PAUSE\0" "\x14" "CAPITAL\0" "\x1B" "ESCAPE\0" "\x1B" "ESC\0" "\x20" "SPACE\0" "\x21" "PRIOR\0"
    "\x21" "PAGEUP\0" "\x22" "NEXT\0" "\x22" "PAGEDOWN\0" "\x23" "END\0" "\x24" "HOME\0" "\x25" "LEFT\0"
    "\x26" "UP\0" "\x27" "RIGHT\0" "\x28" "DOWN\0" "\x29" "SELECT\0" "\x2A" "PRINT\0" "\x2B" "EXECUTE\0"
    "\x2C" "SNAPSHOT\0" "\x2D" "INSERT\0" "\x2E" "DELETE\0" "\x2F" "HELP\0" "\x5B" "LWIN\0" "\x5C" "RWIN\0"
    "\x5D" "APPS\0" "\x5F" "SLEEP\0" "\x6A" "MULTIPLY\0" "\x6B" "ADD\0" "\x6C" "SEPARATOR\0" "\x6D" "SUBTRACT\0"
    "\x6E" "DECIMAL\0" "\x6F" "DIVIDE\0" "\x90" "NUMLOCK\0" "\x91" "SCROLL\0" "\xA6" "BROWSER_BACK\0"
    "\xA7" "BROWSER_FORWARD\0" "\xA8" "BROWSER_REFRESH\0" "\xA9" "BROWSER_STOP\0" "\xAA" "BROWSER_SEARCH\0"
    "\xAB" "BROWSER_FAVORITES\0" "\xAC" "BROWSER_HOME\0" "\xAD" "VOLUME_MUTE\0" "\xAE" "VOLUME_DOWN\0"
    "\xAF" "VOLUME_UP\0" "\xB0" "MEDIA_NEXT_TRACK\0" "\xB1" "MEDIA_PREV_TRACK\0" "\xB2" "MEDIA_STOP\0"
    "\xB3" "MEDIA_PLAY_PAUSE\0" "\xB4" "LAUNCH_MAIL\0" "\xB5" "LAUNCH_MEDIA_SELECT\0" "\xB6" "LAUNCH_APP1\0"
    "\xB7" "LAUNCH_APP2\0" "\xBA" "OEM_1\0" "\xBB" "OEM_PLUS\0" "\xBC" "OEM_COMMA\0" "\xBD" "OEM_MINUS\0"
    "\xBE" "OEM_PERIOD\0" "\xBF" "OEM_2\0" "\xC0" "OEM_3\0" "\xDB" "OEM_4\0" "\xDC" "OEM_5\0" "\xDD" "OEM_6\0"
    "\xDE" "OEM_7\0" "\xDF" "OEM_8\0" "\xE2" "OEM_102\0" "\xFA" "PLAY\0" "\xFB" "ZOOM\0";

// WM_APPCOMMAND commands by their names without "APPCOMMAND_", from command 1 on.
const char kAppCommands[] =
    "BROWSER_BACKWARD\0" "BROWSER_FORWARD\0" "BROWSER_REFRESH\0" "BROWSER_STOP\0" "BROWSER_SEARCH\0"
    "BROWSER_FAVORITES\0" "BROWSER_HOME\0" "VOLUME_MUTE\0" "VOLUME_DOWN\0" "VOLUME_UP\0" "MEDIA_NEXTTRACK\0"
    "MEDIA_PREVIOUSTRACK\0" "MEDIA_STOP\0" "MEDIA_PLAY_PAUSE\0" "LAUNCH_MAIL\0" "LAUNCH_MEDIA_SELECT\0"
    "LAUNCH_APP1\0" "LAUNCH_APP2\0" "BASS_DOWN\0" "BASS_BOOST\0" "BASS_UP\0" "TREBLE_DOWN\0" "TREBLE_UP\0"
    "MICROPHONE_VOLUME_MUTE\0" "MICROPHONE_VOLUME_DOWN\0" "MICROPHONE_VOLUME_UP\0" "HELP\0" "FIND\0" "NEW\0"
    "OPEN\0" "CLOSE\0" "SAVE\0" "PRINT\0" "UNDO\0" "REDO\0" "COPY\0" "CUT\0" "PASTE\0" "REPLY_TO_MAIL\0"
    "FORWARD_MAIL\0" "SEND_MAIL\0" "SPELL_CHECK\0" "DICTATE_OR_COMMAND_CONTROL_TOGGLE\0" "MIC_ON_OFF_TOGGLE\0"
    "CORRECTION_LIST\0" "MEDIA_PLAY\0" "MEDIA_PAUSE\0" "MEDIA_RECORD\0" "MEDIA_FAST_FORWARD\0" "MEDIA_REWIND\0"
    "MEDIA_CHANNEL_UP\0" "MEDIA_CHANNEL_DOWN\0" "DELETE\0" "DWM_FLIP3D\0";

// Chord modifiers, in the order they are pressed.
const NamedValue kModifiers[] = {{"Ctrl", kModCtrl}, {"Control", kModCtrl}, {"Alt", kModAlt},
                                 {"Shift", kModShift}, {"Win", kModWin}};

// The value of `name` in kVirtualKeys; 0 for none.
uint8_t VirtualKeyNamed(const char *name);
const char *VirtualKeyName(uint8_t vk);

char UpperAscii(char c) {
    return c >= 'a' && c <= 'z' ? (char)(c - 'a' + 'A') : c;
}

} // namespace

namespace keymaps_internal {

bool EqualsNoCase(const char *a, const char *b) {
    for (; *a && UpperAscii(*a) == UpperAscii(*b); ++a, ++b) {
    }
    return UpperAscii(*a) == UpperAscii(*b);
}

bool StartsWithNoCase(const char *text, const char *prefix) {
    for (; *prefix; ++text, ++prefix)
        if (UpperAscii(*text) != UpperAscii(*prefix)) return false;
    return true;
}

char *Trim(char *text) {
    while (*text == ' ' || *text == '\t') ++text;
    size_t n = strlen(text);
    while (n && (text[n - 1] == ' ' || text[n - 1] == '\t')) text[--n] = 0;
    return text;
}

bool ParseSmallNumber(const char *text, int base, int maxDigits, int min, int max, int *value) {
    int n = 0, digits = 0;
    for (; *text; ++text, ++digits) {
        int d;
        char c = UpperAscii(*text);
        if (c >= '0' && c <= '9') d = c - '0';
        else if (base == 16 && c >= 'A' && c <= 'F') d = c - 'A' + 10;
        else return false;
        if (digits == maxDigits) return false;
        n = n * base + d;
    }
    if (digits == 0 || n < min || n > max) return false;
    *value = n;
    return true;
}

bool LookUpName(const NamedValue *table, size_t count, const char *name, uint8_t *value) {
    for (size_t i = 0; i < count; ++i)
        if (EqualsNoCase(table[i].name, name)) {
            *value = table[i].value;
            return true;
        }
    return false;
}

const char *NameOfValue(const NamedValue *table, size_t count, uint8_t value) {
    for (size_t i = 0; i < count; ++i)
        if (table[i].value == value) return table[i].name;
    return nullptr;
}

void CopyText(char *out, size_t size, const char *text) {
    size_t n = strlen(text);
    if (n >= size) n = size - 1;
    memcpy(out, text, n);
    out[n] = 0;
}

bool ParseModifier(const char *text, uint8_t *bit) {
    return LookUpName(kModifiers, sizeof kModifiers / sizeof *kModifiers, text, bit);
}

const char *ModifierName(uint8_t bit) {
    return NameOfValue(kModifiers, sizeof kModifiers / sizeof *kModifiers, bit);
}

bool ParseAppCommand(const char *text, uint8_t *command) {
    if (StartsWithNoCase(text, "APPCOMMAND_")) text += 11;
    uint8_t n = 1;
    for (const char *name = kAppCommands; *name; name += strlen(name) + 1, ++n)
        if (EqualsNoCase(name, text)) {
            *command = n;
            return true;
        }
    return false;
}

const char *AppCommandName(uint8_t command) {
    const char *name = kAppCommands;
    for (uint8_t n = 1; *name && n < command; ++n) name += strlen(name) + 1;
    return command && *name ? name : nullptr;
}

} // namespace keymaps_internal

namespace {

uint8_t VirtualKeyNamed(const char *name) {
    for (const char *entry = kVirtualKeys; *entry; entry += strlen(entry) + 1)
        if (EqualsNoCase(entry + 1, name)) return (uint8_t)*entry;
    return 0;
}

const char *VirtualKeyName(uint8_t vk) {
    for (const char *entry = kVirtualKeys; *entry; entry += strlen(entry) + 1)
        if ((uint8_t)*entry == vk) return entry + 1;
    return nullptr;
}

} // namespace

bool ParseVirtualKey(const char *text, uint8_t *vk) {
    if (StartsWithNoCase(text, "VK_")) text += 3;
    int n;
    char first = UpperAscii(text[0]);
    if (StartsWithNoCase(text, "0x")) {
        if (!ParseSmallNumber(text + 2, 16, 2, 1, 0xFE, &n)) return false;
    } else if (((first >= 'A' && first <= 'Z') || (first >= '0' && first <= '9')) && !text[1]) {
        n = (unsigned char)first; // a letter's or digit's key is its capital
    } else if (first == 'F' && ParseSmallNumber(text + 1, 10, 2, 1, 24, &n)) {
        n += kVkF1 - 1;
    } else if (StartsWithNoCase(text, "NUMPAD") && ParseSmallNumber(text + 6, 10, 1, 0, 9, &n)) {
        n += kVkNumpad0;
    } else {
        n = VirtualKeyNamed(text);
        if (!n) return false;
    }
    *vk = (uint8_t)n;
    return true;
}

void FormatVirtualKey(uint8_t vk, char *out, size_t size) {
    if ((vk >= 'A' && vk <= 'Z') || (vk >= '0' && vk <= '9')) (void)snprintf(out, size, "%c", vk);
    else if (vk >= kVkF1 && vk <= kVkF24) (void)snprintf(out, size, "VK_F%d", vk - kVkF1 + 1);
    else if (vk >= kVkNumpad0 && vk <= kVkNumpad9) (void)snprintf(out, size, "VK_NUMPAD%d", vk - kVkNumpad0);
    else if (const char *name = VirtualKeyName(vk)) (void)snprintf(out, size, "VK_%s", name);
    else (void)snprintf(out, size, "0x%02X", vk);
}

bool IsExtendedVirtualKey(uint8_t vk) {
    // Page Up to Down, Snapshot, Insert, Delete, the Windows and menu keys,
    // numpad divide, Num Lock, right Ctrl and Alt, the browser to launch keys.
    return (vk >= 0x21 && vk <= 0x28) || vk == 0x2C || vk == 0x2D || vk == 0x2E || vk == 0x5B || vk == 0x5C ||
           vk == 0x5D || vk == 0x6F || vk == 0x90 || vk == 0xA3 || vk == 0xA5 || (vk >= 0xA6 && vk <= 0xB7);
}
