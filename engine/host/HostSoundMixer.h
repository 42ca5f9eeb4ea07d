// The software mixer behind the sound-device stand-in: the state of every secondary buffer and the
// summing of the playing ones into 44.1 kHz stereo 16-bit frames. Used by HostSound.cpp only.
#pragma once

#include "HostSound.h"

#include <mutex>

namespace host {

// One buffer's playing state. Its memory is shared with its duplicates.
struct BufferVoice {
    std::shared_ptr<std::vector<uint8_t>> memory;
    WaveFormat format;
    uint32_t frames = 0; // whole frames in the memory
    bool playing = false;
    bool looping = false;
    bool lossPending = false; // the next play reports the buffer lost
    uint64_t position = 0;    // in frames of the buffer's own rate, 32.32 fixed point
    uint64_t increment = 0;   // source frames per output frame, 32.32 fixed point
    int32_t volume = 0;
    int32_t pan = 0;
    float gainLeft = 1.0f;
    float gainRight = 1.0f;

    void updateGains();
};

// Everything the mixing thread touches, under one mutex. Engine-side locks may be held while taking
// this mutex, never the other way round.
struct MixerCore {
    std::mutex mutex;
    std::vector<BufferVoice*> voices; // every live secondary buffer, playing or not
    std::vector<float> accumulator;   // interleaved stereo, grown once to the largest block

    // Sums the playing voices into out (frames stereo pairs; null discards) and advances their
    // cursors. The caller holds the mutex.
    void mix(int16_t* out, uint32_t frames);
};

// The linear gain of a level in hundredths of a decibel; the minimum is silence.
float gainOfHundredthsDb(int32_t level);

} // namespace host
