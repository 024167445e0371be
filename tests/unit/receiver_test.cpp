// The key reader against a fake driver placed in ReceiverControl: the bytes of
// both requests, the key-present test, the decoding rules and the key table.
// The binding against fakes that count their references as COM objects do.
#include <dshow.h>
#include <gtest/gtest.h>
#include <string.h>
#include <string>
#include <vector>
#include "platform/locale.h"
#include "receiver/ks_requests.h"
#include "receiver/receiver.h"
#include "routing/poll_cycle.h"
#include "routing/session_gate.h"
#include "tests/support/effects_recorder.h"
#include "tests/support/process_state.h"
#include "tests/support/test_windows.h"

namespace {

// One request as the driver received it.
struct Request {
    std::vector<BYTE> property;
    ULONG length;
    ULONG dataLength;
    void *data;
    BYTE dataOnEntry;     // first data byte when the request arrived
    ULONG returnedOnEntry;
};

// Answers like a card: per-pin levels and results, one device byte.
class FakeCard : public IKsControl {
public:
    BYTE levels[7] = {1, 1, 1, 1, 1, 1, 1};
    HRESULT gpioResults[7] = {S_OK, S_OK, S_OK, S_OK, S_OK, S_OK, S_OK};
    BYTE deviceByte = 0;
    HRESULT busResult = S_OK;
    bool writeOnFailure = false; // a failing driver that scribbles anyway
    std::vector<Request> requests;

    STDMETHODIMP QueryInterface(REFIID, void **out) override {
        *out = nullptr;
        return E_NOINTERFACE;
    }
    STDMETHODIMP_(ULONG) AddRef() override { return (ULONG)++refs; }
    STDMETHODIMP_(ULONG) Release() override { return (ULONG)--refs; }
    LONG refs = 0;
    STDMETHODIMP KsProperty(KsPropertyHeader *property, ULONG length, void *data, ULONG dataLength,
                            ULONG *returned) override {
        Request r;
        r.property.assign((BYTE *)property, (BYTE *)property + length);
        r.length = length;
        r.dataLength = dataLength;
        r.data = data;
        r.dataOnEntry = *(BYTE *)data;
        r.returnedOnEntry = *returned;
        requests.push_back(r);
        if (property->set == kGpioPropertySet) {
            BYTE pin = ((BYTE *)property)[24];
            HRESULT hr = pin < 7 ? gpioResults[pin] : E_INVALIDARG;
            if (pin < 7 && (hr == S_OK || writeOnFailure)) *(BYTE *)data = levels[pin];
            return hr;
        }
        BusReadRequest bus;
        memcpy(&bus, property, sizeof bus);
        if (busResult == S_OK || writeOnFailure) {
            memset(bus.data, 0xEE, bus.dataLength);
            bus.data[0] = busResult == S_OK ? deviceByte : 0;
        }
        return busResult;
    }
    STDMETHODIMP KsMethod(void *, ULONG, void *, ULONG, ULONG *) override { return E_NOTIMPL; }
    STDMETHODIMP KsEvent(void *, ULONG, void *, ULONG, ULONG *) override { return E_NOTIMPL; }

    // Levels of pins 0-5 for a pin code.
    void SetPinCode(int code) {
        for (int pin = 0; pin < 6; ++pin) levels[pin] = (BYTE)((code >> pin) & 1);
    }
};

// A capture filter counting its references, one count for all its
// interfaces, that gives or refuses its control interface.
class CountingFilter : public IBaseFilter, public IKsControl {
public:
    LONG refs = 0;
    HRESULT controlResult = S_OK;
    bool nullControl = false; // S_OK without an interface

