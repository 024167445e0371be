#include "platform/effects.h"
#include "platform/trace.h"
#include "receiver/ks_requests.h"
#include "receiver/receiver.h"
#include "receiver/request_health.h"

namespace {

const BYTE kKeyPresentPin = 6;
const BYTE kKeyDeviceAddress = 0x60;
const DWORD kKeyDeviceBytes = 4;
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

int ReadRawKeyCode() {
    BYTE levels[kKeyCodePins] = {0, 0, 0, 0, 0, 0};
    for (BYTE pin = 0; pin < kKeyCodePins; ++pin) ReadGpioPin(pin, &levels[pin]);
    BYTE buffer[kKeyDeviceBytes] = {0, 0, 0, 0};
    bool busRead = ReadBusBytes(kKeyDeviceAddress, 0, 0, buffer, kKeyDeviceBytes);
    if (!busRead) Trace("key: the device byte could not be read, raw code %d stands for it", kUnreadKeyCode);
    return DecodeRawKeyCode(PinCode(levels), busRead, buffer[0]);
}
