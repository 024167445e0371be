#include "platform/window_search.h"
#include <string.h>

namespace {

// Walks the top-level windows in Z order and returns the first whose title,
// read into a 128-byte buffer, satisfies `match`.
template <typename Match>
HWND FindTopLevel(Match match) {
    for (HWND w = GetWindow(GetDesktopWindow(), GW_CHILD); w; w = GetWindow(w, GW_HWNDNEXT)) {
        char title[128];
        title[0] = '\0';
        GetWindowTextA(w, title, sizeof title);
        if (match(title)) return w;
    }
    return NULL;
}

} // namespace

HWND FindWindowByTitlePrefix(const char *text) {
    size_t n = strlen(text);
    return FindTopLevel([&](const char *title) { return strncmp(title, text, n) == 0; });
}

HWND FindWindowByExactTitle(const char *text) {
    return FindTopLevel([&](const char *title) { return strcmp(title, text) == 0; });
}
