// The simulated tuner card in end-to-end tests: registers its devices with
// regsvr32 under chosen friendly names, presses keys with remote.exe, and
// shows what the card saw. Every device is unregistered when it ends.
#pragma once
#include <windows.h>
#include <string>
#include "sim/card/card_state.h"

class SimCard {
public:
    SimCard();
    ~SimCard();

    // Registers device `slot` (1-4) under `friendlyName`; false on failure.
    bool Register(const std::string &friendlyName, int slot = 1);
    void UnregisterAll();

    // Runs remote.exe with `arguments`; its exit code, or -1 when it hung.
    int Remote(const std::string &arguments, DWORD timeoutMs = 30000);
    bool Press(const std::string &key) { return Remote("press " + key) == 0; }
    // A real tap: down `ms` milliseconds (and until the card was read once).
    bool Tap(const std::string &key, int ms = 150) { return Remote("press " + key + " " + std::to_string(ms)) == 0; }
    // The card pulled out (its devices unlisted, its filters dead) and put back.
    bool Unplug() { return Remote("unplug") == 0; }
    bool Plug() { return Remote("plug") == 0; }

    // What the card saw, live.
    const SimCardState &state() const { return *state_; }
    // Waits until the bound filter has answered `count` more GPIO requests
    // than now: the poll cycle has run that many times.
    bool WaitForPolls(LONG count, DWORD timeoutMs = 20000) const;

private:
    int Regsvr(const std::string &arguments);
    HANDLE mapping_ = NULL;
    SimCardState *state_ = nullptr;
};
