// Mixing of the sound-device stand-in's buffers: linear resampling from each buffer's rate, volume and
// pan gains, summing in float and clipping to signed 16 bits.
#include "HostSoundMixer.h"

#include <algorithm>
#include <cmath>

namespace host {

float gainOfHundredthsDb(int32_t level) {
    if (level <= DSBVOLUME_MIN) return 0.0f;
    if (level >= 0) return 1.0f;
    return float(std::pow(10.0, level / 2000.0));
}

void BufferVoice::updateGains() {
    // A negative pan attenuates the right channel, a positive one the left.
    float gain = gainOfHundredthsDb(volume);
    gainLeft = gain * gainOfHundredthsDb(std::min(0, -pan));
    gainRight = gain * gainOfHundredthsDb(std::min(0, pan));
}

namespace {

constexpr float kFractionScale = 1.0f / 4294967296.0f;

template <int Bits> inline float sampleAt(const uint8_t* frame, int channel) {
    if constexpr (Bits == 8) {
        return float(int(frame[channel]) - 128) * 256.0f;
    } else {
        const uint8_t* p = frame + channel * 2;
        return float(int16_t(uint16_t(p[0] | (p[1] << 8))));
    }
}

// Adds one voice into the accumulator; returns false when a non-looping voice reached its end.
template <int Channels, int Bits> bool mixVoice(BufferVoice& voice, float* accumulator, uint32_t frames) {
    constexpr int frameBytes = Channels * Bits / 8;
    const uint8_t* data = voice.memory->data();
    const uint64_t total = voice.frames;
    const uint64_t wrap = total << 32;
    const float left = voice.gainLeft;
    const float right = voice.gainRight;
    uint64_t position = voice.position;
    bool running = true;
    for (uint32_t i = 0; i < frames; i++) {
        if (position >= wrap) {
            if (!voice.looping) {
                position = 0; // a buffer that played to its end starts again from the beginning
                running = false;
                break;
            }
            position %= wrap;
        }
        const uint64_t index = position >> 32;
        const float fraction = float(uint32_t(position)) * kFractionScale;
        uint64_t nextIndex = index + 1;
        if (nextIndex >= total) nextIndex = voice.looping ? 0 : index;
        const uint8_t* a = data + index * frameBytes;
        const uint8_t* b = data + nextIndex * frameBytes;
        float sampleLeft = sampleAt<Bits>(a, 0);
        sampleLeft += (sampleAt<Bits>(b, 0) - sampleLeft) * fraction;
        float sampleRight = sampleLeft;
        if constexpr (Channels == 2) {
            sampleRight = sampleAt<Bits>(a, 1);
            sampleRight += (sampleAt<Bits>(b, 1) - sampleRight) * fraction;
        }
        accumulator[2 * i] += sampleLeft * left;
        accumulator[2 * i + 1] += sampleRight * right;
        position += voice.increment;
    }
    voice.position = position;
    return running;
}

bool mixAnyVoice(BufferVoice& voice, float* accumulator, uint32_t frames) {
    const bool stereo = voice.format.channels == 2;
    if (voice.format.bitsPerSample == 8)
        return stereo ? mixVoice<2, 8>(voice, accumulator, frames) : mixVoice<1, 8>(voice, accumulator, frames);
    return stereo ? mixVoice<2, 16>(voice, accumulator, frames) : mixVoice<1, 16>(voice, accumulator, frames);
}

} // namespace

void MixerCore::mix(int16_t* out, uint32_t frames) {
    if (accumulator.size() < size_t(frames) * 2) accumulator.resize(size_t(frames) * 2);
    std::fill_n(accumulator.begin(), size_t(frames) * 2, 0.0f);
    for (BufferVoice* voice : voices) {
        if (!voice->playing || voice->frames == 0) continue;
        if (!mixAnyVoice(*voice, accumulator.data(), frames)) voice->playing = false;
    }
    if (!out) return;
    for (size_t i = 0; i < size_t(frames) * 2; i++) {
        float value = std::clamp(accumulator[i], -32768.0f, 32767.0f);
        out[i] = int16_t(std::lrint(value));
    }
}

} // namespace host
