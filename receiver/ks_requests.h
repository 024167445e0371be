// Kernel-streaming pieces the receiver needs: the control interface of the
// capture filter and the card driver's two private property requests.
// Declared here because the toolchain's ks headers drag in far more than this.
#pragma once
#include <windows.h>
#include <stddef.h>

// KSPROPERTY: the header of every property request.
struct KsPropertyHeader {
    GUID set;
    ULONG id;
    ULONG flags;
};
const ULONG kKsPropertyTypeGet = 1;

// IKsControl {28F54685-06FD-11D2-B27A-00A0C9223196}
struct IKsControl : public IUnknown {
    virtual HRESULT STDMETHODCALLTYPE KsProperty(KsPropertyHeader *property, ULONG propertyLength, void *propertyData,
                                                 ULONG dataLength, ULONG *bytesReturned) = 0;
    virtual HRESULT STDMETHODCALLTYPE KsMethod(void *method, ULONG methodLength, void *methodData, ULONG dataLength,
                                               ULONG *bytesReturned) = 0;
    virtual HRESULT STDMETHODCALLTYPE KsEvent(void *event, ULONG eventLength, void *eventData, ULONG dataLength,
                                              ULONG *bytesReturned) = 0;
};

// IKsObject {423C13A2-2070-11D0-9EF7-00AA00A216A1}: the filter's kernel handle,
// which device notices for the card are asked for by.
struct IKsObject : public IUnknown {
    virtual HANDLE STDMETHODCALLTYPE KsGetObjectHandle() = 0;
};
const GUID kIidKsObject = {0x423C13A2, 0x2070, 0x11D0, {0x9E, 0xF7, 0x00, 0xAA, 0x00, 0xA2, 0x16, 0xA1}};

const GUID kIidKsControl = {0x28F54685, 0x06FD, 0x11D2, {0xB2, 0x7A, 0x00, 0xA0, 0xC9, 0x22, 0x31, 0x96}};
const GUID kKsCategoryCapture = {0x65E8773D, 0x8F56, 0x11D0, {0xA3, 0xB9, 0x00, 0xA0, 0xC9, 0x22, 0x31, 0x96}};

// The driver's GPIO property set and its pin-read request.
const GUID kGpioPropertySet = {0x9490E589, 0x6B17, 0x44EC, {0x94, 0x35, 0x5E, 0x35, 0x87, 0xF9, 0xFB, 0xCE}};
struct GpioReadRequest {
    KsPropertyHeader property;
    BYTE pin;
    BYTE unset[7];
};

// The driver's bus property set and its read request; pointers have the
// width of the calling process.
const GUID kBusPropertySet = {0xFBB1C466, 0xBE03, 0x470F, {0x9A, 0x8F, 0xA2, 0xAA, 0x0F, 0xA2, 0xC0, 0xEE}};
struct BusReadRequest {
    KsPropertyHeader property;
    BYTE address;
    const BYTE *subAddress;
    ULONG subAddressLength;
    BYTE *data;
    ULONG dataLength;
    ULONG unset;
};
const ULONG kBusPropertyDataSize = 8;

// Every field where the driver expects it: 32-bit pointers in the shipped
// build, the same structures with 64-bit pointers in the 64-bit build.
#define KS_FIELD_AT(type, field, offset, size)                                                               \
    static_assert(offsetof(type, field) == (offset) && sizeof(((type *)0)->field) == (size),                   \
                  #type "." #field " is laid out as the driver expects")
KS_FIELD_AT(KsPropertyHeader, set, 0, 16);
KS_FIELD_AT(KsPropertyHeader, id, 16, 4);
KS_FIELD_AT(KsPropertyHeader, flags, 20, 4);
static_assert(sizeof(KsPropertyHeader) == 24, "KSPROPERTY is 24 bytes");
KS_FIELD_AT(GpioReadRequest, pin, 24, 1);
KS_FIELD_AT(GpioReadRequest, unset, 25, 7);
static_assert(sizeof(GpioReadRequest) == 32, "GpioReadRequest is 32 bytes");
KS_FIELD_AT(BusReadRequest, address, 24, 1);
#if defined(_WIN64)
KS_FIELD_AT(BusReadRequest, subAddress, 32, 8);
KS_FIELD_AT(BusReadRequest, subAddressLength, 40, 4);
KS_FIELD_AT(BusReadRequest, data, 48, 8);
KS_FIELD_AT(BusReadRequest, dataLength, 56, 4);
KS_FIELD_AT(BusReadRequest, unset, 60, 4);
static_assert(sizeof(BusReadRequest) == 64, "BusReadRequest is 64 bytes with 64-bit pointers");
#else
KS_FIELD_AT(BusReadRequest, subAddress, 28, 4);
KS_FIELD_AT(BusReadRequest, subAddressLength, 32, 4);
KS_FIELD_AT(BusReadRequest, data, 36, 4);
KS_FIELD_AT(BusReadRequest, dataLength, 40, 4);
KS_FIELD_AT(BusReadRequest, unset, 44, 4);
static_assert(sizeof(BusReadRequest) == 48, "BusReadRequest is 48 bytes");
#endif
#undef KS_FIELD_AT
