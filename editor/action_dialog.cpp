#include <windows.h>
#include <commctrl.h>
#include <commdlg.h>
#include <string.h>
#include "editor/action_value.h"
#include "editor/editor.h"
#include "platform/remote_words.h"
#include "res/remotekeys_resource.h"

namespace {

// In UserActionKind order.
const WCHAR *const kKindWords[kActionKindCount] = {
    L"Nothing",         L"A key to the program", L"A key combination", L"A player command",
    L"Start a program", L"Volume",               L"A media key",       L"Power",
};

#define KIND(k) (1u << (k))
// Which controls each kind shows.
const struct {
    int id;
    unsigned kinds;
} kValueControls[] = {
    {IDC_KEY_LABEL, KIND(kActionPost) | KIND(kActionChord)},
    {IDC_HOTKEY, KIND(kActionPost) | KIND(kActionChord)},
    {IDC_WIN, KIND(kActionChord)},
    {IDC_CHOICE_LABEL, KIND(kActionApp) | KIND(kActionVolume) | KIND(kActionMedia) | KIND(kActionPower)},
    {IDC_CHOICE, KIND(kActionApp) | KIND(kActionVolume) | KIND(kActionMedia) | KIND(kActionPower)},
    {IDC_STEP_LABEL, KIND(kActionVolume)},
    {IDC_STEP, KIND(kActionVolume)},
    {IDC_PROGRAM_LABEL, KIND(kActionRun)},
    {IDC_PROGRAM, KIND(kActionRun)},
    {IDC_BROWSE, KIND(kActionRun)},
    {IDC_ARGUMENTS_LABEL, KIND(kActionRun)},
    {IDC_ARGUMENTS, KIND(kActionRun)},
};

const KeyLineKind kHalves[2] = {kKeyPress, kKeyLong};

struct ActionDialog {
    ProgramRef program;
    int code;
    ActionFields halves[2]; // when pressed, when held
    char before[2][1100];   // the values as the file has them, made canonical
    bool repeatBefore;
    int shown;
};

// The list's options for a kind, or null for app: (numbered commands).
const ActionChoice *ChoicesOf(UserActionKind kind, int *count) {
    switch (kind) {
    case kActionVolume: *count = 3; return kVolumeChoices;
    case kActionMedia: *count = 4; return kMediaChoices;
    case kActionPower: *count = 4; return kPowerChoices;
    default: *count = 0; return nullptr;
    }
}

void AddChoice(HWND combo, const char *words, const char *option, const char *current) {
    WCHAR text[64];
    Widen(words, text, 64);
    int at = (int)SendMessageW(combo, CB_ADDSTRING, 0, (LPARAM)text);
    if (strcmp(option, current) == 0) SendMessageW(combo, CB_SETCURSEL, (WPARAM)at, 0);
}

void FillChoices(HWND dialog, const ActionFields &f) {
    HWND combo = GetDlgItem(dialog, IDC_CHOICE);
    SendMessageW(combo, CB_RESETCONTENT, 0, 0);
    int count;
    if (const ActionChoice *choices = ChoicesOf(f.kind, &count)) {
        for (int i = 0; i < count; ++i) AddChoice(combo, choices[i].words, choices[i].option, f.option);
    } else if (f.kind == kActionApp) {
        char name[40], words[40];
        for (int command = 1; command < 256; ++command)
            if (AppCommandChoice(command, name, sizeof name, words, sizeof words)) {
                AddChoice(combo, words, name, f.option);
                SendMessageW(combo, CB_SETITEMDATA, (WPARAM)SendMessageW(combo, CB_GETCOUNT, 0, 0) - 1, command);
            }
    }
    if (SendMessageW(combo, CB_GETCURSEL, 0, 0) < 0) SendMessageW(combo, CB_SETCURSEL, 0, 0);
}

// The option the list shows now.
void ReadChoice(HWND dialog, ActionFields &f) {
    HWND combo = GetDlgItem(dialog, IDC_CHOICE);
    int at = (int)SendMessageW(combo, CB_GETCURSEL, 0, 0);
    f.option[0] = 0;
    if (at < 0) return;
    int count;
    if (const ActionChoice *choices = ChoicesOf(f.kind, &count)) {
        if (at < count) lstrcpynA(f.option, choices[at].option, sizeof f.option);
    } else if (f.kind == kActionApp) {
        char words[40];
        AppCommandChoice((int)SendMessageW(combo, CB_GETITEMDATA, (WPARAM)at, 0), f.option, sizeof f.option, words,
                         sizeof words);
    }
}

void ShowFields(HWND dialog, const ActionFields &f) {
    SendDlgItemMessageW(dialog, IDC_KIND, CB_SETCURSEL, f.kind, 0);
    for (const auto &c : kValueControls) ShowWindow(GetDlgItem(dialog, c.id), c.kinds & KIND(f.kind) ? SW_SHOW : SW_HIDE);
    // A plain key takes no modifiers; a combination may have them.
    HWND hotkey = GetDlgItem(dialog, IDC_HOTKEY);
    WPARAM noModifiers = HKCOMB_C | HKCOMB_A | HKCOMB_S | HKCOMB_CA | HKCOMB_SA | HKCOMB_SC | HKCOMB_SCA;
    SendMessageW(hotkey, HKM_SETRULES, f.kind == kActionPost ? noModifiers : 0, 0);
    BYTE flags = (BYTE)((f.modifiers & kModCtrl ? HOTKEYF_CONTROL : 0) | (f.modifiers & kModAlt ? HOTKEYF_ALT : 0) |
                        (f.modifiers & kModShift ? HOTKEYF_SHIFT : 0));
    SendMessageW(hotkey, HKM_SETHOTKEY, MAKEWORD(f.vk, f.kind == kActionChord ? flags : 0), 0);
    CheckDlgButton(dialog, IDC_WIN, f.modifiers & kModWin ? BST_CHECKED : BST_UNCHECKED);
    FillChoices(dialog, f);
    SetDlgItemInt(dialog, IDC_STEP, (UINT)f.step, FALSE);
    WCHAR text[780];
    Widen(f.program, text, 780);
    SetDlgItemTextW(dialog, IDC_PROGRAM, text);
    Widen(f.arguments, text, 780);
    SetDlgItemTextW(dialog, IDC_ARGUMENTS, text);
}

void ReadFields(HWND dialog, ActionFields &f) {
    f.kind = (UserActionKind)SendDlgItemMessageW(dialog, IDC_KIND, CB_GETCURSEL, 0, 0);
    if (f.kind >= kActionKindCount) f.kind = kActionNone;
    WORD hotkey = (WORD)SendDlgItemMessageW(dialog, IDC_HOTKEY, HKM_GETHOTKEY, 0, 0);
    BYTE flags = HIBYTE(hotkey);
    f.vk = LOBYTE(hotkey);
    f.modifiers = (uint8_t)((flags & HOTKEYF_CONTROL ? kModCtrl : 0) | (flags & HOTKEYF_ALT ? kModAlt : 0) |
                            (flags & HOTKEYF_SHIFT ? kModShift : 0) |
                            (IsDlgButtonChecked(dialog, IDC_WIN) == BST_CHECKED ? kModWin : 0));
    ReadChoice(dialog, f);
    f.step = (int)GetDlgItemInt(dialog, IDC_STEP, NULL, FALSE);
    WCHAR text[780];
    GetDlgItemTextW(dialog, IDC_PROGRAM, text, 780);
    Narrow(text, f.program, sizeof f.program);
    GetDlgItemTextW(dialog, IDC_ARGUMENTS, text, 780);
    Narrow(text, f.arguments, sizeof f.arguments);
}

void Browse(HWND dialog) {
    WCHAR path[MAX_PATH];
    GetDlgItemTextW(dialog, IDC_PROGRAM, path, MAX_PATH);
    OPENFILENAMEW open = {};
    open.lStructSize = sizeof open;
    open.hwndOwner = dialog;
    open.lpstrFilter = L"Programs (*.exe)\0*.exe\0All files\0*.*\0";
    open.lpstrFile = path;
    open.nMaxFile = MAX_PATH;
    open.Flags = OFN_FILEMUSTEXIST | OFN_HIDEREADONLY | OFN_NOCHANGEDIR;
    // Loaded when first asked for: the common dialogs bring the shell's libraries
    // along, which the editor's start would otherwise wait for. A known DLL, so
    // only the system's copy is ever loaded.
    typedef BOOL(WINAPI * OpenFileName)(OPENFILENAMEW *);
    HMODULE dialogs = LoadLibraryW(L"comdlg32.dll");
    OpenFileName openFileName = dialogs ? (OpenFileName)(void *)GetProcAddress(dialogs, "GetOpenFileNameW") : NULL;
    if (openFileName && openFileName(&open)) SetDlgItemTextW(dialog, IDC_PROGRAM, path);
}

bool Check(HWND dialog, ActionDialog &d, char values[2][1100]) {
    for (int half = 0; half < 2; ++half) {
        const char *why = ActionValueText(d.halves[half], values[half], sizeof values[half]);
        if (!why) continue;
        if (half != d.shown) {
            CheckRadioButton(dialog, IDC_WHEN_PRESSED, IDC_WHEN_HELD, IDC_WHEN_PRESSED + half);
            d.shown = half;
            ShowFields(dialog, d.halves[half]);
        }
        WCHAR text[256];
        Widen(why, text, 256);
        SetDlgItemTextW(dialog, IDC_HINT, text);
        return false;
    }
    return true;
}

// Only the lines whose value changed are written: an untouched line keeps
// its bytes even where the formatter would spell it otherwise.
bool Apply(HWND dialog, ActionDialog &d) {
    ReadFields(dialog, d.halves[d.shown]);
    char values[2][1100];
    if (!Check(dialog, d, values)) return false;
    bool repeat = IsDlgButtonChecked(dialog, IDC_REPEAT) == BST_CHECKED;
    bool changed = strcmp(values[0], d.before[0]) != 0 || strcmp(values[1], d.before[1]) != 0 ||
                   repeat != d.repeatBefore;
    if (!changed) return true;
    int section = WritableSection(d.program);
    KeyMapDocument &doc = files[kUserFile].doc;
    bool ok = section >= 0;
    for (int half = 0; half < 2 && ok; ++half)
        if (strcmp(values[half], d.before[half]) != 0) ok = SetKeyLine(doc, section, d.code, kHalves[half], values[half]);
    if (ok && repeat != d.repeatBefore) ok = SetKeyLine(doc, section, d.code, kKeyRepeat, repeat ? "" : "no");
    if (!ok) SetDlgItemTextW(dialog, IDC_HINT, L"Your file cannot take this line (it is full).");
    return ok;
}

void Init(HWND dialog, ActionDialog &d) {
    for (const WCHAR *words : kKindWords) SendDlgItemMessageW(dialog, IDC_KIND, CB_ADDSTRING, 0, (LPARAM)words);
    const KeyMapDocument &doc = files[d.program.file].doc;
    for (int half = 0; half < 2; ++half) {
        char value[1100] = "";
        if (d.program.section >= 0) KeyLineValue(doc, d.program.section, d.code, kHalves[half], value, sizeof value);
        ActionFieldsFromValue(value, d.halves[half]);
        if (ActionValueText(d.halves[half], d.before[half], sizeof d.before[half])) d.before[half][0] = 0;
    }
    char repeat[8] = "";
    if (d.program.section >= 0) KeyLineValue(doc, d.program.section, d.code, kKeyRepeat, repeat, sizeof repeat);
    d.repeatBefore = lstrcmpiA(repeat, "no") != 0;
    CheckDlgButton(dialog, IDC_REPEAT, d.repeatBefore ? BST_CHECKED : BST_UNCHECKED);
    CheckRadioButton(dialog, IDC_WHEN_PRESSED, IDC_WHEN_HELD, IDC_WHEN_PRESSED);
    char title[200];
    lstrcpynA(title, RemoteKeyLabel(d.code, japanLayout), 16);
    lstrcatA(title, " for ");
    lstrcpynA(title + lstrlenA(title), ProgramName(d.program), 150);
    WCHAR text[200];
    Widen(title, text, 200);
    SetDlgItemTextW(dialog, IDC_KEY_NAME, text);
    ShowFields(dialog, d.halves[0]);
}

INT_PTR CALLBACK ActionProc(HWND dialog, UINT message, WPARAM wParam, LPARAM lParam) {
    ActionDialog *d = (ActionDialog *)GetWindowLongPtrW(dialog, DWLP_USER);
    if (message == WM_INITDIALOG) {
        SetWindowLongPtrW(dialog, DWLP_USER, lParam);
        Init(dialog, *(ActionDialog *)lParam);
        return TRUE;
    }
    if (message != WM_COMMAND || !d) return FALSE;
    switch (LOWORD(wParam)) {
    case IDC_WHEN_PRESSED:
    case IDC_WHEN_HELD: {
        int half = LOWORD(wParam) - IDC_WHEN_PRESSED;
        if (half == d->shown) break;
        ReadFields(dialog, d->halves[d->shown]);
        d->shown = half;
        ShowFields(dialog, d->halves[half]);
        break;
    }
    case IDC_KIND:
        if (HIWORD(wParam) != CBN_SELCHANGE) break;
        ReadFields(dialog, d->halves[d->shown]);
        d->halves[d->shown].option[0] = 0;
        ShowFields(dialog, d->halves[d->shown]);
        break;
    case IDC_BROWSE: Browse(dialog); break;
    case IDOK:
        if (Apply(dialog, *d)) EndDialog(dialog, IDOK);
        break;
    case IDCANCEL: EndDialog(dialog, IDCANCEL); break;
    default: return FALSE;
    }
    return TRUE;
}

} // namespace

bool EditKeyAction(HWND owner, const ProgramRef &program, int code) {
    static ActionDialog d;
    d = ActionDialog{};
    d.program = program;
    d.code = code;
    return DialogBoxParamW(instance, MAKEINTRESOURCEW(IDD_ACTION), owner, ActionProc, (LPARAM)&d) == IDOK;
}
