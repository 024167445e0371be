// Corvane Remote Keys: the user's remote keys, edited in a window.
#include <windows.h>
#include <commctrl.h>
#include "editor/editor.h"
#include "editor/main_window.h"
#include "platform/key_editor_link.h"
#include "res/remotekeys_resource.h"

HINSTANCE instance;
int japanLayout;

namespace {

// The same read as Telvix's: the user's country code, 81 for Japan.
int ReadJapanLayout() {
    HKEY key;
    if (RegOpenKeyExW(HKEY_CURRENT_USER, L"Control Panel\\International", 0, KEY_QUERY_VALUE, &key) != ERROR_SUCCESS)
        return 0;
    WCHAR text[30];
    DWORD size = sizeof text - sizeof text[0], type = 0;
    LONG rc = RegQueryValueExW(key, L"iCountry", NULL, &type, (BYTE *)text, &size);
    RegCloseKey(key);
    if (rc != ERROR_SUCCESS || (type != REG_SZ && type != REG_EXPAND_SZ)) return 0;
    text[size / sizeof text[0]] = 0;
    char narrow[30];
    Narrow(text, narrow, sizeof narrow);
    return CountryCodeFromText(narrow) == 81 ? 1 : 0;
}

// One copy per user: a second start brings the first to the front. It may
// do so, being the program the user started last.
bool AnotherCopyRuns(HANDLE *mutex) {
    *mutex = CreateMutexW(NULL, FALSE, L"Local\\Corvane Remote Keys");
    if (GetLastError() != ERROR_ALREADY_EXISTS) return false;
    WCHAR className[64];
    Widen(kKeyEditorWindowClass, className, 64);
    // The first may still be opening its window.
    for (int tries = 0; tries < 50; ++tries) {
        if (HWND first = FindWindowW(className, NULL)) {
            if (IsIconic(first)) ShowWindow(first, SW_RESTORE);
            SetForegroundWindow(GetLastActivePopup(first));
            return true;
        }
        Sleep(100);
    }
    return true;
}

} // namespace

int WINAPI WinMain(HINSTANCE self, HINSTANCE, LPSTR, int show) {
    instance = self;
    HANDLE mutex;
    if (AnotherCopyRuns(&mutex)) return 0;
    INITCOMMONCONTROLSEX controls = {sizeof controls, ICC_LISTVIEW_CLASSES | ICC_HOTKEY_CLASS | ICC_UPDOWN_CLASS |
                                                          ICC_STANDARD_CLASSES};
    InitCommonControlsEx(&controls);
    japanLayout = ReadJapanLayout();
    LoadFiles();
    HWND window = CreateMainWindow(show);
    if (!window) return 1;
    HACCEL accelerators = LoadAcceleratorsW(instance, MAKEINTRESOURCEW(IDR_ACCELERATORS));
    MSG msg;
    while (GetMessageW(&msg, NULL, 0, 0) > 0) {
        if (HandleWindowKeys(msg, accelerators)) continue;
        TranslateMessage(&msg);
        DispatchMessageW(&msg);
    }
    if (mutex) CloseHandle(mutex);
    return (int)msg.wParam;
}
