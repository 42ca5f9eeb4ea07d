// The sound effects, each synthesised from tones, sweeps and filtered noise: splashes, explosions, laser
// zaps, dolphin squeals, laughs and clicks, the bird's caw, machine sounds, and short seamless loops for
// the sounds the game re-triggers as soon as they stop (eel zap, throb, gear, sword hum).
#include "AssetFamilies.h"
#include "Audio.h"

#include <cmath>
#include <functional>

namespace {

const double kTwoPi = 2 * M_PI;

// Renders `length` seconds by calling the voice for every sample time.
Samples render(double length, const std::function<double(double)>& voice) {
    Samples s(seconds(length));
    for (size_t i = 0; i < s.size(); i++) s[i] = static_cast<float>(voice(static_cast<double>(i) / kRate));
    return s;
}

// A phase accumulator, so sweeps stay smooth when the frequency changes.
struct Oscillator {
    double phase = 0;
    double step(double frequency) {
        phase += frequency / kRate;
        phase -= std::floor(phase);
        return phase;
    }
    double sine(double f) { return std::sin(kTwoPi * step(f)); }
    double saw(double f) { return 2 * step(f) - 1; }
    double square(double f, double width = 0.5) { return step(f) < width ? 1 : -1; }
};

Samples explosion(uint32_t seed, double length, double weight) {
    Noise noise(seed);
    LowPass lp, rumble;
    Oscillator thump;
    return render(length, [&](double t) {
        double env = envelope(t, 0.004, length * 0.28);
        double cutoff = 300 + 5000 * std::exp(-t * 7 / weight);
        double crackle = lp.step(noise.next(), cutoff);
        double low = rumble.step(noise.next(), 120) * 3;
        double boom = thump.sine(90 * std::exp(-t * 6) + 35) * envelope(t, 0.002, 0.12 * weight);
        return (crackle * 0.9 + low * weight * 0.8 + boom * 0.9) * env;
    });
}

Samples splash(uint32_t seed, double length, double size) {
    Noise noise(seed);
    StateVariable band;
    ArtRandom rng(seed);
    std::vector<double> bubbleTimes;
    for (int k = 0; k < 6 * size; k++) bubbleTimes.push_back(rng.uniform(0.05, length * 0.8));
    return render(length, [&](double t) {
        double env = envelope(t, 0.01, length * 0.3);
        band.step(noise.next(), 900 + 2500 * std::exp(-t * 5) / size, 0.8);
        double s = (band.band * 0.9 + band.high * 0.3) * env;
        for (double bt : bubbleTimes) {
            double dt = t - bt;
            if (dt > 0 && dt < 0.05) s += 0.25 * std::sin(kTwoPi * (600 + 4000 * dt) * dt / size) * (1 - dt / 0.05);
        }
        return s;
    });
}

Samples zap(double from, double to, double length, double buzz, uint32_t seed) {
    Oscillator a, b, lfo;
    Noise noise(seed);
    return render(length, [&](double t) {
        double f = from * std::pow(to / from, t / length);
        double env = envelope(t, 0.003, length * 0.35);
        double tone = a.sine(f) * 0.6 + b.square(f * 1.01, 0.3) * 0.25 * buzz;
        return (tone + noise.next() * 0.05) * env * (0.8 + 0.2 * lfo.sine(40));
    });
}

// A dolphin's whistle: a high tone gliding along a curve, with vibrato and a breathy edge.
Samples whistle(double base, double bend, double length, double vibrato, uint32_t seed) {
    Oscillator o, v;
    Noise noise(seed);
    StateVariable breath;
    return render(length, [&](double t) {
        double x = t / length;
        double f = base * (1 + bend * std::sin(M_PI * x) - 0.3 * bend * x) + vibrato * v.sine(11);
        double env = envelope(t, 0.02, length * 0.45) * clamp01((length - t) / 0.05);
        breath.step(noise.next(), f, 4);
        return (o.sine(f) * 0.8 + o.sine(f * 2) * 0.1 + breath.band * 0.3) * env;
    });
}

// A dolphin's laugh: a burst of pulsed chirps.
Samples laugh(double base, int pulses, double rate, uint32_t seed) {
    Oscillator o;
    Noise noise(seed);
    double length = pulses / rate + 0.1;
    return render(length, [&](double t) {
        double k = std::floor(t * rate), local = t * rate - k;
        if (k >= pulses) return 0.0;
        double pitch = base * (1 + 0.25 * std::sin(k * 1.7)) * (1 + 0.4 * (1 - local));
        double env = std::sin(M_PI * local) * std::pow(1 - k / (pulses + 1.0), 0.5);
        return (o.sine(pitch) * 0.7 + o.sine(pitch * 1.5) * 0.2 + noise.next() * 0.08) * env;
    });
}

Samples clicks(int count, double spacing, uint32_t seed) {
    Noise noise(seed);
    StateVariable f;
    return render(count * spacing + 0.05, [&](double t) {
        double k = std::floor(t / spacing), local = t - k * spacing;
        double env = local < 0.004 ? std::exp(-local * 1500) : 0;
        f.step(noise.next(), 3500 + 300 * std::sin(k), 3);
        return f.band * env * 3;
    });
}

Samples caw(uint32_t seed) {
    Oscillator o;
    Noise noise(seed);
    StateVariable formant;
    return render(0.42, [&](double t) {
        double f = 520 - 260 * t + 30 * std::sin(kTwoPi * 30 * t);
        double env = envelope(t, 0.02, 0.16) * clamp01((0.42 - t) / 0.05);
        double raw = o.saw(f) + noise.next() * 0.35;
        formant.step(static_cast<float>(raw), 1300, 2.5);
        return (formant.band * 1.2 + raw * 0.15) * env;
    });
}

// A short loop: every partial completes whole cycles over the length, so the end meets the start.
Samples hum(double length, const std::vector<std::pair<double, double>>& partials, double noiseLevel, uint32_t seed) {
    Noise noise(seed);
    LowPass lp;
    Samples s = render(length + 0.05, [&](double t) {
        double v = 0;
        for (const auto& [cycles, level] : partials) v += level * std::sin(kTwoPi * cycles / length * t);
        return v + lp.step(noise.next(), 2500) * noiseLevel;
    });
    makeSeamless(s, 0.05);
    return s;
}

Samples throb() {
    // The fully charged laser: a low hum that swells twice in each loop.
    double length = 0.5;
    Samples s = render(length, [&](double t) {
        double tone = std::sin(kTwoPi * 40 / length * t) * 0.6 + std::sin(kTwoPi * 80 / length * t) * 0.3 +
                      std::sin(kTwoPi * 121 / length * t) * 0.12;
        return tone * (0.55 + 0.45 * std::sin(kTwoPi * 2 / length * t));
    });
    return s;
}

Samples electricity() {
    // 0.4 s of a 100 Hz buzz with crackles; loops seamlessly.
    Noise noise(15);
    Noise pops(16);
    StateVariable f;
    double length = 0.4;
    Samples s = render(length + 0.04, [&](double t) {
        double buzz = 0;
        for (int h = 1; h <= 9; h += 2) buzz += std::sin(kTwoPi * 40 * h / length * t) / h;
        double crackle = pops.next() > 0.985 ? pops.next() : 0;
        f.step(noise.next(), 4000, 1.5);
        return buzz * 0.45 + crackle * 0.9 + f.band * 0.15;
    });
    makeSeamless(s, 0.04);
    return s;
}

Samples chargeUp() {
    // A rising tone over the whole charge time, with a shimmer that speeds up.
    Oscillator a, b, trem;
    double length = 2.5;
    return render(length, [&](double t) {
        double x = t / length;
        double f = 180 * std::pow(7.0, x);
        double shimmer = 0.75 + 0.25 * trem.sine(6 + 24 * x);
        return (a.sine(f) * 0.6 + b.saw(f * 0.5) * 0.2) * shimmer * clamp01(t / 0.05) * clamp01((length - t) / 0.02);
    });
}

Samples bite(uint32_t seed) {
    Noise noise(seed);
    LowPass lp;
    Oscillator thud;
    return render(0.28, [&](double t) {
        double crunch = lp.step(noise.next(), 2500) * envelope(t - 0.03, 0.002, 0.05);
        double low = thud.sine(140 * std::exp(-t * 10) + 50) * envelope(t, 0.002, 0.06);
        double snap = noise.next() * envelope(t, 0.001, 0.008);
        return crunch * 1.5 + low + snap * 0.8;
    });
}

Samples gear() {
    // A ratchet turning: a clicking whirr whose teeth repeat a whole number of times in the loop.
    Noise noise(19);
    StateVariable f;
    double length = 0.3;
    Samples s = render(length + 0.03, [&](double t) {
        double teeth = 12 / length;
        double local = t * teeth - std::floor(t * teeth);
        f.step(noise.next(), 1800, 2);
        double click = f.band * std::exp(-local * 25);
        double whine = std::sin(kTwoPi * 130 / length * t) * 0.25 + std::sin(kTwoPi * 66 / length * t) * 0.2;
        return click * 1.4 + whine;
    });
    makeSeamless(s, 0.03);
    return s;
}

Samples torpedo() {
    Noise noise(20);
    StateVariable f;
    Oscillator thump;
    double length = 0.8;
    return render(length, [&](double t) {
        f.step(noise.next(), 400 + 1800 * t / length, 1.5);
        double whoosh = f.band * envelope(t, 0.1, 0.35);
        double launch = thump.sine(110 * std::exp(-t * 8) + 40) * envelope(t, 0.002, 0.1);
        double bubbles = std::sin(kTwoPi * (700 + 300 * std::sin(t * 47)) * t) * 0.15 * envelope(t - 0.1, 0.05, 0.25);
        return whoosh * 1.2 + launch + bubbles;
    });
}

Samples swordHit() {
    // A bright metallic clash: inharmonic partials that ring down, with a burst of noise.
    Noise noise(21);
    double length = 0.35;
    return render(length, [&](double t) {
        double ring = 0;
        const double partials[] = {620, 1043, 1587, 2233, 3170};
        for (int k = 0; k < 5; k++)
            ring += std::sin(kTwoPi * partials[k] * t) * std::exp(-t * (9 + k * 4)) / (1 + k * 0.4);
        return ring * 0.5 + noise.next() * envelope(t, 0.001, 0.02) * 0.6;
    });
}

Samples bullet() {
    Noise noise(23);
    LowPass lp;
    Oscillator o;
    return render(0.1, [&](double t) {
        double crack = lp.step(noise.next(), 6000) * envelope(t, 0.0005, 0.018);
        double body = o.sine(220 * std::exp(-t * 30) + 80) * envelope(t, 0.001, 0.025);
        return crack * 1.2 + body * 0.8;
    });
}

Samples hoop() {
    // Two bell-like notes a fifth apart.
    double length = 0.6;
    return render(length, [&](double t) {
        double v = 0;
        const double notes[2][2] = {{0.0, 1046.5}, {0.09, 1568.0}};
        for (const auto& n : notes) {
            double dt = t - n[0];
            if (dt < 0) continue;
            v += (std::sin(kTwoPi * n[1] * dt) + 0.3 * std::sin(kTwoPi * n[1] * 2.76 * dt)) * envelope(dt, 0.003, 0.18);
        }
        return v * 0.5;
    });
}

Samples missile() {
    Noise noise(11);
    StateVariable f;
    double length = 0.7;
    return render(length, [&](double t) {
        f.step(noise.next(), 500 + 3000 * t / length, 2);
        double hiss = f.band * envelope(t, 0.03, 0.3);
        double ignite = noise.next() * envelope(t, 0.001, 0.03);
        return hiss * 1.3 + ignite * 0.6;
    });
}

Samples tinyExplosion(uint32_t seed, double length) {
    Noise noise(seed);
    LowPass lp;
    return render(length, [&](double t) {
        double crackle = noise.next() * (noise.next() > 0.6 ? 1.0 : 0.3);
        return lp.step(static_cast<float>(crackle), 3000 + 5000 * std::exp(-t * 30)) *
               envelope(t, 0.001, length * 0.3) * 1.5;
    });
}

Samples howl() {
    // The studio logo's howl: a voice rising, holding with vibrato and falling away, through two formants.
    Oscillator o, vib;
    Noise noise(30);
    StateVariable f1, f2;
    double length = 2.6;
    return render(length, [&](double t) {
        double x = t / length;
        double pitch = 300 + 260 * std::sin(M_PI * std::min(1.0, x * 1.6)) * (x < 0.6 ? 1 : 1 - (x - 0.6) * 1.5);
        pitch += 6 * vib.sine(5.5) * clamp01(x * 3);
        double raw = o.saw(pitch) + noise.next() * 0.1;
        f1.step(static_cast<float>(raw), 700 + 300 * x, 3);
        f2.step(static_cast<float>(raw), 1200 - 200 * x, 3);
        double env = clamp01(t / 0.3) * clamp01((length - t) / 0.8);
        return (f1.band + f2.band * 0.6) * env;
    });
}

void wav(AssetOutput& out, const std::string& name, Samples s, double peak = 0.8) {
    normalize(s, peak);
    writeWav(out.path("sound/" + name), s);
}

void ogg(AssetOutput& out, const std::string& name, Samples s, int serial, double peak = 0.7) {
    normalize(s, peak);
    writeOgg(out.path("sound/" + name), s, 0.4f, serial);
}

} // namespace

