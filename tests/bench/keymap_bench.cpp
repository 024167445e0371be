// Figures of the key maps (not a test): the spread of BusyWaitMs(200) on the
// real clock, and what routing one key through each map costs in-process
// with the application's window present. Synthesized keys are counted, not
// sent, so the bench types nothing into the desktop.
#include <windows.h>
#include <stdio.h>
#include <algorithm>
#include <string>
#include <vector>
#include "apps/tv_app_table.h"
#include "bench_clock.h"
#include "platform/effects.h"
#include "platform/locale.h"
#include "routing/user_key_route.h"
#include "keymaps/key_map_file.h"

namespace {

long keybdEvents;
void WINAPI CountKeybd(BYTE, BYTE, DWORD, ULONG_PTR) { ++keybdEvents; }

HWND MakeWindow(const char *className, const char *title) {
    WNDCLASSA wc = {};
    wc.lpfnWndProc = DefWindowProcA;
    wc.hInstance = GetModuleHandleA(NULL);
    wc.lpszClassName = className;
    RegisterClassA(&wc);
    return CreateWindowExA(0, className, title, WS_OVERLAPPEDWINDOW | WS_VISIBLE, 20, 20, 200, 150, NULL, NULL,
                           wc.hInstance, NULL);
}

void Drain() {
    MSG msg;
    while (PeekMessageA(&msg, NULL, 0, 0, PM_REMOVE)) DispatchMessageA(&msg);
}

void Spread(const char *what, std::vector<double> v) {
    std::sort(v.begin(), v.end());
    printf("%-44s min %8.3f  median %8.3f  max %8.3f\n", what, v.front(), v[v.size() / 2], v.back());
}

// Whether the key's command is followed by a wait (TV@Anywhere's 26 and 30).
bool Waits(const TvApp &app, int key) {
    const TvCommandRow *row = app.keyMap->commands ? CommandRowFor(*app.keyMap, key) : nullptr;
    return app.commands.waits && row && row->waitMs;
}

// Mean cost of one key, over every key the maps know (but the waits), in microseconds.
void BenchMap(const TvApp &map, int rounds) {
    std::vector<int> keys;
    for (int k = 0; k < 32; ++k)
        if (!Waits(map, k)) keys.push_back(k);
    keys.push_back(256);
    keys.push_back(512);
    double total = 0, digitTotal = 0;
    long count = 0, digitCount = 0;
    for (int r = 0; r < rounds; ++r) {
        for (int k : keys) {
            double t0 = NowMs();
            DispatchTvAppKey(map, k);
            double dt = NowMs() - t0;
            total += dt;
            ++count;
            if (k == 5) {
                digitTotal += dt;
                ++digitCount;
            }
        }
        Drain(); // outside the timing: the application's side of it
    }
    printf("%-14s all %zu keys: %7.2f us/key   key 5 alone: %7.2f us\n", map.identity.name, keys.size(),
           total * 1000.0 / count, digitTotal * 1000.0 / digitCount);
}

UINT WINAPI CountInput(UINT count, LPINPUT, int) { return count; }

// The user's key maps: reading a full file, the change check, and a key
// looked up with no file and with 64 sections of which the last matches.
void BenchUserKeyMaps(HWND front, int rounds) {
    static UserKeyMap map;
    // Every kind of action, long presses among them.
    const char *const kActions[] = {"post:A", "volume:up 5", "media:next", "run:\"C:\\Program Files\\P\\p.exe\" /x",
                                    "power:lock", "chord:Ctrl+Right", "app:MEDIA_STOP", "volume:mute"};
    std::string text;
    for (int s = 0; s < kKeyMapSectionsPerFile; ++s) {
        text += "[Program " + std::to_string(s) + "]\r\nClass=" + (s == kKeyMapSectionsPerFile - 1 ? "KeymapBenchHT" : "NoSuch" + std::to_string(s)) + "\r\n";
        for (int k = 22; k < 32; ++k)
            text += "Key" + std::to_string(k) + (k % 3 ? "=" : ".long=") + kActions[(s + k) % 8] + " ; a comment\r\n";
        text += "Key22=post:A\r\n";
    }
    // Comments fill it to the most that is read.
    while (text.size() + 1002 <= kKeyMapFileBytes) text += ";" + std::string(999, 'c') + "\r\n";
    double t0 = NowMs();
    for (int r = 0; r < rounds; ++r) ParseKeyMap(text.data(), text.size(), map, nullptr, nullptr);
    printf("User key maps: parse %zu bytes, %d sections, every kind: %.3f ms\n", text.size(), map.count,
           (NowMs() - t0) / rounds);
    const UserKeyMap *maps[] = {&map, &map}; // as both files, the user's and the machine's
    int found = 0;
    t0 = NowMs();
    for (int r = 0; r < rounds * 10; ++r) found += FindKeyBinding(maps, 2, "keymap_bench.exe", "KeymapBenchHT", 23).map != nullptr;
    printf("  lookup of a key the 64th section maps, 128 sections, ignoring case: %.3f us (%d found)\n",
           (NowMs() - t0) * 1000.0 / (rounds * 10), found);
    printf("  memory of both files' maps: %zu bytes\n", 2 * sizeof(UserKeyMap));

    char temp[MAX_PATH];
    GetTempPathA(sizeof temp, temp);
    std::string machine = std::string(temp) + "keymap_bench.ini";
    DeleteFileA(machine.c_str());
    UseUserKeyMapFiles(machine.c_str(), (std::string(temp) + "keymap_bench_user.ini").c_str());
    t0 = NowMs();
    KeyOutcome outcome;
    for (int r = 0; r < rounds; ++r) RouteToUserKeyMap(6, outcome);
    printf("  key with no file (today's routing), within the second: %.3f us\n", (NowMs() - t0) * 1000.0 / rounds);
    DWORD now = 0;
    t0 = NowMs();
    for (int r = 0; r < rounds; ++r) RefreshUserKeyMaps(now += 1000);
    printf("  change check, nothing changed: %.3f us\n", (NowMs() - t0) * 1000.0 / rounds);

    HANDLE file = CreateFileA(machine.c_str(), GENERIC_WRITE, 0, NULL, CREATE_ALWAYS, 0, NULL);
    DWORD written;
    WriteFile(file, text.data(), (DWORD)text.size(), &written, NULL);
    CloseHandle(file);
    UseUserKeyMapFiles(machine.c_str(), nullptr);
    SetForegroundWindow(front);
    Drain();
    t0 = NowMs();
    int delivered = 0;
    for (int r = 0; r < rounds; ++r) delivered += RouteToUserKeyMap(22, outcome);
    printf("  key to the 64th section's program (lookup and post of a key): %.3f us (%d of %d delivered)\n",
           (NowMs() - t0) * 1000.0 / rounds, delivered, rounds);
    Drain();
    UseUserKeyMapFiles(nullptr, nullptr);
    DeleteFileA(machine.c_str());
}

} // namespace

