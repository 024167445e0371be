#include "tests/support/test_windows.h"

TestWindow::TestWindow(const std::string &className, const std::string &title, bool visible) {
    WNDCLASSA wc = {};
    wc.lpfnWndProc = DefWindowProcA;
    wc.hInstance = GetModuleHandleA(NULL);
    wc.lpszClassName = className.c_str();
    RegisterClassA(&wc); // fails harmlessly when already registered
    window_ = CreateWindowExA(0, className.c_str(), title.c_str(), WS_OVERLAPPEDWINDOW | (visible ? WS_VISIBLE : 0),
                              10, 10, 200, 120, NULL, NULL, wc.hInstance, NULL);
}

TestWindow::~TestWindow() {
    if (window_) DestroyWindow(window_);
}

HWND TestWindow::AddChild(const std::string &text) {
    return CreateWindowExA(0, "STATIC", text.c_str(), WS_CHILD, 0, 0, 50, 20, window_, NULL,
                           GetModuleHandleA(NULL), NULL);
}

void PumpMessages() {
    MSG msg;
    while (PeekMessageA(&msg, NULL, 0, 0, PM_REMOVE)) {
        TranslateMessage(&msg);
        DispatchMessageA(&msg);
    }
}

bool PumpMessagesUntil(const std::function<bool()> &done, DWORD timeoutMs) {
    DWORD start = GetTickCount();
    while (!done()) {
        if (GetTickCount() - start >= timeoutMs) return false;
        PumpMessages();
        Sleep(10);
    }
    return true;
}
