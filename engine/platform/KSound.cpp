// KSound: sample loading and playing on round-robin voices, double-buffered streams refilled by the
// streaming thread, pause and resume, the volume and pan tables and the process-wide set-up and shutdown.
#include "KSound.h"

#include "HostSystem.h"
#include "KList.h"
#include "KLog.h"
#include "KResource.h"
#include "KSoundWave.h"
#include "KSysLock.h"
#include "KSysThread.h"

#define OV_EXCLUDE_STATIC_CALLBACKS
#include <vorbis/vorbisfile.h>

#include <algorithm>
#include <cmath>
#include <cstring>
#include <strings.h>

namespace {

constexpr unsigned kStreamingPeriodMs = 20;
constexpr uint32_t kSecondaryFlags = host::DSBCAPS_LOCSOFTWARE | host::DSBCAPS_CTRLPAN | host::DSBCAPS_CTRLVOLUME |
                                     host::DSBCAPS_GLOBALFOCUS | host::DSBCAPS_GETCURRENTPOSITION2;
constexpr uint32_t kPlayingStatusBits = 0x1D; // playing, or any of the location bits
constexpr size_t kMaximumPcmBytes = 0x0FFFFFFF;
constexpr int kMaximumUserHalfBytes = 0x07FFFFFF;
constexpr long kMaximumRate = long(host::kMaximumSampleRate);

// Everything the sound part shares across sounds. Made at the first KSound and never freed, so the
// streaming thread can never outlive it; the thread itself is joined by KSound::shutDown.
struct SoundSystem {
    host::SoundDevice* device = nullptr;
    host::SoundBuffer* primary = nullptr;
    bool setUpDone = false;
    KSysThread* thread = nullptr;
    KSysLock* lock = nullptr;
    std::atomic<bool> stopFlag{false};
    KList<KSound> allSounds;
    KList<KSound> streamingSounds;
    int globalStreamVolume = 100;
    int globalSampleVolume = 100;
    int volumeTable[101] = {};
    int panTable[201] = {};
    bool tablesBuilt = false;
    ov_callbacks callbacks{};
};

SoundSystem* soundSystem = nullptr;

SoundSystem& sounds() {
    if (!soundSystem) soundSystem = new SoundSystem;
    return *soundSystem;
}

void buildTables(SoundSystem& system) {
    if (system.tablesBuilt) return;
    system.tablesBuilt = true;
    system.volumeTable[0] = host::DSBVOLUME_MIN;
    for (int i = 1; i <= 100; i++) {
        int level = int(std::trunc(-100.0 * std::log(i / 100.0) / std::log(0.92)));
        system.volumeTable[i] = std::max(host::DSBVOLUME_MIN, level);
    }
    for (int pan = -100; pan <= 100; pan++) {
        int magnitude = std::abs(pan);
        int level = host::DSBPAN_RIGHT;
        if (magnitude == 0) {
            level = 0;
        } else if (magnitude < 100) {
            level = -int(std::trunc(-100.0 * std::log((100 - magnitude) / 100.0) / std::log(0.954999)));
            level = std::min(level, host::DSBPAN_RIGHT);
        }
        system.panTable[pan + 100] = pan < 0 ? -level : level;
    }
}

void streamingLoop(void* argument, long) {
    auto* system = static_cast<SoundSystem*>(argument);
    while (!system->stopFlag.load()) {
        host::sleepMilliseconds(kStreamingPeriodMs);
        if (system->stopFlag.load()) break;
        KSound::refillStreams();
    }
}

void releaseDevice(SoundSystem& system) {
    if (system.primary) system.primary->release();
    system.primary = nullptr;
    if (system.device) system.device->release();
    system.device = nullptr;
}

void setUpDevice(SoundSystem& system) {
    int32_t result = host::createSoundDevice(&system.device);
    if (result != host::DS_OK) {
        logMessage("Sound: DirectSoundCreate returned 0x%X, ERROR", unsigned(result));
        system.device = nullptr;
        return;
    }
    logMessage("Sound: DirectSound initialized");
    result = system.device->setCooperativeLevel(host::DSSCL_PRIORITY);
    if (result != host::DS_OK) {
        logMessage("Sound: SetCooperativeLevel returned 0x%X, ERROR", unsigned(result));
        releaseDevice(system);
        return;
    }
    host::SoundBufferDesc primaryDesc;
    primaryDesc.flags = host::DSBCAPS_PRIMARYBUFFER;
    result = system.device->createSoundBuffer(primaryDesc, &system.primary);
    if (result != host::DS_OK) {
        logMessage("Sound: CreateSoundBuffer (primary) returned 0x%X, ERROR", unsigned(result));
        releaseDevice(system);
        return;
    }
    host::WaveFormat output;
    output.channels = 2;
    output.samplesPerSecond = host::kOutputRate;
    output.bitsPerSample = 16;
    output.blockAlign = 4;
    output.averageBytesPerSecond = host::kOutputRate * 4;
    result = system.primary->setFormat(&output);
    if (result != host::DS_OK) {
        logMessage("Sound: SetFormat (primary) returned 0x%X, ERROR", unsigned(result));
        releaseDevice(system);
        return;
    }
    result = system.primary->play(0, 0, host::DSBPLAY_LOOPING);
    if (result != host::DS_OK) {
        logMessage("Sound: play (primary) returned 0x%X, ERROR", unsigned(result));
        releaseDevice(system);
        return;
    }
    logMessage("Sound: primary buffer started");
}

// At process exit the streaming thread is stopped before anything it touches goes away.
struct ShutDownAtExit {
    ~ShutDownAtExit() { KSound::shutDown(); }
} shutDownAtExit;

uint8_t silenceByte(const host::WaveFormat& format) {
    return format.bitsPerSample == 8 ? 128 : 0;
}

} // namespace

