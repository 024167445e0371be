// RegDeleteTreeA and the registry views: Vista's interfaces.
#if !defined(_WIN32_WINNT) || _WIN32_WINNT < 0x0600
#undef _WIN32_WINNT
#define _WIN32_WINNT 0x0600
#endif
#include "tests/support/registry_fixture.h"

void DeleteKeyTree(HKEY root, const char *path, REGSAM view) {
    HKEY key;
    if (RegOpenKeyExA(root, path, 0, KEY_ALL_ACCESS | view, &key) != ERROR_SUCCESS) return;
    RegDeleteTreeA(key, NULL);
    RegCloseKey(key);
    RegDeleteKeyExA(root, path, view, 0);
}

bool KeyExists(HKEY root, const char *path, REGSAM view) {
    HKEY key;
    if (RegOpenKeyExA(root, path, 0, KEY_READ | view, &key) != ERROR_SUCCESS) return false;
    RegCloseKey(key);
    return true;
}

void WriteRegRaw(HKEY root, const char *path, const char *name, DWORD type, const void *data, DWORD size,
                 REGSAM view) {
    HKEY key;
    if (RegCreateKeyExA(root, path, 0, NULL, 0, KEY_ALL_ACCESS | view, NULL, &key, NULL) != ERROR_SUCCESS) return;
    RegSetValueExA(key, name, 0, type, (const BYTE *)data, size);
    RegCloseKey(key);
}

void WriteRegString(HKEY root, const char *path, const char *name, const std::string &value, REGSAM view) {
    WriteRegRaw(root, path, name, REG_SZ, value.c_str(), (DWORD)value.size() + 1, view);
}

void WriteRegDword(HKEY root, const char *path, const char *name, DWORD value, REGSAM view) {
    WriteRegRaw(root, path, name, REG_DWORD, &value, sizeof value, view);
}

namespace {
// RegGetValueA on a key opened in `view`.
LONG GetValue(HKEY root, const char *path, const char *name, DWORD flags, DWORD *type, void *data, DWORD *size,
              REGSAM view) {
    HKEY key;
    LONG rc = RegOpenKeyExA(root, path, 0, KEY_QUERY_VALUE | view, &key);
    if (rc != ERROR_SUCCESS) return rc;
    rc = RegGetValueA(key, NULL, name, flags, type, data, size);
    RegCloseKey(key);
    return rc;
}
} // namespace

bool ReadRegDword(HKEY root, const char *path, const char *name, DWORD *value, REGSAM view) {
    DWORD size = sizeof *value, type = 0;
    return GetValue(root, path, name, RRF_RT_ANY, &type, value, &size, view) == ERROR_SUCCESS && type == REG_DWORD;
}

bool ReadRegString(HKEY root, const char *path, const char *name, std::string *value, REGSAM view) {
    char buffer[1024];
    DWORD size = sizeof buffer, type = 0;
    if (GetValue(root, path, name, RRF_RT_REG_SZ, &type, buffer, &size, view) != ERROR_SUCCESS) return false;
    *value = buffer;
    return true;
}

void DeleteRegValue(HKEY root, const char *path, const char *name, REGSAM view) {
    HKEY key;
    if (RegOpenKeyExA(root, path, 0, KEY_ALL_ACCESS | view, &key) != ERROR_SUCCESS) return;
    RegDeleteValueA(key, name);
    RegCloseKey(key);
}
