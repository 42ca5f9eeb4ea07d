// The engine key table and its reverse lookup.
#include "KEngineKeys.h"

#include "HostInput.h"

namespace {

// Row n is engine key n.
constexpr unsigned char engineKeyTable[kEngineKeyCount] = {
    37,  38,  40,  39,                                              // 0-3: Left, Up, Down, Right
    32,                                                             // 4: Space
    16,  16,                                                        // 5, 6: Shift
    13,                                                             // 7: Return
    17,  17,                                                        // 8, 9: Control
    112, 113, 114, 115, 116, 117, 118, 119, 120, 121, 122, 123,     // 10-21: F1-F12
    8,   9,   27,                                                   // 22-24: Back, Tab, Escape
    65,  66,  67,  68,  69,  70,  71,  72,  73,  74,  75,  76,  77, // 25-50: A-Z
    78,  79,  80,  81,  82,  83,  84,  85,  86,  87,  88,  89,  90,
    48,  49,  50,  51,  52,  53,  54,  55,  56,  57,       // 51-60: digits 0-9
    96,  97,  98,  99,  100, 101, 102, 103, 104, 105,      // 61-70: keypad 0-9
    106, 107, 109, 110, 111,                               // 71-75: keypad * + - . /
    12,  18,                                               // 76, 77: Clear, Alt
    91,  92,                                               // 78, 79: left and right Windows keys
    144, 145,                                              // 80, 81: Num Lock, Scroll Lock
    186, 187, 188, 189, 190, 191, 192, 219, 220, 221, 222, // 82-92: punctuation
    35,  36,  46,  45,  44,  33,  34,                      // 93-99: End, Home, Delete, Insert, Print, PgUp, PgDn
    0,                                                     // 100: none
};

unsigned char reverseTable[256];
bool reverseFilled = false;

} // namespace

int engineKeyVirtualKey(int engineKey) {
    if (engineKey < 0 || engineKey >= kEngineKeyCount) return 0;
    return engineKeyTable[engineKey];
}

void fillEngineKeyLookup() {
    for (unsigned char& entry : reverseTable) entry = kNoEngineKey;
    // Key 100 has no virtual key: it must not claim code 0.
    for (int key = 0; key < kNoEngineKey; ++key) reverseTable[engineKeyTable[key]] = (unsigned char)key;
    reverseFilled = true;
}

int engineKeyFromVirtualKey(int virtualKey) {
    if (virtualKey < 0 || virtualKey > 255) return kNoEngineKey;
    if (!reverseFilled) fillEngineKeyLookup();
    return reverseTable[virtualKey];
}

bool isVirtualKeyDown(int virtualKey) {
    return (host::getAsyncKeyState(virtualKey) & 0x8000) != 0;
}
