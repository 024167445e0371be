// Turning what the card reports into a key: pure, no Windows header, so the
// fuzzers build it natively.
#pragma once
#include "receiver/remote_key.h"

const int kKeyCodePins = 6;
// What a failed device-byte read gives: a raw code that no key map acts on.
const int kUnreadKeyCode = 255;

// The pin code of the six code pins' levels, each as the driver left it:
// pin i weighs 2 to the i, in 8 bits.
unsigned char PinCode(const unsigned char (&levels)[kKeyCodePins]);
// The raw code from the pin code and the device byte (busRead false: the
// device byte could not be read and `deviceByte` means nothing).
int DecodeRawKeyCode(unsigned char pinCode, bool busRead, unsigned char deviceByte);
// Raw code to logical key (non-Japanese layout only).
RemoteKeyCode MapRawKeyCode(int raw);
