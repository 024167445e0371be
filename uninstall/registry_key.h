// A registry key held for one operation and closed when it goes out of
// scope; the tray program's platform/registry_key.h kept as a copy on
// purpose, with only what the wizard calls: Purgex shares no code with
// Telvix. Every call that fails leaves its outputs as they were.
#pragma once
#include <windows.h>

class RegistryKey {
public:
    RegistryKey() = default;
    RegistryKey(const RegistryKey &) = delete;
    RegistryKey &operator=(const RegistryKey &) = delete;
    ~RegistryKey();

    // RegOpenKeyExA and RegOpenKeyA on a key not yet open.
    LONG Open(HKEY root, const char *path, REGSAM access);
    LONG OpenDefault(HKEY root, const char *path);

    // RegQueryValueExA into `data` of `*size` bytes (at most kMaxValueSize).
    LONG Read(const char *name, void *data, DWORD *size) const;

    HKEY handle() const { return key; }

    static const DWORD kMaxValueSize = 260;

private:
    // Keeps `opened` once `result` says it is open; read after the call that set it.
    LONG Took(LONG result, const HKEY &opened);
    HKEY key = NULL;
};
