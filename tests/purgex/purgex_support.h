// What the wizard's tests share: uninstall entries and the stand-in
// uninstaller's command line.
#pragma once
#include <string>
#include "tests/support/process.h"

constexpr const char *kUninstallRootPath = "Software\\Microsoft\\Windows\\CurrentVersion\\Uninstall";

inline std::string EntryPath(const std::string &name) { return std::string(kUninstallRootPath) + "\\" + name; }

// The stand-in uninstaller logging to `log` as `name`, working `ms`; `then`
// ("broadcast") what it does before its end.
inline std::string SimCommand(const std::string &log, const std::string &name, int ms, const char *then = "") {
    return "\"" + BinDir() + "\\sim\\uninstall_sim.exe\" \"" + log + "\" " + name + " " + std::to_string(ms) +
           (*then ? std::string(" ") + then : "");
}
