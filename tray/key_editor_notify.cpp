#include "tray/key_editor_notify.h"
#include <windows.h>
#include "platform/key_editor_link.h"

void NotifyKeyEditor(const KeyOutcome &outcome) {
    static UINT keyRead = RegisterWindowMessageA(kKeyReadMessageName);
    HWND editor = FindWindowA(kKeyEditorWindowClass, NULL);
    // Posted, never sent: an editor that hangs must not stall the poll cycle.
    if (editor && keyRead) PostMessageA(editor, keyRead, PackKeyRead(outcome), 0);
}
