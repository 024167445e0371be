#include "editor/editor.h"
#include "editor/key_map_save.h"

EditorFile files[kFileCount];

void LoadFiles() {
    // A missing file is an empty one: the user's is made when first saved.
    bool (*const paths[kFileCount])(wchar_t *, size_t) = {UserKeyMapPath, MachineKeyMapPath};
    for (int i = 0; i < kFileCount; ++i) {
        NewKeyMapDocument(files[i].doc);
        unsigned long error = 0;
        if (paths[i](files[i].path, MAX_PATH)) ReadKeyMapFile(files[i].path, files[i].doc, &error);
    }
    MarkReplacedSections(files[kUserFile].doc.map, files[kMachineFile].doc.map);
}

bool SaveUserFile(HWND owner) {
    EditorFile &user = files[kUserFile];
    char why[256] = "";
    if (SaveKeyMapFile(user.path, user.doc, why, sizeof why)) return true;
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