void writeSounds(AssetOutput& out) {
    wav(out, "caw.wav", caw(1));
    ogg(out, "smallexplosion1.ogg", explosion(2, 0.7, 1.0), 2);
    ogg(out, "splashsmall.ogg", splash(3, 0.45, 1.0), 3);
    ogg(out, "splashbig.ogg", splash(4, 0.9, 1.8), 4);
    ogg(out, "laugh1.ogg", laugh(1700, 9, 14, 5), 5);
    ogg(out, "laugh2.ogg", laugh(2000, 6, 16, 6), 6);
    ogg(out, "laugh3.ogg", laugh(1500, 12, 12, 7), 7);
    ogg(out, "clicks1.ogg", clicks(14, 0.035, 8), 8);
    wav(out, "laser1.wav", zap(1800, 320, 0.2, 0.6, 9));
    ogg(out, "laser2.ogg", zap(1300, 180, 0.35, 1.0, 10), 10);
    ogg(out, "laser3.ogg", zap(500, 2400, 0.4, 0.8, 11), 11);
    ogg(out, "missile.ogg", missile(), 12);
    wav(out, "squeal1.wav", whistle(3200, 0.45, 0.45, 120, 13));
    ogg(out, "squeal2.ogg", whistle(2800, 0.6, 0.5, 160, 14), 14);
    ogg(out, "squeal3.ogg", whistle(3600, 0.35, 0.4, 90, 15), 15);
    wav(out, "tinyexplosion1.wav", tinyExplosion(16, 0.15));
    wav(out, "tinyexplosion2.wav", tinyExplosion(17, 0.2));
    wav(out, "tinyexplosion3.wav", tinyExplosion(18, 0.12));
    ogg(out, "largeexplosion1.ogg", explosion(19, 1.4, 2.0), 19);
    ogg(out, "largeexplosion2.ogg", explosion(20, 1.6, 2.4), 20);
    ogg(out, "largeexplosion3.ogg", explosion(21, 1.2, 1.8), 21);
    ogg(out, "electricity.ogg", electricity(), 22, 0.6);
    ogg(out, "chargeup.ogg", chargeUp(), 23, 0.6);
    wav(out, "throb.wav", throb(), 0.6);
    wav(out, "bite.wav", bite(24));
    ogg(out, "gear.ogg", gear(), 25, 0.6);
    ogg(out, "torpedo.ogg", torpedo(), 26);
    wav(out, "laserswordhit.wav", swordHit());
    wav(out, "laserswordamb.wav", hum(0.5, {{55, 0.5}, {56, 0.4}, {110, 0.15}, {165, 0.08}}, 0.02, 27), 0.5);
    wav(out, "bullet.wav", bullet());
    wav(out, "hoop.wav", hoop());
    ogg(out, "wexmoorhowl2.ogg", howl(), 28);
}
