#include "sim/remote/card_keys.h"

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
