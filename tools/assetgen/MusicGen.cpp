// The music: six tracks of about a hundred seconds, one for the menus and one for each world, composed and
// played by a small sequencer. Each track is a form of four-bar phrases (intro, two themes over their own
// chords, a breakdown, an outro) with a bass line, pads, an arpeggio or bells, a melody built from repeated
// two-bar motifs, and drums, mixed in stereo with a delay on the lead, and encoded as 44.1 kHz stereo Ogg
// Vorbis. The mix wraps round: what rings past the last bar sounds over the first, so a track that starts
// again joins its own end without a step; the outro thins out to a soft bar, so the join to another track is
// quiet too. The tracks are made on threads of their own.
#include "AssetFamilies.h"
#include "Audio.h"

#include <algorithm>
#include <cmath>
#include <functional>
#include <map>
#include <stdexcept>
#include <thread>
#include <tuple>

namespace {

const double kTwoPi = 2 * M_PI;

double midiToHz(double note) {
    return 440.0 * std::pow(2.0, (note - 69) / 12);
}

// How a track is played: its drums, bass, accompaniment and lead.
struct Style {
    int drums;         // 0 soft kick and hats only, 1 a full kit, 2 driving (a kick on every beat, eighth hats)
    int bass;          // 0 bouncing octaves, 1 long roots with a fifth, 2 driving eighths
    int accompaniment; // 0 plucked sixteenths, 1 bells on eighths
    double padCutoff;  // brightness of the pads in Hz
    double wobble;     // depth of the slow pitch drift of pads and lead (0 none)
    int leadWave;      // 0 soft square, 1 triangle-like, 2 bright saw
    int leadOctave;    // octaves above the pads' register
};

struct Song {
    std::string file;
    double bpm;
    int root;                 // MIDI note of the key's tonic (bass octave)
    std::vector<int> scale;   // semitone steps of the scale's seven degrees
    std::vector<int> chordsA; // scale degree of each bar's chord in the first theme (and the intro)
    std::vector<int> chordsB; // the same for the second theme and the breakdown
    std::string form;         // one letter per four-bar phrase: I intro, A, B themes, D breakdown, O outro
    uint32_t seed;
    double swing; // delay of every second sixteenth, as a fraction of a sixteenth
    Style style;
};

// A stereo buffer that wraps round: a voice running past the end goes on at the start.
class Mixer {
public:
    explicit Mixer(size_t frames) : left(frames, 0.0f), right(frames, 0.0f) {}

