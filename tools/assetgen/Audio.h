// Sound building blocks of the asset generator: sample buffers, a deterministic noise source, simple
// filters and envelopes, and the writers for 16-bit PCM WAV and Ogg Vorbis files.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

const int kRate = 44100;

using Samples = std::vector<float>; // mono, -1..1

struct Stereo {
    Samples left, right;
};

// White noise in -1..1 from a fixed seed.
class Noise {
public:
    explicit Noise(uint32_t seed) : state(seed * 747796405u + 2891336453u) {}
    float next();

private:
    uint32_t state;
};

// One-pole low-pass filter; cutoff in Hz may change per sample.
class LowPass {
public:
    float step(float x, double cutoff);

private:
    float y = 0;
};

// Resonant state-variable filter; band-pass, low-pass and high-pass outputs of one step.
class StateVariable {
public:
    void step(float x, double cutoff, double resonance);
    float low = 0, band = 0, high = 0;
};

double envelope(double t, double attack, double decay); // rises linearly, then falls exponentially
double clamp01(double x);
int seconds(double s); // whole samples

void normalize(Samples& s, double peak); // scales so the largest sample is the given peak
void fadeEdges(Samples& s, double inSeconds, double outSeconds);
// Cross-fades the tail into the head, so the sound repeats without a click; the result is shorter by
// the fade length.
void makeSeamless(Samples& s, double fadeSeconds);

// Both write through a temporary file and a rename; both throw std::runtime_error on failure.
void writeWav(const std::string& path, const Samples& s);
void writeOgg(const std::string& path, const Stereo& s, float quality, int serial);
void writeOgg(const std::string& path, const Samples& mono, float quality, int serial);