    STDMETHODIMP QueryInterface(REFIID iid, void **out) override {
        *out = nullptr;
        if (iid == kIidKsControl) {
            if (controlResult == S_OK && !nullControl) {
                *out = static_cast<IKsControl *>(this);
                AddRef();
            }
            return controlResult;
        }
        if (iid == IID_IUnknown || iid == IID_IBaseFilter) {
            *out = static_cast<IBaseFilter *>(this);
            AddRef();
            return S_OK;
        }
        return E_NOINTERFACE;
    }
    STDMETHODIMP_(ULONG) AddRef() override { return (ULONG)++refs; }
    STDMETHODIMP_(ULONG) Release() override { return (ULONG)--refs; }
    STDMETHODIMP GetClassID(CLSID *) override { return E_NOTIMPL; }
    STDMETHODIMP Stop() override { return E_NOTIMPL; }
    STDMETHODIMP Pause() override { return E_NOTIMPL; }
    STDMETHODIMP Run(REFERENCE_TIME) override { return E_NOTIMPL; }
    STDMETHODIMP GetState(DWORD, FILTER_STATE *) override { return E_NOTIMPL; }
    STDMETHODIMP SetSyncSource(IReferenceClock *) override { return E_NOTIMPL; }
    STDMETHODIMP GetSyncSource(IReferenceClock **) override { return E_NOTIMPL; }
    STDMETHODIMP EnumPins(IEnumPins **) override { return E_NOTIMPL; }
    STDMETHODIMP FindPin(LPCWSTR, IPin **) override { return E_NOTIMPL; }
    STDMETHODIMP QueryFilterInfo(FILTER_INFO *) override { return E_NOTIMPL; }
    STDMETHODIMP JoinFilterGraph(IFilterGraph *, LPCWSTR) override { return E_NOTIMPL; }
    STDMETHODIMP QueryVendorInfo(LPWSTR *) override { return E_NOTIMPL; }
    STDMETHODIMP KsProperty(KsPropertyHeader *, ULONG, void *, ULONG, ULONG *) override { return E_NOTIMPL; }
    STDMETHODIMP KsMethod(void *, ULONG, void *, ULONG, ULONG *) override { return E_NOTIMPL; }
    STDMETHODIMP KsEvent(void *, ULONG, void *, ULONG, ULONG *) override { return E_NOTIMPL; }
};

// A filter graph that, like the real one, holds a reference to each filter
// it adds (also when it answers with a success code other than S_OK).
class CountingGraph : public IGraphBuilder {
public:
    LONG refs = 1;
    HRESULT addResult = S_OK;
    std::vector<IBaseFilter *> filters;
    std::wstring lastName;

    ~CountingGraph() {
        for (IBaseFilter *f : filters) f->Release();
    }
    STDMETHODIMP QueryInterface(REFIID, void **out) override {
        *out = nullptr;
        return E_NOINTERFACE;
    }
    STDMETHODIMP_(ULONG) AddRef() override { return (ULONG)++refs; }
    STDMETHODIMP_(ULONG) Release() override { return (ULONG)--refs; }
    STDMETHODIMP AddFilter(IBaseFilter *filter, LPCWSTR name) override {
        if (FAILED(addResult)) return addResult;
        filter->AddRef();
        filters.push_back(filter);
        lastName = name;
        return addResult;
    }
    STDMETHODIMP RemoveFilter(IBaseFilter *) override { return E_NOTIMPL; }
    STDMETHODIMP EnumFilters(IEnumFilters **) override { return E_NOTIMPL; }
    STDMETHODIMP FindFilterByName(LPCWSTR, IBaseFilter **) override { return E_NOTIMPL; }
    STDMETHODIMP ConnectDirect(IPin *, IPin *, const AM_MEDIA_TYPE *) override { return E_NOTIMPL; }
    STDMETHODIMP Reconnect(IPin *) override { return E_NOTIMPL; }
    STDMETHODIMP Disconnect(IPin *) override { return E_NOTIMPL; }
    STDMETHODIMP SetDefaultSyncSource() override { return E_NOTIMPL; }
    STDMETHODIMP Connect(IPin *, IPin *) override { return E_NOTIMPL; }
    STDMETHODIMP Render(IPin *) override { return E_NOTIMPL; }
    STDMETHODIMP RenderFile(LPCWSTR, LPCWSTR) override { return E_NOTIMPL; }
    STDMETHODIMP AddSourceFilter(LPCWSTR, LPCWSTR, IBaseFilter **) override { return E_NOTIMPL; }
    STDMETHODIMP SetLogFile(DWORD_PTR) override { return E_NOTIMPL; }
    STDMETHODIMP Abort() override { return E_NOTIMPL; }
    STDMETHODIMP ShouldOperationContinue() override { return E_NOTIMPL; }
};

// The device search as the binding sees it: the offered filter, with an
// owned reference, for one of the names; what was asked for, in order.
CountingFilter *offered = nullptr;
int offeredName = -1;
std::vector<std::string> asked;
IBaseFilter *FindOffered(GUID category, const char *name) {
    EXPECT_TRUE(category == kKsCategoryCapture);
    asked.push_back(name);
    if (!offered || offeredName < 0 || strcmp(name, CaptureDeviceNames[offeredName]) != 0) return nullptr;
    offered->AddRef();
    return offered;
}

template <typename T> T At(const std::vector<BYTE> &bytes, size_t offset) {
    T value;
    memcpy(&value, bytes.data() + offset, sizeof value);
    return value;
}

class Receiver : public ::testing::Test {
protected:
    void SetUp() override { ReceiverControl = &card; }
    void TearDown() override { ResetProcessState(); }
    FakeCard card;
};

const BYTE kGpioSetBytes[16] = {0x89, 0xE5, 0x90, 0x94, 0x17, 0x6B, 0xEC, 0x44,
                                0x94, 0x35, 0x5E, 0x35, 0x87, 0xF9, 0xFB, 0xCE};
const BYTE kBusSetBytes[16] = {0x66, 0xC4, 0xB1, 0xFB, 0x03, 0xBE, 0x0F, 0x47,
                               0x9A, 0x8F, 0xA2, 0xAA, 0x0F, 0xA2, 0xC0, 0xEE};

} // namespace

