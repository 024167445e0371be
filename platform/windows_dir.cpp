#include "platform/windows_dir.h"
#include <stdio.h>

bool JoinWindowsDir(const char *dir, UINT length, const char *tail, char *out, size_t outSize) {
    if (length == 0 || length >= kWindowsDirBuffer) return false;
    int n = snprintf(out, outSize, "%s%s", dir, tail);
    return n >= 0 && (size_t)n < outSize;
}

bool WindowsDirPath(const char *tail, char *out, size_t outSize) {
    char dir[kWindowsDirBuffer];
    UINT length = GetWindowsDirectoryA(dir, sizeof dir);
    return JoinWindowsDir(dir, length, tail, out, outSize);
}
