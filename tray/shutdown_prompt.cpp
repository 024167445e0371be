#include "tray/shutdown_prompt.h"
#include "res/resource.h"
#include "tray/dialog_placement.h"
#include "tray/shutdown.h"
#include "tray/tray_window.h"

namespace {

// The flag goes first so that no key reaches an ending prompt, and the
// shutdown comes last, still inside the dialog procedure.
void EndPrompt(HWND dialog, INT_PTR result, bool shutDown) {
    promptOpen = 0;
    EndDialog(dialog, result);
    if (shutDown) ShutDownComputer();
}

BOOL OnPromptInitDialog(HWND dialog) {
    SetForegroundWindow(dialog);
    SetActiveWindow(dialog);
    promptWindow = dialog;
    PlaceDialog(dialog);
    return TRUE;
}

// Key-downs sent straight to the prompt: the remote's answer.
BOOL OnPromptKeyDown(HWND dialog, WPARAM key) {
    switch (key) {
    case VK_RETURN: EndPrompt(dialog, VK_RETURN, true); return TRUE;
    case VK_ESCAPE: EndPrompt(dialog, VK_ESCAPE, false); return TRUE;
    default: return FALSE;
    }
}

BOOL OnPromptCommand(HWND dialog, int id) {
    switch (id) {
    case IDOK: EndPrompt(dialog, IDOK, true); return TRUE;
    case IDCANCEL: EndPrompt(dialog, IDCANCEL, false); return TRUE;
    default: return FALSE;
    }
}

} // namespace

INT_PTR CALLBACK ShutdownPromptProc(HWND dialog, UINT message, WPARAM wParam, LPARAM) {
    switch (message) {
    case WM_INITDIALOG: return OnPromptInitDialog(dialog);
    case WM_KEYDOWN: return OnPromptKeyDown(dialog, wParam);
    case WM_COMMAND: return OnPromptCommand(dialog, LOWORD(wParam));
    default: return FALSE;
    }
}

int ShowShutdownPrompt(HWND owner) {
    promptOpen = 1;
    INT_PTR result = DialogBoxParamA(appInstance, MAKEINTRESOURCEA(IDD_SHUTDOWN), owner, ShutdownPromptProc, 0);
    // A prompt that never opened must not keep taking the remote's keys.
    if (result == -1 || result == 0) promptOpen = 0;
    return (int)result;
}
