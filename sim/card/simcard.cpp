// Stand-in for the tuner card's capture driver: a COM in-process server whose
// filter the system device enumerator lists among the capture devices, joins
// a filter graph, and answers the driver's GPIO and bus property requests from
// the shared card state (sim/card/card_state.h). It answers every request from
// the state as it is at that moment; timing is left to whoever presses keys.
//
// Registration (regsvr32 or DllRegisterServer): environment SIMCARD_NAME is
// the friendly name (default: the first supported name) and SIMCARD_SLOT the
// device slot 1-4 (default 1); each slot is one device. DllUnregisterServer
// removes every slot.
#include <dshow.h>
#include <shlwapi.h>
#include <stddef.h>
#include <stdio.h>
#include <new>
#include "receiver/ks_requests.h"
#include "sim/card/card_state.h"
#include "sim/card/device_list.h"

namespace {

HMODULE dllModule;
volatile LONG serverLocks;
HANDLE stateMapping;
SimCardState *state;

const char kDefaultName[] = "Philips Silicon (7171-35) WDM Video Capture";
const BYTE kKeyDeviceAddress = 0x60;

SimCardState *Card() {
    if (!state) state = OpenSimCardState(&stateMapping);
    return state;
}

void NoteBadRequest(const char *what) {
    if (!Card()) return;
    InterlockedIncrement(&state->badRequests);
    lstrcpynA(state->lastBadRequest, what, sizeof state->lastBadRequest);
}

// The bus request as the driver sees it: pointers as wide as the caller's.
const size_t kPtr = sizeof(void *);
const size_t kBusSubAddressAt = kPtr == 8 ? 32 : 28;
const size_t kBusSubLengthAt = kBusSubAddressAt + kPtr;
const size_t kBusDataAt = kPtr == 8 ? 48 : 36;
const size_t kBusDataLengthAt = kBusDataAt + kPtr;
const size_t kBusRequestSize = kPtr == 8 ? 64 : 48;

template <typename T> T Field(const void *request, size_t offset) {
    T value;
    memcpy(&value, (const BYTE *)request + offset, sizeof value);
    return value;
}

// The count every object here keeps; the last release deletes it.
class Counted {
public:
    virtual ~Counted() {}

protected:
    ULONG Hold() { return (ULONG)InterlockedIncrement(&refs_); }
    ULONG Drop() {
        LONG n = InterlockedDecrement(&refs_);
        if (!n) delete this;
        return (ULONG)n;
    }

private:
    volatile LONG refs_ = 1;
};

// Reference counting and QueryInterface for an object with one interface.
template <typename Interface, const IID *Id> class OneInterface : public Interface, protected Counted {
public:
    STDMETHODIMP QueryInterface(REFIID iid, void **out) override {
        if (iid == IID_IUnknown || iid == *Id) {
            *out = this;
            this->AddRef();
            return S_OK;
        }
        *out = nullptr;
        return E_NOINTERFACE;
    }
    STDMETHODIMP_(ULONG) AddRef() override { return Hold(); }
    STDMETHODIMP_(ULONG) Release() override { return Drop(); }
};

class EmptyPins final : public OneInterface<IEnumPins, &IID_IEnumPins> {
public:
    STDMETHODIMP Next(ULONG, IPin **, ULONG *fetched) override {
        if (fetched) *fetched = 0;
        return S_FALSE;
    }
    STDMETHODIMP Skip(ULONG) override { return S_FALSE; }
    STDMETHODIMP Reset() override { return S_OK; }
    STDMETHODIMP Clone(IEnumPins **out) override {
        *out = new (std::nothrow) EmptyPins;
        return *out ? S_OK : E_OUTOFMEMORY;
    }
};

class CardFilter : public IBaseFilter, public IKsControl, protected Counted {
public:
    explicit CardFilter(int slot) : slot_(slot) {
        if (Card()) {
            InterlockedIncrement(&state->liveFilters);
            generation_ = state->generation;
        }
    }
    virtual ~CardFilter() {
        if (clock_) clock_->Release();
        if (Card()) InterlockedDecrement(&state->liveFilters);
    }

    // IUnknown
    STDMETHODIMP QueryInterface(REFIID iid, void **out) override {
        if (iid == IID_IUnknown || iid == IID_IPersist || iid == IID_IMediaFilter || iid == IID_IBaseFilter)
            *out = static_cast<IBaseFilter *>(this);
        else if (iid == kIidKsControl)
            *out = static_cast<IKsControl *>(this);
        else {
            *out = nullptr;
            return E_NOINTERFACE;
        }
        AddRef();
        return S_OK;
    }
    STDMETHODIMP_(ULONG) AddRef() override { return Hold(); }
    STDMETHODIMP_(ULONG) Release() override { return Drop(); }

