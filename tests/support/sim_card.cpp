#include "tests/support/sim_card.h"
#include "tests/support/process.h"

SimCard::SimCard() {
    state_ = OpenSimCardState(&mapping_);
    UnregisterAll(); // leftovers of a test that did not end
    state_->keyDown = 0;
    state_->pressPending = 0;
    state_->failMask = 0;
    state_->failResult = E_FAIL;
    state_->unplugged = 0;
}

SimCard::~SimCard() {
    state_->keyDown = 0;
    UnregisterAll();
    UnmapViewOfFile(state_);
    CloseHandle(mapping_);
}

int SimCard::Regsvr(const std::string &arguments) {
    ProcessSet processes;
    HANDLE process = processes.Start("regsvr32 /s " + arguments + " \"" + BinDir() + "\\sim\\simcard.dll\"");
    DWORD code = 0;
    if (!process || !WaitExit(process, 60000, &code)) return -1;
    return (int)code;
}

bool SimCard::Register(const std::string &friendlyName, int slot) {
    // regsvr32 passes our environment on to the DLL's registration.
    SetEnvironmentVariableA("SIMCARD_NAME", friendlyName.c_str());
    SetEnvironmentVariableA("SIMCARD_SLOT", std::to_string(slot).c_str());
    int code = Regsvr("");
    SetEnvironmentVariableA("SIMCARD_NAME", NULL);
    SetEnvironmentVariableA("SIMCARD_SLOT", NULL);
    return code == 0;
}

void SimCard::UnregisterAll() { Regsvr("/u"); }

int SimCard::Remote(const std::string &arguments, DWORD timeoutMs) {
    ProcessSet processes;
    HANDLE process = processes.Start("\"" + BinDir() + "\\sim\\remote.exe\" " + arguments);
    DWORD code = 0;
    if (!process || !WaitExit(process, timeoutMs, &code)) return -1;
    return (int)code;
}

bool SimCard::WaitForPolls(LONG count, DWORD timeoutMs) const {
    LONG target = state_->gpioRequests + count;
    return WaitUntil([&] { return state_->gpioRequests >= target; }, timeoutMs);
}
