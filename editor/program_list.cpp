#include <windows.h>
#include <commctrl.h>
#include <stdio.h>
#include "editor/editor.h"

namespace {

const ListColumn kProgramColumns[] = {{L"Program", 120}, {L"Matches", 150}};

LPARAM Pack(const ProgramRef &program) {
    return (LPARAM)program.file * 1024 + program.section + 1;
}

void AddProgramRow(HWND list, const ProgramRef &program, const ProgramRef &choose) {
    const KeyMapDocument &doc = files[program.file].doc;
    char matches[600] = "every program";
    WCHAR name[160];
    Widen(ProgramName(program), name, 160);
    if (program.section >= 0) {
        const UserKeySection &s = doc.map.sections[program.section];
        const char *process = KeyMapText(doc.map, s.process), *windowClass = KeyMapText(doc.map, s.windowClass);
        if (!s.everywhere)
            (void)snprintf(matches, sizeof matches, "%s%s%s", process, *process && *windowClass ? ", " : "",
                           windowClass);
        if (program.file == kMachineFile)
            (void)snprintf(matches + strlen(matches), sizeof matches - strlen(matches), "%s",
                           s.replaced ? " (everyone's, replaced by yours)" : " (everyone's, read-only)");
    }
    int item = AddListRow(list, Pack(program), name);
    SetListCell(list, item, 1, matches);
    if (program.file == choose.file && program.section == choose.section) ChooseListRow(list, item);
}

} // namespace

void SetProgramColumns(HWND list, int dpi, bool insert) {
    SetListColumns(list, kProgramColumns, 2, dpi, insert);
}

const char *ProgramName(const ProgramRef &program) {
    if (program.section < 0) return "Every program";
    const KeyMapDocument &doc = files[program.file].doc;
    const UserKeySection &s = doc.map.sections[program.section];
    if (program.file == kUserFile && program.section == EveryProgramSection()) return "Every program";
    return KeyMapText(doc.map, s.name);
}

// The user's sections, then the machine's, then "Every program" (the user's
// first Process=* section, or the one a first key there will make).
void FillProgramList(HWND list, ProgramRef choose) {
    SendMessageW(list, WM_SETREDRAW, FALSE, 0);
    ListView_DeleteAllItems(list);
    int every = EveryProgramSection();
    if (choose.file == kUserFile && choose.section == -1) choose.section = every;
    for (int file = kUserFile; file < kFileCount; ++file)
        for (int i = 0; i < files[file].doc.map.count; ++i)
            if (file != kUserFile || i != every) AddProgramRow(list, ProgramRef{file, i}, choose);
    AddProgramRow(list, ProgramRef{kUserFile, every}, choose);
    if (ChosenListRow(list) < 0) ChooseListRow(list, 0);
    SendMessageW(list, WM_SETREDRAW, TRUE, 0);
}

ProgramRef ChosenProgram(HWND list) {
    int item = ChosenListRow(list);
    LPARAM packed = item < 0 ? 1 : ListRowData(list, item);
    if (packed < 0) packed = 1;
    return ProgramRef{(int)(packed / 1024), (int)(packed % 1024) - 1};
}
