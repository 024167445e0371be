#include <windows.h>
#include <commctrl.h>
#include "editor/editor.h"
#include "editor/key_roles.h"
#include "platform/remote_words.h"

namespace {

const ListColumn kKeyColumns[] = {
    {L"Key", 56}, {L"Action", 170}, {L"Long press", 130}, {L"Repeat", 52}, {L"Without a map", 150}};

void ActionWords(const UserKeyMap &map, const UserAction &action, char *out, size_t size) {
    if (action.kind == kActionNone) out[0] = 0;
    else DescribeUserAction(map, action, out, size);
}

// "on", "off" (KeyN.repeat=no) or "never" (a kind that acts once per press).
const char *RepeatWords(const UserKeySection &s, int code) {
    const UserAction &press = s.keys[code];
    if (press.kind == kActionNone) return "";
    const UserActionKindRow &row = kUserActionKinds[press.kind];
    if (!row.repeats || !row.repeats(press)) return "never";
    return s.noRepeat & (1u << code) ? "off" : "on";
}

} // namespace

bool KeyMayBeMapped(int code) {
    return FixedKeyRole(code) == nullptr;
}

void SetKeyColumns(HWND list, int dpi, bool insert) {
    SetListColumns(list, kKeyColumns, 5, dpi, insert);
}

// The remote's keys from top to bottom, each with what the program's
// section does with it.
void FillKeyList(HWND list, const ProgramRef &program) {
    int chosen = ChosenKey(list);
    SendMessageW(list, WM_SETREDRAW, FALSE, 0);
    ListView_DeleteAllItems(list);
    size_t count;
    const RemoteKey *keys = RemoteKeys(japanLayout, &count);
    const UserKeyMap &map = files[program.file].doc.map;
    const UserKeySection *section = program.section >= 0 ? &map.sections[program.section] : nullptr;
    for (size_t i = 0; i < count; ++i) {
        int code = keys[i].code;
        WCHAR label[16];
        Widen(keys[i].label, label, 16);
        int item = AddListRow(list, code, label);
        if (const char *role = FixedKeyRole(code)) {
            SetListCell(list, item, 1, "(fixed)");
            SetListCell(list, item, 4, role);
            continue;
        }
        if (section) {
            char words[512];
            ActionWords(map, section->keys[code], words, sizeof words);
            SetListCell(list, item, 1, words);
            ActionWords(map, section->longKeys[code], words, sizeof words);
            SetListCell(list, item, 2, words);
            SetListCell(list, item, 3, RepeatWords(*section, code));
        }
        SetListCell(list, item, 4, UnmappedKeyWords(code));
    }
    SendMessageW(list, WM_SETREDRAW, TRUE, 0);
    ChooseKey(list, chosen);
}

int ChosenKey(HWND list) {
    int item = ChosenListRow(list);
    return item < 0 ? -1 : (int)ListRowData(list, item);
}

void ChooseKey(HWND list, int code) {
    if (code < 0) return;
    LVFINDINFOW find = {};
    find.flags = LVFI_PARAM;
    find.lParam = code;
    ChooseListRow(list, (int)SendMessageW(list, LVM_FINDITEMW, (WPARAM)-1, (LPARAM)&find));
}
