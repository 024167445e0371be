// Finding and driving the uninstall wizard's pages from another process.
#pragma once
#include <windows.h>
#include <string>
#include "tests/support/dialog_items.h" // ItemText, ClickButton
#include "tests/support/process.h"

const int kPageText = 1004, kUtilitiesBox = 1005, kDriversBox = 1006, kFinishText = 1003;

// The wizard's pages share one caption; the finish page is the one with its
// text control.
inline HWND FindPage(const char *title, bool finish) {
    for (HWND w = FindWindowExA(NULL, NULL, "#32770", title); w; w = FindWindowExA(NULL, w, "#32770", title))
        if ((GetDlgItem(w, kFinishText) != NULL) == finish && IsWindowVisible(w)) return w;
    return NULL;
}

inline HWND WaitForPage(const char *title, bool finish) {
    HWND page = NULL;
    WaitUntil([&] { return (page = FindPage(title, finish)) != NULL; }, 30000);
    return page;
}

inline bool IsChecked(HWND dialog, int id) { return SendDlgItemMessageA(dialog, id, BM_GETCHECK, 0, 0) == BST_CHECKED; }

