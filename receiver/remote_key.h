// Logical remote key numbers, as the receiver decodes them.
#pragma once

// 0-9 number keys, 18 power, 20 and 21 control keys with fixed roles in
// routing; -1 is a dropped repeat. Japanese layout: the raw code itself.
typedef int RemoteKeyCode;

const RemoteKeyCode kPowerKey = 18;
const RemoteKeyCode kKey20 = 20;
const RemoteKeyCode kKey21 = 21;
const RemoteKeyCode kDroppedKey = -1;
