// The keys a map cannot take and what each key does where no map takes it:
// the pointer's work, as Telvix does it with no TV application. No Windows header.
#pragma once

// The fixed role of Power, TV and PC off (and of keys no map reads); null
// for a key that a map may take.
const char *FixedKeyRole(int code);
// "moves the pointer up", "left click", "nothing".
const char *UnmappedKeyWords(int code);
