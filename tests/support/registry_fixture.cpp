#include "tests/support/registry_fixture.h"
#include <shlwapi.h>

const char *const kInstallKeys[4] = {"Software\\InterVideo\\Home Theater", "Software\\Cyberlink\\PowerVCR II",
                                     "SOFTWARE\\Honestech\\Quick TV", "Software\\Honestech\\TV Plus\\TVR"};
const char *const kInstallValues[4] = {"PATH", "InstallPath", "AppPath", "AppPath"};
const char *const kTvExeNames[4] = {"Home Theater.exe", "PVCR.EXE", "QuickTV.EXE", "MSITVR.exe"};

void DeleteKeyTree(HKEY root, const char *path) { SHDeleteKeyA(root, path); }

bool KeyExists(HKEY root, const char *path) {
    HKEY key;
    if (RegOpenKeyExA(root, path, 0, KEY_READ, &key) != ERROR_SUCCESS) return false;
    RegCloseKey(key);
    return true;
}

void WriteRegRaw(HKEY root, const char *path, const char *name, DWORD type, const void *data, DWORD size) {
    HKEY key;
    if (RegCreateKeyExA(root, path, 0, NULL, 0, KEY_ALL_ACCESS, NULL, &key, NULL) != ERROR_SUCCESS) return;
    RegSetValueExA(key, name, 0, type, (const BYTE *)data, size);
    RegCloseKey(key);
}

void WriteRegString(HKEY root, const char *path, const char *name, const std::string &value) {
    WriteRegRaw(root, path, name, REG_SZ, value.c_str(), (DWORD)value.size() + 1);
}

void WriteRegDword(HKEY root, const char *path, const char *name, DWORD value) {
    WriteRegRaw(root, path, name, REG_DWORD, &value, sizeof value);
}

bool ReadRegDword(HKEY root, const char *path, const char *name, DWORD *value) {
    DWORD size = sizeof *value, type = 0;
    return RegGetValueA(root, path, name, RRF_RT_ANY, &type, value, &size) == ERROR_SUCCESS && type == REG_DWORD;
}

bool ReadRegString(HKEY root, const char *path, const char *name, std::string *value) {
    char buffer[1024];
    DWORD size = sizeof buffer, type = 0;
    if (RegGetValueA(root, path, name, RRF_RT_REG_SZ, &type, buffer, &size) != ERROR_SUCCESS) return false;
    *value = buffer;
    return true;
}

void DeleteRegValue(HKEY root, const char *path, const char *name) {
    HKEY key;
    if (RegOpenKeyExA(root, path, 0, KEY_ALL_ACCESS, &key) != ERROR_SUCCESS) return;
    RegDeleteValueA(key, name);
    RegCloseKey(key);
}
