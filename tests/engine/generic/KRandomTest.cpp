#include "KRandom.h"

#include <gtest/gtest.h>

TEST(KRandom, FollowsTheClassicFifteenBitSequence) {
    kSrand(1);
    // The well-known first values of the classic C runtime generator seeded with 1.
    const int expected[] = {41, 18467, 6334, 26500, 19169, 15724, 11478, 29358};
    for (int value : expected) EXPECT_EQ(kRand(), value);
}

TEST(KRandom, StaysInsideZeroTo32767) {
    kSrand(0xDEADBEEF);
    int lowest = K_RAND_MAX, highest = 0;
    for (int i = 0; i < 200000; i++) {
        int value = kRand();
        lowest = std::min(lowest, value);
        highest = std::max(highest, value);
    }
    EXPECT_EQ(lowest, 0);
    EXPECT_EQ(highest, K_RAND_MAX);
}
