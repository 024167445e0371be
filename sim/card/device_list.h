// Where the simulated card's devices are listed for the system device
// enumerator: one entry per slot in the capture category's instance list.
// The card's DLL writes them when registered; the remotes take them away and
// put them back to unplug and plug the card in.
#pragma once
#include <windows.h>
#include <stdio.h>
#include <string.h>
#include "receiver/ks_requests.h"
#include "sim/card/card_state.h"

// HKCR path of slot `slot`'s entry.
inline void SimCardInstancePath(int slot, char *path, size_t size) {
    char category[40], clsid[40];
    ClsidText(kKsCategoryCapture, category, sizeof category);
    ClsidText(SimCardClsid(slot), clsid, sizeof clsid);
    snprintf(path, size, "CLSID\\%s\\Instance\\%s", category, clsid);
}

inline bool SetRegText(HKEY root, const char *path, const char *name, const char *value) {
    HKEY key;
    if (RegCreateKeyExA(root, path, 0, NULL, 0, KEY_WRITE, NULL, &key, NULL) != ERROR_SUCCESS) return false;
    LONG rc = RegSetValueExA(key, name, 0, REG_SZ, (const BYTE *)value, (DWORD)strlen(value) + 1);
    RegCloseKey(key);
    return rc == ERROR_SUCCESS;
}

// HKCR path where an unplugged slot keeps its friendly name until plugged in.
inline void SimCardUnpluggedPath(int slot, char *path, size_t size) {
    char clsid[40];
    ClsidText(SimCardClsid(slot), clsid, sizeof clsid);
    snprintf(path, size, "CLSID\\%s\\Unplugged", clsid);
}

// Lists slot `slot` as a capture device named `name`.
inline bool ListSimCardDevice(int slot, const char *name) {
    char path[200], clsid[40];
    SimCardInstancePath(slot, path, sizeof path);
    ClsidText(SimCardClsid(slot), clsid, sizeof clsid);
    return SetRegText(HKEY_CLASSES_ROOT, path, "FriendlyName", name) &&
           SetRegText(HKEY_CLASSES_ROOT, path, "CLSID", clsid);
}
