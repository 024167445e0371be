#include <dshow.h>
#include <string.h>
#include <wrl/client.h>
#include "platform/trace.h"
#include "receiver/ks_requests.h"
#include "receiver/receiver.h"

IKsControl *ReceiverControl = nullptr;
IGraphBuilder *receiverGraph = nullptr;

const char *const CaptureDeviceNames[4] = {
    "Philips Silicon (7171-35) WDM Video Capture",
    "Philips Cap713x Video Capture",
    "BUFFALO PC-SMP2E/PCI WDM Video Capture",
    "713x BDA Analog Capture",
};

namespace {

using Microsoft::WRL::ComPtr;

// Whichever name matched, the filter joins the graph under the first one.
const wchar_t kGraphFilterName[] = L"Philips Silicon (7171-35) WDM Video Capture";
const int kFriendlyNameBytes = 80;

// Our reference to the filter in the graph, held until the process ends or
// the card is released (CloseReceiver).
IBaseFilter *boundFilter = nullptr;

// Friendly name of one device into `name` (80 bytes, ANSI); false when it
// cannot be read.
bool ReadFriendlyName(IPropertyBag *bag, char (&name)[kFriendlyNameBytes]) {
    name[0] = 0;
    VARIANT value;
    VariantInit(&value);
    bool named = false;
    // Only a text can be a name; anything else would be read as a wild pointer.
    if (bag->Read(L"FriendlyName", &value, NULL) >= 0 && V_VT(&value) == VT_BSTR && V_BSTR(&value)) {
        WideCharToMultiByte(CP_ACP, 0, V_BSTR(&value), -1, name, kFriendlyNameBytes, NULL, NULL);
        // A name of 80 bytes or more fills the buffer without a terminator;
        // such a name cannot be one of ours, so keep it distinct from all of them.
        name[kFriendlyNameBytes - 1] = 0;
        named = true;
    }
    VariantClear(&value);
    return named;
}

} // namespace

IBaseFilter *FindCaptureFilter(GUID category, const char *name) {
    ComPtr<IEnumMoniker> monikers;
    {
        ComPtr<ICreateDevEnum> devices;
        HRESULT hr = CoCreateInstance(CLSID_SystemDeviceEnum, NULL, CLSCTX_INPROC_SERVER, IID_ICreateDevEnum,
                                      (void **)devices.GetAddressOf());
        if (hr != S_OK) {
            Trace("bind: no system device enumerator (0x%08lX)", (unsigned long)hr);
            return nullptr;
        }
        // S_FALSE: a category with no devices.
        hr = devices->CreateClassEnumerator(category, monikers.GetAddressOf(), 0);
        if (hr != S_OK) {
            Trace("bind: no capture devices listed (0x%08lX)", (unsigned long)hr);
            return nullptr;
        }
    }
    monikers->Reset();

    ComPtr<IBaseFilter> result;
    ComPtr<IMoniker> moniker;
    ULONG fetched = 0;
    while (monikers->Next(1, moniker.ReleaseAndGetAddressOf(), &fetched) == S_OK) {
        ComPtr<IPropertyBag> bag;
        // A device without properties ends the search for this name.
        HRESULT hr = moniker->BindToStorage(NULL, NULL, IID_IPropertyBag, (void **)bag.GetAddressOf());
        if (FAILED(hr)) {
            Trace("bind: a device without properties ends the search (0x%08lX)", (unsigned long)hr);
            return nullptr;
        }
        char friendlyName[kFriendlyNameBytes];
        bool named = ReadFriendlyName(bag.Get(), friendlyName);
        bag.Reset();
        if (!named || strcmp(name, friendlyName) != 0) continue;
        ComPtr<IBaseFilter> filter;
        hr = moniker->BindToObject(NULL, NULL, IID_IBaseFilter, (void **)filter.GetAddressOf());
        if (FAILED(hr)) {
            Trace("bind: \"%s\" cannot be created (0x%08lX)", name, (unsigned long)hr);
            return nullptr;
        }
        // The last device of the name wins; an earlier one is not used again.
        result = filter;
    }
    return result.Detach();
}

bool AddReceiverFilter(IGraphBuilder *graph, IBaseFilter *(*find)(GUID category, const char *name)) {
    // An owned reference, or null, held raw: once in the graph it becomes
    // boundFilter's, which keeps it until the process ends.
    IBaseFilter *filter = nullptr;
    for (const char *name : CaptureDeviceNames) {
        filter = find(kKsCategoryCapture, name);
        Trace("bind: \"%s\" %s", name, filter ? "found" : "not found");
        if (filter) break;
    }
    if (!filter) return false;
    HRESULT hr = graph->AddFilter(filter, kGraphFilterName);
    if (hr != S_OK) {
        Trace("bind: the graph refused the filter (0x%08lX)", (unsigned long)hr);
        filter->Release();
        return false;
    }
    boundFilter = filter;
    hr = filter->QueryInterface(kIidKsControl, (void **)&ReceiverControl);
    if (hr != S_OK) {
        // Refused: the filter stays in the graph, our reference with it.
        Trace("bind: the filter has no control interface (0x%08lX)", (unsigned long)hr);
        return false;
    }
    Trace("bind: bound");
    return ReceiverControl != nullptr;
}

bool OpenReceiver() {
    // Kept from here on, whatever becomes of the binding: it holds the filter.
    HRESULT hr = CoCreateInstance(CLSID_FilterGraph, NULL, CLSCTX_INPROC_SERVER, IID_IGraphBuilder,
                                  (void **)&receiverGraph);
    if (hr != S_OK) {
        Trace("bind: no filter graph (0x%08lX)", (unsigned long)hr);
        return false;
    }
    return AddReceiverFilter(receiverGraph, FindCaptureFilter);
}

HANDLE ReceiverDeviceHandle() {
    if (!boundFilter || !ReceiverControl) return NULL;
    ComPtr<IKsObject> object;
    if (boundFilter->QueryInterface(kIidKsObject, (void **)object.GetAddressOf()) != S_OK) return NULL;
    return object->KsGetObjectHandle();
}

void CloseReceiver() {
    if (ReceiverControl) ReceiverControl->Release();
    ReceiverControl = nullptr;
    if (boundFilter) {
        if (receiverGraph) receiverGraph->RemoveFilter(boundFilter);
        boundFilter->Release();
    }
    boundFilter = nullptr;
    if (receiverGraph) receiverGraph->Release();
    receiverGraph = nullptr;
}
