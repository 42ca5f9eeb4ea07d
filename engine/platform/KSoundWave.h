// Reading of RIFF WAVE sound files: the PCM format and where the sample bytes lie. Every offset and
// length is checked against the bytes present; only plain PCM with 1 or 2 channels of 8 or 16 bits loads.
#pragma once

#include "HostSound.h"

#include <cstddef>

struct KSoundWave {
    host::WaveFormat format;
    const unsigned char* pcm = nullptr; // inside the parsed bytes
    size_t pcmBytes = 0;                // whole frames only
};

// Null on success, else why the bytes cannot be played (for the log line).
const char* parseWave(const unsigned char* bytes, size_t size, KSoundWave& wave);
