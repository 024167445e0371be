#include "platform/effects.h"
#include "platform/trace.h"
#include "receiver/ks_requests.h"
#include "receiver/receiver.h"
#include "receiver/request_health.h"

namespace {

const BYTE kKeyPresentPin = 6;
const BYTE kKeyCodePins = 6;
const BYTE kKeyDeviceAddress = 0x60;
const DWORD kKeyDeviceBytes = 4;
const RemoteKeyCode kNotInTable = 0x10000;

const RemoteKeyCode RawKeyMap[32] = {
    13, 1,  0,  20, 256, 4,  7,  15, // raw 0-7
    14, 5,  8,  2,  512, 19, 25, 24, // raw 8-15
    10, 22, 9,  23, 31,  6,  27, 30, // raw 16-23
    16, 17, 29, 3,  12,  21, 18, 26, // raw 24-31
};

// Every request is a get of property 0 of one of the driver's sets.
KsPropertyHeader GetProperty(const GUID &set) {
    KsPropertyHeader header;
    header.set = set;
    header.id = 0;
    header.flags = kKsPropertyTypeGet;
    return header;
}

} // namespace

bool ReadGpioPin(BYTE pin, BYTE *level) {
    if (!ReceiverControl) return false;
    GpioReadRequest request;
    request.property = GetProperty(kGpioPropertySet);
    request.pin = pin;
    BYTE data = pin;
    ULONG returned = 0;
    HRESULT result = ReceiverControl->KsProperty(&request.property, sizeof request, &data, sizeof data, &returned);
    NoteRequestResult(requestHealth, result, fx.GetTickCount());
    if (result != S_OK) return false;
    *level = data;
    return true;
}

bool ReadBusBytes(BYTE address, BYTE subAddress, int sendSubAddress, BYTE *buffer, DWORD count) {
    if (!ReceiverControl) return false;
    BusReadRequest request;
    request.property = GetProperty(kBusPropertySet);
    request.address = address;
    request.subAddress = &subAddress;
    request.subAddressLength = sendSubAddress ? 1 : 0;
    request.data = buffer;
    request.dataLength = count;
    BYTE propertyData[kBusPropertyDataSize];
    ULONG returned = 0;
    HRESULT result =
        ReceiverControl->KsProperty(&request.property, sizeof request, propertyData, sizeof propertyData, &returned);
    NoteRequestResult(requestHealth, result, fx.GetTickCount());
    return result == S_OK;
}

bool IsKeyPressed() {
    // Active-low; a failed read leaves the 1 and so means no key.
    BYTE level = 1;
    ReadGpioPin(kKeyPresentPin, &level);
    return level == 0;
}

bool ProbeReceiver() {
    BYTE level = 1;
    return ReadGpioPin(kKeyPresentPin, &level);
}

int DecodeRawKeyCode(BYTE pinCode, bool busRead, BYTE deviceByte) {
    // Without the device byte nothing is known about the key; it must not
    // come out as whatever an unwritten buffer held (0 would be a real key).
    if (!busRead) return kUnreadKeyCode;
    if (deviceByte == 1) return 1;
    if ((deviceByte >> 1) == pinCode) return pinCode;
    return deviceByte;
}

int ReadRawKeyCode() {
    BYTE pinCode = 0;
    for (BYTE pin = 0; pin < kKeyCodePins; ++pin) {
        BYTE bit = 0;
        ReadGpioPin(pin, &bit);
        pinCode = (BYTE)(pinCode + (bit << pin));
    }
    BYTE buffer[kKeyDeviceBytes] = {0, 0, 0, 0};
    bool busRead = ReadBusBytes(kKeyDeviceAddress, 0, 0, buffer, kKeyDeviceBytes);
    if (!busRead) Trace("key: the device byte could not be read, raw code %d stands for it", kUnreadKeyCode);
    return DecodeRawKeyCode(pinCode, busRead, buffer[0]);
}

RemoteKeyCode MapRawKeyCode(int raw) {
    if ((unsigned)raw > 31) return kNotInTable;
    return RawKeyMap[raw];
}
