// Real top-level windows that a test creates in its own process.
#pragma once
#include <windows.h>
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
