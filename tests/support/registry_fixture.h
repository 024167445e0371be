// Small registry helpers for tests that write the keys the programs read.
#pragma once
#include <windows.h>
#include <string>

void DeleteKeyTree(HKEY root, const char *path);
bool KeyExists(HKEY root, const char *path);
void WriteRegString(HKEY root, const char *path, const char *name, const std::string &value);
void WriteRegDword(HKEY root, const char *path, const char *name, DWORD value);
// Any type, any bytes: for values of the wrong type or size.
void WriteRegRaw(HKEY root, const char *path, const char *name, DWORD type, const void *data, DWORD size);
bool ReadRegDword(HKEY root, const char *path, const char *name, DWORD *value);
bool ReadRegString(HKEY root, const char *path, const char *name, std::string *value);
void DeleteRegValue(HKEY root, const char *path, const char *name);

// The install keys of the four TV applications, in TvAppId order (1..4).
extern const char *const kInstallKeys[4];
extern const char *const kInstallValues[4];
extern const char *const kTvExeNames[4];
