// The action dialog's fields and the value of a key's line, both ways. The
// text is made and checked by the key maps' own parser and formatter, so what
// the dialog writes is exactly what Telvix reads. No Windows header.
#pragma once
#include <stddef.h>
#include "keymaps/key_map_file.h"

struct ActionFields {
    UserActionKind kind;
    uint8_t vk;        // post, chord
    uint8_t modifiers; // chord: kModCtrl, kModAlt, kModShift, kModWin
    char option[40];   // app, volume, media, power: the name after the colon
    int step;          // volume up and down, in percent
    char program[780]; // run: without quotes, UTF-8
    char arguments[512];
};

// The value after "KeyN=" ("" for none) in `out`; null, or why the fields
// make no value the file could hold.
const char *ActionValueText(const ActionFields &fields, char *out, size_t size);
// The fields of a value as the file has it; "" or a value not understood: none.
void ActionFieldsFromValue(const char *value, ActionFields &fields);

// A choice of a list in the dialog: the name after the colon, and in words.
struct ActionChoice {
    const char *option;
    const char *words;
};
extern const ActionChoice kVolumeChoices[3];
extern const ActionChoice kMediaChoices[4];
extern const ActionChoice kPowerChoices[4];

// The player command `command` (APPCOMMAND_ number) by name and in words
// ("MEDIA_PLAY_PAUSE", "Media play pause"); false when there is none.
bool AppCommandChoice(int command, char *name, size_t nameSize, char *words, size_t wordsSize);
