// The editor's one window: the programs, the chosen program's keys, the
// lines not read, and what the remote's last key did.
#include "editor/main_window.h"
#include <windows.h>
#include <commctrl.h>
#include <stdio.h>
#include "editor/editor.h"
#include "editor/layout.h"
#include "platform/key_editor_link.h"
#include "res/remotekeys_resource.h"

namespace {

const DWORD kListStyle = WS_CHILD | WS_VISIBLE | WS_TABSTOP | WS_BORDER | LVS_REPORT | LVS_SINGLESEL | LVS_SHOWSELALWAYS;
const DWORD kButtonStyle = WS_CHILD | WS_VISIBLE | WS_TABSTOP | BS_PUSHBUTTON;
const DWORD kLabelStyle = WS_CHILD | WS_VISIBLE;

// In tab order; a label comes right before the list its mnemonic reaches.
const struct {
    int id;
    const WCHAR *windowClass;
    const WCHAR *text;
    DWORD style;
    LayoutItem box;
} kControls[] = {
    {IDC_PROGRAMS_LABEL, WC_STATICW, L"&Programs:", kLabelStyle, kProgramsLabel},
    {IDC_PROGRAMS, WC_LISTVIEWW, L"", kListStyle | LVS_EDITLABELS, kProgramsList},
    {IDC_ADD, WC_BUTTONW, L"&Add program...", kButtonStyle, kAddButton},
    {IDC_RENAME, WC_BUTTONW, L"Re&name", kButtonStyle, kRenameButton},
    {IDC_REMOVE, WC_BUTTONW, L"Remo&ve", kButtonStyle, kRemoveButton},
    {IDC_COPY, WC_BUTTONW, L"&Copy to my keys", kButtonStyle, kCopyButton},
    {IDC_KEYS_LABEL, WC_STATICW, L"&Keys (press one on the remote to find it):", kLabelStyle, kKeysLabel},
    {IDC_KEYS, WC_LISTVIEWW, L"", kListStyle, kKeysList},
    {IDC_CHANGE, WC_BUTTONW, L"C&hange...", kButtonStyle, kChangeButton},
    {IDC_CLEAR, WC_BUTTONW, L"C&lear", kButtonStyle, kClearButton},
    {IDC_LAST_KEY, WC_STATICW, L"", kLabelStyle | SS_NOPREFIX | SS_LEFTNOWORDWRAP | SS_CENTERIMAGE, kLastKeyText},
    {IDC_PROBLEMS_LABEL, WC_STATICW, L"Lines not rea&d (double-click one to see its program):", kLabelStyle,
     kProblemsLabel},
    {IDC_PROBLEMS, WC_LISTVIEWW, L"", kListStyle, kProblemsList},
    {IDC_SETTINGS, WC_BUTTONW, L"Se&ttings...", kButtonStyle, kSettingsButton},
    {IDC_SAVE, WC_BUTTONW, L"&Save", kButtonStyle, kSaveButton},
};

HWND window, programs, keys, problems;
HFONT font;
int dpi = 96;
UINT keyReadMessage;

HWND Item(int id) { return GetDlgItem(window, id); }

void LayOut() {
    RECT client;
    GetClientRect(window, &client);
    LayoutBox boxes[kLayoutItemCount];
    LayOutMainWindow(client.right, client.bottom, dpi, boxes);
    HDWP positions = BeginDeferWindowPos((int)(sizeof kControls / sizeof kControls[0]));
    for (const auto &c : kControls) {
        const LayoutBox &b = boxes[c.box];
        if (positions)
            positions = DeferWindowPos(positions, Item(c.id), NULL, b.x, b.y, b.width, b.height,
                                       SWP_NOZORDER | SWP_NOACTIVATE);
    }
    if (positions) EndDeferWindowPos(positions);
}

void SetFonts() {
    HFONT old = font;
    font = CreateMessageFont((UINT)dpi);
    for (const auto &c : kControls) SendMessageW(Item(c.id), WM_SETFONT, (WPARAM)font, TRUE);
    if (old) DeleteObject(old);
}

void UpdateCommands() {
    ProgramRef program = ChosenProgram(programs);
    bool mine = program.file == kUserFile, every = mine && program.section == EveryProgramSection();
    int code = ChosenKey(keys);
    EnableWindow(Item(IDC_RENAME), mine && !every);
    EnableWindow(Item(IDC_REMOVE), mine && program.section >= 0);
    EnableWindow(Item(IDC_COPY), !mine);
    EnableWindow(Item(IDC_CHANGE), mine && code >= 0 && KeyMayBeMapped(code));
    EnableWindow(Item(IDC_CLEAR), mine && code >= 0 && KeyMayBeMapped(code));
    WCHAR title[64];
    wsprintfW(title, files[kUserFile].doc.modified ? L"%s (not saved)" : L"%s", kEditorCaption);
    SetWindowTextW(window, title);
}

// Everything shown again from the files, `choose` chosen.
void Refresh(const ProgramRef &choose) {
    MarkReplacedSections(files[kUserFile].doc.map, files[kMachineFile].doc.map);
    FillProgramList(programs, choose);
    FillKeyList(keys, ChosenProgram(programs));
    FillProblemList(problems);
    UpdateCommands();
}

void EditKey() {
    ProgramRef program = ChosenProgram(programs);
    int code = ChosenKey(keys);
    if (code < 0 || !KeyMayBeMapped(code)) return;
    if (program.file != kUserFile) {
        Ask(window, L"These keys are everyone's and cannot be changed here. Copy them to your keys first.",
            MB_OK | MB_ICONINFORMATION);
        return;
    }
    if (!EditKeyAction(window, program, code)) return;
    Refresh(ProgramRef{kUserFile, WritableSection(program)});
    ChooseKey(keys, code);
}

void ClearKey() {
    ProgramRef program = ChosenProgram(programs);
    int code = ChosenKey(keys);
    if (program.file != kUserFile || program.section < 0 || code < 0 || !KeyMayBeMapped(code)) return;
    KeyMapDocument &doc = files[kUserFile].doc;
    const KeyLineKind kinds[] = {kKeyPress, kKeyLong, kKeyRepeat};
    for (KeyLineKind kind : kinds) SetKeyLine(doc, program.section, code, kind, "");
    Refresh(program);
    ChooseKey(keys, code);
}

void AddProgram() {
    PickedProgram picked = {};
    if (!PickProgram(window, picked)) return;
    int section = AddSection(files[kUserFile].doc, picked.name, picked.process, picked.windowClass);
    if (section < 0) Ask(window, L"Your file cannot take another program.", MB_OK | MB_ICONINFORMATION);
    else Refresh(ProgramRef{kUserFile, section});
}

void RemoveProgram() {
    ProgramRef program = ChosenProgram(programs);
    if (program.file != kUserFile || program.section < 0) return;
    WCHAR name[160], text[300];
    Widen(ProgramName(program), name, 160);
    wsprintfW(text, L"Remove \"%s\" and all its keys?", name);
    if (Ask(window, text, MB_YESNO | MB_ICONQUESTION) != IDYES) return;
    RemoveSection(files[kUserFile].doc, program.section);
    Refresh(ProgramRef{kUserFile, program.section > 0 ? program.section - 1 : 0});
}

void CopyProgram() {
    ProgramRef program = ChosenProgram(programs);
    if (program.file != kMachineFile || program.section < 0) return;
    int section = CopySection(files[kUserFile].doc, files[kMachineFile].doc, program.section);
    if (section < 0) Ask(window, L"Your file cannot take another program.", MB_OK | MB_ICONINFORMATION);
    else Refresh(ProgramRef{kUserFile, section});
}

void Rename() {
    ProgramRef program = ChosenProgram(programs);
    if (program.file != kUserFile || program.section < 0 || program.section == EveryProgramSection()) return;
    SetFocus(programs);
    ListView_EditLabel(programs, ChosenListRow(programs));
}

LRESULT RenameDone(const NMLVDISPINFOW *info) {
    if (!info->item.pszText) return FALSE;
    ProgramRef program = ChosenProgram(programs);
    char name[160];
    Narrow(info->item.pszText, name, sizeof name);
    if (!name[0] || strpbrk(name, "[];") || !RenameSection(files[kUserFile].doc, program.section, name)) {
        Ask(window, L"A program's name may not be empty nor hold [ ] or ;.", MB_OK | MB_ICONINFORMATION);
        return FALSE;
    }
    Refresh(program);
    return FALSE; // the list is filled again already
}

// What Telvix did with a key of the remote: that key chosen, its fate shown.
void ShowKeyRead(const KeyOutcome &outcome) {
    ChooseKey(keys, outcome.code);
    char fate[200], text[260];
    if (outcome.reason == kTaken) (void)snprintf(fate, sizeof fate, "went to %s", KeyPlaceWords(outcome.place));
    else FormatKeyOutcome(outcome, japanLayout, fate, sizeof fate);
    (void)snprintf(text, sizeof text, "Last key from the remote: %s, %s", RemoteKeyLabel(outcome.code, japanLayout),
                   fate);
    WCHAR wide[260];
    Widen(text, wide, 260);
    SetWindowTextW(Item(IDC_LAST_KEY), wide);
    UpdateCommands();
}

LRESULT OnNotify(const NMHDR *header) {
    switch (header->idFrom) {
    case IDC_PROGRAMS:
        if (header->code == LVN_ITEMCHANGED && (((const NMLISTVIEW *)header)->uChanged & LVIF_STATE)) {
            FillKeyList(keys, ChosenProgram(programs));
            UpdateCommands();
        } else if (header->code == LVN_BEGINLABELEDITW) {
            ProgramRef program = ChosenProgram(programs);
            return program.file != kUserFile || program.section < 0 || program.section == EveryProgramSection();
        } else if (header->code == LVN_ENDLABELEDITW) {
            return RenameDone((const NMLVDISPINFOW *)header);
        } else if (header->code == LVN_KEYDOWN && ((const NMLVKEYDOWN *)header)->wVKey == VK_DELETE) {
            RemoveProgram();
        }
        break;
    case IDC_KEYS:
        if (header->code == LVN_ITEMCHANGED) UpdateCommands();
        else if (header->code == NM_DBLCLK) EditKey();
        else if (header->code == LVN_KEYDOWN && ((const NMLVKEYDOWN *)header)->wVKey == VK_DELETE) ClearKey();
        break;
    case IDC_PROBLEMS:
        if (header->code == NM_DBLCLK || header->code == NM_RETURN) {
            ProgramRef program;
            if (ProblemProgram(problems, ChosenListRow(problems), &program)) Refresh(program);
        }
        break;
    default: break;
    }
    return 0;
}

void OnCommand(int id) {
    switch (id) {
    case IDOK: // Enter: the focused list's own action
        if (GetFocus() == keys) EditKey();
        else if (GetFocus() == problems) {
            ProgramRef program;
            if (ProblemProgram(problems, ChosenListRow(problems), &program)) Refresh(program);
        }
        break;
    case IDC_ADD: AddProgram(); break;
    case IDC_RENAME: Rename(); break;
    case IDC_REMOVE: RemoveProgram(); break;
    case IDC_COPY: CopyProgram(); break;
    case IDC_CHANGE: EditKey(); break;
    case IDC_CLEAR: ClearKey(); break;
    case IDC_SETTINGS: EditSettings(window); break;
    case IDC_SAVE:
        if (SaveUserFile(window)) UpdateCommands();
        break;
    default: break;
    }
}

bool MayClose() {
    if (!files[kUserFile].doc.modified) return true;
    int answer = Ask(window, L"Save the changes to your keys?", MB_YESNOCANCEL | MB_ICONQUESTION);
    return answer == IDNO || (answer == IDYES && SaveUserFile(window));
}

void OnCreate(HWND created) {
    window = created;
    dpi = (int)WindowDpi(window);
    for (const auto &c : kControls)
        (void)CreateWindowExW(0, c.windowClass, c.text, c.style, 0, 0, 0, 0, window, (HMENU)(INT_PTR)c.id, instance, NULL);
    programs = Item(IDC_PROGRAMS);
    keys = Item(IDC_KEYS);
    problems = Item(IDC_PROBLEMS);
    const HWND lists[] = {programs, keys, problems};
    for (HWND list : lists)
        ListView_SetExtendedListViewStyle(list, LVS_EX_FULLROWSELECT | LVS_EX_DOUBLEBUFFER);
    SetProgramColumns(programs, dpi, true);
    SetKeyColumns(keys, dpi, true);
    SetProblemColumns(problems, dpi, true);
    SetFonts();
    Refresh(ProgramRef{kUserFile, 0});
    ChooseListRow(keys, 0);
    LayOut();
}

void OnDpiChanged(int newDpi, const RECT *suggested) {
    dpi = newDpi;
    SetFonts();
    SetProgramColumns(programs, dpi, false);
    SetKeyColumns(keys, dpi, false);
    SetProblemColumns(problems, dpi, false);
    SetWindowPos(window, NULL, suggested->left, suggested->top, suggested->right - suggested->left,
                 suggested->bottom - suggested->top, SWP_NOZORDER | SWP_NOACTIVATE);
    LayOut();
}

LRESULT CALLBACK MainProc(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam) {
    if (message == keyReadMessage && keyReadMessage) {
        KeyOutcome outcome;
        if (UnpackKeyRead((unsigned long)wParam, outcome)) ShowKeyRead(outcome);
        return 0;
    }
    switch (message) {
    case WM_CREATE: OnCreate(hwnd); return 0;
    case WM_SIZE: LayOut(); return 0;
    case WM_GETMINMAXINFO: {
        int width, height;
        MinimumClientSize((int)WindowDpi(hwnd), &width, &height);
        RECT frame = {0, 0, width, height};
        AdjustWindowRectEx(&frame, WS_OVERLAPPEDWINDOW, FALSE, 0);
        ((MINMAXINFO *)lParam)->ptMinTrackSize = {frame.right - frame.left, frame.bottom - frame.top};
        return 0;
    }
    case 0x02E0: // WM_DPICHANGED
        OnDpiChanged(HIWORD(wParam), (const RECT *)lParam);
        return 0;
    case WM_NOTIFY: return OnNotify((const NMHDR *)lParam);
    case WM_COMMAND: OnCommand(LOWORD(wParam)); return 0;
    case WM_CLOSE:
        if (MayClose()) DestroyWindow(hwnd);
        return 0;
    case WM_DESTROY:
        if (font) DeleteObject(font);
        PostQuitMessage(0);
        return 0;
    default: return DefWindowProcW(hwnd, message, wParam, lParam);
    }
}

} // namespace

