// Helpers the library's files share: bounded, ASCII-only text handling.
#pragma once
#include <stddef.h>
#include <stdint.h>
#include "keymaps/key_map_file.h"

// Out of the way of the programs that link the library.
namespace keymaps_internal {

struct NamedValue {
    const char *name;
    uint8_t value;
};

// ASCII letters compared without regard to case; other bytes as they are.
bool EqualsNoCase(const char *a, const char *b);
bool StartsWithNoCase(const char *text, const char *prefix);
// Trims spaces and tabs in place; returns the first kept character.
char *Trim(char *text);
// 1..`maxDigits` digits in [min, max] and nothing else; base 10 or 16.
bool ParseSmallNumber(const char *text, int base, int maxDigits, int min, int max, int *value);
bool LookUpName(const NamedValue *table, size_t count, const char *name, uint8_t *value);
const char *NameOfValue(const NamedValue *table, size_t count, uint8_t value);
// Copies at most size - 1 bytes and terminates (size > 0).
void CopyText(char *out, size_t size, const char *text);

// Adds `text` to the map's pool; 0 when there is no room (or it is "").
uint16_t AddPoolText(UserKeyMap &map, const char *text);

// The modifiers of a chord and the WM_APPCOMMAND commands by name.
bool ParseModifier(const char *text, uint8_t *bit);
const char *ModifierName(uint8_t bit);
bool ParseAppCommand(const char *text, uint8_t *command);
const char *AppCommandName(uint8_t command);

} // namespace keymaps_internal
