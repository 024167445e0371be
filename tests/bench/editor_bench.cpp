// Start to window (not a test): each program started as the Start menu
// would, timed until the first visible top-level window of its process, then
// closed; the rounds alternate between the two so that the machine's load
// falls on both alike. Run through tools/bench-editor.
//   editor_bench <program> <baseline program> [rounds]
#include <windows.h>
#include <stdio.h>
#include <stdlib.h>
#include <algorithm>
#include <string>
#include <vector>
#include "bench_clock.h"
#include "tests/support/process.h"

namespace {

// Milliseconds from CreateProcess to the window; negative when none came.
double StartToWindow(const std::string &program) {
    STARTUPINFOA si = {};
    si.cb = sizeof si;
    si.dwFlags = STARTF_USESHOWWINDOW;
    si.wShowWindow = SW_SHOWNORMAL;
    PROCESS_INFORMATION pi = {};
    std::string line = "\"" + program + "\"";
    double t0 = NowMs();
    if (!CreateProcessA(NULL, &line[0], NULL, NULL, FALSE, 0, NULL, NULL, &si, &pi)) return -1;
    HWND window = NULL;
    while (!(window = VisibleWindowOf(pi.dwProcessId)) && NowMs() - t0 < 30000 &&
           WaitForSingleObject(pi.hProcess, 0) == WAIT_TIMEOUT)
        Sleep(1);
    double elapsed = window ? NowMs() - t0 : -1;
    if (window) PostMessageA(window, WM_CLOSE, 0, 0);
    if (WaitForSingleObject(pi.hProcess, 30000) != WAIT_OBJECT_0) TerminateProcess(pi.hProcess, 1);
    CloseHandle(pi.hProcess);
    CloseHandle(pi.hThread);
    return elapsed;
}

double Report(const std::string &program, std::vector<double> samples) {
    std::sort(samples.begin(), samples.end());
    size_t n = samples.size();
    std::string name = program.substr(program.find_last_of('\\') + 1);
    printf("%-16s min %7.1f  median %7.1f  max %7.1f ms (n=%zu)\n", name.c_str(), samples[0], samples[n / 2],
           samples[n - 1], n);
    return samples[n / 2];
}

} // namespace

int main(int argc, char **argv) {
    if (argc < 3) {
        printf("usage: editor_bench <program> <baseline program> [rounds]\n");
        return 2;
    }
    const std::string programs[2] = {argv[1], argv[2]};
    int rounds = argc > 3 ? atoi(argv[3]) : 20;
    std::vector<double> samples[2];
    // One start each first, uncounted: the files come into the cache.
    for (const std::string &program : programs) StartToWindow(program);
    for (int round = 0; round < rounds; ++round)
        for (int which = 0; which < 2; ++which) {
            double ms = StartToWindow(programs[which]);
            if (ms < 0) {
                printf("no window from %s\n", programs[which].c_str());
                return 1;
            }
            samples[which].push_back(ms);
        }
    printf("Start to the first visible window, %d rounds:\n", rounds);
    double program = Report(programs[0], samples[0]), baseline = Report(programs[1], samples[1]);
    printf("ratio of the medians: %.2f (goal: at most 1.2)\n", program / baseline);
    return 0;
}
