// The music: three short tracks composed and played by a small sequencer. Each track has a chord
// progression, a bass line, pads, an arpeggio, a melody built from a repeated two-bar motif, and drums,
// mixed in stereo with a delay on the lead, and encoded as 44.1 kHz stereo Ogg Vorbis.
#include "AssetFamilies.h"
#include "Audio.h"

#include <algorithm>
#include <cmath>
#include <functional>

namespace {

const double kTwoPi = 2 * M_PI;

double midiToHz(double note) {
    return 440.0 * std::pow(2.0, (note - 69) / 12);
}

struct Song {
    std::string file;
    double bpm;
    int root;                // MIDI note of the key's tonic (bass octave)
    std::vector<int> scale;  // semitone steps of the scale's seven degrees
    std::vector<int> chords; // scale degree of each bar's chord, repeated over the song
    int bars;
    uint32_t seed;
    double swing; // delay of every second sixteenth, as a fraction of a sixteenth
    int leadWave; // 0 soft square, 1 triangle-like, 2 bright saw
};

class Mixer {
public:
    explicit Mixer(double length) : left(seconds(length), 0.0f), right(seconds(length), 0.0f) {}

    // Adds a mono voice at time t with a pan of -1 (left) .. 1 (right).
    void add(double t, const Samples& voice, double gain, double pan) {
        size_t start = static_cast<size_t>(std::max(0, seconds(t)));
        double l = gain * std::sqrt(0.5 * (1 - pan)), r = gain * std::sqrt(0.5 * (1 + pan));
        for (size_t i = 0; i < voice.size() && start + i < left.size(); i++) {
            left[start + i] += static_cast<float>(voice[i] * l);
            right[start + i] += static_cast<float>(voice[i] * r);
        }
    }

