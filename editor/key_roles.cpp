#include "editor/key_roles.h"

namespace {

// Laid out like the remote's number pad, as the pointer moves.
const struct {
    signed char code;
    char words[34];
} kPointerWords[] = {
    {0, "left click"},
    {1, "moves the pointer up-left"},
    {2, "moves the pointer up"},
    {3, "moves the pointer up-right"},
    {4, "moves the pointer left"},
    {5, "holds or lets go the left button"},
    {6, "moves the pointer right"},
    {7, "moves the pointer down-left"},
    {8, "moves the pointer down"},
    {9, "moves the pointer down-right"},
    {10, "right click"},
};

const struct {
    signed char code;
    char words[48];
} kFixedRoles[] = {
    {18, "starts or closes the TV application"},
    {20, "starts or closes the TV application"},
    {21, "opens the Shut Down prompt"},
};

} // namespace

const char *FixedKeyRole(int code) {
    for (const auto &row : kFixedRoles)
        if (row.code == code) return row.words;
    // Fn1 and Fn2 of the normal remote send codes beyond KeyN's 0..31.
    if (code < 0 || code > 31) return "not read by key maps";
    return nullptr;
}

const char *UnmappedKeyWords(int code) {
    for (const auto &row : kPointerWords)
        if (row.code == code) return row.words;
    return "nothing";
}
