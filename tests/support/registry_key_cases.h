// What both copies of RegistryKey (platform/ and uninstall/) promise: a key
// that did not open stays closed, a failed read writes none of the outputs,
// and the key is closed when it goes out of scope.
#pragma once
#include <gtest/gtest.h>
#include "tests/support/registry_fixture.h"

// read(key, name, data, size): the copy's Read.
template <class Key, class ReadValue> void CheckRegistryKey(ReadValue read) {
    const char path[] = "Software\\TelvixTest\\ScopedKey";
    DeleteKeyTree(HKEY_CURRENT_USER, "Software\\TelvixTest");
    WriteRegString(HKEY_CURRENT_USER, path, "Long", "longer than eight");
    WriteRegString(HKEY_CURRENT_USER, path, "Fits", "fits");
    struct Case { const char *key, *name; LONG result; const char *data; DWORD size; } cases[] = {
        {"Software\\TelvixTest\\None", "Fits", ERROR_INVALID_HANDLE, "kept", 8},
        {path, "Missing", ERROR_FILE_NOT_FOUND, "kept", 8},
        {path, "Long", ERROR_MORE_DATA, "kept", 8},
        {path, "Fits", ERROR_SUCCESS, "fits", 5},
    };
    for (const auto &c : cases) {
        HKEY held = NULL;
        {
            Key key;
            EXPECT_EQ(key.Open(HKEY_CURRENT_USER, c.key, KEY_QUERY_VALUE) == ERROR_SUCCESS, c.key == path) << c.name;
            held = key.handle();
            char data[8] = "kept";
            DWORD size = sizeof data;
            EXPECT_EQ(read(key, c.name, data, &size), c.result) << c.name;
            EXPECT_STREQ(data, c.data) << c.name;
            EXPECT_EQ(size, c.size) << c.name;
        }
        if (held) {
            EXPECT_EQ(RegCloseKey(held), ERROR_INVALID_HANDLE) << c.name << ": closed at the end of its scope";
        }
    }
    DeleteKeyTree(HKEY_CURRENT_USER, "Software\\TelvixTest");
}