TEST(ReceiverUnbound, NoControlMeansNoKeyAndNoRequest) {
    ReceiverControl = nullptr;
    BYTE level = 0x5A, buffer[4] = {9, 9, 9, 9};
    EXPECT_FALSE(ReadGpioPin(6, &level));
    EXPECT_EQ(level, 0x5A);
    EXPECT_FALSE(ReadBusBytes(0x60, 0, 0, buffer, 4));
    EXPECT_EQ(buffer[0], 9);
    EXPECT_FALSE(IsKeyPressed());
}

TEST_F(Receiver, GpioRequestCarriesThePinInBothPlaces) {
    card.levels[3] = 0;
    BYTE level = 7;
    ASSERT_TRUE(ReadGpioPin(3, &level));
    EXPECT_EQ(level, 0);
    ASSERT_EQ(card.requests.size(), 1u);
    const Request &r = card.requests[0];
    EXPECT_EQ(r.length, 32u);
    EXPECT_EQ(r.dataLength, 1u);
    EXPECT_EQ(memcmp(r.property.data(), kGpioSetBytes, 16), 0);
    EXPECT_EQ(At<ULONG>(r.property, 16), 0u); // property id
    EXPECT_EQ(At<ULONG>(r.property, 20), 1u); // KSPROPERTY_TYPE_GET
    EXPECT_EQ(r.property[24], 3);
    EXPECT_EQ(r.dataOnEntry, 3); // the data buffer starts out holding the pin
    EXPECT_EQ(r.returnedOnEntry, 0u);
}

TEST_F(Receiver, BusRequestPointsAtSubAddressAndBuffer) {
    struct {
        BYTE subAddress;
        int send;
        ULONG expectedLength;
    } cases[] = {{0, 0, 0}, {0x17, 1, 1}, {0x17, 5, 1}};
    for (const auto &c : cases) {
        card.requests.clear();
        card.deviceByte = 0x42;
        BYTE buffer[4] = {0, 0, 0, 0};
        ASSERT_TRUE(ReadBusBytes(0x60, c.subAddress, c.send, buffer, 4));
        EXPECT_EQ(buffer[0], 0x42);
        ASSERT_EQ(card.requests.size(), 1u);
        const Request &r = card.requests[0];
        SCOPED_TRACE(c.send);
        EXPECT_EQ(r.length, sizeof(BusReadRequest));
        EXPECT_EQ(r.length, sizeof(void *) == 8 ? 64u : 48u);
        EXPECT_EQ(r.dataLength, 8u);
        EXPECT_NE(r.data, (void *)buffer); // a separate property data buffer
        EXPECT_EQ(r.returnedOnEntry, 0u);
        EXPECT_EQ(memcmp(r.property.data(), kBusSetBytes, 16), 0);
        EXPECT_EQ(At<ULONG>(r.property, 16), 0u);
        EXPECT_EQ(At<ULONG>(r.property, 20), 1u);
        EXPECT_EQ(r.property[24], 0x60);
        const size_t p = sizeof(void *);
        const size_t subAt = p == 8 ? 32 : 28, dataAt = p == 8 ? 48 : 36;
        // The sub-address pointer is always set; it pointed at the caller's value.
        EXPECT_NE(At<BYTE *>(r.property, subAt), nullptr);
        EXPECT_EQ(At<ULONG>(r.property, subAt + p), c.expectedLength);
        EXPECT_EQ(At<BYTE *>(r.property, dataAt), buffer);
        EXPECT_EQ(At<ULONG>(r.property, dataAt + p), 4u);
    }
}