// The Ogg decoder reads the sound's kept bytes through these, with fread semantics. It is given no way to seek,
// so it reads the bytes in order and never runs the Vorbis library's seeking, which on some damaged files leaves
// the decoder's state broken (its next read moved memory by a negative length); a stream goes back to its start
// by opening its decoder anew.
struct KSoundMemoryStream {
    static size_t read(void* buffer, size_t size, size_t count, void* source) {
        auto* sound = static_cast<KSound*>(source);
        if (size == 0 || count == 0) return 0;
        size_t left = sound->sourceSize - sound->readPosition;
        size_t items = std::min(count, left / size);
        std::memcpy(buffer, sound->sourceBytes + sound->readPosition, items * size);
        sound->readPosition += items * size;
        return items;
    }
    static int close(void* source) {
        static_cast<KSound*>(source)->readPosition = 0;
        return 0;
    }
};

// ---- process-wide ----

int KSound::volumeLevel(int volume) {
    SoundSystem& system = sounds();
    buildTables(system);
    return system.volumeTable[std::clamp(volume, 0, 100)];
}

int KSound::panLevel(int pan) {
    SoundSystem& system = sounds();
    buildTables(system);
    return system.panTable[std::clamp(pan, -100, 100) + 100];
}

host::SoundDevice* KSound::getDevice() {
    return sounds().device;
}

bool KSound::isStreamingThreadRunning() {
    SoundSystem& system = sounds();
    return system.thread && !system.thread->isFinished();
}

int KSound::liveCount() {
    SoundSystem& system = sounds();
    KSysLockHolder hold(system.lock);
    return system.allSounds.count + system.streamingSounds.count;
}

void KSound::refillStreams() {
    SoundSystem& system = sounds();
    KSysLockHolder hold(system.lock);
    // The walk reads each next link before the refill, which may move the stream to the other list.
    system.streamingSounds.forEach([](KSound* sound) { sound->refill(); });
}

void KSound::shutDown() {
    if (!soundSystem || !soundSystem->setUpDone) return;
    SoundSystem& system = *soundSystem;
    system.stopFlag.store(true);
    delete system.thread; // joins
    system.thread = nullptr;
    {
        KSysLockHolder hold(system.lock);
        system.streamingSounds.forEach([](KSound* sound) { sound->stopStream(); });
    }
    delete system.lock;
    system.lock = nullptr;
    releaseDevice(system);
    system.setUpDone = false;
}

