#include "platform/registry_key.h"
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

LONG RegistryKey::Create(HKEY root, const char *path, REGSAM access) {
    if (key) return ERROR_ALREADY_EXISTS;
    HKEY opened = NULL;
    return Took(RegCreateKeyExA(root, path, 0, NULL, 0, access, NULL, &opened, NULL), opened);
}

LONG RegistryKey::Read(const char *name, void *data, DWORD *size, DWORD *type) const {
    if (!key) return ERROR_INVALID_HANDLE;
    if (*size > kMaxValueSize) return ERROR_INVALID_PARAMETER;
    // A value that does not fit may be half written by the system, and the
    // size it answers is what it needed: both stay here.
    BYTE scratch[kMaxValueSize];
    DWORD read = *size;
    DWORD readType = REG_NONE;
    LONG result = RegQueryValueExA(key, name, NULL, &readType, scratch, &read);
    if (result != ERROR_SUCCESS) return result;
    memcpy(data, scratch, read);
    *size = read;
    if (type) *type = readType;
    return result;
}

LONG RegistryKey::WriteDword(const char *name, DWORD value) const {
    return RegSetValueExA(key, name, 0, REG_DWORD, (const BYTE *)&value, sizeof value);
}

LONG RegistryKey::Flush() const { return RegFlushKey(key); }
