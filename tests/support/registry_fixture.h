// Small registry helpers for tests that write the keys the programs read.
#pragma once
#include <windows.h>
#include <string>

// `view`: 0 for the test's own registry view, or KEY_WOW64_32KEY /
// KEY_WOW64_64KEY for that view whatever the test's build.
void DeleteKeyTree(HKEY root, const char *path, REGSAM view = 0);
bool KeyExists(HKEY root, const char *path, REGSAM view = 0);
void WriteRegString(HKEY root, const char *path, const char *name, const std::string &value, REGSAM view = 0);
void WriteRegDword(HKEY root, const char *path, const char *name, DWORD value, REGSAM view = 0);
// Any type, any bytes: for values of the wrong type or size.
void WriteRegRaw(HKEY root, const char *path, const char *name, DWORD type, const void *data, DWORD size,
                 REGSAM view = 0);
bool ReadRegDword(HKEY root, const char *path, const char *name, DWORD *value, REGSAM view = 0);
bool ReadRegString(HKEY root, const char *path, const char *name, std::string *value, REGSAM view = 0);
void DeleteRegValue(HKEY root, const char *path, const char *name, REGSAM view = 0);

// Where the TV applications (32-bit programs) keep their keys: the 32-bit view.
const REGSAM kTvAppView = KEY_WOW64_32KEY;
// The view a program of the other architecture than the test's own sees.
#ifdef _WIN64
const REGSAM kOtherView = KEY_WOW64_32KEY;
#else
const REGSAM kOtherView = KEY_WOW64_64KEY;
#endif

