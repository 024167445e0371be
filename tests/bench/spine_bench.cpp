// Figures of the tray program's spine under Wine (not a test):
//  - the in-process cost of one idle poll cycle against the bound card;
//  - the cost of routing one key to an active application's window;
//  - the time from starting Telvix.exe to its tray window existing.
// Run through tools/bench-spine, which registers the simulated card first.
#include <windows.h>
#include <stdio.h>
#include <algorithm>
#include <string>
#include <vector>
#include "apps/tv_app_table.h"
#include "bench_clock.h"
#include "receiver/receiver.h"
#include "routing/poll_cycle.h"

namespace {

void Report(const char *what, std::vector<double> samples, const char *unit, double scale) {
    std::sort(samples.begin(), samples.end());
    size_t n = samples.size();
    printf("%-44s min %8.2f  median %8.2f  p95 %8.2f  max %8.2f %s (n=%zu)\n", what, samples[0] * scale,
           samples[n / 2] * scale, samples[std::min(n - 1, n * 95 / 100)] * scale, samples[n - 1] * scale, unit, n);
}

void PumpAll() {
    MSG msg;
    while (PeekMessageA(&msg, NULL, 0, 0, PM_REMOVE)) DispatchMessageA(&msg);
}

void BenchIdlePoll(int rounds) {
    std::vector<double> samples;
    for (int i = 0; i < rounds; ++i) {
        double t0 = NowSeconds();
        PollCycle(NULL, WM_TIMER, 1, 0);
        samples.push_back(NowSeconds() - t0);
    }
    Report("idle poll cycle (card bound, no key)", samples, "us", 1e6);
    samples.clear();
    for (int i = 0; i < rounds; ++i) {
        double t0 = NowSeconds();
        IsKeyPressed();
        samples.push_back(NowSeconds() - t0);
    }
    Report("the key-present read alone", samples, "us", 1e6);
}

void BenchRouteKey(int rounds) {
    WNDCLASSA wc = {};
    wc.lpfnWndProc = DefWindowProcA;
    wc.lpszClassName = "PowerVCR II Taurus";
    RegisterClassA(&wc);
    HWND window = CreateWindowExA(0, wc.lpszClassName, "PowerVCR II", WS_OVERLAPPED, 0, 0, 50, 50, NULL, NULL,
                                  NULL, NULL);
    powerVcrApp.active = 1;
    std::vector<double> samples;
    for (int i = 0; i < rounds; ++i) {
        double t0 = NowSeconds();
        RouteKey(NULL, 1 + i % 9); // a digit: a posted key-down
        samples.push_back(NowSeconds() - t0);
        if (i % 100 == 99) PumpAll(); // keep the queue short
    }
    PumpAll();
    powerVcrApp.active = 0;
    DestroyWindow(window);
    Report("route one key to the active window", samples, "us", 1e6);
}

void BenchStartUp(const std::string &telvix, int rounds) {
    std::vector<double> samples;
    for (int i = 0; i < rounds; ++i) {
        STARTUPINFOA si = {};
        si.cb = sizeof si;
        PROCESS_INFORMATION pi = {};
        std::string line = "\"" + telvix + "\"";
        double t0 = NowSeconds();
        if (!CreateProcessA(NULL, &line[0], NULL, NULL, FALSE, 0, NULL, NULL, &si, &pi)) {
            printf("cannot start %s\n", telvix.c_str());
            return;
        }
        HWND tray = NULL;
        while (!(tray = FindWindowA("Corvane Remote Control", NULL)) && NowSeconds() - t0 < 30) Sleep(1);
        double t1 = NowSeconds();
        if (tray) PostMessageA(tray, WM_CLOSE, 0, 0);
        if (WaitForSingleObject(pi.hProcess, 30000) != WAIT_OBJECT_0) TerminateProcess(pi.hProcess, 1);
        CloseHandle(pi.hProcess);
        CloseHandle(pi.hThread);
        if (tray) samples.push_back(t1 - t0);
    }
    if (!samples.empty()) Report("process start to tray window", samples, "ms", 1e3);
}

} // namespace

int main(int argc, char **argv) {
    int rounds = argc > 1 ? atoi(argv[1]) : 2000;
    CoInitialize(NULL);
    double t0 = NowSeconds();
    bool bound = OpenReceiver();
    printf("OpenReceiver: %s in %.1f ms\n", bound ? "bound" : "NOT bound (is the card registered?)",
           (NowSeconds() - t0) * 1e3);
    if (bound) BenchIdlePoll(rounds);
    BenchRouteKey(rounds);
    char path[MAX_PATH];
    GetModuleFileNameA(NULL, path, sizeof path);
    std::string dir(path);
    dir = dir.substr(0, dir.find_last_of('\\'));       // <build>\tests\bench
    dir = dir.substr(0, dir.find_last_of('\\'));       // <build>\tests
    dir = dir.substr(0, dir.find_last_of('\\'));       // <build>
    BenchStartUp(dir + "\\Telvix.exe", 20);
    return 0;
}