void KSound::setGlobalVolumes(int streamVolume, int sampleVolume) {
    SoundSystem& system = sounds();
    KSysLockHolder hold(system.lock);
    system.globalStreamVolume = streamVolume;
    system.globalSampleVolume = sampleVolume;
    auto apply = [](KSound* sound) {
        if (sound->loaded) sound->applyVolume();
    };
    system.streamingSounds.forEach(apply);
    system.allSounds.forEach(apply);
}

// ---- life ----

KSound::KSound() {
    std::fill(std::begin(savedPositions), std::end(savedPositions), -1);
    SoundSystem& system = sounds();
    if (!system.setUpDone) {
        buildTables(system);
        setUpDevice(system);
        system.callbacks.read_func = KSoundMemoryStream::read;
        system.callbacks.close_func = KSoundMemoryStream::close;
        system.stopFlag.store(false);
        system.lock = new KSysLock;
        system.thread = new KSysThread(streamingLoop, &system, /*highPriority=*/true);
        system.setUpDone = true;
    }
    decoder = new OggVorbis_File();
    KSysLockHolder hold(system.lock);
    system.allSounds.link(this);
}

KSound::~KSound() {
    releaseAll(/*keepSourceBytes=*/false);
    SoundSystem& system = sounds();
    {
        KSysLockHolder hold(system.lock);
        system.allSounds.unlink(this);
    }
    delete decoder;
}

void KSound::releaseAll(bool keepSourceBytes) {
    if (isStream) stopStream();
    closeDecoder();
    isStream = false;
    for (int v = 0; v < kMaxVoices; v++) {
        if (voices[v]) {
            voices[v]->stop();
            voices[v]->release();
        }
        voices[v] = nullptr;
        voiceOwnsMemory[v] = false;
    }
    loaded = false;
    paused = false;
    draining = false;
    voiceCount = 0;
    nextVoice = 0;
    delete[] staging;
    staging = nullptr;
    if (!keepSourceBytes) {
        delete[] sourceBytes;
        sourceBytes = nullptr;
        sourceSize = 0;
    }
    readPosition = 0;
    startCallback = nullptr;
    fillCallback = nullptr;
    userData = nullptr;
}

bool KSound::createVoice(int voice, uint32_t bytes) {
    if (voices[voice]) {
        voices[voice]->stop();
        voices[voice]->release();
        voices[voice] = nullptr;
    }
    // A sound that outlived KSound::shutDown has no device to make a buffer on (a lost stream buffer asks).
    host::SoundDevice* device = sounds().device;
    if (!device) return false;
    host::SoundBufferDesc desc;
    desc.flags = kSecondaryFlags;
    desc.bufferBytes = bytes;
    desc.format = &format;
    int32_t result = device->createSoundBuffer(desc, &voices[voice]);
    if (result != host::DS_OK) {
        logMessage("Sound: CreateSoundBuffer (secondary) returned 0x%X, ERROR", unsigned(result));
        voices[voice] = nullptr;
        return false;
    }
    void* part1 = nullptr;
    void* part2 = nullptr;
    uint32_t bytes1 = 0;
    uint32_t bytes2 = 0;
    result = voices[voice]->lock(0, bytes, &part1, &bytes1, &part2, &bytes2, 0);
    if (result != host::DS_OK) {
        logMessage("Sound: Lock (create secondary) returned 0x%X, ERROR", unsigned(result));
        return false;
    }
    std::memset(part1, silenceByte(format), bytes1);
    voices[voice]->unlock(part1, bytes1, part2, bytes2);
    voiceOwnsMemory[voice] = true;
    return true;
}

// ---- samples ----

