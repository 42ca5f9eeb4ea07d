// The particle kinds as one table of values: size, acceleration, speed limits, fade start, lifetime, scale,
// water rules, sheet and frame.
#include "ParticlePresets.h"

namespace {

constexpr ParticlePreset spark(int frame) {
    return {19, 19, 0, 0, 2000, 2000, 0, 0.05, 0.1, 0.3, 0.75, 1.25, 0, 0, kParticleSheet, frame};
}
constexpr ParticlePreset puff(int frame) {
    return {19, 19, 0, 0, 2000, 2000, 0, 0.2, 0.25, 0.5, 0.75, 1.75, 0, 0, kParticleSheet, frame};
}
constexpr ParticlePreset glow(int frame) {
    return {19, 19, 0, 0, 2000, 2000, 0.2, 0.3, 0.4, 0.8, 0.75, 1.75, 0, 0, kParticleSheet, frame};
}

} // namespace

const ParticlePreset sparkPreset0 = spark(0), sparkPreset1 = spark(1), sparkPreset2 = spark(2), sparkPreset3 = spark(3),
                     sparkPreset4 = spark(4), sparkPreset5 = spark(5);
const ParticlePreset puffPreset0 = puff(0), puffPreset1 = puff(1), puffPreset2 = puff(2), puffPreset3 = puff(3),
                     puffPreset4 = puff(4);
const ParticlePreset bigPuffPreset = {19, 19, 0, 0, 2000, 2000, 0, 0.2, 0.25, 0.5, 1.5, 3.0, 0, 0, kParticleSheet, 0};
const ParticlePreset glowPreset1 = glow(1), glowPreset3 = glow(3), glowPreset4 = glow(4), glowPreset5 = glow(5);
const ParticlePreset dropPreset = {20, 20, 0, 1000, 2000, 2000, 3, 5, 6, 8, 0.5, 1.5, 1, 0, kWaterDropSheet, 1};
const ParticlePreset bubblePreset = {10, 12, 0, -800, 1000, 1000, 3, 5, 6, 8, 0.5, 1.5, 0, 1, kWaterDropSheet, 0};
