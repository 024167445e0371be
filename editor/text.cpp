#include "editor/editor.h"

const WCHAR kEditorCaption[] = L"Corvane Remote Keys";

void Widen(const char *utf8, WCHAR *out, int size) {
    if (size <= 0) return;
    if (!MultiByteToWideChar(CP_UTF8, 0, utf8, -1, out, size)) {
        // Too long for `out`: as much as fits.
        int n = MultiByteToWideChar(CP_UTF8, 0, utf8, -1, NULL, 0);
        out[0] = 0;
        if (n > size) {
            WCHAR *whole = (WCHAR *)HeapAlloc(GetProcessHeap(), 0, (SIZE_T)n * sizeof(WCHAR));
            if (whole && MultiByteToWideChar(CP_UTF8, 0, utf8, -1, whole, n)) lstrcpynW(out, whole, size);
            if (whole) HeapFree(GetProcessHeap(), 0, whole);
        }
    }
}

void Narrow(const WCHAR *text, char *out, int size) {
    if (size <= 0) return;
    if (!WideCharToMultiByte(CP_UTF8, 0, text, -1, out, size, NULL, NULL)) out[0] = 0;
}

int Ask(HWND owner, const WCHAR *text, UINT flags) {
    return MessageBoxW(owner, text, kEditorCaption, flags);
}
