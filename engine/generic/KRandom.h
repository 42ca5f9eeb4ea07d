// The program's one random generator: the classic 15-bit C runtime sequence
// (state = state * 214013 + 2531011, result = (state >> 16) & 0x7FFF), so that every
// "kRand() / 32767" fraction lies in 0 .. 1 exactly as the game's effects and behaviours expect.
// Seeded once from the time at start-up; tests seed it themselves.
#pragma once

#include <cstdint>

constexpr int K_RAND_MAX = 32767;

void kSrand(uint32_t seed);
int kRand(); // 0 .. 32767
