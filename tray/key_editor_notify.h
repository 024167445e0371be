// Tells a running key-map editor (RemoteKeys.exe) each key read and what
// became of it, so that it selects that key; nothing when none runs.
#pragma once
#include "platform/remote_words.h"

void NotifyKeyEditor(const KeyOutcome &outcome);