int main(int argc, char **argv) {
    int rounds = argc > 1 ? atoi(argv[1]) : 200;
    if (rounds < 1) rounds = 1;
    fx.keybd_event = CountKeybd;
    JapanLayout = 0;

    std::vector<double> waits, returned;
    for (int i = 0; i < 20; ++i) {
        double t0 = NowMs();
        DWORD r = BusyWaitMs(200);
        waits.push_back(NowMs() - t0);
        returned.push_back(r);
    }
    printf("BusyWaitMs(200), 20 calls, milliseconds:\n");
    Spread("  wall clock (performance counter)", waits);
    Spread("  its own result (timeGetTime difference)", returned);

    HWND windows[] = {MakeWindow("KeymapBenchHT", "Home Theater"), MakeWindow("PowerVCR II Taurus", "PowerVCR II"),
                      MakeWindow("Quick_TV", "FormMainWindow")};
    Drain();
    printf("Routing one key, window present, %d rounds (without the keys that wait):\n", rounds);
    for (const TvApp *app : kTvApps) BenchMap(*app, rounds);
    printf("(%ld synthesized key events counted, not sent)\n", keybdEvents);
    fx.SendInput = CountInput;
    BenchUserKeyMaps(windows[0], rounds);
    for (HWND w : windows) DestroyWindow(w);
    return 0;
}
