// The engine's sound: a KSound is either a sample (the whole decoded PCM on up to 16 voices, played in
// turn) or a stream (one looping buffer of two halves, refilled by the streaming thread from an Ogg
// Vorbis decoder or a caller's fill callback). The first KSound made sets up the sound device and
// starts the streaming thread; KSound::shutDown stops and joins it.
#pragma once

#include "HostSound.h"
#include "KObjectBase.h"
#include "KObjectListable.h"

#include <atomic>
#include <cstddef>
#include <string>
#include <vector>

struct OggVorbis_File;

// What a stream offers besides playing samples; KSound is its one implementation.
class KSoundBase : public KObjectBase {
public:
    using StartCallback = void (*)(void* userData);
    // Writes up to bytes into buffer; returns the bytes written, 0 at the end, negative on an error.
    using FillCallback = int (*)(void* userData, void* buffer, int bytes);

    virtual void playStream(bool loop) = 0;
    virtual void stopStream() = 0;
    virtual bool openUserStream(int channels, int bitsPerSample, int samplesPerSecond, StartCallback start,
                                FillCallback fill, void* userData, int halfBytes) = 0;
    virtual void pause(bool on) = 0;
};

class KSound : public KSoundBase, public KObjectListable {
public:
    static constexpr int kMaxVoices = 16;
    static constexpr int kStreamHalfBytes = 32768;
    static constexpr int kTypeWave = 0;
    static constexpr int kTypeOgg = 1;

    KSound();
    ~KSound() override;
    KSound(const KSound&) = delete;
    KSound& operator=(const KSound&) = delete;

    // The type comes from the extension (".wav" or ".ogg", any case).
    bool loadSample(const std::string& path);
    // Takes the bytes (allocated with new[]) in every case and keeps them to rebuild a lost buffer.
    bool loadSampleFromMemory(int type, unsigned char* bytes, size_t size, int volume, bool loop, int voices);
    bool loadStream(const std::string& path);                     // Ogg Vorbis
    bool loadStreamFromMemory(unsigned char* bytes, size_t size); // takes the bytes, as above

    bool openUserStream(int channels, int bitsPerSample, int samplesPerSecond, StartCallback start, FillCallback fill,
                        void* userData, int halfBytes) override;

    void playSample();
    void stopSample();
    void playStream(bool loop) override;
    void stopStream() override;
    void pause(bool on) override;
    bool isPlaying();
    void applyVolume(); // after the volume field changed; the pan is taken at the next play

    bool isLoaded() const { return loaded; }
    double getSeconds(); // a sample's length, or how far a stream has decoded since it (re)started
    bool hasWrapped();   // a looping stream has started again from its beginning

    static void setGlobalVolumes(int streamVolume, int sampleVolume);

    // Hundredths of a decibel for a volume of 0..100 and a pan of -100..100.
    static int volumeLevel(int volume);
    static int panLevel(int pan);

    // One pass of the streaming loop: refills every playing stream whose cursor crossed a half.
    static void refillStreams();
    // Stops and joins the streaming thread, stops the streams and closes the sound device. Sounds still
    // alive stay usable but silent; the next KSound made sets everything up again.
    static void shutDown();
    static host::SoundDevice* getDevice(); // null without a device
    static bool isStreamingThreadRunning();
    // The sounds alive, samples and streams together.
    static int liveCount();

    int volume = 100; // 0..100
    int pan = 0;      // -100 (left) .. 100 (right)

private:
    friend struct KSoundMemoryStream;
    enum class FillResult { data, empty, failed };

    void releaseAll(bool keepSourceBytes);
    bool createVoice(int voice, uint32_t bytes);
    bool openDecoder();
    bool decodeWholeOgg(std::vector<unsigned char>& pcm);
    bool openStreamBuffer();
    FillResult fillHalf(int half);
    void refill();
    void rewindSource();  // back to the stream's first byte
    void closeDecoder();  // also after a decoder call failed: the decoder is not called again
    bool reopenDecoder(); // back to the first sample: the decoder is never asked to seek
    int combinedLevel() const;
    void startVoice(int voice, uint32_t position, bool looping, int32_t& result);

    int halfBytes = kStreamHalfBytes;
    OggVorbis_File* decoder = nullptr;
    bool decoderOpen = false;
    host::WaveFormat format;
    host::SoundBuffer* voices[kMaxVoices] = {};
    bool voiceOwnsMemory[kMaxVoices] = {};
    int savedPositions[kMaxVoices];
    bool loaded = false;
    std::atomic<bool> paused{false}; // also cleared by the streaming thread when a stream ends
    bool loop = false;
    int reloadVoiceCount = 1;
    int voiceCount = 0;
    int nextVoice = 0; // for a stream, the half to refill next
    bool isStream = false;
    std::atomic<bool> inStreamingList{false};
    bool streamLoops = false;
    bool draining = false; // the stream's decoder is spent; it stops once its last data has been heard
    int sourceType = -1;
    unsigned char* sourceBytes = nullptr;
    size_t sourceSize = 0;
    size_t readPosition = 0;
    unsigned char* staging = nullptr;
    bool wrapped = false;
    double seconds = 0.0;
    StartCallback startCallback = nullptr;
    FillCallback fillCallback = nullptr;
    void* userData = nullptr;
};
