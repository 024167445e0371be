#include "uninstall/purgex_app.h"

int WINAPI WinMain(HINSTANCE instance, HINSTANCE previous, LPSTR commandLine, int showCommand) {
    // The application object lives in the library with the rest of the
    // program; naming it here is what links it into the executable.
    theApp.m_hInstance = instance;
    return AfxWinMain(instance, previous, commandLine, showCommand);
}
