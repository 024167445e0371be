// The floor of Telvix's idle cost, for tools/bench-receiver: binds the card
// as Telvix does and reads its key-present pin once a poll period from a
// timer, with nothing else around it. Runs until it is ended.
#include <windows.h>
#include <stdio.h>
#include "receiver/receiver.h"
#include "routing/poll_timing.h"

namespace {

void CALLBACK Poll(HWND, UINT, UINT_PTR, DWORD) { IsKeyPressed(); }

} // namespace

int main() {
    CoInitialize(NULL);
    if (!OpenReceiver()) {
        fprintf(stderr, "bare_poller: no card bound\n");
        return 1;
    }
    HWND window = CreateWindowExA(0, "STATIC", "bare poller", WS_OVERLAPPEDWINDOW, 0, 0, 0, 0, NULL, NULL, NULL, NULL);
    SetTimer(window, 1, kPollPeriodMs, Poll);
    MSG msg;
    while (GetMessageA(&msg, NULL, 0, 0) > 0) DispatchMessageA(&msg);
    return 0;
}
