// Real top-level windows that a test creates in its own process.
#pragma once
#include <windows.h>
#include <functional>
#include <string>

class TestWindow {
public:
    // A top-level window of class `className` (registered on first use)
    // titled `title`, hidden unless `visible`.
    TestWindow(const std::string &className, const std::string &title, bool visible = false);
    ~TestWindow();
    TestWindow(const TestWindow &) = delete;
    TestWindow &operator=(const TestWindow &) = delete;

    // Adds a direct child window with the given text.
    HWND AddChild(const std::string &text);
    HWND hwnd() const { return window_; }

private:
    HWND window_;
};

// Processes the test thread's pending messages.
void PumpMessages();
// Processes them, timers included, until `done` or the time-out; false on time-out.
bool PumpMessagesUntil(const std::function<bool()> &done, DWORD timeoutMs = 10000);
