// State of the simulated tuner card, shared through one named mapping by the
// card's filter (inside the program that bound it), the remote and tests.
#pragma once
#include <windows.h>
#include <stdio.h>
#include <string.h>

#define SIM_CARD_MAPPING "TelvixSimulatedTunerCard"
const LONG kSimCardMagic = 0x53494D43;

// Which requests fail, and with what result.
const LONG kFailGpio = 1;
const LONG kFailBus = 2;

// Device slots 1-4: one class id each, so that several devices (of one name
// or of several) can be registered side by side.
const int kSimCardSlots = 4;

struct SimCardState {
    LONG magic;
    // The key: pin 6 is low while keyDown is 1; pins 0-5 show pinCode and
    // the bus device answers deviceByte.
    volatile LONG keyDown;
    volatile LONG pinCode;
    volatile LONG deviceByte;
    // A press: the card releases the key itself once it has answered one
    // complete key read (key-present low, then the bus read).
    volatile LONG pressPending;
    volatile LONG presentSeen;
    volatile LONG keyReads;     // complete key reads answered
    volatile LONG failMask;     // kFailGpio | kFailBus
    volatile LONG failResult;   // what a failing request returns
    volatile LONG gpioRequests;
    volatile LONG busRequests;
    volatile LONG badRequests;  // requests not laid out as the driver expects
    volatile LONG liveFilters;  // filter objects now alive
    volatile LONG lastDevice;   // device slot of the filter that answered last
    volatile LONG joinCount;
    char joinedName[128];       // name the last graph gave a filter (ANSI)
    char lastBadRequest[128];
    // Unplugged: the devices are gone from the system's list and every
    // filter made before fails its requests for good; plugging in again
    // lists them anew as new devices (the next generation).
    volatile LONG unplugged;
    volatile LONG generation;
};

// Opens (creating on first use) the shared state; null on failure. The state
// lasts while some process holds it: the bound filter, a test, a remote.
inline SimCardState *OpenSimCardState(HANDLE *mapping) {
    *mapping = CreateFileMappingA(INVALID_HANDLE_VALUE, NULL, PAGE_READWRITE, 0, sizeof(SimCardState),
                                  SIM_CARD_MAPPING);
    if (!*mapping) return nullptr;
    bool fresh = GetLastError() != ERROR_ALREADY_EXISTS;
    SimCardState *state =
        (SimCardState *)MapViewOfFile(*mapping, FILE_MAP_READ | FILE_MAP_WRITE, 0, 0, sizeof(SimCardState));
    if (!state) {
        CloseHandle(*mapping);
        *mapping = NULL;
        return nullptr;
    }
    if (fresh || state->magic != kSimCardMagic) {
        memset(state, 0, sizeof *state);
        state->failResult = E_FAIL;
        state->magic = kSimCardMagic;
    }
    return state;
}

// How the card shows a raw key code: its pins carry the code and the bus
// device twice the code, which the reader turns back into the code; a code of
// 1 is the device byte 1; codes from 64 on only fit the device byte, so the
// pins stay low for them.
inline void EncodeRawKey(int raw, LONG *pinCode, LONG *deviceByte) {
    if (raw == 1) {
        *pinCode = 0;
        *deviceByte = 1;
    } else if (raw < 64) {
        *pinCode = raw;
        *deviceByte = raw * 2;
    } else {
        *pinCode = 0;
        *deviceByte = raw & 0xFF;
    }
}

inline CLSID SimCardClsid(int slot) {
    CLSID id = {0x7E1C5A30, 0x4B2D, 0x4F61, {0x9A, 0x3E, 0x5D, 0x0C, 0x1B, 0x2A, 0x39, 0xF0}};
    id.Data4[7] = (BYTE)(0xF0 + slot);
    return id;
}

inline void ClsidText(const CLSID &id, char *text, size_t size) {
    snprintf(text, size, "{%08lX-%04X-%04X-%02X%02X-%02X%02X%02X%02X%02X%02X}", (unsigned long)id.Data1, id.Data2,
             id.Data3, id.Data4[0], id.Data4[1], id.Data4[2], id.Data4[3], id.Data4[4], id.Data4[5], id.Data4[6],
             id.Data4[7]);
}
