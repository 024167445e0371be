// PLACEHOLDER until the shutdown prompt lands.
#include "tray/shutdown_prompt.h"
int promptOpen = 0;
HWND promptWindow = NULL;
void ShowShutdownPrompt(HWND) {}
