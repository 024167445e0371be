#include "uninstall/title_close.h"
#include <windows.h>

namespace {

const int kMaxWindows = 16;        // asked per round
const int kRounds = 3;
const UINT kCloseTimeoutMs = 5000; // per window: the tray program needs well under a second

bool Contains(const HWND *windows, int count, HWND window) {
    for (int i = 0; i < count; ++i)
        if (windows[i] == window) return true;
    return false;
}

} // namespace

int CloseWindowsTitled(const char *title) {
    // An empty title would match every untitled window.
    if (title[0] == '\0') return 0;
    HWND unanswered[kMaxWindows * kRounds];
    int unansweredCount = 0, sent = 0;
    for (int round = 0; round < kRounds; ++round) {
        // Collected first: closing one while walking would break the walk.
        HWND found[kMaxWindows];
        int count = 0;
        for (HWND w = FindWindowExA(NULL, NULL, NULL, title); w != NULL && count < kMaxWindows;
             w = FindWindowExA(NULL, w, NULL, title))
            if (!Contains(unanswered, unansweredCount, w)) found[count++] = w;
        if (count == 0) break;
        for (int i = 0; i < count; ++i) {
            DWORD_PTR result;
            ++sent;
            if (!SendMessageTimeoutA(found[i], WM_CLOSE, 0, 0, SMTO_NORMAL | SMTO_ABORTIFHUNG, kCloseTimeoutMs,
                                     &result) &&
                IsWindow(found[i]))
                unanswered[unansweredCount++] = found[i];
        }
    }
    return sent;
}
