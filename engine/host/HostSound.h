// Stand-in for the sound device and its sound buffers: a software mixer that sums every playing buffer
// (each in its own PCM format, with volume in hundredths of a decibel, pan and looping) into the
// 44.1 kHz stereo 16-bit stream of the SDL audio device. A hand-stepped output mixes only when a test
// asks, so play cursors move deterministically with no audio device at all.
#pragma once

#include <cstdint>
#include <memory>
#include <vector>

namespace host {

// Result codes, with the values the engine logs and compares.
constexpr int32_t DS_OK = 0;
constexpr int32_t DSERR_BUFFERLOST = int32_t(0x88780096);
constexpr int32_t DSERR_INVALIDPARAM = int32_t(0x80070057);
constexpr int32_t DSERR_INVALIDCALL = int32_t(0x88780032);
constexpr int32_t DSERR_NODRIVER = int32_t(0x88780078);
constexpr int32_t DSERR_OUTOFMEMORY = int32_t(0x8007000E);

constexpr int DSSCL_PRIORITY = 2;

// Buffer capabilities.
constexpr uint32_t DSBCAPS_PRIMARYBUFFER = 0x1;
constexpr uint32_t DSBCAPS_LOCSOFTWARE = 0x8;
constexpr uint32_t DSBCAPS_CTRLPAN = 0x40;
constexpr uint32_t DSBCAPS_CTRLVOLUME = 0x80;
constexpr uint32_t DSBCAPS_GLOBALFOCUS = 0x8000;
constexpr uint32_t DSBCAPS_GETCURRENTPOSITION2 = 0x10000;

constexpr uint32_t DSBPLAY_LOOPING = 0x1;
constexpr uint32_t DSBLOCK_ENTIREBUFFER = 0x2;

// Status bits. Buffers made here never report the location bits (LOCHARDWARE 0x8, LOCSOFTWARE 0x10):
// real devices set those only for buffers whose location is deferred to play time.
constexpr uint32_t DSBSTATUS_PLAYING = 0x1;
constexpr uint32_t DSBSTATUS_LOOPING = 0x4;

constexpr int32_t DSBVOLUME_MIN = -10000;
constexpr int32_t DSBVOLUME_MAX = 0;
constexpr int32_t DSBPAN_LEFT = -10000;
constexpr int32_t DSBPAN_RIGHT = 10000;

constexpr uint16_t WAVE_FORMAT_PCM = 1;
constexpr int kOutputRate = 44100;              // the mixed stream: stereo, signed 16-bit, interleaved
constexpr uint32_t kMaximumSampleRate = 192000; // the highest rate a buffer may have

struct WaveFormat {
    uint16_t formatTag = WAVE_FORMAT_PCM;
    uint16_t channels = 0;
    uint32_t samplesPerSecond = 0;
    uint32_t averageBytesPerSecond = 0;
    uint16_t blockAlign = 0;
    uint16_t bitsPerSample = 0;
    uint16_t extraSize = 0;
};

struct SoundBufferDesc {
    uint32_t flags = 0;
    uint32_t bufferBytes = 0;           // 0 for the primary buffer
    const WaveFormat* format = nullptr; // null for the primary buffer
};

enum class SoundOutput {
    audioDevice, // the SDL audio device; mixing runs in its callback
    handStepped, // no device: SoundDevice::step mixes and advances the cursors
    none,        // a machine without sound: creating the device fails
};
// Chosen once per process before the device is made; tests pick handStepped or none.
void setSoundOutput(SoundOutput output);
SoundOutput soundOutput();

struct MixerCore;
struct BufferVoice;

// One sound buffer, reference counted. Duplicates share the sample memory and have their own cursor,
// status, volume and pan. Positions and sizes are in bytes of the buffer's own format.
class SoundBuffer {
public:
    int32_t play(uint32_t reserved, uint32_t priority, uint32_t flags);
    int32_t stop();
    int32_t setCurrentPosition(uint32_t position);
    int32_t getCurrentPosition(uint32_t* play, uint32_t* write);
    int32_t setVolume(int32_t volume); // DSBVOLUME_MIN .. DSBVOLUME_MAX
    int32_t getVolume(int32_t* volume);
    int32_t setPan(int32_t pan); // DSBPAN_LEFT .. DSBPAN_RIGHT
    int32_t getPan(int32_t* pan);
    int32_t getStatus(uint32_t* status);
    int32_t setFormat(const WaveFormat* format); // primary buffer only
    // The locked bytes are a private copy of the region (two parts when it wraps past the end);
    // unlock writes them back while the mixer is held, so a playing buffer can be refilled safely.
    int32_t lock(uint32_t offset, uint32_t bytes, void** part1, uint32_t* bytes1, void** part2, uint32_t* bytes2,
                 uint32_t flags);
    int32_t unlock(void* part1, uint32_t bytes1, void* part2, uint32_t bytes2);
    uint32_t addRef();
    uint32_t release(); // deletes the buffer at zero

private:
    friend class SoundDevice;
    SoundBuffer(std::shared_ptr<MixerCore> core, std::shared_ptr<BufferVoice> voice);
    ~SoundBuffer();

    std::shared_ptr<MixerCore> core;
    std::shared_ptr<BufferVoice> voice; // null for the primary buffer
    uint32_t references = 1;
    std::vector<uint8_t> lockCopy;
    uint32_t lockedOffset = 0;
    uint32_t lockedBytes = 0;
    bool locked = false;
};

class SoundDevice {
public:
    int32_t setCooperativeLevel(int level);
    int32_t createSoundBuffer(const SoundBufferDesc& desc, SoundBuffer** buffer);
    int32_t duplicateSoundBuffer(SoundBuffer* original, SoundBuffer** duplicate);
    uint32_t release(); // closes the audio device; buffers still held stay usable but silent

    // Hand-stepped output: mixes the next frames (stereo pairs) into out, or discards them when out is null.
    void step(uint32_t frames, int16_t* out);
    bool isHandStepped() const { return audioDevice == 0; }
    // Makes the next play of every buffer alive now report DSERR_BUFFERLOST once, as after the
    // device was taken away, so the engine's rebuild paths can be run.
    void simulateLossOfEveryBuffer();

private:
    friend int32_t createSoundDevice(SoundDevice** device);
    SoundDevice() = default;
    ~SoundDevice();

    std::shared_ptr<MixerCore> core;
    uint32_t audioDevice = 0; // the SDL device id, 0 when hand-stepped
    uint32_t references = 1;
};

// Opens the default output device of the chosen kind; DSERR_NODRIVER when there is none.
int32_t createSoundDevice(SoundDevice** device);

} // namespace host