bool KSound::loadSample(const std::string& path) {
    int type = -1;
    size_t dot = path.rfind('.');
    if (dot != std::string::npos) {
        const char* extension = path.c_str() + dot;
        if (strcasecmp(extension, ".wav") == 0)
            type = kTypeWave;
        else if (strcasecmp(extension, ".ogg") == 0)
            type = kTypeOgg;
    }
    if (type < 0) {
        logMessage("Sound: '%s' is neither a .wav nor an .ogg file", path.c_str());
        return false;
    }
    unsigned char* bytes = nullptr;
    size_t size = 0;
    if (!KResource::loadWholeFile(path, bytes, size)) {
        logMessage("Sound: '%s' cannot be read", path.c_str());
        return false;
    }
    return loadSampleFromMemory(type, bytes, size, 100, /*loop=*/false, 1);
}

bool KSound::openDecoder() {
    readPosition = 0;
    int result = ov_open_callbacks(this, decoder, nullptr, 0, sounds().callbacks);
    if (result != 0) {
        logMessage("Sound: Ogg Vorbis data cannot be read (%d)", result);
        return false;
    }
    decoderOpen = true;
    vorbis_info* info = ov_info(decoder, -1);
    if (!info || (info->channels != 1 && info->channels != 2) || info->rate <= 0 || info->rate > kMaximumRate) {
        logMessage("Sound: Ogg Vorbis format not supported (%d channels, %ld Hz)", info ? info->channels : 0,
                   info ? info->rate : 0L);
        closeDecoder();
        return false;
    }
    format = host::WaveFormat();
    format.channels = uint16_t(info->channels);
    format.samplesPerSecond = uint32_t(info->rate);
    format.bitsPerSample = 16;
    format.blockAlign = uint16_t(format.channels * 2);
    format.averageBytesPerSecond = format.samplesPerSecond * format.blockAlign;
    return true;
}

// One decoded block, or 0 at the end, or negative on damage. A chained stream whose later part
// changes the channel count or rate counts as damaged: the buffer cannot change its format.
static long readDecoded(OggVorbis_File* decoder, const host::WaveFormat& format, unsigned char* out, int bytes) {
    for (;;) {
        int bitstream = 0;
        long result = ov_read(decoder, reinterpret_cast<char*>(out), bytes, /*bigendianp=*/0, /*word=*/2,
                              /*sgned=*/1, &bitstream);
        if (result == OV_HOLE) continue; // a gap in the pages: decoding goes on after it
        if (result > 0) {
            vorbis_info* info = ov_info(decoder, bitstream);
            if (!info || info->channels != format.channels || info->rate != long(format.samplesPerSecond))
                return OV_EBADLINK;
        }
        return result;
    }
}

bool KSound::decodeWholeOgg(std::vector<unsigned char>& pcm) {
    size_t used = 0;
    for (;;) {
        if (used + kStreamHalfBytes > kMaximumPcmBytes) {
            logMessage("Sound: Ogg Vorbis sample too long");
            return false;
        }
        pcm.resize(used + kStreamHalfBytes);
        long result = readDecoded(decoder, format, pcm.data() + used, kStreamHalfBytes);
        if (result < 0) {
            logMessage("Sound: Ogg Vorbis data damaged (%ld)", result);
            return false;
        }
        if (result == 0) break;
        used += size_t(result);
    }
    pcm.resize(used - used % format.blockAlign);
    closeDecoder();
    if (pcm.empty()) {
        logMessage("Sound: Ogg Vorbis data holds no samples");
        return false;
    }
    return true;
}

