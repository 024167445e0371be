// Runs a real modal dialog of the tray program on the test thread and acts on
// it from a timer inside the dialog's own modal loop, as a person would.
#pragma once
#include <gtest/gtest.h>
#include <windows.h>
#include <functional>
#include <string>
#include "tests/support/dialog_items.h"
#include "tray/tray_window.h"

namespace dialog_driver {

struct State {
    std::function<void(HWND)> act;
    bool acted = false;
    int ticksAfterAct = 0;
};
inline State &Current() {
    static State state;
    return state;
}

inline BOOL CALLBACK FindVisibleDialog(HWND window, LPARAM out) {
    char cls[16] = "";
    GetClassNameA(window, cls, sizeof cls);
    if (lstrcmpA(cls, "#32770") == 0 && IsWindowVisible(window)) {
        *(HWND *)out = window;
        return FALSE;
    }
    return TRUE;
}

// The visible dialog of this thread, or null.
inline HWND VisibleDialog() {
    HWND found = NULL;
    EnumThreadWindows(GetCurrentThreadId(), FindVisibleDialog, (LPARAM)&found);
    return found;
}

const INT_PTR kAbandoned = -12345;

inline void CALLBACK Tick(HWND, UINT, UINT_PTR, DWORD) {
    State &state = Current();
    HWND dialog = VisibleDialog();
    if (!state.acted) {
        if (!dialog) return; // not shown yet
        state.acted = true;
        state.act(dialog);
        return;
    }
    // The action should have ended the dialog; never let a test hang on it.
    if (dialog && ++state.ticksAfterAct > 200) {
        ADD_FAILURE() << "the dialog did not end";
        EndDialog(dialog, kAbandoned);
    }
}

} // namespace dialog_driver

// Calls `open`, which runs a modal dialog; once that dialog is on screen,
// `act` gets it (inside the modal loop). Returns what `open` returned.
// `shown` tells whether a dialog showed at all.
inline INT_PTR DriveDialog(const std::function<INT_PTR()> &open, std::function<void(HWND)> act,
                           bool *shown = nullptr) {
    dialog_driver::State &state = dialog_driver::Current();
    state = dialog_driver::State();
    state.act = std::move(act);
    UINT_PTR timer = SetTimer(NULL, 0, 30, dialog_driver::Tick);
    INT_PTR result = open();
    KillTimer(NULL, timer);
    if (shown) *shown = state.acted;
    else EXPECT_TRUE(state.acted) << "the dialog never showed";
    return result;
}

// Controls the way a person ends a dialog (ClickButton, in dialog_items.h).
inline void PressKey(HWND dialog, WPARAM vk) {
    HWND focus = GetFocus();
    PostMessageA(focus ? focus : dialog, WM_KEYDOWN, vk, 1);
}
inline void ClickCloseBox(HWND dialog) { PostMessageA(dialog, WM_SYSCOMMAND, SC_CLOSE, 0); }

// A program built beside the tests folder, e.g. "Telvix.exe".
inline std::string ProgramPath(const char *exeName) {
    char path[MAX_PATH];
    DWORD n = GetModuleFileNameA(NULL, path, sizeof path);
    std::string dir = (n > 0 && n < sizeof path) ? std::string(path) : std::string(".\\x");
    dir = dir.substr(0, dir.find_last_of('\\'));
    return dir.substr(0, dir.find_last_of('\\')) + "\\" + exeName;
}

// One of the shipped programs, built beside the tests folder, loaded as data.
inline HINSTANCE ProgramResources(const char *exeName) {
    return (HINSTANCE)LoadLibraryExA(ProgramPath(exeName).c_str(), NULL, LOAD_LIBRARY_AS_DATAFILE);
}

// The shipped program's own resources, read from Telvix.exe: the dialogs
// under test come from the very templates that ship.
inline HINSTANCE TelvixResources() {
    static HINSTANCE module = ProgramResources("Telvix.exe");
    return module;
}

// The tray program's instance, as its dialogs and icons are loaded from it.
struct TestInstance {
    HINSTANCE saved = appInstance;
    TestInstance() {
        appInstance = TelvixResources();
        EXPECT_NE(appInstance, nullptr) << "Telvix.exe is built beside the tests folder";
    }
    ~TestInstance() { appInstance = saved; }
};
