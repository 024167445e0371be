// The remote control of the simulated tuner card: presses and releases keys
// on the card and makes its driver requests fail, through the card's shared
// state. Usage:
//   remote press <key> [ms]           down for <ms> milliseconds as a real tap
//                                     is (100-200 ms: two or three polls), and
//                                     on until the card has answered one
//                                     complete key read; without <ms> up
//                                     right after that read. Waits up to 30 s.
//   remote hold <key> <ms>            down for <ms> milliseconds, then up
//   remote down <key> | remote up
//   remote fail none|gpio|bus|both|gpio-s_false|bus-s_false|both-s_false
//   remote unplug                     the card's devices leave the system's
//                                     list; filters made so far fail for good
//   remote plug                       listed again, as new devices
//   remote status
// <key>: 0-9, POWER, RECORD, KEY<n> (logical key n) or raw:<n> (raw code 0-255).
#include <windows.h>
#include <stdio.h>
#include <stdlib.h>
#include <string.h>
#include "sim/remote/card_keys.h"

namespace {

bool ParseNumber(const char *text, int *value) {
    char *end = nullptr;
    long n = strtol(text, &end, 10);
    if (!*text || *end) return false;
    *value = (int)n;
    return true;
}

// Raw code of a key argument, or -1.
int ParseKey(const char *key) {
    int n;
    if (_strnicmp(key, "raw:", 4) == 0) return ParseNumber(key + 4, &n) && n >= 0 && n <= 255 ? n : -1;
    if (_stricmp(key, "POWER") == 0) return RawOfLogical(18);
    if (_stricmp(key, "RECORD") == 0) return RawOfLogical(13);
    if (_strnicmp(key, "KEY", 3) == 0) return ParseNumber(key + 3, &n) ? RawOfLogical(n) : -1;
    if (ParseNumber(key, &n) && n >= 0 && n <= 9) return RawOfLogical(n);
    return -1;
}

int Usage() {
    fprintf(stderr, "usage: remote press <key> [ms] | hold <key> <ms> | down <key> | up |\n"
                    "       fail none|gpio|bus|both|gpio-s_false|bus-s_false|both-s_false |\n"
                    "       unplug | plug | status\n"
                    "<key>: 0-9, POWER, RECORD, KEY<n>, raw:<n>\n");
    return 1;
}

int Press(SimCardState *card, const char *key, int raw, DWORD ms) {
    const DWORD kTimeoutMs = 30000; // Wine under load is slow, not wrong
    CardPress press = PutKeyDown(card, raw, ms == 0);
    if (ms) {
        Sleep(ms);
        EndPress(card, press);
    }
    if (!WaitForRelease(card, press, kTimeoutMs)) {
        fprintf(stderr, "remote: %s was not read within %lu ms (is the card bound?)\n", key,
                (unsigned long)kTimeoutMs);
        return 2;
    }
    printf("press %s raw=%d tick=%lu read-after=%lu reads=%ld\n", key, raw, (unsigned long)press.downTick,
           (unsigned long)(GetTickCount() - press.downTick), (long)ReadsSince(card, press));
    return 0;
}

int Hold(SimCardState *card, const char *key, int raw, DWORD ms) {
    CardPress press = PutKeyDown(card, raw, false);
    Sleep(ms);
    ReleaseKey(card);
    printf("hold %s raw=%d tick=%lu ms=%lu reads=%ld\n", key, raw, (unsigned long)press.downTick,
           (unsigned long)ms, (long)ReadsSince(card, press));
    return 0;
}

int Fail(SimCardState *card, const char *mode) {
    static const struct {
        const char *name;
        LONG mask;
        HRESULT result;
    } kModes[] = {
        {"none", 0, E_FAIL},
        {"gpio", kFailGpio, E_FAIL},
        {"bus", kFailBus, E_FAIL},
        {"both", kFailGpio | kFailBus, E_FAIL},
        {"gpio-s_false", kFailGpio, S_FALSE},
        {"bus-s_false", kFailBus, S_FALSE},
        {"both-s_false", kFailGpio | kFailBus, S_FALSE},
    };
    for (const auto &m : kModes) {
        if (_stricmp(mode, m.name) != 0) continue;
        InterlockedExchange(&card->failResult, m.result);
        InterlockedExchange(&card->failMask, m.mask);
        printf("fail %s\n", m.name);
        return 0;
    }
    return Usage();
}

int Status(const SimCardState *card) {
    printf("keyDown=%ld pinCode=%ld deviceByte=%ld pressPending=%ld keyReads=%ld\n"
           "failMask=%ld failResult=0x%08lX gpioRequests=%ld busRequests=%ld badRequests=%ld\n"
           "liveFilters=%ld lastDevice=%ld joinCount=%ld joinedName=\"%s\" lastBadRequest=\"%s\"\n"
           "unplugged=%ld generation=%ld\n",
           (long)card->keyDown, (long)card->pinCode, (long)card->deviceByte, (long)card->pressPending,
           (long)card->keyReads, (long)card->failMask, (unsigned long)card->failResult, (long)card->gpioRequests,
           (long)card->busRequests, (long)card->badRequests, (long)card->liveFilters, (long)card->lastDevice,
           (long)card->joinCount, card->joinedName, card->lastBadRequest, (long)card->unplugged,
           (long)card->generation);
    return 0;
}

} // namespace

int main(int argc, char **argv) {
    if (argc < 2) return Usage();
    const char *command = argv[1];
    HANDLE mapping;
    SimCardState *card = OpenSimCardState(&mapping);
    if (!card) {
        fprintf(stderr, "remote: cannot open the card's state (error %lu)\n", GetLastError());
        return 3;
    }
    bool held = card->liveFilters > 0;
    if (_stricmp(command, "up") == 0) {
        ReleaseKey(card);
        return 0;
    }
    if (_stricmp(command, "status") == 0) return Status(card);
    if (_stricmp(command, "unplug") == 0 || _stricmp(command, "plug") == 0) {
        bool unplug = _stricmp(command, "unplug") == 0;
        if (!(unplug ? UnplugCard(card) : PlugCard(card))) {
            fprintf(stderr, "remote: no device to %s\n", command);
            return 4;
        }
        printf("%s\n", command);
        return 0;
    }
    if (_stricmp(command, "fail") == 0) {
        if (argc != 3) return Usage();
        if (!held) fprintf(stderr, "remote: no card filter is alive; the setting lasts only while one is\n");
        return Fail(card, argv[2]);
    }
    if (argc < 3) return Usage();
    const char *key = argv[2];
    int raw = ParseKey(key);
    if (raw < 0) {
        fprintf(stderr, "remote: unknown key \"%s\"\n", key);
        return Usage();
    }
    int ms = 0;
    if (_stricmp(command, "press") == 0) {
        if (argc > 4 || (argc == 4 && (!ParseNumber(argv[3], &ms) || ms <= 0))) return Usage();
        return Press(card, key, raw, (DWORD)ms);
    }
    if (_stricmp(command, "hold") == 0) {
        if (argc != 4 || !ParseNumber(argv[3], &ms) || ms < 0) return Usage();
        return Hold(card, key, raw, (DWORD)ms);
    }
    if (_stricmp(command, "down") == 0 && argc == 3) {
        if (!held) fprintf(stderr, "remote: no card filter is alive; the key stays down only while one is\n");
        PutKeyDown(card, raw, false);
        return 0;
    }
    return Usage();
}
