// What a running program holds, for tools/soak. Usage:
//   soak_probe <exe name>
// prints one line about the first process of that name:
//   pid=<n> bits=<32|64> handles=<n> events=<n> gdi=<n> windows=<n> toplevel=<n> prompt=<0|1> boxes=<n> rss_kb=<n>
// or "pid=0" when none runs.
//   handles  the system handle list's entries of the process (under Wine 8
//            GetProcessHandleCount answers 0); events: those of the event type
//   gdi      GetGuiResources where it works; where it is a stub (Wine), the
//            in-use entries of the process's own GDI handle table (its PEB's
//            GdiSharedHandleTable, 24-byte entries whose type byte is set).
//            Wine keeps that table in a 32-bit process's 64-bit PEB only, which
//            the 64-bit probe reads and the 32-bit one cannot see: tools/soak
//            samples either build with the 64-bit probe. -1 when it cannot be read
//   bits     the process's bitness, 32 or 64
//   windows  all windows of its threads, toplevel the top-level ones of them
//   prompt   1 while its shut-down prompt shows; boxes: its other visible dialogs
//   rss_kb   its working set
#include <windows.h>
#include <psapi.h>
#include <tlhelp32.h>
#include <winternl.h>
#include <stdio.h>
#include <string.h>
#include <vector>

namespace {

const char kPromptTitle[] = "Corvane Remote Control - Shut Down";

struct HandleEntry {
    ULONG ownerPid;
    BYTE objectType;
    BYTE flags;
    USHORT value;
    PVOID object;
    ACCESS_MASK access;
};
struct HandleList {
    ULONG count;
    HandleEntry entries[1];
};
const ULONG kSystemHandleInformation = 16;
const NTSTATUS kInfoLengthMismatch = (NTSTATUS)0xC0000004;

typedef NTSTATUS(NTAPI *QuerySystem)(ULONG, PVOID, ULONG, PULONG);

DWORD FindProcess(const char *exeName) {
    HANDLE snapshot = CreateToolhelp32Snapshot(TH32CS_SNAPPROCESS, 0);
    if (snapshot == INVALID_HANDLE_VALUE) return 0;
    PROCESSENTRY32 entry;
    entry.dwSize = sizeof entry;
    DWORD pid = 0;
    for (BOOL more = Process32First(snapshot, &entry); more && !pid; more = Process32Next(snapshot, &entry))
        if (_stricmp(entry.szExeFile, exeName) == 0) pid = entry.th32ProcessID;
    CloseHandle(snapshot);
    return pid;
}

// Counts the process's entries in the system handle list, and those of the
// type of an event (learnt from an event of our own).
bool CountHandles(DWORD pid, long *handles, long *events) {
    QuerySystem query = (QuerySystem)(void *)GetProcAddress(GetModuleHandleA("ntdll.dll"), "NtQuerySystemInformation");
    if (!query) return false;
    HANDLE probe = CreateEventA(NULL, TRUE, FALSE, NULL);
    std::vector<BYTE> buffer(1 << 16);
    NTSTATUS status;
    for (;;) {
        ULONG needed = 0;
        status = query(kSystemHandleInformation, buffer.data(), (ULONG)buffer.size(), &needed);
        if (status != kInfoLengthMismatch) break;
        buffer.resize(needed > buffer.size() ? needed + 4096 : buffer.size() * 2);
    }
    if (status < 0) {
        CloseHandle(probe);
        return false;
    }
    const HandleList *list = (const HandleList *)buffer.data();
    int eventType = -1;
    for (ULONG i = 0; i < list->count; ++i)
        if (list->entries[i].ownerPid == GetCurrentProcessId() && list->entries[i].value == (USHORT)(ULONG_PTR)probe)
            eventType = list->entries[i].objectType;
    *handles = *events = 0;
    for (ULONG i = 0; i < list->count; ++i) {
        if (list->entries[i].ownerPid != pid) continue;
        ++*handles;
        if (list->entries[i].objectType == eventType) ++*events;
    }
    CloseHandle(probe);
    return true;
}

long CountGdiTable(HANDLE process) {
    PROCESS_BASIC_INFORMATION basic;
    if (NtQueryInformationProcess(process, ProcessBasicInformation, &basic, sizeof basic, NULL) < 0) return -1;
    const SIZE_T kTableOffset = sizeof(void *) == 8 ? 0xF8 : 0x94; // PEB.GdiSharedHandleTable
    ULONG_PTR table = 0;
    if (!ReadProcessMemory(process, (BYTE *)basic.PebBaseAddress + kTableOffset, &table, sizeof table, NULL) ||
        !table)
        return -1;
    const size_t kEntrySize = 24, kTypeOffset = 14, kEntries = 0x10000;
    std::vector<BYTE> entries(kEntrySize * kEntries);
    SIZE_T read = 0;
    if (!ReadProcessMemory(process, (void *)table, entries.data(), entries.size(), &read) && read == 0) return -1;
    long used = 0;
    for (size_t i = 0; i + kEntrySize <= read; i += kEntrySize)
        if (entries[i + kTypeOffset]) ++used;
    return used;
}

long CountGdi(HANDLE process) {
    DWORD count = GetGuiResources(process, GR_GDIOBJECTS);
    return count ? (long)count : CountGdiTable(process);
}

struct WindowCounts {
    DWORD pid;
    long windows, toplevel, boxes;
    bool prompt;
};

BOOL CALLBACK CountChild(HWND, LPARAM param) {
    ++((WindowCounts *)param)->windows;
    return TRUE;
}

BOOL CALLBACK CountTopLevel(HWND window, LPARAM param) {
    WindowCounts *counts = (WindowCounts *)param;
    DWORD pid = 0;
    GetWindowThreadProcessId(window, &pid);
    if (pid != counts->pid) return TRUE;
    ++counts->toplevel;
    ++counts->windows;
    EnumChildWindows(window, CountChild, param);
    char className[64] = "", title[128] = "";
    GetClassNameA(window, className, sizeof className);
    GetWindowTextA(window, title, sizeof title);
    if (IsWindowVisible(window) && strcmp(className, "#32770") == 0) {
        if (strcmp(title, kPromptTitle) == 0)
            counts->prompt = true;
        else
            ++counts->boxes;
    }
    return TRUE;
}

} // namespace