bool KSound::loadSampleFromMemory(int type, unsigned char* bytes, size_t size, int newVolume, bool newLoop,
                                  int voices) {
    releaseAll(/*keepSourceBytes=*/bytes != nullptr && bytes == sourceBytes);
    sourceType = type;
    sourceBytes = bytes;
    sourceSize = bytes ? size : 0;
    loop = newLoop;
    reloadVoiceCount = voices;
    if (!sounds().device) {
        releaseAll(false);
        return false;
    }

    const unsigned char* pcm = nullptr;
    size_t pcmBytes = 0;
    std::vector<unsigned char> decoded;
    if (type == kTypeWave) {
        KSoundWave wave;
        if (const char* problem = parseWave(bytes, sourceSize, wave)) {
            logMessage("Sound: WAV data cannot be played (%s)", problem);
            releaseAll(false);
            return false;
        }
        format = wave.format;
        pcm = wave.pcm;
        pcmBytes = wave.pcmBytes;
    } else if (type == kTypeOgg) {
        if (!openDecoder() || !decodeWholeOgg(decoded)) {
            releaseAll(false);
            return false;
        }
        pcm = decoded.data();
        pcmBytes = decoded.size();
    } else {
        releaseAll(false);
        return false;
    }
    if (pcmBytes > kMaximumPcmBytes) {
        logMessage("Sound: sample too long (%zu bytes)", pcmBytes);
        releaseAll(false);
        return false;
    }

    // At least one voice: a count of 0 would never wrap the round robin.
    voiceCount = std::clamp(voices, 1, kMaxVoices);
    host::SoundDevice* device = sounds().device;
    for (int v = 0; v < voiceCount; v++) {
        bool made = false;
        if (v > 0 && device->duplicateSoundBuffer(this->voices[0], &this->voices[v]) == host::DS_OK) {
            // Touching the volume once makes a duplicate take its own volume control.
            int32_t level = 0;
            this->voices[v]->getVolume(&level);
            this->voices[v]->setVolume(level == 0 ? 100 : 0);
            this->voices[v]->setVolume(level);
            made = true;
        }
        if (!made && !createVoice(v, uint32_t(pcmBytes))) {
            releaseAll(false);
            return false;
        }
    }
    newVolume = std::clamp(newVolume, 0, 100);
    for (int v = 0; v < voiceCount; v++) {
        if (voiceOwnsMemory[v]) {
            void* part1 = nullptr;
            void* part2 = nullptr;
            uint32_t bytes1 = 0;
            uint32_t bytes2 = 0;
            int32_t result = this->voices[v]->lock(0, uint32_t(pcmBytes), &part1, &bytes1, &part2, &bytes2, 0);
            if (result != host::DS_OK) {
                logMessage("Sound: Lock (sample) returned 0x%X, ERROR", unsigned(result));
                releaseAll(false);
                return false;
            }
            std::memcpy(part1, pcm, bytes1);
            this->voices[v]->unlock(part1, bytes1, part2, bytes2);
        }
        this->voices[v]->setVolume(volumeLevel(newVolume));
        this->voices[v]->setPan(panLevel(pan));
    }
    volume = newVolume;
    loaded = true;
    seconds = double(pcmBytes) / format.averageBytesPerSecond;
    return true;
}

int KSound::combinedLevel() const {
    const SoundSystem& system = *soundSystem;
    int global = isStream ? system.globalStreamVolume : system.globalSampleVolume;
    // The volume field is public and the global volumes come from the options file: the product is taken in
    // 64 bits so that no value can overflow it before the clamp.
    int64_t combined = int64_t(volume) * global / 100;
    return volumeLevel(int(std::clamp<int64_t>(combined, 0, 100)));
}

void KSound::startVoice(int v, uint32_t position, bool looping, int32_t& result) {
    voices[v]->setVolume(combinedLevel());
    voices[v]->setPan(panLevel(pan));
    voices[v]->setCurrentPosition(position);
    result = voices[v]->play(0, 0, looping ? host::DSBPLAY_LOOPING : 0);
}

void KSound::playSample() {
    if (!loaded || paused || isStream || voiceCount < 1) return;
    int v = nextVoice < voiceCount ? nextVoice : 0;
    if (voices[v]) {
        int32_t result = host::DS_OK;
        startVoice(v, 0, loop, result);
        if (result == host::DSERR_BUFFERLOST) {
            logMessage("Sound: buffer lost, reloading sample before playing");
            if (loadSampleFromMemory(sourceType, sourceBytes, sourceSize, volume, loop, reloadVoiceCount) && voices[v])
                startVoice(v, 0, loop, result);
        }
        if (result != host::DS_OK)
            logMessage("Sound: Play returned 0x%X for sample when playing, WARNING", unsigned(result));
    }
    nextVoice = voiceCount > 0 ? (v + 1) % voiceCount : 0;
}

