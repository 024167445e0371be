#include "sim/remote/card_keys.h"
#include <shlwapi.h>
#include "sim/card/device_list.h"

const RemoteButton kRemoteButtons[32] = {
    {13, 0},  {1, 1},   {0, 2},   {20, 3},  {256, 4}, {4, 5},   {7, 6},   {15, 7},
    {14, 8},  {5, 9},   {8, 10},  {2, 11},  {512, 12}, {19, 13}, {25, 14}, {24, 15},
    {10, 16}, {22, 17}, {9, 18},  {23, 19}, {31, 20}, {6, 21},  {27, 22}, {30, 23},
    {16, 24}, {17, 25}, {29, 26}, {3, 27},  {12, 28}, {21, 29}, {18, 30}, {26, 31},
};

int RawOfLogical(int logical) {
    for (const RemoteButton &b : kRemoteButtons)
        if (b.logical == logical) return b.raw;
    return -1;
}

CardPress PutKeyDown(SimCardState *card, int raw, bool releaseAfterRead) {
    LONG pins, device;
    EncodeRawKey(raw, &pins, &device);
    InterlockedExchange(&card->pinCode, pins);
    InterlockedExchange(&card->deviceByte, device);
    InterlockedExchange(&card->presentSeen, 0);
    InterlockedExchange(&card->pressPending, releaseAfterRead ? 1 : 0);
    CardPress press = {raw, card->keyReads, GetTickCount()};
    InterlockedExchange(&card->keyDown, 1);
    return press;
}

void ReleaseKey(SimCardState *card) {
    InterlockedExchange(&card->pressPending, 0);
    InterlockedExchange(&card->presentSeen, 0);
    InterlockedExchange(&card->keyDown, 0);
}

LONG ReadsSince(const SimCardState *card, const CardPress &press) { return card->keyReads - press.readsBefore; }

void EndPress(SimCardState *card, const CardPress &press) {
    if (ReadsSince(card, press) > 0 || !card->keyDown) {
        ReleaseKey(card);
        return;
    }
    // The card releases it after the next complete read.
    InterlockedExchange(&card->pressPending, 1);
}

bool WaitForRelease(SimCardState *card, const CardPress &press, DWORD timeoutMs) {
    while (card->keyDown) {
        if (GetTickCount() - press.downTick > timeoutMs) {
            ReleaseKey(card);
            return false;
        }
        Sleep(1);
    }
    return true;
}

namespace {

// The text value `name` of HKCR `path` into `text`; false when there is none.
bool ReadRegText(const char *path, const char *name, char *text, DWORD size) {
    HKEY key;
    if (RegOpenKeyExA(HKEY_CLASSES_ROOT, path, 0, KEY_READ, &key) != ERROR_SUCCESS) return false;
    DWORD type = 0, got = size - 1;
    bool read = RegQueryValueExA(key, name, NULL, &type, (BYTE *)text, &got) == ERROR_SUCCESS && type == REG_SZ;
    RegCloseKey(key);
    text[read ? got : 0] = '\0';
    return read;
}

} // namespace

// The names of the slots taken away are kept in the registry, so that the
// card can be plugged in again even when no program held its state meanwhile.
bool UnplugCard(SimCardState *card) {
    bool any = false;
    ReleaseKey(card);
    for (int slot = 1; slot <= kSimCardSlots; ++slot) {
        char listed[200], kept[200], name[128];
        SimCardInstancePath(slot, listed, sizeof listed);
        SimCardUnpluggedPath(slot, kept, sizeof kept);
        if (!ReadRegText(listed, "FriendlyName", name, sizeof name)) continue;
        SetRegText(HKEY_CLASSES_ROOT, kept, "FriendlyName", name);
        SHDeleteKeyA(HKEY_CLASSES_ROOT, listed);
        any = true;
    }
    InterlockedExchange(&card->unplugged, 1);
    return any;
}

bool PlugCard(SimCardState *card) {
    bool any = false;
    // New devices: whatever was bound before stays dead.
    InterlockedIncrement(&card->generation);
    for (int slot = 1; slot <= kSimCardSlots; ++slot) {
        char kept[200], name[128];
        SimCardUnpluggedPath(slot, kept, sizeof kept);
        if (!ReadRegText(kept, "FriendlyName", name, sizeof name)) continue;
        ListSimCardDevice(slot, name);
        SHDeleteKeyA(HKEY_CLASSES_ROOT, kept);
        any = true;
    }
    InterlockedExchange(&card->unplugged, 0);
    return any;
}
