// Watches Telvix's on-screen display for tools/bench-receiver. Usage:
//   display_probe <seconds>
// prints "<tick> <first line>" each time the display becomes visible with a
// text it did not show just before (GetTickCount, as the card's remote reports
// its ticks), looking every millisecond.
#include <windows.h>
#include <stdio.h>
#include <stdlib.h>
#include <string.h>

int main(int argc, char **argv) {
    DWORD seconds = argc > 1 ? (DWORD)atoi(argv[1]) : 60;
    DWORD end = GetTickCount() + seconds * 1000;
    char last[160] = "";
    timeBeginPeriod(1);
    while ((LONG)(end - GetTickCount()) > 0) {
        HWND display = FindWindowA("Corvane Remote Control Display", NULL);
        char text[160] = "";
        if (display && IsWindowVisible(display)) GetWindowTextA(display, text, sizeof text);
        if (text[0] && strcmp(text, last) != 0) {
            char *newline = strchr(text, '\n');
            printf("%lu %.*s\n", GetTickCount(), newline ? (int)(newline - text) : (int)strlen(text), text);
            fflush(stdout);
        }
        lstrcpynA(last, text, sizeof last);
        Sleep(1);
    }
    timeEndPeriod(1);
    return 0;
}