    // IPersist, IMediaFilter
    STDMETHODIMP GetClassID(CLSID *id) override {
        *id = SimCardClsid(slot_);
        return S_OK;
    }
    STDMETHODIMP Stop() override { return Enter(State_Stopped); }
    STDMETHODIMP Pause() override { return Enter(State_Paused); }
    STDMETHODIMP Run(REFERENCE_TIME) override { return Enter(State_Running); }
    STDMETHODIMP GetState(DWORD, FILTER_STATE *out) override {
        *out = filterState_;
        return S_OK;
    }
    STDMETHODIMP SetSyncSource(IReferenceClock *clock) override {
        if (clock) clock->AddRef();
        if (clock_) clock_->Release();
        clock_ = clock;
        return S_OK;
    }
    STDMETHODIMP GetSyncSource(IReferenceClock **out) override {
        *out = clock_;
        if (clock_) clock_->AddRef();
        return S_OK;
    }

    // IBaseFilter: a capture device with no pins the graph needs.
    STDMETHODIMP EnumPins(IEnumPins **out) override {
        *out = new (std::nothrow) EmptyPins;
        return *out ? S_OK : E_OUTOFMEMORY;
    }
    STDMETHODIMP FindPin(LPCWSTR, IPin **out) override {
        *out = nullptr;
        return VFW_E_NOT_FOUND;
    }
    STDMETHODIMP QueryFilterInfo(FILTER_INFO *info) override {
        lstrcpynW(info->achName, name_, MAX_FILTER_NAME);
        info->pGraph = graph_;
        if (graph_) graph_->AddRef();
        return S_OK;
    }
    STDMETHODIMP JoinFilterGraph(IFilterGraph *graph, LPCWSTR name) override {
        // The graph owns the filter; the filter only remembers the graph.
        graph_ = graph;
        lstrcpynW(name_, name ? name : L"", MAX_FILTER_NAME);
        if (graph && Card()) {
            WideCharToMultiByte(CP_ACP, 0, name_, -1, state->joinedName, sizeof state->joinedName, NULL, NULL);
            state->joinedName[sizeof state->joinedName - 1] = 0;
            InterlockedIncrement(&state->joinCount);
        }
        return S_OK;
    }
    STDMETHODIMP QueryVendorInfo(LPWSTR *) override { return E_NOTIMPL; }

    // IKsControl: the two property requests of the card's driver.
    STDMETHODIMP KsProperty(KsPropertyHeader *property, ULONG length, void *data, ULONG dataLength,
                            ULONG *returned) override {
        if (!Card()) return E_FAIL;
        InterlockedExchange(&state->lastDevice, slot_);
        if (!property) return E_POINTER;
        // A filter of a device that was unplugged never answers again.
        if (state->unplugged || generation_ != state->generation)
            return HRESULT_FROM_WIN32(ERROR_DEVICE_NOT_CONNECTED);
        if (property->set == kGpioPropertySet) return ReadGpio(property, length, data, dataLength, returned);
        if (property->set == kBusPropertySet) return ReadBus(property, length, data, dataLength, returned);
        NoteBadRequest("unknown property set");
        return HRESULT_FROM_WIN32(ERROR_SET_NOT_FOUND);
    }
    STDMETHODIMP KsMethod(void *, ULONG, void *, ULONG, ULONG *) override {
        return HRESULT_FROM_WIN32(ERROR_SET_NOT_FOUND);
    }
    STDMETHODIMP KsEvent(void *, ULONG, void *, ULONG, ULONG *) override {
        return HRESULT_FROM_WIN32(ERROR_SET_NOT_FOUND);
    }

private:
    HRESULT Enter(FILTER_STATE next) {
        filterState_ = next;
        return S_OK;
    }

    HRESULT ReadGpio(KsPropertyHeader *property, ULONG length, void *data, ULONG dataLength, ULONG *returned) {
        InterlockedIncrement(&state->gpioRequests);
        BYTE pin = Field<BYTE>(property, 24);
        if (length != 32 || property->id != 0 || property->flags != kKsPropertyTypeGet || !data ||
            dataLength != 1 || pin > 6 || *(BYTE *)data != pin) {
            NoteBadRequest("GPIO request");
            return E_INVALIDARG;
        }
        if (state->failMask & kFailGpio) return state->failResult;
        bool down = state->keyDown != 0;
        BYTE level;
        if (pin == 6) {
            level = down ? 0 : 1; // active-low key-present line
            if (down && state->pressPending) InterlockedExchange(&state->presentSeen, 1);
        } else {
            level = down ? (BYTE)((state->pinCode >> pin) & 1) : 0;
        }
        *(BYTE *)data = level;
        if (returned) *returned = 1;
        return S_OK;
    }