void KSound::stopSample() {
    if (loaded) {
        for (int v = 0; v < voiceCount; v++)
            if (voices[v]) voices[v]->stop();
    }
    paused = false;
}

void KSound::applyVolume() {
    int level = combinedLevel();
    for (int v = 0; v < voiceCount; v++)
        if (voices[v]) voices[v]->setVolume(level);
}

double KSound::getSeconds() {
    KSysLockHolder hold(sounds().lock);
    return seconds;
}

bool KSound::hasWrapped() {
    KSysLockHolder hold(sounds().lock);
    return wrapped;
}

// ---- streams ----

bool KSound::loadStream(const std::string& path) {
    unsigned char* bytes = nullptr;
    size_t size = 0;
    if (!KResource::loadWholeFile(path, bytes, size)) {
        logMessage("Sound: '%s' cannot be read", path.c_str());
        return false;
    }
    return loadStreamFromMemory(bytes, size);
}

bool KSound::loadStreamFromMemory(unsigned char* bytes, size_t size) {
    releaseAll(/*keepSourceBytes=*/bytes != nullptr && bytes == sourceBytes);
    sourceType = kTypeOgg;
    sourceBytes = bytes;
    sourceSize = bytes ? size : 0;
    halfBytes = kStreamHalfBytes;
    if (!sounds().device || !openDecoder() || !openStreamBuffer()) {
        releaseAll(false);
        return false;
    }
    return true;
}

bool KSound::openUserStream(int channels, int bitsPerSample, int samplesPerSecond, StartCallback start,
                            FillCallback fill, void* data, int half) {
    if (!fill || half <= 0) return false;
    releaseAll(false);
    if (!sounds().device) return false;
    if ((channels != 1 && channels != 2) || (bitsPerSample != 8 && bitsPerSample != 16) || samplesPerSecond <= 0 ||
        samplesPerSecond > kMaximumRate || half > kMaximumUserHalfBytes) {
        logMessage("Sound: user stream format not supported (%d channels, %d bits, %d Hz, %d bytes)", channels,
                   bitsPerSample, samplesPerSecond, half);
        return false;
    }
    startCallback = start;
    fillCallback = fill;
    userData = data;
    sourceType = kTypeOgg;
    format = host::WaveFormat();
    format.channels = uint16_t(channels);
    format.bitsPerSample = uint16_t(bitsPerSample);
    format.samplesPerSecond = uint32_t(samplesPerSecond);
    format.blockAlign = uint16_t(channels * bitsPerSample / 8);
    format.averageBytesPerSecond = format.samplesPerSecond * format.blockAlign;
    halfBytes = half - half % format.blockAlign;
    if (halfBytes <= 0 || !openStreamBuffer()) {
        releaseAll(false);
        return false;
    }
    return true;
}

bool KSound::openStreamBuffer() {
    halfBytes -= halfBytes % format.blockAlign;
    if (!staging) staging = new unsigned char[size_t(halfBytes)];
    if (!createVoice(0, uint32_t(halfBytes) * 2)) {
        delete[] staging;
        staging = nullptr;
        loaded = false;
        return false;
    }
    loaded = true;
    voiceCount = 1;
    isStream = true;
    return true;
}