    Samples left, right;
};

Samples voiceOf(double length, const std::function<double(double, double)>& f) {
    Samples s(seconds(length));
    for (size_t i = 0; i < s.size(); i++) {
        double t = static_cast<double>(i) / kRate;
        s[i] = static_cast<float>(f(t, t / length));
    }
    return s;
}

Samples bassNote(double hz, double length) {
    LowPass lp;
    double phase = 0;
    return voiceOf(length, [&](double t, double) {
        phase += hz / kRate;
        double saw = 2 * (phase - std::floor(phase)) - 1;
        double sub = std::sin(kTwoPi * phase * 0.5 * 2);
        double cutoff = 250 + 1400 * std::exp(-t * 12);
        double env = envelope(t, 0.004, 0.25) * clamp01((length - t) / 0.02);
        return (lp.step(static_cast<float>(saw), cutoff) * 0.8 + sub * 0.5) * env;
    });
}

Samples padNote(double hz, double length, uint32_t seed) {
    LowPass lp1, lp2;
    double p[3] = {seed * 0.11, seed * 0.37, seed * 0.73};
    const double detune[3] = {1.0, 1.004, 0.996};
    return voiceOf(length, [&](double t, double) {
        double v = 0;
        for (int k = 0; k < 3; k++) {
            p[k] += hz * detune[k] / kRate;
            v += 2 * (p[k] - std::floor(p[k])) - 1;
        }
        double env = clamp01(t / 0.4) * clamp01((length - t) / 0.5);
        return lp2.step(lp1.step(static_cast<float>(v / 3), 1400), 1800) * env;
    });
}

Samples pluck(double hz, double length) {
    double phase = 0;
    LowPass lp;
    return voiceOf(length, [&](double t, double) {
        phase += hz / kRate;
        double x = phase - std::floor(phase);
        double tri = 4 * std::fabs(x - 0.5) - 1;
        double square = x < 0.5 ? 1 : -1;
        double env = envelope(t, 0.002, 0.12);
        return lp.step(static_cast<float>(tri * 0.7 + square * 0.3), 800 + 4000 * std::exp(-t * 20)) * env;
    });
}

Samples leadNote(double hz, double length, int wave) {
    double phase = 0;
    LowPass lp;
    return voiceOf(length, [&](double t, double) {
        double vibrato = 1 + 0.004 * std::sin(kTwoPi * 5.5 * t) * clamp01((t - 0.12) * 5);
        phase += hz * vibrato / kRate;
        double x = phase - std::floor(phase);
        double v;
        if (wave == 0)
            v = x < 0.5 ? 0.8 : -0.8;
        else if (wave == 1)
            v = 4 * std::fabs(x - 0.5) - 1;
        else
            v = 2 * x - 1;
        double env = clamp01(t / 0.012) * (0.7 + 0.3 * std::exp(-t * 6)) * clamp01((length - t) / 0.04);
        return lp.step(static_cast<float>(v), wave == 1 ? 5000 : 2600) * env;
    });
}

Samples kick() {
    double phase = 0;
    return voiceOf(0.35, [&](double t, double) {
        phase += (45 + 110 * std::exp(-t * 28)) / kRate;
        return std::sin(kTwoPi * phase) * envelope(t, 0.001, 0.12);
    });
}

Samples snare(uint32_t seed) {
    Noise noise(seed);
    StateVariable f;
    return voiceOf(0.25, [&](double t, double) {
        f.step(noise.next(), 3000, 0.9);
        double tone = std::sin(kTwoPi * 190 * t) * envelope(t, 0.001, 0.04);
        return (f.band * 0.9 + f.high * 0.3) * envelope(t, 0.001, 0.07) + tone * 0.6;
    });
}

Samples hat(uint32_t seed, double decay) {
    Noise noise(seed);
    StateVariable f;
    return voiceOf(decay * 5, [&](double t, double) {
        f.step(noise.next(), 7000, 1.2);
        return f.high * envelope(t, 0.0005, decay);
    });
}

// Scale degree (any integer, octaves wrap) to a MIDI note above the root.
int degreeToNote(const Song& song, int degree) {
    int octave = static_cast<int>(std::floor(degree / 7.0));
    int d = degree - octave * 7;
    int semis = 0;
    for (int i = 0; i < d; i++) semis += song.scale[i];
    return song.root + octave * 12 + semis;
}

struct Note {
    int step;   // sixteenth within the bar
    int length; // in sixteenths
    int degree; // scale degree
};

// A two-bar melodic motif over the chords of those bars: chord tones on strong beats, steps between.
std::vector<Note> motif(ArtRandom& rng, int chordA, int chordB, const std::vector<Note>* rhythm) {
    static const std::vector<std::vector<std::pair<int, int>>> rhythms = {
        {{0, 3}, {3, 1}, {4, 2}, {6, 2}, {8, 4}, {12, 2}, {14, 2}},
        {{0, 2}, {2, 2}, {4, 4}, {10, 2}, {12, 4}},
        {{0, 4}, {4, 2}, {6, 2}, {8, 2}, {10, 2}, {12, 4}},
        {{0, 1}, {2, 1}, {4, 2}, {6, 1}, {7, 3}, {10, 2}, {12, 4}},
    };
    std::vector<Note> notes;
    int current = chordA + 7;
    for (int bar = 0; bar < 2; bar++) {
        int chord = bar == 0 ? chordA : chordB;
        std::vector<std::pair<int, int>> r;
        if (rhythm) {
            for (const Note& n : *rhythm)
                if (n.step / 16 == bar) r.push_back({n.step % 16, n.length});
        } else
            r = rhythms[rng.next() % rhythms.size()];
        for (const auto& [step, length] : r) {
            bool strong = step % 8 == 0;
            if (strong) {
                // Nearest chord tone (root, third, fifth) to the current pitch.
                int best = current, bestDistance = 99;
                for (int oct = 0; oct <= 2; oct++)
                    for (int tone : {0, 2, 4}) {
                        int d = chord + tone + oct * 7;
                        if (std::abs(d - current) < bestDistance && d >= 5 && d <= 16) {
                            best = d;
                            bestDistance = std::abs(d - current);
                        }
                    }
                current = best;
            } else {
                int move = static_cast<int>(rng.next() % 5) - 2;
                if (move == 0) move = 1;
                current = std::clamp(current + move, 5, 16);
            }
            notes.push_back({bar * 16 + step, length, current});
        }
    }
    return notes;
}

void writeSong(AssetOutput& out, const Song& song) {
    double sixteenth = 60.0 / song.bpm / 4;
    double barLength = sixteenth * 16;
    double length = song.bars * barLength + 2.5;
    Mixer mix(length);
    ArtRandom rng(song.seed);
    Samples kickVoice = kick(), snareVoice = snare(song.seed), closedHat = hat(song.seed + 1, 0.025),
            openHat = hat(song.seed + 2, 0.09);
    auto at = [&](int bar, int step) {
        double t = (bar * 16 + step) * sixteenth;
        if (step % 2 == 1) t += song.swing * sixteenth;
        return t;
    };
    // The melody: motifs of two bars; the second half of the song repeats the first half's rhythms with
    // new pitches, so the tune has a recognisable shape.
    std::vector<std::vector<Note>> motifs;
    int chordsCount = static_cast<int>(song.chords.size());
    for (int pair = 0; pair < song.bars / 2; pair++) {
        int a = song.chords[(pair * 2) % chordsCount], b = song.chords[(pair * 2 + 1) % chordsCount];
        const std::vector<Note>* rhythm = nullptr;
        if (pair % 2 == 1) rhythm = &motifs[pair - 1]; // the answer keeps the call's rhythm
        if (pair >= 4 && pair - 4 < static_cast<int>(motifs.size())) rhythm = &motifs[pair - 4];
        motifs.push_back(motif(rng, a, b, rhythm));
    }
    Samples delayL(mix.left.size(), 0.0f), delayR(mix.left.size(), 0.0f);
    Mixer lead(length);
    for (int bar = 0; bar < song.bars; bar++) {
        int chord = song.chords[bar % chordsCount];
        bool intro = bar < 2, last = bar == song.bars - 1;
        // Pads: the chord's three tones, spread across the stereo field.
        for (int k = 0; k < 3; k++) {
            int note = degreeToNote(song, chord + k * 2) + 12;
            double len = last ? barLength + 2.2 : barLength + 0.3;
            mix.add(at(bar, 0), padNote(midiToHz(note), len, song.seed + bar * 3 + k), 0.09, (k - 1) * 0.6);
        }
        // Bass: root on the beat with octave jumps and a passing fifth.
        int rootNote = degreeToNote(song, chord);
        static const int bassSteps[8][2] = {{0, 0}, {3, 12}, {4, 0}, {6, 7}, {8, 0}, {11, 12}, {12, 0}, {14, 7}};
        for (const auto& bs : bassSteps) {
            if (last && bs[0] > 0) break;
            double len = last ? barLength : sixteenth * 1.8;
            mix.add(at(bar, bs[0]), bassNote(midiToHz(rootNote - 12 + bs[1]), len), 0.32, 0);
        }
        if (!intro && !last) {
            // Arpeggio on sixteenths, up and down the chord, panned to alternate sides.
            static const int arpOrder[8] = {0, 2, 4, 7, 9, 7, 4, 2};
            for (int s = 0; s < 16; s++) {
                int note = degreeToNote(song, chord + arpOrder[s % 8]) + 24;
                mix.add(at(bar, s), pluck(midiToHz(note), sixteenth * 1.5), 0.05, s % 2 ? 0.5 : -0.5);
            }
        }
        // Drums: a fill of snare sixteenths closes every eighth bar.
        if (!last) {
            for (int s = 0; s < 16; s++) {
                if (s % 8 == 0 || s == 10) mix.add(at(bar, s), kickVoice, 0.5, 0);
                if (!intro && (s == 4 || s == 12)) mix.add(at(bar, s), snareVoice, 0.28, 0.05);
                if (bar % 8 == 7 && s >= 12) mix.add(at(bar, s), snareVoice, 0.15 + 0.03 * (s - 12), 0.05);
                if (s % 2 == 0) mix.add(at(bar, s), closedHat, s % 4 == 0 ? 0.05 : 0.032, 0.3);
                if (!intro && s % 4 == 2) mix.add(at(bar, s), openHat, 0.03, -0.3);
            }
        } else {
            mix.add(at(bar, 0), kickVoice, 0.5, 0);
        }
    }
    // Lead melody after the intro.
    for (int pair = 1; pair < song.bars / 2; pair++) {
        for (const Note& n : motifs[pair]) {
            int bar = pair * 2 + n.step / 16;
            if (bar >= song.bars - 1) continue;
            int note = degreeToNote(song, n.degree) + 12;
            lead.add(at(bar, n.step % 16), leadNote(midiToHz(note), n.length * sixteenth * 0.92, song.leadWave), 0.16,
                     0);
        }
    }
    // Ping-pong delay of a dotted eighth on the lead, then everything together.
    int delay = seconds(sixteenth * 3);
    for (size_t i = 0; i < mix.left.size(); i++) {
        float inL = lead.left[i], inR = lead.right[i];
        float fromL = i >= static_cast<size_t>(delay) ? delayR[i - delay] : 0;
        float fromR = i >= static_cast<size_t>(delay) ? delayL[i - delay] : 0;
        delayL[i] = inL + fromL * 0.35f;
        delayR[i] = inR + fromR * 0.35f;
        mix.left[i] += inL + fromL * 0.5f;
        mix.right[i] += inR + fromR * 0.5f;
    }
    for (Samples* ch : {&mix.left, &mix.right})
        for (float& v : *ch) v = static_cast<float>(std::tanh(v * 1.1));
    float top = 0;
    for (size_t i = 0; i < mix.left.size(); i++) top = std::max({top, std::fabs(mix.left[i]), std::fabs(mix.right[i])});
    float gain = top > 0 ? 0.89f / top : 1.0f;
    for (size_t i = 0; i < mix.left.size(); i++) {
        mix.left[i] *= gain;
        mix.right[i] *= gain;
    }
    fadeEdges(mix.left, 0.01, 1.5);
    fadeEdges(mix.right, 0.01, 1.5);
    writeOgg(out.path("music/" + song.file), Stereo{mix.left, mix.right}, 0.3f, static_cast<int>(song.seed));
}

} // namespace

void writeMusic(AssetOutput& out) {
    const std::vector<int> major = {2, 2, 1, 2, 2, 2, 1};
    const std::vector<int> minor = {2, 1, 2, 2, 1, 2, 2};
    const std::vector<int> dorian = {2, 1, 2, 2, 2, 1, 2};
    // Bright and bouncy: I V vi IV in C.
    writeSong(out, {"brighttide.ogg", 116, 48, major, {0, 4, 5, 3}, 16, 101, 0.0, 0});
    // Laid back with a swing: i VI III VII in A minor.
    writeSong(out, {"coralgarden.ogg", 96, 45, minor, {0, 5, 2, 6}, 14, 202, 0.25, 1});
    // Driving: i VII VI VII in D dorian.
    writeSong(out, {"deepcurrent.ogg", 128, 50, dorian, {0, 6, 5, 6, 0, 3, 5, 6}, 20, 303, 0.0, 2});
}
