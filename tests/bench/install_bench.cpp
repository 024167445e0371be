// Install and uninstall times of the x64 packages under Wine (not a test):
//   install_bench <utilities package> <drivers package> [rounds]
// Each round installs the drivers, then the utilities, silently, and removes
// the utilities, then the drivers, through their uninstall entries as the
// system's list of programs does. An uninstall is timed to the end of the
// uninstaller's process and to its folder being gone. Run through
// tools/bench-install.
#include <windows.h>
#include <stdio.h>
#include <stdlib.h>
#include <algorithm>
#include <string>
#include <vector>

namespace {

const char kUninstallRoot[] = "Software\\Microsoft\\Windows\\CurrentVersion\\Uninstall\\";

double Now() {
    LARGE_INTEGER f, t;
    QueryPerformanceFrequency(&f);
    QueryPerformanceCounter(&t);
    return (double)t.QuadPart / (double)f.QuadPart;
}

bool Run(std::string commandLine) {
    STARTUPINFOA startup = {};
    startup.cb = sizeof startup;
    PROCESS_INFORMATION process = {};
    if (!CreateProcessA(NULL, &commandLine[0], NULL, NULL, FALSE, 0, NULL, NULL, &startup, &process)) return false;
    WaitForSingleObject(process.hProcess, INFINITE);
    DWORD code = 1;
    GetExitCodeProcess(process.hProcess, &code);
    CloseHandle(process.hProcess);
    CloseHandle(process.hThread);
    return code == 0;
}

std::string EntryValue(const char *entry, const char *name) {
    char value[512] = "";
    DWORD size = sizeof value - 1;
    HKEY key;
    std::string path = std::string(kUninstallRoot) + entry;
    if (RegOpenKeyExA(HKEY_LOCAL_MACHINE, path.c_str(), 0, KEY_READ, &key) != ERROR_SUCCESS) return "";
    RegQueryValueExA(key, name, NULL, NULL, (BYTE *)value, &size);
    RegCloseKey(key);
    return value;
}

struct Samples {
    const char *what;
    std::vector<double> seconds;
};

void Uninstall(const char *entry, Samples &process, Samples &folderGone) {
    std::string folder = EntryValue(entry, "InstallLocation");
    std::string command = EntryValue(entry, "UninstallString");
    double t0 = Now();
    if (command.empty() || !Run(command)) {
        fprintf(stderr, "uninstalling %s failed\n", entry);
        exit(1);
    }
    process.seconds.push_back(Now() - t0);
    while (GetFileAttributesA(folder.c_str()) != INVALID_FILE_ATTRIBUTES) {
        if (Now() - t0 > 60) {
            fprintf(stderr, "%s stayed\n", folder.c_str());
            exit(1);
        }
        Sleep(20);
    }
    folderGone.seconds.push_back(Now() - t0);
}

void Install(const char *package, Samples &samples) {
    double t0 = Now();
    if (!Run(std::string("\"") + package + "\" /S")) {
        fprintf(stderr, "installing %s failed\n", package);
        exit(1);
    }
    samples.seconds.push_back(Now() - t0);
}

} // namespace

int main(int argc, char **argv) {
    if (argc < 3) return 2;
    int rounds = argc > 3 ? atoi(argv[3]) : 5;
    Samples installDrivers{"install drivers (silent)", {}}, installUtilities{"install utilities (silent)", {}},
        removeUtilities{"uninstall utilities: uninstaller ends", {}}, utilitiesGone{"uninstall utilities: folder gone", {}},
        removeDrivers{"uninstall drivers: uninstaller ends", {}}, driversGone{"uninstall drivers: folder gone", {}};
    for (int i = 0; i < rounds; ++i) {
        Install(argv[2], installDrivers);
        Install(argv[1], installUtilities);
        Uninstall("VelmoraUtilities", removeUtilities, utilitiesGone);
        Uninstall("VelmoraWDMDrivers", removeDrivers, driversGone);
    }
    for (Samples *s : {&installDrivers, &installUtilities, &removeUtilities, &utilitiesGone, &removeDrivers,
                       &driversGone}) {
        std::vector<double> v = s->seconds;
        std::sort(v.begin(), v.end());
        printf("%-40s median %6.2f s  (min %.2f, max %.2f, n=%zu)\n", s->what, v[v.size() / 2], v.front(), v.back(),
               v.size());
    }
    return 0;
}
