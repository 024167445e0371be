#include "tray/shutdown_prompt.h"
#include "res/resource.h"
#include "tray/dialog_placement.h"
#include "tray/shutdown.h"
#include "tray/tray_dialog.h"

namespace {

// Where the user looked when the prompt was asked for: once it opens, the
// prompt itself is in front.
MonitorArea promptMonitor;

// The flag goes first so that no key reaches an ending prompt, and the
// shutdown comes last, still inside the dialog procedure.
void EndPrompt(HWND dialog, INT_PTR result, bool shutDown) {
    promptOpen = 0;
    EndDialog(dialog, result);
    if (shutDown) ShutDownComputer();
}

BOOL OnPromptInitDialog(HWND dialog, HWND, LPARAM) {
    SetForegroundWindow(dialog);
    SetActiveWindow(dialog);
    promptWindow = dialog;
    PlacePrompt(dialog, promptMonitor);
    return TRUE;
}

// Key-downs sent straight to the prompt: the remote's answer. True when handled.
bool OnPromptKeyDown(HWND dialog, UINT key) {
    switch (key) {
    case VK_RETURN: EndPrompt(dialog, VK_RETURN, true); return true;
    case VK_ESCAPE: EndPrompt(dialog, VK_ESCAPE, false); return true;
    default: return false;
    }
}

bool OnPromptCommand(HWND dialog, int id) {
    switch (id) {
    case IDOK: EndPrompt(dialog, IDOK, true); return true;
    case IDCANCEL: EndPrompt(dialog, IDCANCEL, false); return true;
    default: return false;
    }
}

} // namespace

INT_PTR CALLBACK ShutdownPromptProc(HWND dialog, UINT message, WPARAM wParam, LPARAM lParam) {
    if (message == WM_KEYDOWN) return OnPromptKeyDown(dialog, (UINT)wParam) ? TRUE : FALSE;
    return CrackDialogMessage<OnPromptInitDialog, OnPromptCommand>(dialog, message, wParam, lParam);
}

int ShowShutdownPrompt(HWND owner) {
    promptOpen = 1;
    promptMonitor = ForegroundMonitor();
    INT_PTR result = RunTrayDialog(owner, IDD_SHUTDOWN, ShutdownPromptProc);
    // A prompt that never opened must not keep taking the remote's keys.
    if (result == -1 || result == 0) promptOpen = 0;
    return (int)result;
}
