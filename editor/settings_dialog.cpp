#include <windows.h>
#include <commctrl.h>
#include "editor/editor.h"
#include "platform/product_texts.h"
#include "res/remotekeys_resource.h"

namespace {

// As Telvix reads them: its defaults, and the range it accepts.
const struct {
    const WCHAR *name;
    DWORD fallback;
    int edit, spin;
} kTimes[] = {
    {L"RepeatDelayMs", 500, IDC_REPEAT_DELAY, IDC_REPEAT_DELAY_SPIN},
    {L"LongPressMs", 600, IDC_LONG_PRESS, IDC_LONG_PRESS_SPIN},
};
const int kMinMs = 65, kMaxMs = 10000;
const WCHAR *const kDisplayChoices[] = {L"Off", L"Every key", L"Keys nothing took"};

HKEY OpenSettings(REGSAM access) {
    WCHAR path[128];
    Widen(kUserSettingsKey, path, 128);
    HKEY key = NULL;
    if (RegCreateKeyExW(HKEY_CURRENT_USER, path, 0, NULL, 0, access, NULL, &key, NULL) != ERROR_SUCCESS) return NULL;
    return key;
}

DWORD ReadDword(HKEY key, const WCHAR *name, DWORD fallback) {
    DWORD value = 0, type = 0, size = sizeof value;
    if (!key || RegQueryValueExW(key, name, NULL, &type, (BYTE *)&value, &size) != ERROR_SUCCESS || type != REG_DWORD)
        return fallback;
    return value;
}

void Init(HWND dialog) {
    HKEY key = OpenSettings(KEY_QUERY_VALUE);
    for (const WCHAR *words : kDisplayChoices) SendDlgItemMessageW(dialog, IDC_DISPLAY, CB_ADDSTRING, 0, (LPARAM)words);
    DWORD display = ReadDword(key, L"OnScreenDisplay", 0);
    SendDlgItemMessageW(dialog, IDC_DISPLAY, CB_SETCURSEL, display <= 2 ? display : 0, 0);
    for (const auto &t : kTimes) {
        SendDlgItemMessageW(dialog, t.spin, UDM_SETRANGE32, (WPARAM)kMinMs, kMaxMs);
        DWORD ms = ReadDword(key, t.name, t.fallback);
        if (ms < (DWORD)kMinMs || ms > (DWORD)kMaxMs) ms = t.fallback;
        SendDlgItemMessageW(dialog, t.spin, UDM_SETPOS32, 0, (LPARAM)ms);
    }
    if (key) RegCloseKey(key);
}

bool Apply(HWND dialog) {
    DWORD times[2];
    for (int i = 0; i < 2; ++i) {
        BOOL ok = FALSE;
        UINT ms = GetDlgItemInt(dialog, kTimes[i].edit, &ok, FALSE);
        if (!ok || ms < (UINT)kMinMs || ms > (UINT)kMaxMs) {
            Ask(dialog, L"Give a time from 65 to 10000 ms.", MB_OK | MB_ICONINFORMATION);
            SetFocus(GetDlgItem(dialog, kTimes[i].edit));
            return false;
        }
        times[i] = ms;
    }
    HKEY key = OpenSettings(KEY_SET_VALUE);
    if (!key) {
        Ask(dialog, L"The settings could not be written.", MB_OK | MB_ICONERROR);
        return false;
    }
    DWORD display = (DWORD)SendDlgItemMessageW(dialog, IDC_DISPLAY, CB_GETCURSEL, 0, 0);
    bool ok = RegSetValueExW(key, L"OnScreenDisplay", 0, REG_DWORD, (const BYTE *)&display, sizeof display) == 0;
    for (int i = 0; i < 2; ++i)
        ok = ok && RegSetValueExW(key, kTimes[i].name, 0, REG_DWORD, (const BYTE *)&times[i], sizeof times[i]) == 0;
    RegCloseKey(key);
    if (!ok) Ask(dialog, L"The settings could not be written.", MB_OK | MB_ICONERROR);
    return ok;
}

INT_PTR CALLBACK SettingsProc(HWND dialog, UINT message, WPARAM wParam, LPARAM) {
    if (message == WM_INITDIALOG) {
        Init(dialog);
        return TRUE;
    }
    if (message != WM_COMMAND) return FALSE;
    if (LOWORD(wParam) == IDOK && Apply(dialog)) EndDialog(dialog, IDOK);
    else if (LOWORD(wParam) == IDCANCEL) EndDialog(dialog, IDCANCEL);
    else return FALSE;
    return TRUE;
}

} // namespace

void EditSettings(HWND owner) {
    DialogBoxParamW(instance, MAKEINTRESOURCEW(IDD_SETTINGS), owner, SettingsProc, 0);
}