KSound::FillResult KSound::fillHalf(int half) {
    if (!staging || !voices[0]) return FillResult::failed;
    int filled = 0;
    bool failed = false;
    bool justWrapped = false;
    while (filled < halfBytes) {
        unsigned char* out = staging + filled;
        int wanted = halfBytes - filled;
        long result = fillCallback  ? fillCallback(userData, out, wanted)
                      : decoderOpen ? readDecoded(decoder, format, out, wanted)
                                    : long(OV_EINVAL);
        if (result > 0) {
            result = std::min<long>(result, wanted);
            filled += int(result);
            seconds += double(result) / format.averageBytesPerSecond;
            justWrapped = false;
            continue;
        }
        // A looping stream starts again once; a second end right after the restart means there is
        // nothing to play, and ends the fill rather than spinning here under the sound lock.
        bool restart = streamLoops && !justWrapped && (result == 0 || fillCallback);
        if (!restart) {
            failed = result < 0;
            if (failed && !fillCallback) closeDecoder();
            break;
        }
        if (fillCallback) {
            if (startCallback) startCallback(userData);
        } else if (!reopenDecoder()) {
            failed = true;
            break;
        }
        wrapped = true;
        seconds = 0.0;
        justWrapped = true;
    }

    void* part1 = nullptr;
    void* part2 = nullptr;
    uint32_t bytes1 = 0;
    uint32_t bytes2 = 0;
    int32_t locked =
        voices[0]->lock(uint32_t(half * halfBytes), uint32_t(halfBytes), &part1, &bytes1, &part2, &bytes2, 0);
    if (locked != host::DS_OK) {
        logMessage("Sound: Lock (stream) returned 0x%X, FAILED", unsigned(locked));
        return FillResult::failed;
    }
    std::memcpy(part1, staging, size_t(filled));
    std::memset(static_cast<unsigned char*>(part1) + filled, silenceByte(format), size_t(halfBytes - filled));
    voices[0]->unlock(part1, bytes1, part2, bytes2);
    if (failed) return FillResult::failed;
    return filled > 0 ? FillResult::data : FillResult::empty;
}

void KSound::playStream(bool loopStream) {
    if (paused) return;
    stopStream();
    if (!loaded || !isStream || voiceCount < 1 || !voices[0]) return;
    seconds = 0.0;
    nextVoice = 0;
    wrapped = false;
    draining = false;
    // Set before the first fills, so a looping stream shorter than the buffer loops from the start.
    streamLoops = loopStream;
    rewindSource();

    auto fillBoth = [this] {
        if (fillHalf(0) != FillResult::data) return false;
        // A stream that fits in the first half still plays: it ends once that half has been heard.
        if (fillHalf(1) != FillResult::data) draining = true;
        return true;
    };
    if (!fillBoth()) return;
    int32_t result = host::DS_OK;
    startVoice(0, 0, /*looping=*/true, result);
    if (result == host::DSERR_BUFFERLOST) {
        logMessage("Sound: buffer lost, re-creating for stream");
        draining = false;
        seconds = 0.0;
        wrapped = false;
        if (createVoice(0, uint32_t(halfBytes) * 2)) {
            rewindSource();
            if (fillBoth()) startVoice(0, 0, true, result);
        }
    }
    if (result != host::DS_OK) {
        logMessage("Sound: Play returned 0x%X for stream, WARNING", unsigned(result));
        return; // a buffer that does not play would never end, and the stream would seem to play for ever
    }
    SoundSystem& system = sounds();
    KSysLockHolder hold(system.lock);
    system.allSounds.unlink(this);
    system.streamingSounds.link(this);
    inStreamingList.store(true);
    streamLoops = loopStream;
}

// The Vorbis library leaves a stream whose decoding could not be set up half made, and its next call decodes
// with the half-made tables (a damaged codebook then divides by zero): a decoder that failed once is closed and
// not called again until the sound is loaded or rewound anew.
void KSound::closeDecoder() {
    if (decoderOpen) ov_clear(decoder);
    decoderOpen = false;
}

bool KSound::reopenDecoder() {
    closeDecoder();
    return openDecoder();
}

void KSound::rewindSource() {
    if (fillCallback) {
        if (startCallback) startCallback(userData);
    } else if (decoderOpen) {
        reopenDecoder();
    }
}

void KSound::refill() {
    if (!voices[0] || paused) return;
    uint32_t cursor = 0;
    voices[0]->getCurrentPosition(&cursor, nullptr);
    int half;
    if (nextVoice == 0 && cursor >= uint32_t(halfBytes))
        half = 0;
    else if (nextVoice == 1 && cursor < uint32_t(halfBytes))
        half = 1;
    else
        return;
    // The cursor has entered the half after the last data: everything there was has been heard.
    if (draining) {
        stopStream();
        return;
    }
    FillResult result = fillHalf(half);
    nextVoice = 1 - half;
    if (result != FillResult::data) draining = true;
}

