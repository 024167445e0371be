// Starting, watching and stopping the real programs in end-to-end tests.
#pragma once
#include <windows.h>
#include <functional>
#include <string>
#include <vector>

// The build folder as a Windows path, e.g. "Z:\...\build\x86_64".
std::string BinDir();
// A fresh empty folder under the build's scratch folder.
std::string ScratchDir(const std::string &name);
// The sections of the Purgex.ini beside the built programs: its languages.
std::vector<std::string> ShippedWizardLanguages();

// Processes started by a test; every one still running is killed when the
// set is destroyed, also when the test failed.
class ProcessSet {
public:
    ~ProcessSet();
    // Starts `commandLine` in `workDir` (or ours); returns its handle or null.
    // A `suspended` process waits for ResumeAll, so several can start at once.
    HANDLE Start(const std::string &commandLine, const std::string &workDir = "", bool suspended = false);
    void ResumeAll();
    void KillAll();

private:
    std::vector<HANDLE> handles_;
    std::vector<HANDLE> suspendedThreads_;
};

// Waits up to `timeoutMs` for the process to end; true with its exit code.
bool WaitExit(HANDLE process, DWORD timeoutMs, DWORD *exitCode);
// Polls `condition` (pumping our messages) until true or the time-out.
bool WaitUntil(const std::function<bool()> &condition, DWORD timeoutMs = 20000);
// Waits for a top-level window by class and/or title.
HWND WaitForWindow(const char *className, const char *title, DWORD timeoutMs = 20000);
bool WaitForNoWindow(const char *className, const char *title, DWORD timeoutMs = 20000);
// A dialog by its caption, once it is shown (its controls are then laid out).
HWND WaitForDialog(const char *title);
// A visible top-level window of the process (of `className`, when given); null for none.
HWND VisibleWindowOf(DWORD processId, const char *className = nullptr);

std::string ReadTextFile(const std::string &path);
void WriteTextFile(const std::string &path, const std::string &text);
bool CopyOneFile(const std::string &from, const std::string &to);
// Lines of `text` that contain `needle`.
std::vector<std::string> LinesWith(const std::string &text, const std::string &needle);
