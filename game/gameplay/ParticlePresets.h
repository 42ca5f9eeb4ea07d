// The kinds of particle the effects start: sparks, puffs and glows of the particle sheet, and the water
// drops and bubbles of the theme's drop sheet.
#pragma once

#include "ParticlePool.h"

constexpr int kParticleSheet = 8;
constexpr int kWaterDropSheet = 9;

extern const ParticlePreset sparkPreset0, sparkPreset1, sparkPreset2, sparkPreset3, sparkPreset4, sparkPreset5;
extern const ParticlePreset puffPreset0, puffPreset1, puffPreset2, puffPreset3, puffPreset4;
extern const ParticlePreset bigPuffPreset;
extern const ParticlePreset glowPreset1, glowPreset3, glowPreset4, glowPreset5;
extern const ParticlePreset dropPreset, bubblePreset;
