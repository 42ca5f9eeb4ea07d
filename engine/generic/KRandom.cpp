// The 15-bit linear congruential generator.
#include "KRandom.h"

namespace {
uint32_t state = 1; // the C runtime's state before any seeding
}

void kSrand(uint32_t seed) {
    state = seed;
}

int kRand() {
    state = state * 214013u + 2531011u;
    return int((state >> 16) & 0x7FFF);
}
