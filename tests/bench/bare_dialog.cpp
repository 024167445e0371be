// What tools/bench-editor holds RemoteKeys.exe against: a program that shows
// an empty dialog from its resource template and does nothing else.
#include <windows.h>

namespace {

INT_PTR CALLBACK BareProc(HWND dialog, UINT message, WPARAM wParam, LPARAM) {
    if (message == WM_COMMAND && LOWORD(wParam) == IDCANCEL) EndDialog(dialog, 0); // Esc and WM_CLOSE
    return message == WM_INITDIALOG;
}

} // namespace

int WINAPI WinMain(HINSTANCE instance, HINSTANCE, LPSTR, int) {
    return (int)DialogBoxParamA(instance, MAKEINTRESOURCEA(1), NULL, BareProc, 0);
}