HWND CreateMainWindow(int show) {
    WCHAR name[64];
    Widen(kKeyReadMessageName, name, 64);
    keyReadMessage = RegisterWindowMessageW(name);
    WCHAR className[64];
    Widen(kKeyEditorWindowClass, className, 64);
    WNDCLASSW windowClass = {};
    windowClass.lpfnWndProc = MainProc;
    windowClass.hInstance = instance;
    windowClass.hCursor = LoadCursorW(NULL, IDC_ARROW);
    windowClass.hbrBackground = (HBRUSH)(COLOR_BTNFACE + 1);
    windowClass.lpszClassName = className;
    if (!RegisterClassW(&windowClass)) return NULL;
    // Sized for the system's DPI; a window that opens on another monitor gets WM_DPICHANGED.
    int systemDpi = (int)WindowDpi(NULL);
    HWND created = CreateWindowExW(WS_EX_CONTROLPARENT, className, kEditorCaption, WS_OVERLAPPEDWINDOW, CW_USEDEFAULT,
                                   CW_USEDEFAULT, ScaleToDpi(900, systemDpi), ScaleToDpi(620, systemDpi), NULL, NULL,
                                   instance, NULL);
    if (!created) return NULL;
    if (dpi != systemDpi)
        SetWindowPos(created, NULL, 0, 0, ScaleToDpi(900, dpi), ScaleToDpi(620, dpi),
                     SWP_NOMOVE | SWP_NOZORDER | SWP_NOACTIVATE);
    ShowWindow(created, show);
    return created;
}

bool HandleWindowKeys(MSG &msg, HACCEL accelerators) {
    if (!window) return false;
    if (TranslateAcceleratorW(window, accelerators, &msg)) return true;
    // A name being typed into the programs list keeps Enter and Esc for itself.
    HWND editing = ListView_GetEditControl(programs);
    if (editing && msg.hwnd == editing) return false;
    return IsDialogMessageW(window, &msg) != 0;
}
