#include "tests/support/process.h"
#include <sstream>
#include "tests/support/test_windows.h"

std::string BinDir() {
    std::string unixPath = BIN_DIR;
    std::string path = "Z:";
    for (char c : unixPath) path += (c == '/') ? '\\' : c;
    return path;
}

std::vector<std::string> ShippedWizardLanguages() {
    char names[4096] = "";
    GetPrivateProfileSectionNamesA(names, sizeof names, (BinDir() + "\\Purgex.ini").c_str());
    std::vector<std::string> sections;
    for (const char *name = names; *name; name += lstrlenA(name) + 1) sections.push_back(name);
    return sections;
}

std::string ScratchDir(const std::string &name) {
    std::string dir = BinDir() + "\\scratch";
    CreateDirectoryA(dir.c_str(), NULL);
    dir += "\\" + name;
    // Clear what an earlier run left, file by file.
    WIN32_FIND_DATAA found;
    HANDLE find = FindFirstFileA((dir + "\\*").c_str(), &found);
    if (find != INVALID_HANDLE_VALUE) {
        do {
            if (!(found.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY))
                DeleteFileA((dir + "\\" + found.cFileName).c_str());
        } while (FindNextFileA(find, &found));
        FindClose(find);
    }
    CreateDirectoryA(dir.c_str(), NULL);
    return dir;
}

ProcessSet::~ProcessSet() { KillAll(); }

HANDLE ProcessSet::Start(const std::string &commandLine, const std::string &workDir, bool suspended) {
    STARTUPINFOA si = {};
    si.cb = sizeof si;
    PROCESS_INFORMATION pi = {};
    std::string line = commandLine;
    if (!CreateProcessA(NULL, &line[0], NULL, NULL, FALSE, suspended ? CREATE_SUSPENDED : 0, NULL,
                        workDir.empty() ? NULL : workDir.c_str(), &si, &pi))
        return NULL;
    if (suspended) suspendedThreads_.push_back(pi.hThread);
    else CloseHandle(pi.hThread);
    handles_.push_back(pi.hProcess);
    return pi.hProcess;
}

void ProcessSet::ResumeAll() {
    for (HANDLE thread : suspendedThreads_) {
        ResumeThread(thread);
        CloseHandle(thread);
    }
    suspendedThreads_.clear();
}

void ProcessSet::KillAll() {
    for (HANDLE thread : suspendedThreads_) CloseHandle(thread);
    suspendedThreads_.clear();
    for (HANDLE h : handles_) {
        if (WaitForSingleObject(h, 0) == WAIT_TIMEOUT) {
            TerminateProcess(h, 99);
            WaitForSingleObject(h, 5000);
        }
        CloseHandle(h);
    }
    handles_.clear();
}

bool WaitExit(HANDLE process, DWORD timeoutMs, DWORD *exitCode) {
    if (WaitForSingleObject(process, timeoutMs) != WAIT_OBJECT_0) return false;
    if (exitCode) GetExitCodeProcess(process, exitCode);
    return true;
}

bool WaitUntil(const std::function<bool()> &condition, DWORD timeoutMs) {
    DWORD start = GetTickCount();
    for (;;) {
        if (condition()) return true;
        if (GetTickCount() - start > timeoutMs) return false;
        PumpMessages();
        Sleep(20);
    }
}

HWND WaitForWindow(const char *className, const char *title, DWORD timeoutMs) {
    HWND found = NULL;
    WaitUntil([&] { return (found = FindWindowA(className, title)) != NULL; }, timeoutMs);
    return found;
}

HWND WaitForDialog(const char *title) {
    HWND dialog = WaitForWindow("#32770", title);
    if (dialog) WaitUntil([&] { return IsWindowVisible(dialog) != 0; });
    return dialog;
}

bool WaitForNoWindow(const char *className, const char *title, DWORD timeoutMs) {
    return WaitUntil([&] { return FindWindowA(className, title) == NULL; }, timeoutMs);
}

namespace {

struct WindowSearch {
    DWORD processId;
    const char *className;
    HWND found;
};

BOOL CALLBACK FindVisibleWindow(HWND window, LPARAM data) {
    WindowSearch *search = (WindowSearch *)data;
    DWORD processId = 0;
    char className[64] = "";
    GetWindowThreadProcessId(window, &processId);
    if (processId != search->processId || !IsWindowVisible(window)) return TRUE;
    if (search->className && (!GetClassNameA(window, className, sizeof className) ||
                              lstrcmpA(className, search->className) != 0))
        return TRUE;
    search->found = window;
    return FALSE;
}

} // namespace

HWND VisibleWindowOf(DWORD processId, const char *className) {
    WindowSearch search = {processId, className, NULL};
    EnumWindows(FindVisibleWindow, (LPARAM)&search);
    return search.found;
}

std::string ReadTextFile(const std::string &path) {
    HANDLE file = CreateFileA(path.c_str(), GENERIC_READ, FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE,
                              NULL, OPEN_EXISTING, 0, NULL);
    if (file == INVALID_HANDLE_VALUE) return "";
    std::string text;
    char buffer[4096];
    DWORD got;
    while (ReadFile(file, buffer, sizeof buffer, &got, NULL) && got > 0) text.append(buffer, got);
    CloseHandle(file);
    return text;
}

void WriteTextFile(const std::string &path, const std::string &text) {
    HANDLE file = CreateFileA(path.c_str(), GENERIC_WRITE, 0, NULL, CREATE_ALWAYS, 0, NULL);
    if (file == INVALID_HANDLE_VALUE) return;
    DWORD written;
    WriteFile(file, text.data(), (DWORD)text.size(), &written, NULL);
    CloseHandle(file);
}

bool CopyOneFile(const std::string &from, const std::string &to) { return CopyFileA(from.c_str(), to.c_str(), FALSE); }

std::vector<std::string> LinesWith(const std::string &text, const std::string &needle) {
    std::vector<std::string> out;
    std::istringstream in(text);
    std::string line;
    while (std::getline(in, line)) {
        if (!line.empty() && line.back() == '\r') line.pop_back();
        if (line.find(needle) != std::string::npos) out.push_back(line);
    }
    return out;
}
