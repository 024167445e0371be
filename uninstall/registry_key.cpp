#include "uninstall/registry_key.h"
#include <string.h>

RegistryKey::~RegistryKey() {
    if (key) RegCloseKey(key);
}

LONG RegistryKey::Took(LONG result, const HKEY &opened) {
    if (result == ERROR_SUCCESS) key = opened;
    return result;
}

LONG RegistryKey::Open(HKEY root, const char *path, REGSAM access) {
    if (key) return ERROR_ALREADY_EXISTS;
    HKEY opened = NULL;
    return Took(RegOpenKeyExA(root, path, 0, access, &opened), opened);
}

LONG RegistryKey::OpenDefault(HKEY root, const char *path) {
    if (key) return ERROR_ALREADY_EXISTS;
    HKEY opened = NULL;
    return Took(RegOpenKeyA(root, path, &opened), opened);
}

LONG RegistryKey::Read(const char *name, void *data, DWORD *size) const {
    if (!key) return ERROR_INVALID_HANDLE;
    if (*size > kMaxValueSize) return ERROR_INVALID_PARAMETER;
    // What a failed read may leave (half a value, the size it needed) stays here.
    BYTE scratch[kMaxValueSize];
    DWORD read = *size;
    LONG result = RegQueryValueExA(key, name, NULL, NULL, scratch, &read);
    if (result != ERROR_SUCCESS) return result;
    memcpy(data, scratch, read);
    *size = read;
    return result;
}