void KSound::stopStream() {
    SoundSystem& system = sounds();
    KSysLockHolder hold(system.lock);
    if (inStreamingList.load()) {
        system.streamingSounds.unlink(this);
        system.allSounds.link(this);
        inStreamingList.store(false);
    }
    if (loaded && isStream && voices[0]) {
        voices[0]->stop();
        if (!fillCallback && decoderOpen) reopenDecoder();
    }
    savedPositions[0] = -1;
    paused = false;
    streamLoops = false;
    draining = false;
}

// ---- pause ----

void KSound::pause(bool on) {
    if (on) {
        if (!loaded || paused) return;
        if (isStream) {
            KSysLockHolder hold(sounds().lock);
            if (inStreamingList.load()) {
                uint32_t cursor = 0;
                voices[0]->getCurrentPosition(&cursor, nullptr);
                savedPositions[0] = int(cursor);
                voices[0]->stop();
                paused = true;
            }
        } else if (loop) {
            paused = true;
            for (int v = 0; v < voiceCount; v++) {
                savedPositions[v] = -1;
                uint32_t status = 0;
                if (voices[v] && voices[v]->getStatus(&status) == host::DS_OK && (status & kPlayingStatusBits)) {
                    uint32_t cursor = 0;
                    voices[v]->getCurrentPosition(&cursor, nullptr);
                    savedPositions[v] = int(cursor);
                    voices[v]->stop();
                }
            }
        } else {
            stopSample();
        }
        return;
    }

    if (!paused) return;
    if (isStream) {
        KSysLockHolder hold(sounds().lock);
        if (!inStreamingList.load() || !voices[0]) return;
        int32_t result = host::DS_OK;
        startVoice(0, uint32_t(std::max(0, savedPositions[0])), /*looping=*/true, result);
        if (result == host::DSERR_BUFFERLOST) {
            logMessage("Sound: buffer lost, re-creating for stream");
            if (createVoice(0, uint32_t(halfBytes) * 2)) {
                savedPositions[0] = 0;
                startVoice(0, 0, true, result);
            }
        }
        if (result != host::DS_OK) {
            logMessage("Sound: Play returned 0x%X for stream, WARNING", unsigned(result));
            return;
        }
        paused = false;
        savedPositions[0] = -1;
        return;
    }

    // A looping sample: only the voices that were sounding at the pause start again.
    auto resumeVoices = [this](int32_t& result) {
        for (int v = 0; v < voiceCount; v++) {
            if (!voices[v] || savedPositions[v] < 0) continue;
            startVoice(v, uint32_t(savedPositions[v]), /*looping=*/true, result);
            if (result != host::DS_OK) return;
        }
    };
    int32_t result = host::DS_OK;
    resumeVoices(result);
    if (result == host::DSERR_BUFFERLOST) {
        logMessage("Sound: buffer lost, reloading sample before resuming");
        int saved[kMaxVoices];
        std::copy(std::begin(savedPositions), std::end(savedPositions), saved);
        if (loadSampleFromMemory(sourceType, sourceBytes, sourceSize, volume, loop, reloadVoiceCount)) {
            std::copy(std::begin(saved), std::end(saved), savedPositions);
            result = host::DS_OK;
            resumeVoices(result);
        }
    }
    if (result != host::DS_OK) {
        logMessage("Sound: Play returned 0x%X for sample when resuming, WARNING", unsigned(result));
        return;
    }
    paused = false;
}

bool KSound::isPlaying() {
    if (!loaded || paused) return false;
    if (isStream) return inStreamingList.load();
    for (int v = 0; v < voiceCount; v++) {
        uint32_t status = 0;
        if (voices[v] && voices[v]->getStatus(&status) == host::DS_OK && (status & kPlayingStatusBits)) return true;
    }
    return false;
}
