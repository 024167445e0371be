#include <dshow.h>
#include <string.h>
#include "receiver/ks_requests.h"
#include "receiver/receiver.h"

IKsControl *ReceiverControl = nullptr;

const char *const CaptureDeviceNames[4] = {
    "Philips Silicon (7171-35) WDM Video Capture",
    "Philips Cap713x Video Capture",
    "BUFFALO PC-SMP2E/PCI WDM Video Capture",
    "713x BDA Analog Capture",
};

namespace {

// Whichever name matched, the filter joins the graph under the first one.
const wchar_t kGraphFilterName[] = L"Philips Silicon (7171-35) WDM Video Capture";
const int kFriendlyNameBytes = 80;

// Held until the process ends: the graph keeps the filter, and with it the
// control interface, alive.
IGraphBuilder *receiverGraph = nullptr;
IBaseFilter *boundFilter = nullptr;

// Friendly name of one device into `name` (80 bytes, ANSI); false when it
// cannot be read.
bool ReadFriendlyName(IPropertyBag *bag, char (&name)[kFriendlyNameBytes], VARIANT *value) {
    name[0] = 0;
    if (bag->Read(L"FriendlyName", value, NULL) < 0) return false;
    // Only a text can be a name; anything else would be read as a wild pointer.
    if (V_VT(value) != VT_BSTR || !V_BSTR(value)) return false;
    WideCharToMultiByte(CP_ACP, 0, V_BSTR(value), -1, name, kFriendlyNameBytes, NULL, NULL);
    // A name of 80 bytes or more fills the buffer without a terminator; such
    // a name cannot be one of ours, so keep it distinct from all of them.
    name[kFriendlyNameBytes - 1] = 0;
    return true;
}

} // namespace

IBaseFilter *FindCaptureFilter(GUID category, const char *name) {
    ICreateDevEnum *devices = nullptr;
    if (CoCreateInstance(CLSID_SystemDeviceEnum, NULL, CLSCTX_INPROC_SERVER, IID_ICreateDevEnum,
                         (void **)&devices) != S_OK)
        return nullptr;
    IEnumMoniker *monikers = nullptr;
    HRESULT hr = devices->CreateClassEnumerator(category, &monikers, 0);
    devices->Release();
    if (hr != S_OK) return nullptr; // S_FALSE: a category with no devices
    monikers->Reset();

    IBaseFilter *result = nullptr;
    IMoniker *moniker = nullptr;
    ULONG fetched = 0;
    while (monikers->Next(1, &moniker, &fetched) == S_OK) {
        IPropertyBag *bag = nullptr;
        if (FAILED(moniker->BindToStorage(NULL, NULL, IID_IPropertyBag, (void **)&bag))) {
            // A device without properties ends the search for this name.
            moniker->Release();
            if (result) result->Release();
            monikers->Release();
            return nullptr;
        }
        VARIANT value;
        VariantInit(&value);
        char friendlyName[kFriendlyNameBytes];
        bool named = ReadFriendlyName(bag, friendlyName, &value);
        bag->Release();
        if (named && strcmp(name, friendlyName) == 0) {
            IBaseFilter *filter = nullptr;
            if (FAILED(moniker->BindToObject(NULL, NULL, IID_IBaseFilter, (void **)&filter))) {
                VariantClear(&value);
                moniker->Release();
                if (result) result->Release();
                monikers->Release();
                return nullptr;
            }
            // The last device of the name wins; an earlier one is not used again.
            if (result) result->Release();
            result = filter;
        }
        VariantClear(&value);
        moniker->Release();
    }
    monikers->Release();
    return result;
}

bool OpenReceiver() {
    CoInitialize(NULL);
    if (CoCreateInstance(CLSID_FilterGraph, NULL, CLSCTX_INPROC_SERVER, IID_IGraphBuilder, (void **)&receiverGraph) !=
        S_OK)
        return false;
    IBaseFilter *filter = nullptr;
    for (const char *name : CaptureDeviceNames) {
        filter = FindCaptureFilter(kKsCategoryCapture, name);
        if (filter) break;
    }
    if (!filter) return false;
    if (receiverGraph->AddFilter(filter, kGraphFilterName) != S_OK) {
        filter->Release();
        return false;
    }
    // A refused control interface leaves the filter in the graph.
    if (filter->QueryInterface(kIidKsControl, (void **)&ReceiverControl) != S_OK) return false;
    boundFilter = filter;
    return ReceiverControl != nullptr;
}
