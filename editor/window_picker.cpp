#include <windows.h>
#include <commctrl.h>
#include "editor/editor.h"
#include <string.h>
#include "res/remotekeys_resource.h"

namespace {

const ListColumn kWindowColumns[] = {{L"Program", 110}, {L"Title", 170}, {L"Class", 150}};

struct Picker {
    PickedProgram *picked;
    bool finding; // the finder is being dragged
    HWND windows;
};

// The program file's name (no folder) of the process that owns `window`.
void ProgramOf(HWND window, WCHAR *name, DWORD size) {
    name[0] = 0;
    DWORD id = 0;
    GetWindowThreadProcessId(window, &id);
    typedef BOOL(WINAPI * FullName)(HANDLE, DWORD, LPWSTR, PDWORD);
    static FullName fullName =
        (FullName)(void *)GetProcAddress(GetModuleHandleW(L"kernel32.dll"), "QueryFullProcessImageNameW");
    // Vista's limited right reaches programs of other users and elevated ones.
    HANDLE process = fullName ? OpenProcess(0x1000 /* PROCESS_QUERY_LIMITED_INFORMATION */, FALSE, id) : NULL;
    if (!process) return;
    WCHAR path[MAX_PATH];
    DWORD length = MAX_PATH;
    BOOL ok = fullName(process, 0, path, &length);
    CloseHandle(process);
    if (!ok) return;
    const WCHAR *base = path;
    for (const WCHAR *c = path; *c; ++c)
        if (*c == L'\\' || *c == L'/') base = c + 1;
    lstrcpynW(name, base, (int)size);
}

// Fills the name, program file and class of `window` into the fields.
void TakeWindow(HWND dialog, HWND window) {
    WCHAR program[MAX_PATH], windowClass[256];
    ProgramOf(window, program, MAX_PATH);
    if (!GetClassNameW(window, windowClass, 256)) windowClass[0] = 0;
    SetDlgItemTextW(dialog, IDC_PROCESS, program);
    SetDlgItemTextW(dialog, IDC_CLASS, windowClass);
    WCHAR name[MAX_PATH];
    lstrcpynW(name, program, MAX_PATH);
    // "player.exe" is named "player".
    int length = lstrlenW(name);
    if (length > 4 && lstrcmpiW(name + length - 4, L".exe") == 0) name[length - 4] = 0;
    SetDlgItemTextW(dialog, IDC_NAME, name[0] ? name : windowClass);
}

BOOL CALLBACK AddWindow(HWND window, LPARAM context) {
    Picker &picker = *(Picker *)context;
    WCHAR title[256], windowClass[256], program[MAX_PATH];
    DWORD id = 0;
    GetWindowThreadProcessId(window, &id);
    if (!IsWindowVisible(window) || GetWindow(window, GW_OWNER) || id == GetCurrentProcessId()) return TRUE;
    if (!GetWindowTextW(window, title, 256)) return TRUE; // untitled: tool windows, the desktop's parts
    if (!GetClassNameW(window, windowClass, 256)) windowClass[0] = 0;
    ProgramOf(window, program, MAX_PATH);
    int item = AddListRow(picker.windows, (LPARAM)window, program);
    char text[768];
    Narrow(title, text, sizeof text);
    SetListCell(picker.windows, item, 1, text);
    Narrow(windowClass, text, sizeof text);
    SetListCell(picker.windows, item, 2, text);
    return TRUE;
}

bool Finish(HWND dialog, PickedProgram &picked) {
    WCHAR text[MAX_PATH];
    GetDlgItemTextW(dialog, IDC_NAME, text, MAX_PATH);
    Narrow(text, picked.name, sizeof picked.name);
    GetDlgItemTextW(dialog, IDC_PROCESS, text, MAX_PATH);
    Narrow(text, picked.process, sizeof picked.process);
    picked.windowClass[0] = 0;
    if (IsDlgButtonChecked(dialog, IDC_USE_CLASS) == BST_CHECKED) {
        GetDlgItemTextW(dialog, IDC_CLASS, text, MAX_PATH);
        Narrow(text, picked.windowClass, sizeof picked.windowClass);
    }
    // The name goes in brackets; the others must name something.
    if (!picked.name[0] || strpbrk(picked.name, "[];") || (!picked.process[0] && !picked.windowClass[0])) {
        Ask(dialog, L"Give the program a name (without [ ] or ;) and its program file or window class.",
            MB_OK | MB_ICONINFORMATION);
        return false;
    }
    return true;
}

INT_PTR CALLBACK PickerProc(HWND dialog, UINT message, WPARAM wParam, LPARAM lParam) {
    Picker *picker = (Picker *)GetWindowLongPtrW(dialog, DWLP_USER);
    switch (message) {
    case WM_INITDIALOG: {
        SetWindowLongPtrW(dialog, DWLP_USER, lParam);
        picker = (Picker *)lParam;
        picker->windows = GetDlgItem(dialog, IDC_WINDOWS);
        ListView_SetExtendedListViewStyle(picker->windows, LVS_EX_FULLROWSELECT);
        SetListColumns(picker->windows, kWindowColumns, 3, (int)WindowDpi(dialog), true);
        EnumWindows(AddWindow, (LPARAM)picker);
        SendDlgItemMessageW(dialog, IDC_FINDER, STM_SETICON, (WPARAM)LoadCursorW(NULL, IDC_CROSS), 0);
        return TRUE;
    }
    case WM_NOTIFY: {
        const NMHDR *header = (const NMHDR *)lParam;
        if (picker && header->idFrom == IDC_WINDOWS && header->code == LVN_ITEMCHANGED) {
            const NMLISTVIEW *change = (const NMLISTVIEW *)lParam;
            if (change->uNewState & LVIS_SELECTED) TakeWindow(dialog, (HWND)change->lParam);
        }
        return FALSE;
    }
    case WM_SETCURSOR:
        // The finder: pressed, it holds the mouse until let go over a window.
        if (!picker || HIWORD(lParam) != WM_LBUTTONDOWN || (HWND)wParam != GetDlgItem(dialog, IDC_FINDER))
            return FALSE;
        picker->finding = true;
        SetCapture(dialog);
        SetCursor(LoadCursorW(NULL, IDC_CROSS));
        SetWindowLongPtrW(dialog, DWLP_MSGRESULT, TRUE);
        return TRUE;
    case WM_LBUTTONUP:
        if (!picker || !picker->finding) return FALSE;
        picker->finding = false;
        ReleaseCapture();
        SetCursor(LoadCursorW(NULL, IDC_ARROW));
        {
            POINT at;
            GetCursorPos(&at);
            HWND window = GetAncestor(WindowFromPoint(at), GA_ROOT);
            if (window && window != dialog) TakeWindow(dialog, window);
        }
        return TRUE;
    case WM_COMMAND:
        if (!picker) return FALSE;
        if (LOWORD(wParam) == IDOK) {
            if (Finish(dialog, *picker->picked)) EndDialog(dialog, IDOK);
        } else if (LOWORD(wParam) == IDCANCEL) {
            EndDialog(dialog, IDCANCEL);
        }
        return TRUE;
    default: return FALSE;
    }
}

} // namespace

bool PickProgram(HWND owner, PickedProgram &picked) {
    Picker picker = {&picked, false, NULL};
    return DialogBoxParamW(instance, MAKEINTRESOURCEW(IDD_ADD_PROGRAM), owner, PickerProc, (LPARAM)&picker) == IDOK;
}
