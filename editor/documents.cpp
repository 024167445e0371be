#include "editor/editor.h"
#include "editor/key_map_save.h"

EditorFile files[kFileCount];

void LoadFiles() {
    // A missing file is an empty one: the user's is made when first saved.
    for (EditorFile &file : files) NewKeyMapDocument(file.doc);
    if (UserKeyMapPath(files[kUserFile].path, MAX_PATH)) ReadKeyMapFile(files[kUserFile].path, files[kUserFile].doc);
    if (MachineKeyMapPath(files[kMachineFile].path, MAX_PATH))
        ReadKeyMapFile(files[kMachineFile].path, files[kMachineFile].doc);
    MarkReplacedSections(files[kUserFile].doc.map, files[kMachineFile].doc.map);
}

bool SaveUserFile(HWND owner) {
    EditorFile &user = files[kUserFile];
    char why[256] = "";
    if (SaveKeyMapFile(user.path, user.doc, why, sizeof why)) {
        user.doc.modified = false;
        return true;
    }
    WCHAR reason[256], text[MAX_PATH + 400];
    Widen(why, reason, 256);
    wsprintfW(text, L"Your keys were not saved to %s:\n%s", user.path, reason);
    Ask(owner, text, MB_OK | MB_ICONERROR);
    return false;
}

int EveryProgramSection() {
    const UserKeyMap &map = files[kUserFile].doc.map;
    for (int i = 0; i < map.count; ++i)
        if (map.sections[i].everywhere) return i;
    return -1;
}

int WritableSection(const ProgramRef &program) {
    if (program.file != kUserFile) return -1;
    if (program.section >= 0) return program.section;
    int every = EveryProgramSection();
    return every >= 0 ? every : AddSection(files[kUserFile].doc, "Every program", "*", "");
}
