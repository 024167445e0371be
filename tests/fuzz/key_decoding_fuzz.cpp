// The key decoding, fed whatever a driver may leave in the buffers: the six
// code pins' levels (any byte, not only 0 and 1), the device byte, whether
// the bus read worked, and an arbitrary raw code for the table.
#include <stdint.h>
#include <string.h>
#include "receiver/key_decoding.h"
#include "tests/fuzz/fuzz_check.h"

namespace {

// What the table may give: 0-10, 12-27, 29-31, 256, 512, or 65536 for a raw
// code it lacks; never 11 or 28.
bool IsMappedKey(RemoteKeyCode code) {
    if (code == 256 || code == 512 || code == 65536) return true;
    return code >= 0 && code <= 31 && code != 11 && code != 28;
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t *data, size_t size) {
    if (size < 8) return 0;
    unsigned char levels[kKeyCodePins];
    memcpy(levels, data, sizeof levels);
    unsigned char deviceByte = data[6];
    bool busRead = (data[7] & 1) != 0;

    unsigned char pinCode = PinCode(levels);
    int raw = DecodeRawKeyCode(pinCode, busRead, deviceByte);
    FUZZ_CHECK(raw >= 0 && raw <= 255);
    // A failed bus read never comes out as a real key.
    if (!busRead) FUZZ_CHECK(raw == kUnreadKeyCode && MapRawKeyCode(raw) == 65536);
    FUZZ_CHECK(IsMappedKey(MapRawKeyCode(raw)));

    // Levels of 0 and 1 (a driver that keeps to them): a device that answers
    // twice the pin code, whatever its lowest bit, names that key; the one
    // exception is the device byte 1, which is key 1 itself.
    bool bits = true;
    for (unsigned char level : levels) bits = bits && level <= 1;
    if (bits) {
        FUZZ_CHECK(pinCode < 64);
        unsigned char answer = (unsigned char)(2 * pinCode + (data[7] >> 1 & 1));
        FUZZ_CHECK(DecodeRawKeyCode(pinCode, true, answer) == (answer == 1 ? 1 : pinCode));
    }

    // Any int at all, negative ones included, maps to a key or to 65536.
    if (size >= 12) {
        int anyRaw;
        memcpy(&anyRaw, data + 8, sizeof anyRaw);
        RemoteKeyCode code = MapRawKeyCode(anyRaw);
        FUZZ_CHECK(IsMappedKey(code));
        FUZZ_CHECK((code == 65536) == (anyRaw < 0 || anyRaw > 31));
    }
    return 0;
}
