// Resource numbers of the on-screen remote.
#pragma once

#define IDD_REMOTE 100
// The 32 keys, in the order of the key reference's list (keyref/key_words.cpp).
#define IDC_KEY_FIRST 1000
#define IDC_KEY_COUNT 32
#define IDC_STATUS 1100
#define IDC_TARGET 1101
// Unplugs the card, or plugs it in again.
#define IDC_PLUG 1102