TEST_F(Receiver, OnlyExactlySOkIsSuccess) {
    const HRESULT results[] = {S_FALSE, 2, E_FAIL, E_INVALIDARG, (HRESULT)0x80070490};
    for (HRESULT hr : results) {
        SCOPED_TRACE(hr);
        card.writeOnFailure = true;
        card.gpioResults[2] = hr;
        card.levels[2] = 0;
        BYTE level = 0x77;
        EXPECT_FALSE(ReadGpioPin(2, &level));
        EXPECT_EQ(level, 0x77); // left as it was
        card.busResult = hr;
        BYTE buffer[4] = {};
        EXPECT_FALSE(ReadBusBytes(0x60, 0, 0, buffer, 4));
    }
}

TEST_F(Receiver, KeyPresentIsALowPinSixAndAFailedReadIsNoKey) {
    struct {
        BYTE level;
        HRESULT result;
        bool pressed;
    } cases[] = {
        {0, S_OK, true}, {1, S_OK, false}, {2, S_OK, false}, {0, E_FAIL, false}, {0, S_FALSE, false},
    };
    for (const auto &c : cases) {
        SCOPED_TRACE(testing::Message() << (int)c.level << " " << c.result);
        card.requests.clear();
        card.writeOnFailure = true; // even a failing driver that wrote 0 means no key
        card.levels[6] = c.level;
        card.gpioResults[6] = c.result;
        EXPECT_EQ(IsKeyPressed(), c.pressed);
        ASSERT_EQ(card.requests.size(), 1u);
        EXPECT_EQ(card.requests[0].property[24], 6);
    }
}

TEST_F(Receiver, RawCodeReadsPinsZeroToFiveThenTheDeviceByte) {
    card.SetPinCode(2);
    card.deviceByte = 4;
    EXPECT_EQ(ReadRawKeyCode(), 2);
    ASSERT_EQ(card.requests.size(), 7u);
    for (int pin = 0; pin < 6; ++pin) {
        EXPECT_EQ(memcmp(card.requests[pin].property.data(), kGpioSetBytes, 16), 0);
        EXPECT_EQ(card.requests[pin].property[24], pin);
    }
    const Request &bus = card.requests[6];
    EXPECT_EQ(memcmp(bus.property.data(), kBusSetBytes, 16), 0);
    EXPECT_EQ(bus.property[24], 0x60);
    const size_t p = sizeof(void *);
    const size_t subAt = p == 8 ? 32 : 28, dataAt = p == 8 ? 48 : 36;
    EXPECT_EQ(At<ULONG>(bus.property, subAt + p), 0u);   // no sub-address sent
    EXPECT_EQ(At<ULONG>(bus.property, dataAt + p), 4u);  // four bytes read
}

// pins: levels of pins 0-5 as a code; failPin: a pin whose read fails (-1 none).
TEST_F(Receiver, DecodingRules) {
    struct {
        int pins;
        int failPin;
        int deviceByte;
        HRESULT busResult;
        int raw;
        RemoteKeyCode logical;
    } cases[] = {
        {2, -1, 4, S_OK, 2, 0},          // device byte twice the pin code: the pin code
        {5, -1, 1, S_OK, 1, 1},          // device byte 1: 1 whatever the pins say
        {0, -1, 1, S_OK, 1, 1},
        {0, -1, 0, S_OK, 0, 13},         // byte 0, pins low: second rule
        {3, -1, 0, S_OK, 0, 13},         // byte 0, pins high: third rule
        {3, -1, 10, S_OK, 10, 8},        // compare value 5 is not 3: the byte itself
        {5, -1, 10, S_OK, 5, 4},         // compare value 5 is the pin code
        {0, -1, 255, S_OK, 255, 65536},  // compare value 127
        {33, -1, 66, S_OK, 33, 65536},   // pin 5 high: 32-63 through the second rule
        {63, -1, 126, S_OK, 63, 65536},
        {0, -1, 200, S_OK, 200, 65536},  // any byte through the third rule
        {3, 1, 2, S_OK, 1, 1},           // pin 1 fails: bit 0, code 1 = 2 >> 1
        {3, 1, 6, S_OK, 6, 7},           // ... so 6 (compare 3) no longer gives 3
        {30, 5, 60, S_OK, 30, 18},       // a failed pin that was low changes nothing
        // The device byte cannot be read: never a real key, whatever the pins
        // and whatever the failed read left in the buffer.
        {0, -1, 0, E_FAIL, kUnreadKeyCode, 65536},
        {0, -1, 0, S_FALSE, kUnreadKeyCode, 65536},
        {1, -1, 2, E_FAIL, kUnreadKeyCode, 65536},
        {30, -1, 60, S_FALSE, kUnreadKeyCode, 65536},
    };
    for (const auto &c : cases) {
        SCOPED_TRACE(testing::Message() << "pins " << c.pins << " fail " << c.failPin << " byte " << c.deviceByte
                                        << " bus " << c.busResult);
        card.SetPinCode(c.pins);
        for (HRESULT &hr : card.gpioResults) hr = S_OK;
        if (c.failPin >= 0) card.gpioResults[c.failPin] = E_FAIL;
        card.deviceByte = (BYTE)c.deviceByte;
        card.busResult = c.busResult;
        card.writeOnFailure = true;
        int raw = ReadRawKeyCode();
        EXPECT_EQ(raw, c.raw);
        EXPECT_EQ(MapRawKeyCode(raw), c.logical);
    }
}

