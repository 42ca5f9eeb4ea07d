// The sound benchmark, run by hand (best from a release build), not a test: the longest streaming pass while an
// Ogg stream plays, and what mixing 32 playing buffers of mixed formats costs, as a share of one core.
#include "HostSound.h"
#include "KSound.h"
#include "SoundFixtures.h"

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <cstring>
#include <vector>

namespace {

double milliseconds(std::chrono::steady_clock::time_point since) {
    return std::chrono::duration<double, std::milli>(std::chrono::steady_clock::now() - since).count();
}

// The longest of 20 streaming passes over a stereo stream at 44100 Hz, each after 4096 frames were mixed.
double longestStreamingPassMs() {
    std::string ogg = encodeOgg(2, 44100, sineTone(2, 44100, 3 * 44100, 440.0, 0.5));
    KSound stream;
    if (!stream.loadStreamFromMemory(newBytes(ogg), ogg.size())) return -1;
    stream.playStream(false);
    double longest = 0.0;
    for (int i = 0; i < 20; i++) {
        KSound::getDevice()->step(4096, nullptr);
        auto start = std::chrono::steady_clock::now();
        KSound::refillStreams();
        longest = std::max(longest, milliseconds(start));
    }
    return longest;
}

// Mixes 5 s of 32 looping buffers of every channel count, depth and a spread of rates, volumes and pans.
double mixingCostPercent() {
    host::SoundDevice* device = nullptr;
    if (host::createSoundDevice(&device) != host::DS_OK) return -1;
    std::vector<host::SoundBuffer*> buffers;
    const int rates[] = {11025, 22050, 32000, 44100, 48000};
    for (int i = 0; i < 32; i++) {
        host::WaveFormat format;
        format.channels = uint16_t(1 + i % 2);
        format.bitsPerSample = uint16_t((i / 2) % 2 ? 8 : 16);
        format.samplesPerSecond = uint32_t(rates[i % 5]);
        format.blockAlign = uint16_t(format.channels * format.bitsPerSample / 8);
        format.averageBytesPerSecond = format.samplesPerSecond * format.blockAlign;
        host::SoundBufferDesc desc;
        desc.flags = 0x180C8;
        desc.bufferBytes = format.averageBytesPerSecond; // one second
        desc.format = &format;
        host::SoundBuffer* buffer = nullptr;
        if (device->createSoundBuffer(desc, &buffer) != host::DS_OK) continue;
        void *p1 = nullptr, *p2 = nullptr;
        uint32_t n1 = 0, n2 = 0;
        if (buffer->lock(0, desc.bufferBytes, &p1, &n1, &p2, &n2, 0) == host::DS_OK) {
            std::memset(p1, i * 7, n1);
            buffer->unlock(p1, n1, p2, n2);
        }
        buffer->setVolume(-600 - 10 * i);
        buffer->setPan(i * 300 - 4800);
        buffer->play(0, 0, host::DSBPLAY_LOOPING);
        buffers.push_back(buffer);
    }
    const int seconds = 5;
    const uint32_t block = 1024;
    std::vector<int16_t> out(block * 2);
    auto start = std::chrono::steady_clock::now();
    for (uint32_t done = 0; done < uint32_t(seconds * host::kOutputRate); done += block)
        device->step(block, out.data());
    const double percent = milliseconds(start) / 10.0 / seconds;
    for (host::SoundBuffer* buffer : buffers) buffer->release();
    device->release();
    return percent;
}

} // namespace

int main() {
    host::setSoundOutput(host::SoundOutput::handStepped);
    KSound::setGlobalVolumes(100, 100);
    std::printf("longest streaming pass: %.3f ms of its 20 ms period\n", longestStreamingPassMs());
    KSound::shutDown();
    std::printf("mixing 32 buffers: %.3f %% of one core\n", mixingCostPercent());
    return 0;
}
