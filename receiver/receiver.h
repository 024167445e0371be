// The tuner card's remote receiver: binding the capture filter and reading keys.
#pragma once
#include <windows.h>
#include "receiver/remote_key.h"

struct IKsControl;

// Control interface of the bound capture filter; null when none is bound.
extern IKsControl *ReceiverControl;

// Binds the capture filter by friendly name; true when its control is obtained.
bool OpenReceiver();

// True while a remote key is pressed.
bool IsKeyPressed();
// Raw code of the pressed key.
int ReadRawKeyCode();
// Raw code to logical key (non-Japanese layout only).
RemoteKeyCode MapRawKeyCode(int raw);