TEST(ReceiverDecode, FailedDeviceByteIsAKeyNoMapActsOn) {
    // A code outside every map: above the table's range, and beyond the
    // logical keys 0-31 that the Japanese layout passes on unchanged.
    EXPECT_GT(kUnreadKeyCode, 31);
    EXPECT_LE(kUnreadKeyCode, 255);
    for (int pins = 0; pins < 64; ++pins)
        for (int byte = 0; byte < 256; ++byte)
            ASSERT_EQ(DecodeRawKeyCode((BYTE)pins, false, (BYTE)byte), kUnreadKeyCode);
}

TEST(ReceiverKeyTable, EveryRawCode) {
    const RemoteKeyCode table[32] = {13, 1,  0,  20, 256, 4, 7,  15, 14, 5,  8,  2,  512, 19, 25, 24,
                                     10, 22, 9,  23, 31,  6, 27, 30, 16, 17, 29, 3,  12,  21, 18, 26};
    for (int raw = 0; raw < 32; ++raw) EXPECT_EQ(MapRawKeyCode(raw), table[raw]) << raw;
    const int outside[] = {32, 63, 64, 200, 255, 256, 65536, -1, INT_MIN};
    for (int raw : outside) EXPECT_EQ(MapRawKeyCode(raw), 65536) << raw;
    for (int raw = 0; raw < 256; ++raw) {
        RemoteKeyCode code = MapRawKeyCode(raw);
        EXPECT_NE(code, 11);
        EXPECT_NE(code, 28);
    }
}

TEST_F(Receiver, JapanLayoutTakesTheRawCodeUnmapped) {
    struct {
        int japan;
        int pins;
        int deviceByte;
        RemoteKeyCode code;
    } cases[] = {{0, 30, 60, 18}, {1, 30, 60, 30}, {0, 0, 0, 13}, {1, 0, 0, 0}, {1, 0, 255, 255}, {0, 0, 255, 65536}};
    card.levels[6] = 0;
    for (const auto &c : cases) {
        SCOPED_TRACE(testing::Message() << c.japan << " " << c.deviceByte);
        JapanLayout = c.japan;
        card.SetPinCode(c.pins);
        card.deviceByte = (BYTE)c.deviceByte;
        RemoteKeyCode code = -5;
        ASSERT_TRUE(ReadRemoteKey(&code));
        EXPECT_EQ(code, c.code);
    }
    card.levels[6] = 1;
    RemoteKeyCode code = -5;
    EXPECT_FALSE(ReadRemoteKey(&code));
    EXPECT_EQ(code, -5);
}

