// The program's entry, in place of the C runtime's start-up: that one also
// parsed a command line, set up thread-local data, the floating-point unit and
// an unwinder's frame tables, none of which this program uses, and it was a
// seventh of RemoteKeys.exe. msvcrt.dll sets itself up as it loads.
#include <windows.h>
#include <stdlib.h>

// The linker's list of global constructors: -1, the constructors, 0.
extern "C" void (*__CTOR_LIST__[])(); // NOLINT(bugprone-reserved-identifier): the linker gives this name

// Windows may enter with the stack on a 4-byte boundary only.
extern "C" __attribute__((force_align_arg_pointer)) void WinMainCRTStartup() {
    STARTUPINFOW startup;
    GetStartupInfoW(&startup);
    int show = startup.dwFlags & STARTF_USESHOWWINDOW ? startup.wShowWindow : SW_SHOWDEFAULT;
    // Last first, as GCC's start-up runs them (the program has none today).
    size_t constructors = 0;
    while (__CTOR_LIST__[constructors + 1]) ++constructors;
    for (; constructors > 0; --constructors) __CTOR_LIST__[constructors]();
    // The editor takes no arguments: WinMain gets an empty command line.
    static char noArguments[] = "";
    exit(WinMain(GetModuleHandleW(NULL), NULL, noArguments, show));
}
