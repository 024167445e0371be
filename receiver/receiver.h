// The tuner card's remote receiver: binding the capture filter and reading keys.
#pragma once
#include <windows.h>
#include "receiver/key_decoding.h"

struct IKsControl;
struct IBaseFilter;
struct IGraphBuilder;

// Control interface of the bound capture filter; null when none is bound.
extern IKsControl *ReceiverControl;

// Friendly names of the supported capture devices, in the order tried.
extern const char *const CaptureDeviceNames[4];

// The filter graph the binding created, held until the process ends (also
// when the binding failed later on) or the card is released; null when it
// could not be created.
extern IGraphBuilder *receiverGraph;

// Binds the capture filter by friendly name; true when its control is obtained.
// COM is the caller's: initialised once on this thread before the first binding.
bool OpenReceiver();
// The binding's steps once the graph exists: the first of CaptureDeviceNames
// that `find` returns (an owned reference) goes into `graph`, and its control
// into ReceiverControl. A filter the graph refuses is released; one whose
// control is refused stays in the graph, unreleased.
bool AddReceiverFilter(IGraphBuilder *graph, IBaseFilter *(*find)(GUID category, const char *name));
// Lets go of everything a binding (or a failed attempt) holds; ReceiverControl
// is null afterwards. For a card that went away, before binding it again.
void CloseReceiver();
// The bound filter's kernel handle, valid while it is bound; null when none
// is bound or the filter has no kernel object.
HANDLE ReceiverDeviceHandle();
// The last device of `category` whose friendly name equals `name` exactly, or null.
IBaseFilter *FindCaptureFilter(GUID category, const char *name);

// One driver request each; true on S_OK only. A failed pin read leaves *level.
bool ReadGpioPin(BYTE pin, BYTE *level);
bool ReadBusBytes(BYTE address, BYTE subAddress, int sendSubAddress, BYTE *buffer, DWORD count);

// True while a remote key is pressed.
bool IsKeyPressed();
// One request to the bound card (the key-present pin); false when it fails.
bool ProbeReceiver();
// Raw code of the pressed key.
int ReadRawKeyCode();