// Every path of the binding once the graph exists, with the references the
// filter holds afterwards: ours (kept only when bound or when the control was
// refused), the graph's, and the one in ReceiverControl.
TEST(CaptureBinding, EachPathLeavesTheFilterWithItsReferences) {
    struct Case {
        const char *what;
        int name;              // CaptureDeviceNames index offered, -1 none
        HRESULT addResult;
        HRESULT controlResult;
        bool nullControl;
        bool bound;
        LONG refs;             // the filter's count afterwards
        size_t inGraph;
        size_t namesAsked;
    } cases[] = {
        {"no device", -1, S_OK, S_OK, false, false, 0, 0, 4},
        {"first name", 0, S_OK, S_OK, false, true, 3, 1, 1},
        {"fourth name", 3, S_OK, S_OK, false, true, 3, 1, 4},
        {"graph refuses: ours released", 1, E_FAIL, S_OK, false, false, 0, 0, 2},
        {"graph renames: not S_OK, the graph keeps its own", 1, VFW_S_DUPLICATE_NAME, S_OK, false, false, 1, 1, 2},
        {"control refused: stays in the graph, ours kept", 2, S_OK, E_NOINTERFACE, false, false, 2, 1, 3},
        {"control S_FALSE", 2, S_OK, S_FALSE, false, false, 2, 1, 3},
        {"S_OK without a control", 0, S_OK, S_OK, true, false, 2, 1, 1},
    };
    // The bound filter is held for the process: these outlive the test.
    static CountingFilter filters[sizeof cases / sizeof cases[0]];
    int i = 0;
    for (const Case &c : cases) {
        SCOPED_TRACE(c.what);
        CountingFilter &filter = filters[i++];
        filter.controlResult = c.controlResult;
        filter.nullControl = c.nullControl;
        offered = &filter;
        offeredName = c.name;
        asked.clear();
        ReceiverControl = nullptr;
        {
            CountingGraph graph;
            graph.addResult = c.addResult;
            EXPECT_EQ(AddReceiverFilter(&graph, FindOffered), c.bound);
            EXPECT_EQ(filter.refs, c.refs);
            EXPECT_EQ(graph.filters.size(), c.inGraph);
            if (c.inGraph) {
                EXPECT_EQ(graph.lastName, L"Philips Silicon (7171-35) WDM Video Capture");
            }
            EXPECT_EQ(graph.refs, 1) << "the graph is only borrowed";
            EXPECT_EQ(asked.size(), c.namesAsked);
            for (size_t n = 0; n < asked.size(); ++n) EXPECT_EQ(asked[n], CaptureDeviceNames[n]);
            EXPECT_EQ(ReceiverControl != nullptr, c.bound);
            if (c.bound) {
                EXPECT_EQ((void *)ReceiverControl, (void *)static_cast<IKsControl *>(&filter));
            }
        }
        // Nothing took a reference it did not account for: the graph's went
        // with it, and what is left is ours and the control's.
        EXPECT_EQ(filter.refs, c.refs - (LONG)c.inGraph);
    }
    ReceiverControl = nullptr;
    offered = nullptr;
}

TEST(CaptureBinding, TheGraphIsKeptAndCOMLeftToTheCaller) {
    // The unit tests register no capture device: the binding fails after the
    // graph was made, and the graph stays.
    ASSERT_EQ(CoInitialize(NULL), S_OK);
    for (int attempt = 0; attempt < 3; ++attempt) {
        CloseReceiver();
        ASSERT_FALSE(OpenReceiver()) << "a capture device is registered in the test prefix";
    }
    ASSERT_NE(receiverGraph, nullptr);
    IGraphBuilder *same = nullptr;
    EXPECT_EQ(receiverGraph->QueryInterface(IID_IGraphBuilder, (void **)&same), S_OK);
    if (same) same->Release();
    CloseReceiver();
    // Binding again and again took no initialisation of its own: one
    // uninitialisation ends the apartment, and the next start is a first one.
    CoUninitialize();
    EXPECT_EQ(CoInitialize(NULL), S_OK);
    CoUninitialize();
}

TEST_F(Receiver, PollCycleReadsTheCardOnlyInTheConsoleSessionWhileUnlocked) {
    FakeEffects effects;
    TestWindow owner("SessionGateOwner", "owner");
    struct Case {
        DWORD console;
        WPARAM notice;
        bool reads;
    } cases[] = {
        {1, WTS_SESSION_UNLOCK, true},
        {2, WTS_SESSION_UNLOCK, false},
        {1, WTS_SESSION_LOCK, false},
        {kNoSession, WTS_SESSION_UNLOCK, false},
    };
    card.levels[6] = 1; // no key: the cycle stops after the key-present test
    for (const Case &c : cases) {
        SCOPED_TRACE(testing::Message() << "console " << c.console << " notice " << c.notice);
        FakeEffects::ownSession = 1;
        FakeEffects::consoleSession = c.console;
        StartSessionGate(owner.hwnd());
        NoteSessionChange(c.notice);
        card.requests.clear();
        PollCycle(owner.hwnd(), WM_TIMER, 1, 0);
        EXPECT_EQ(card.requests.empty(), !c.reads);
    }
    NoteSessionChange(WTS_SESSION_UNLOCK);
    StopSessionGate(owner.hwnd());
}
