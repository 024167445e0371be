// Searches over the top-level windows.
#pragma once
#include <windows.h>

// First top-level window, in Z order, whose title (read into 128 bytes)
// begins with `text`, case-sensitive.
HWND FindWindowByTitlePrefix(const char *text);
// First top-level window, in Z order, whose whole title equals `text`.
HWND FindWindowByExactTitle(const char *text);
