// A registry key held for one operation and closed when it goes out of
// scope. Every call that fails leaves its outputs as they were: a key that
// did not open stays closed, and a value that could not be read writes none
// of the caller's buffer, size or type.
#pragma once
#include <windows.h>

class RegistryKey {
public:
    RegistryKey() = default;
    RegistryKey(const RegistryKey &) = delete;
    RegistryKey &operator=(const RegistryKey &) = delete;
    ~RegistryKey();

    // RegOpenKeyExA, RegOpenKeyA and RegCreateKeyExA on a key not yet open.
    LONG Open(HKEY root, const char *path, REGSAM access);
    LONG OpenDefault(HKEY root, const char *path);
    LONG Create(HKEY root, const char *path, REGSAM access);

    // RegQueryValueExA into `data` of `*size` bytes (at most kMaxValueSize);
    // `type` may be null.
    LONG Read(const char *name, void *data, DWORD *size, DWORD *type) const;
    LONG WriteDword(const char *name, DWORD value) const;
    LONG Flush() const;

    HKEY handle() const { return key; }

    static const DWORD kMaxValueSize = 260;

private:
    // Keeps `opened` once `result` says it is open; read after the call that set it.
    LONG Took(LONG result, const HKEY &opened);
    HKEY key = NULL;
};