    HRESULT ReadBus(KsPropertyHeader *property, ULONG length, void *, ULONG dataLength, ULONG *returned) {
        InterlockedIncrement(&state->busRequests);
        BYTE address = Field<BYTE>(property, 24);
        const BYTE *subAddress = Field<const BYTE *>(property, kBusSubAddressAt);
        ULONG subLength = Field<ULONG>(property, kBusSubLengthAt);
        BYTE *buffer = Field<BYTE *>(property, kBusDataAt);
        ULONG count = Field<ULONG>(property, kBusDataLengthAt);
        if (length != kBusRequestSize || property->id != 0 || property->flags != kKsPropertyTypeGet ||
            dataLength != 8 || !subAddress || subLength > 1 || !buffer || count == 0 || count > 16) {
            NoteBadRequest("bus request");
            return E_INVALIDARG;
        }
        bool down = state->keyDown != 0;
        HRESULT result = S_OK;
        if (state->failMask & kFailBus) {
            result = state->failResult;
        } else if (address != kKeyDeviceAddress) {
            result = E_FAIL; // nothing answers at that address
        } else {
            memset(buffer, 0, count);
            buffer[0] = down ? (BYTE)state->deviceByte : 0;
            if (returned) *returned = count;
        }
        if (down) InterlockedIncrement(&state->keyReads);
        // A key read is complete once the bus was asked after a low key-present line.
        if (state->pressPending && state->presentSeen) {
            InterlockedExchange(&state->presentSeen, 0);
            InterlockedExchange(&state->pressPending, 0);
            InterlockedExchange(&state->keyDown, 0);
        }
        return result;
    }

    int slot_;
    LONG generation_ = 0;
    FILTER_STATE filterState_ = State_Stopped;
    IReferenceClock *clock_ = nullptr;
    IFilterGraph *graph_ = nullptr;
    WCHAR name_[MAX_FILTER_NAME] = {0};
};

class CardFactory final : public OneInterface<IClassFactory, &IID_IClassFactory> {
public:
    explicit CardFactory(int slot) : slot_(slot) {}
    STDMETHODIMP CreateInstance(IUnknown *outer, REFIID iid, void **out) override {
        *out = nullptr;
        if (outer) return CLASS_E_NOAGGREGATION;
        CardFilter *filter = new (std::nothrow) CardFilter(slot_);
        if (!filter) return E_OUTOFMEMORY;
        HRESULT hr = filter->QueryInterface(iid, out);
        filter->Release();
        return hr;
    }
    STDMETHODIMP LockServer(BOOL lock) override {
        if (lock) InterlockedIncrement(&serverLocks);
        else InterlockedDecrement(&serverLocks);
        return S_OK;
    }

private:
    int slot_;
};

int SlotOf(REFCLSID id) {
    for (int slot = 1; slot <= kSimCardSlots; ++slot)
        if (id == SimCardClsid(slot)) return slot;
    return 0;
}

} // namespace

extern "C" BOOL WINAPI DllMain(HINSTANCE instance, DWORD reason, LPVOID) {
    if (reason == DLL_PROCESS_ATTACH) {
        dllModule = instance;
        DisableThreadLibraryCalls(instance);
    }
    return TRUE;
}

STDAPI DllGetClassObject(REFCLSID id, REFIID iid, void **out) {
    *out = nullptr;
    int slot = SlotOf(id);
    if (!slot) return CLASS_E_CLASSNOTAVAILABLE;
    CardFactory *factory = new (std::nothrow) CardFactory(slot);
    if (!factory) return E_OUTOFMEMORY;
    HRESULT hr = factory->QueryInterface(iid, out);
    factory->Release();
    return hr;
}

STDAPI DllCanUnloadNow() {
    return (state && state->liveFilters > 0) || serverLocks > 0 ? S_FALSE : S_OK;
}

STDAPI DllRegisterServer() {
    char name[256];
    DWORD n = GetEnvironmentVariableA("SIMCARD_NAME", name, sizeof name);
    if (n == 0 || n >= sizeof name) lstrcpynA(name, kDefaultName, sizeof name);
    char slotText[16];
    int slot = 1;
    n = GetEnvironmentVariableA("SIMCARD_SLOT", slotText, sizeof slotText);
    if (n > 0 && n < sizeof slotText) slot = atoi(slotText);
    if (slot < 1 || slot > kSimCardSlots) return E_INVALIDARG;

    char dllPath[MAX_PATH];
    DWORD len = GetModuleFileNameA(dllModule, dllPath, sizeof dllPath);
    if (len == 0 || len >= sizeof dllPath) return SELFREG_E_CLASS;
    char clsid[40], path[200];
    ClsidText(SimCardClsid(slot), clsid, sizeof clsid);
    snprintf(path, sizeof path, "CLSID\\%s", clsid);
    bool ok = SetRegText(HKEY_CLASSES_ROOT, path, NULL, "Simulated tuner card capture filter");
    snprintf(path, sizeof path, "CLSID\\%s\\InprocServer32", clsid);
    ok = ok && SetRegText(HKEY_CLASSES_ROOT, path, NULL, dllPath) &&
         SetRegText(HKEY_CLASSES_ROOT, path, "ThreadingModel", "Both");
    ok = ok && ListSimCardDevice(slot, name);
    return ok ? S_OK : SELFREG_E_CLASS;
}

STDAPI DllUnregisterServer() {
    for (int slot = 1; slot <= kSimCardSlots; ++slot) {
        char clsid[40], path[200];
        ClsidText(SimCardClsid(slot), clsid, sizeof clsid);
        SimCardInstancePath(slot, path, sizeof path);
        SHDeleteKeyA(HKEY_CLASSES_ROOT, path);
        snprintf(path, sizeof path, "CLSID\\%s", clsid);
        SHDeleteKeyA(HKEY_CLASSES_ROOT, path);
    }
    return S_OK;
}
