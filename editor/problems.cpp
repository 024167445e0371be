#include <windows.h>
#include <commctrl.h>
#include <stdio.h>
#include "editor/editor.h"

namespace {

const ListColumn kProblemColumns[] = {{L"File", 90}, {L"Line", 48}, {L"Not read because", 420}};

} // namespace

void SetProblemColumns(HWND list, int dpi, bool insert) {
    SetListColumns(list, kProblemColumns, 3, dpi, insert);
}

// Every line the parser skipped, the user's file first.
void FillProblemList(HWND list) {
    SendMessageW(list, WM_SETREDRAW, FALSE, 0);
    ListView_DeleteAllItems(list);
    for (int file = kUserFile; file < kFileCount; ++file) {
        const KeyMapDocument &doc = files[file].doc;
        for (int i = 0; i < doc.problemCount; ++i) {
            int item = AddListRow(list, file * 65536 + i, file == kUserFile ? L"yours" : L"everyone's");
            char line[16] = "";
            if (doc.problems[i].line > 0) (void)snprintf(line, sizeof line, "%d", doc.problems[i].line);
            SetListCell(list, item, 1, line);
            SetListCell(list, item, 2, doc.problems[i].why);
        }
    }
    SendMessageW(list, WM_SETREDRAW, TRUE, 0);
}

bool ProblemProgram(HWND list, int item, ProgramRef *program) {
    LPARAM data = ListRowData(list, item);
    if (data < 0) return false;
    int file = (int)(data / 65536), index = (int)(data % 65536);
    if (file >= kFileCount || index >= files[file].doc.problemCount) return false;
    const KeyMapProblem &problem = files[file].doc.problems[index];
    int section = problem.section >= 0 ? problem.section : SectionOfLine(files[file].doc, problem.line);
    if (section < 0) return false;
    *program = ProgramRef{file, section};
    return true;
}
