// PLACEHOLDER until the receiver lands.
#include "receiver/receiver.h"
IKsControl *ReceiverControl = nullptr;
bool OpenReceiver() { return false; }
bool IsKeyPressed() { return false; }
int ReadRawKeyCode() { return 0; }
RemoteKeyCode MapRawKeyCode(int raw) { return raw; }
