#include <windows.h>
#include <commctrl.h>
#include "editor/editor.h"
#include "editor/layout.h"

void SetListColumns(HWND list, const ListColumn *columns, int count, int dpi, bool insert) {
    for (int i = 0; i < count; ++i) {
        if (!insert) {
            ListView_SetColumnWidth(list, i, ScaleToDpi(columns[i].width, dpi));
            continue;
        }
        LVCOLUMNW column = {};
        column.mask = LVCF_TEXT | LVCF_WIDTH;
        column.pszText = const_cast<WCHAR *>(columns[i].title);
        column.cx = ScaleToDpi(columns[i].width, dpi);
        SendMessageW(list, LVM_INSERTCOLUMNW, (WPARAM)i, (LPARAM)&column);
    }
}

int AddListRow(HWND list, LPARAM data, const WCHAR *text) {
    LVITEMW item = {};
    item.mask = LVIF_TEXT | LVIF_PARAM;
    item.iItem = ListView_GetItemCount(list);
    item.pszText = const_cast<WCHAR *>(text);
    item.lParam = data;
    return (int)SendMessageW(list, LVM_INSERTITEMW, 0, (LPARAM)&item);
}

void SetListCell(HWND list, int item, int column, const char *utf8) {
    WCHAR text[512];
    Widen(utf8, text, 512);
    LVITEMW cell = {};
    cell.iSubItem = column;
    cell.pszText = text;
    SendMessageW(list, LVM_SETITEMTEXTW, (WPARAM)item, (LPARAM)&cell);
}

int ChosenListRow(HWND list) {
    return ListView_GetNextItem(list, -1, LVNI_SELECTED);
}

LPARAM ListRowData(HWND list, int item) {
    LVITEMW row = {};
    row.mask = LVIF_PARAM;
    row.iItem = item;
    if (!SendMessageW(list, LVM_GETITEMW, 0, (LPARAM)&row)) return -1;
    return row.lParam;
}

void ChooseListRow(HWND list, int item) {
    ListView_SetItemState(list, -1, 0, LVIS_SELECTED | LVIS_FOCUSED);
    if (item < 0) return;
    ListView_SetItemState(list, item, LVIS_SELECTED | LVIS_FOCUSED, LVIS_SELECTED | LVIS_FOCUSED);
    ListView_EnsureVisible(list, item, FALSE);
}
