// Reading a dialog's texts and pressing its buttons, the same way in the
// tests of both programs. Header only: every test program uses it.
#pragma once
#include <windows.h>
#include <string>

// A window's text: a dialog's caption, a top-level window's title.
inline std::string WindowText(HWND window) {
    char text[512] = "";
    GetWindowTextA(window, text, sizeof text);
    return text;
}

// The text of item `id` of `dialog`, asked of the item itself.
inline std::string ItemText(HWND dialog, int id) {
    char text[512] = "";
    GetDlgItemTextA(dialog, id, text, sizeof text);
    return text;
}

// A click on button `id`, posted as a person's would come: the handler may
// block (a modal loop, a dialog that ends).
inline void ClickButton(HWND dialog, int id) { PostMessageA(GetDlgItem(dialog, id), BM_CLICK, 0, 0); }
// The same click, handled before this returns.
inline void ClickButtonNow(HWND dialog, int id) { SendMessageA(GetDlgItem(dialog, id), BM_CLICK, 0, 0); }
