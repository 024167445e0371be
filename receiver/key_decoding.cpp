#include "receiver/key_decoding.h"

namespace {

const RemoteKeyCode kNotInTable = 0x10000;

const RemoteKeyCode RawKeyMap[32] = {
    13, 1,  0,  20, 256, 4,  7,  15, // raw 0-7
    14, 5,  8,  2,  512, 19, 25, 24, // raw 8-15
    10, 22, 9,  23, 31,  6,  27, 30, // raw 16-23
    16, 17, 29, 3,  12,  21, 18, 26, // raw 24-31
};

} // namespace

unsigned char PinCode(const unsigned char (&levels)[kKeyCodePins]) {
    unsigned char code = 0;
    for (int pin = 0; pin < kKeyCodePins; ++pin) code = (unsigned char)(code + (levels[pin] << pin));
    return code;
}

int DecodeRawKeyCode(unsigned char pinCode, bool busRead, unsigned char deviceByte) {
    // Without the device byte nothing is known about the key; it must not
    // come out as whatever an unwritten buffer held (0 would be a real key).
    if (!busRead) return kUnreadKeyCode;
    if (deviceByte == 1) return 1;
    if ((deviceByte >> 1) == pinCode) return pinCode;
    return deviceByte;
}

RemoteKeyCode MapRawKeyCode(int raw) {
    if ((unsigned)raw > 31) return kNotInTable;
    return RawKeyMap[raw];
}
