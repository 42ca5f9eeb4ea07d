// Fuzz target: a sound file as the game's sound table loads it (a sample, its type from the name's extension,
// which the build chooses for each target), played on the mixer with no audio device; an Ogg Vorbis file is
// also opened as the music stream and played, looping, through a few refills of its buffer halves.
#include "FuzzSupport.h"

#include "HostSound.h"
#include "KSound.h"

#include <cmath>
#include <cstring>

#ifndef FUZZ_SOUND_NAME
#error "FUZZ_SOUND_NAME names the input file; its extension chooses the decoder"
#endif

namespace {

// Mixer frames per step: a little more than one stream half, so every step makes the stream refill one.
constexpr uint32_t kFramesPerStep = KSound::kStreamHalfBytes / 4 + 64;
constexpr int kStreamSteps = 3;

bool isOgg() {
    const char* name = FUZZ_SOUND_NAME;
    const size_t length = std::strlen(name);
    return length >= 4 && std::strcmp(name + length - 4, ".ogg") == 0;
}

} // namespace

extern "C" int LLVMFuzzerInitialize(int*, char***) {
    host::setSoundOutput(host::SoundOutput::handStepped);
    return 0;
}

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    serveFuzzInput(FUZZ_SOUND_NAME, data, size);
    KSound sample;
    host::SoundDevice* device = KSound::getDevice();
    FUZZ_CHECK(device != nullptr);
    if (sample.loadSample(FUZZ_SOUND_NAME)) {
        FUZZ_CHECK(sample.isLoaded());
        const double seconds = sample.getSeconds();
        FUZZ_CHECK(std::isfinite(seconds) && seconds >= 0.0);
        sample.playSample();
        device->step(kFramesPerStep, nullptr);
        sample.stopSample();
    } else {
        FUZZ_CHECK(!sample.isLoaded());
    }
    if (!isOgg()) return 0;

    KSound stream;
    if (!stream.loadStream(FUZZ_SOUND_NAME)) return 0;
    stream.playStream(/*loop=*/true);
    for (int step = 0; step < kStreamSteps; ++step) {
        device->step(kFramesPerStep, nullptr);
        KSound::refillStreams();
    }
    stream.stopStream();
    return 0;
}