    // Adds a mono voice at time t with a pan of -1 (left) .. 1 (right).
    void add(double t, const Samples& voice, double gain, double pan) {
        const size_t size = left.size();
        size_t at = static_cast<size_t>(std::max(0, seconds(t))) % size;
        double l = gain * std::sqrt(0.5 * (1 - pan)), r = gain * std::sqrt(0.5 * (1 + pan));
        for (float v : voice) {
            left[at] += static_cast<float>(v * l);
            right[at] += static_cast<float>(v * r);
            if (++at == size) at = 0;
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

// A slow drift of pitch (a fraction of the frequency) for the alien sound; none at depth 0.
double drift(double t, double depth) {
    if (depth == 0) return 1;
    return 1 + depth * (0.6 * std::sin(kTwoPi * 0.23 * t) + 0.4 * std::sin(kTwoPi * 0.61 * t + 1));
}

Samples padNote(double hz, double length, uint32_t seed, double cutoff, double wobble) {
    LowPass lp1, lp2;
    double p[3] = {seed * 0.11, seed * 0.37, seed * 0.73};
    const double detune[3] = {1.0, 1.004, 0.996};
    return voiceOf(length, [&](double t, double) {
        double v = 0;
        const double bend = drift(t, wobble);
        for (int k = 0; k < 3; k++) {
            p[k] += hz * detune[k] * bend / kRate;
            v += 2 * (p[k] - std::floor(p[k])) - 1;
        }
        double env = clamp01(t / 0.4) * clamp01((length - t) / 0.5);
        return lp2.step(lp1.step(static_cast<float>(v / 3), cutoff), cutoff * 1.3) * env;
    });
}

// A glassy bell: a sine with a quieter inharmonic partial, struck and ringing out.
Samples bell(double hz, double length) {
    return voiceOf(length, [&](double t, double) {
        const double body = std::sin(kTwoPi * hz * t) * envelope(t, 0.002, 0.9);
        const double partial = std::sin(kTwoPi * hz * 2.76 * t) * envelope(t, 0.001, 0.25);
        return (body * 0.7 + partial * 0.3) * clamp01((length - t) / 0.05);
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

Samples leadNote(double hz, double length, int wave, double wobble) {
    double phase = 0;
    LowPass lp;
    return voiceOf(length, [&](double t, double) {
        double vibrato = (1 + 0.004 * std::sin(kTwoPi * 5.5 * t) * clamp01((t - 0.12) * 5)) * drift(t * 3, wobble);
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

// The chord of a bar: the themes' progressions, read on from the phrase's first bar.
int chordOf(const Song& song, char section, int barInPhrase) {
    const std::vector<int>& chords = section == 'B' || section == 'D' ? song.chordsB : song.chordsA;
    return chords[static_cast<size_t>(barInPhrase) % chords.size()];
}

void writeSong(AssetOutput& out, const Song& song) {
    const Style& style = song.style;
    double sixteenth = 60.0 / song.bpm / 4;
    double barLength = sixteenth * 16;
    const int bars = static_cast<int>(song.form.size()) * 4;
    Mixer mix(static_cast<size_t>(seconds(bars * barLength)));
    Mixer lead(mix.left.size());
    ArtRandom rng(song.seed);
    Samples kickVoice = kick(), snareVoice = snare(song.seed), closedHat = hat(song.seed + 1, 0.025),
            openHat = hat(song.seed + 2, 0.09);
    auto at = [&](int bar, int step) {
        double t = (bar * 16 + step) * sixteenth;
        if (step % 2 == 1) t += song.swing * sixteenth;
        return t;
    };
    // A note of one instrument sounds the same each time it is played: each is made once per pitch and length.
    std::map<std::tuple<char, int, int>, Samples> rendered;
    auto voice = [&](char instrument, int note, double length, const std::function<Samples()>& make) -> const Samples& {
        auto key = std::make_tuple(instrument, note, seconds(length));
        auto found = rendered.find(key);
        if (found == rendered.end()) found = rendered.emplace(key, make()).first;
        return found->second;
    };
    // The melodies: one set of two-bar motifs per theme; the answer of each pair keeps the call's rhythm,
    // and each later phrase of a theme plays its motifs again, so the tunes have a recognisable shape.
    std::vector<Note> motifsA[2], motifsB[2];
    for (int pair = 0; pair < 2; pair++) {
        motifsA[pair] = motif(rng, song.chordsA[(pair * 2) % song.chordsA.size()],
                              song.chordsA[(pair * 2 + 1) % song.chordsA.size()], pair ? &motifsA[0] : nullptr);
        motifsB[pair] = motif(rng, song.chordsB[(pair * 2) % song.chordsB.size()],
                              song.chordsB[(pair * 2 + 1) % song.chordsB.size()], pair ? &motifsB[0] : nullptr);
    }
    for (int bar = 0; bar < bars; bar++) {
        const char section = song.form[static_cast<size_t>(bar / 4)];
        const int inPhrase = bar % 4;
        const int chord = chordOf(song, section, inPhrase);
        const bool intro = section == 'I', breakdown = section == 'D', outro = section == 'O';
        const bool lastBar = bar == bars - 1;
        // Pads: the chord's three tones, spread across the stereo field; the last one fades out with the bar.
        for (int k = 0; k < 3; k++) {
            int note = degreeToNote(song, chord + k * 2) + 12;
            double len = lastBar ? barLength : barLength + 0.3;
            const Samples& pad = voice('p', note, len, [&] {
                return padNote(midiToHz(note), len, song.seed + note, style.padCutoff, style.wobble);
            });
            mix.add(at(bar, 0), pad, 0.09, (k - 1) * 0.6);
        }
        // Bass.
        int rootNote = degreeToNote(song, chord) - 12;
        auto bass = [&](int note, double len) -> const Samples& {
            return voice('b', note, len, [&] { return bassNote(midiToHz(note), len); });
        };
        static const int bounce[8][2] = {{0, 0}, {3, 12}, {4, 0}, {6, 7}, {8, 0}, {11, 12}, {12, 0}, {14, 7}};
        static const int roots[3][2] = {{0, 0}, {8, 7}, {12, 0}};
        static const int eighths[8][2] = {{0, 0}, {2, 0}, {4, 12}, {6, 0}, {8, 0}, {10, 0}, {12, 12}, {14, 7}};
        if (outro || breakdown) {
            const double len = lastBar ? barLength * 0.8 : barLength;
            if (!breakdown || inPhrase % 2 == 0) mix.add(at(bar, 0), bass(rootNote, len), 0.3, 0);
        } else if (style.bass == 1) {
            for (const auto& bs : roots)
                mix.add(at(bar, bs[0]), bass(rootNote + bs[1], sixteenth * (bs[0] ? 3.8 : 7.8)), 0.32, 0);
        } else {
            for (const auto& bs : style.bass == 2 ? eighths : bounce)
                mix.add(at(bar, bs[0]), bass(rootNote + bs[1], sixteenth * 1.8), 0.32, 0);
        }
        // Accompaniment: plucks on sixteenths or bells on eighths, up and down the chord, alternating sides.
        if (!intro && !outro) {
            static const int arpOrder[8] = {0, 2, 4, 7, 9, 7, 4, 2};
            for (int s = 0; s < 16; s++) {
                if (style.accompaniment == 1 && s % 2) continue;
                int note = degreeToNote(song, chord + arpOrder[(style.accompaniment ? s / 2 : s) % 8]) + 24;
                if (style.accompaniment == 1)
                    mix.add(at(bar, s), voice('e', note, 0, [&] { return bell(midiToHz(note + 12), sixteenth * 6); }),
                            0.05, s % 4 ? 0.6 : -0.6);
                else
                    mix.add(at(bar, s), voice('k', note, 0, [&] { return pluck(midiToHz(note), sixteenth * 1.5); }),
                            0.05, s % 2 ? 0.5 : -0.5);
            }
        }
        // Drums: none in the breakdown and the outro's second half; a fill closes every theme phrase.
        const bool fill = inPhrase == 3 && (section == 'A' || section == 'B');
        if (!breakdown && !(outro && inPhrase >= 2)) {
            const bool full = style.drums > 0 && !intro && !outro;
            for (int s = 0; s < 16; s++) {
                const bool kickHere = style.drums == 2 && !intro ? s % 4 == 0 : (s % 8 == 0 || (full && s == 10));
                if (kickHere) mix.add(at(bar, s), kickVoice, 0.5, 0);
                if (full && (s == 4 || s == 12)) mix.add(at(bar, s), snareVoice, 0.28, 0.05);
                if (full && fill && s >= 12) mix.add(at(bar, s), snareVoice, 0.15 + 0.03 * (s - 12), 0.05);
                if (s % 2 == 0) mix.add(at(bar, s), closedHat, s % 4 == 0 ? 0.05 : 0.032, 0.3);
                if (full && s % 4 == 2) mix.add(at(bar, s), openHat, style.drums == 2 ? 0.04 : 0.03, -0.3);
            }
        }
        // The lead: the theme's motifs, two bars at a time.
        if (section == 'A' || section == 'B') {
            const std::vector<Note>& notes = (section == 'A' ? motifsA : motifsB)[inPhrase / 2];
            for (const Note& n : notes) {
                if (n.step / 16 != inPhrase % 2) continue;
                int note = degreeToNote(song, n.degree) + 12 * style.leadOctave;
                const double len = n.length * sixteenth * 0.92;
                lead.add(
                    at(bar, n.step % 16),
                    voice('l', note, len, [&] { return leadNote(midiToHz(note), len, style.leadWave, style.wobble); }),
                    0.16, 0);
            }
        }
    }
    // Ping-pong delay of a dotted eighth on the lead, run twice round the buffer so that the echoes of the
    // last bars go on over the first, then everything together.
    const size_t size = mix.left.size();
    const size_t delay = static_cast<size_t>(seconds(sixteenth * 3));
    Samples delayL(size, 0.0f), delayR(size, 0.0f);
    for (int pass = 0; pass < 2; pass++)
        for (size_t i = 0; i < size; i++) {
            const size_t from = (i + size - delay) % size;
            delayL[i] = lead.left[i] + delayR[from] * 0.35f;
            delayR[i] = lead.right[i] + delayL[from] * 0.35f;
        }
    for (size_t i = 0; i < size; i++) {
        const size_t from = (i + size - delay) % size;
        mix.left[i] += lead.left[i] + delayR[from] * 0.5f;
        mix.right[i] += lead.right[i] + delayL[from] * 0.5f;
    }
    for (Samples* ch : {&mix.left, &mix.right})
        for (float& v : *ch) v = static_cast<float>(std::tanh(v * 1.1));
    float top = 0;
    for (size_t i = 0; i < size; i++) top = std::max({top, std::fabs(mix.left[i]), std::fabs(mix.right[i])});
    float gain = top > 0 ? 0.89f / top : 1.0f;
    for (size_t i = 0; i < size; i++) {
        mix.left[i] *= gain;
        mix.right[i] *= gain;
    }
    writeOgg(out.path("music/" + song.file), Stereo{mix.left, mix.right}, 0.3f, static_cast<int>(song.seed));
}

} // namespace

void writeMusic(AssetOutput& out) {
    const std::vector<int> major = {2, 2, 1, 2, 2, 2, 1};
    const std::vector<int> dorian = {2, 1, 2, 2, 2, 1, 2};
    const std::vector<int> lydian = {2, 2, 2, 1, 2, 2, 1};
    const std::vector<int> mixolydian = {2, 2, 1, 2, 2, 1, 2};
    const std::vector<int> phrygian = {1, 2, 2, 2, 1, 2, 2};
    // One line per track: file, tempo, tonic, scale, the chords of its two themes, its form, seed, swing, and
    // its style (drums, bass, accompaniment, pad brightness, pitch drift, lead wave, lead octave).
    // clang-format off
    const std::vector<Song> songs = {
        // The menus: calm and warm, a gentle kit under bells; I iii IV V, then vi IV I V in G.
        {"harbourlights.ogg", 84, 43, major, {0, 2, 3, 4}, {5, 3, 0, 4}, "IAABDABO", 606, 0.0, {0, 1, 1, 1600, 0, 1, 1}},
        // The plain sea: bright and bouncy; I V vi IV, then IV V iii vi in C.
        {"brighttide.ogg", 116, 48, major, {0, 4, 5, 3}, {3, 4, 2, 5}, "IAABBDAABBAO", 101, 0.0, {1, 0, 0, 1400, 0, 0, 1}},
        // Sunset: laid back with a swing; I VII IV I, then ii IV V I in F mixolydian.
        {"coralgarden.ogg", 96, 41, mixolydian, {0, 6, 3, 0}, {1, 3, 4, 0}, "IAABDABBAO", 202, 0.25, {1, 1, 0, 1300, 0, 1, 1}},
        // Ice: slow and glassy, bells and long roots, soft drums; I II vi V, then IV I II vi in E lydian.
        {"frozenlights.ogg", 80, 40, lydian, {0, 1, 5, 4}, {3, 0, 1, 5}, "IAABDABO", 404, 0.0, {0, 1, 1, 2200, 0, 1, 2}},
        // Volcano: driving and dark; i II VII i, then VI VII i i in E phrygian.
        {"deepcurrent.ogg", 136, 40, phrygian, {0, 1, 6, 0}, {5, 6, 0, 0}, "IAABBDAABBAABO", 303, 0.0, {2, 2, 0, 1800, 0, 2, 1}},
        // Alien: strange and floating, drifting pitch, bells; i IV ii v, then VII IV i i in D dorian.
        {"violetdeep.ogg", 104, 38, dorian, {0, 3, 1, 4}, {6, 3, 0, 0}, "IAABDABBAO", 505, 0.1, {1, 1, 1, 1100, 0.006, 1, 1}},
    };
    // clang-format on
    // Each track is made on a thread of its own; the first failure is reported once all are done.
    std::vector<std::string> errors(songs.size());
    std::vector<std::thread> threads;
    for (size_t i = 0; i < songs.size(); i++)
        threads.emplace_back([&, i] {
            try {
                writeSong(out, songs[i]);
            } catch (const std::exception& e) {
                errors[i] = e.what();
            }
        });
    for (std::thread& t : threads) t.join();
    for (const std::string& e : errors)
        if (!e.empty()) throw std::runtime_error(e);
}
