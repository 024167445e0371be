// What the editor's window, lists and dialogs share: the two files, the
// program chosen, and the few helpers every part uses.
#pragma once
#include <windows.h>
#include "editor/key_map_document.h"

enum FileId { kUserFile, kMachineFile, kFileCount };

struct EditorFile {
    KeyMapDocument doc;
    WCHAR path[MAX_PATH];
};
extern EditorFile files[kFileCount];
extern int japanLayout; // the remote's keys as the Japanese layout names them
extern HINSTANCE instance;
extern const WCHAR kEditorCaption[];

// A row of the programs list: a section of one file. The user's "Every
// program" row has section -1 until a key is set there.
struct ProgramRef {
    int file;
    int section;
};

// documents.cpp: the files read, the user's saved, the section to write.
void LoadFiles();
bool SaveUserFile(HWND owner);
// The user's first Process=* section, -1 when there is none.
int EveryProgramSection();
// The user's section for `program`, "Every program" made when missing; -1
// for the machine's (read-only) or when the file is full.
int WritableSection(const ProgramRef &program);

// text.cpp: the files' UTF-8 and the window's UTF-16, always terminated.
void Widen(const char *utf8, WCHAR *out, int size);
void Narrow(const WCHAR *text, char *out, int size);
int Ask(HWND owner, const WCHAR *text, UINT flags);

// list_view.cpp: report-mode lists with columns in 96-DPI units.
struct ListColumn {
    const WCHAR *title;
    int width;
};
void SetListColumns(HWND list, const ListColumn *columns, int count, int dpi, bool insert);
// Row `item` of `list` (appended when item is the count), first column `text`.
int AddListRow(HWND list, LPARAM data, const WCHAR *text);
void SetListCell(HWND list, int item, int column, const char *utf8);
int ChosenListRow(HWND list);
LPARAM ListRowData(HWND list, int item);
void ChooseListRow(HWND list, int item);

// program_list.cpp
void SetProgramColumns(HWND list, int dpi, bool insert);
void FillProgramList(HWND list, ProgramRef choose);
ProgramRef ChosenProgram(HWND list);
const char *ProgramName(const ProgramRef &program);

// key_list.cpp
void SetKeyColumns(HWND list, int dpi, bool insert);
void FillKeyList(HWND list, const ProgramRef &program);
int ChosenKey(HWND list); // its code, -1 for none
void ChooseKey(HWND list, int code);
bool KeyMayBeMapped(int code);

// problems.cpp
void SetProblemColumns(HWND list, int dpi, bool insert);
void FillProblemList(HWND list);
// The program a problem's line belongs to; false when it belongs to none.
bool ProblemProgram(HWND list, int item, ProgramRef *program);

// action_dialog.cpp: true when the key's lines changed.
bool EditKeyAction(HWND owner, const ProgramRef &program, int code);

// window_picker.cpp: a program from the windows open now; texts in UTF-8.
struct PickedProgram {
    char name[128];
    char process[MAX_PATH];
    char windowClass[256];
};
bool PickProgram(HWND owner, PickedProgram &picked);

// settings_dialog.cpp
void EditSettings(HWND owner);

// dpi.cpp
UINT WindowDpi(HWND window);
HFONT CreateMessageFont(UINT dpi);

// platform/country_code.cpp, built into this program as into Telvix: the
// decimal value of at most the first five characters.
int CountryCodeFromText(const char *text);
