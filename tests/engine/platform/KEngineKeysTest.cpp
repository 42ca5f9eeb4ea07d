// The engine key table as data, and the reverse lookup's rules for shared and unknown virtual keys.
#include "KEngineKeys.h"

#include <gtest/gtest.h>

TEST(KEngineKeys, TableHoldsEveryEngineKeyInOrder) {
    const int expected[kEngineKeyCount] = {
        37,  38,  40,  39,  32,  16,  16,  13,  17,  17,  112, 113, 114, 115, 116, 117, 118, 119, 120, 121, 122,
        123, 8,   9,   27,  65,  66,  67,  68,  69,  70,  71,  72,  73,  74,  75,  76,  77,  78,  79,  80,  81,
        82,  83,  84,  85,  86,  87,  88,  89,  90,  48,  49,  50,  51,  52,  53,  54,  55,  56,  57,  96,  97,
        98,  99,  100, 101, 102, 103, 104, 105, 106, 107, 109, 110, 111, 12,  18,  91,  92,  144, 145, 186, 187,
        188, 189, 190, 191, 192, 219, 220, 221, 222, 35,  36,  46,  45,  44,  33,  34,  0,
    };
    for (int key = 0; key < kEngineKeyCount; ++key) EXPECT_EQ(engineKeyVirtualKey(key), expected[key]) << key;
    EXPECT_EQ(engineKeyVirtualKey(-1), 0);
    EXPECT_EQ(engineKeyVirtualKey(101), 0);
}

TEST(KEngineKeys, ReverseLookupLetsTheLaterKeyWinAndMapsTheRestToNone) {
    fillEngineKeyLookup();
    struct Case {
        int virtualKey, engineKey;
    } cases[] = {
        {16, 6},  {17, 9},   {27, 24}, {13, 7},    {37, 0},    {39, 3},    {65, 25},
        {90, 50}, {48, 51},  {96, 61}, {111, 75},  {12, 76},   {18, 77},   {222, 92},
        {34, 99}, {20, 100}, {0, 100}, {255, 100}, {256, 100}, {300, 100}, {-1, 100},
    };
    for (const Case& c : cases) EXPECT_EQ(engineKeyFromVirtualKey(c.virtualKey), c.engineKey) << c.virtualKey;
}