int main(int argc, char **argv) {
    if (argc != 2) {
        fprintf(stderr, "usage: soak_probe <exe name>\n");
        return 1;
    }
    DWORD pid = FindProcess(argv[1]);
    if (!pid) {
        printf("pid=0\n");
        return 0;
    }
    long handles = -1, events = -1;
    CountHandles(pid, &handles, &events);
    HANDLE process = OpenProcess(PROCESS_QUERY_INFORMATION | PROCESS_VM_READ, FALSE, pid);
    long gdi = -1, rssKb = -1;
    int bits = 0;
    if (process) {
        BOOL wow = FALSE;
        IsWow64Process(process, &wow);
        bits = wow || sizeof(void *) == 4 ? 32 : 64;
        gdi = CountGdi(process);
        PROCESS_MEMORY_COUNTERS memory;
        if (GetProcessMemoryInfo(process, &memory, sizeof memory)) rssKb = (long)(memory.WorkingSetSize / 1024);
        CloseHandle(process);
    }
    WindowCounts counts = {pid, 0, 0, 0, false};
    EnumWindows(CountTopLevel, (LPARAM)&counts);
    printf("pid=%lu bits=%d handles=%ld events=%ld gdi=%ld windows=%ld toplevel=%ld prompt=%d boxes=%ld rss_kb=%ld\n",
           (unsigned long)pid, bits, handles, events, gdi, counts.windows, counts.toplevel, counts.prompt ? 1 : 0,
           counts.boxes, rssKb);
    return 0;
}
