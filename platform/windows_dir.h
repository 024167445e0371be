// Paths under the Windows directory, read into the 128-byte buffer the
// program has always used for it.
#pragma once
#include <windows.h>
#include <stddef.h>

const UINT kWindowsDirBuffer = 128;

// `dir` as GetWindowsDirectoryA left it and `length` as it returned it,
// joined with `tail` into `out`. False when the directory did not fit its
// buffer (a truncated path must never be used) or the result does not fit.
bool JoinWindowsDir(const char *dir, UINT length, const char *tail, char *out, size_t outSize);

// The same for the system's own Windows directory.
bool WindowsDirPath(const char *tail, char *out, size_t outSize);
