// The sound-device stand-in: buffer creation, duplication, locking and the play controls over the
// software mixer, and the SDL audio device whose callback pulls the mixed stream.
#include "HostSound.h"

#include "HostSoundMixer.h"

#include <SDL.h>
#include <algorithm>
#include <cstring>

namespace host {

namespace {
SoundOutput chosenOutput = SoundOutput::audioDevice;

constexpr uint32_t kMinimumBufferBytes = 4;
constexpr uint32_t kMaximumBufferBytes = 0x0FFFFFFF;
constexpr uint16_t kDeviceBlockFrames = 1024; // about 23 ms per callback

bool isUsableFormat(const WaveFormat* format) {
    if (!format || format->formatTag != WAVE_FORMAT_PCM) return false;
    if (format->channels != 1 && format->channels != 2) return false;
    if (format->bitsPerSample != 8 && format->bitsPerSample != 16) return false;
    if (format->samplesPerSecond == 0 || format->samplesPerSecond > kMaximumSampleRate) return false;
    return format->blockAlign == format->channels * format->bitsPerSample / 8;
}

void audioCallback(void* userData, Uint8* stream, int length) {
    auto* core = static_cast<MixerCore*>(userData);
    std::lock_guard<std::mutex> guard(core->mutex);
    core->mix(reinterpret_cast<int16_t*>(stream), uint32_t(length) / 4);
}
} // namespace

void setSoundOutput(SoundOutput output) {
    chosenOutput = output;
}

SoundOutput soundOutput() {
    return chosenOutput;
}

// ---- buffers ----

SoundBuffer::SoundBuffer(std::shared_ptr<MixerCore> core, std::shared_ptr<BufferVoice> voice)
    : core(std::move(core)), voice(std::move(voice)) {
    if (this->voice) {
        std::lock_guard<std::mutex> guard(this->core->mutex);
        this->core->voices.push_back(this->voice.get());
    }
}

SoundBuffer::~SoundBuffer() {
    if (!voice) return;
    std::lock_guard<std::mutex> guard(core->mutex);
    auto& voices = core->voices;
    voices.erase(std::remove(voices.begin(), voices.end(), voice.get()), voices.end());
}

uint32_t SoundBuffer::addRef() {
    return ++references;
}

uint32_t SoundBuffer::release() {
    uint32_t left = --references;
    if (left == 0) delete this;
    return left;
}

int32_t SoundBuffer::play(uint32_t, uint32_t, uint32_t flags) {
    if (!voice) return DS_OK; // the primary buffer always plays the mixed stream
    std::lock_guard<std::mutex> guard(core->mutex);
    if (voice->lossPending) {
        voice->lossPending = false;
        return DSERR_BUFFERLOST;
    }
    voice->playing = true;
    voice->looping = (flags & DSBPLAY_LOOPING) != 0;
    return DS_OK;
}

int32_t SoundBuffer::stop() {
    if (!voice) return DS_OK;
    std::lock_guard<std::mutex> guard(core->mutex);
    voice->playing = false;
    return DS_OK;
}

int32_t SoundBuffer::setCurrentPosition(uint32_t position) {
    if (!voice) return DSERR_INVALIDCALL;
    std::lock_guard<std::mutex> guard(core->mutex);
    if (position >= voice->memory->size()) return DSERR_INVALIDPARAM;
    voice->position = uint64_t(position / voice->format.blockAlign) << 32;
    return DS_OK;
}

int32_t SoundBuffer::getCurrentPosition(uint32_t* play, uint32_t* write) {
    if (!voice) return DSERR_INVALIDCALL;
    std::lock_guard<std::mutex> guard(core->mutex);
    uint32_t cursor = uint32_t(voice->position >> 32) * voice->format.blockAlign;
    if (play) *play = cursor;
    if (write) *write = cursor;
    return DS_OK;
}

int32_t SoundBuffer::setVolume(int32_t volume) {
    if (!voice) return DSERR_INVALIDCALL;
    if (volume < DSBVOLUME_MIN || volume > DSBVOLUME_MAX) return DSERR_INVALIDPARAM;
    std::lock_guard<std::mutex> guard(core->mutex);
    voice->volume = volume;
    voice->updateGains();
    return DS_OK;
}

int32_t SoundBuffer::getVolume(int32_t* volume) {
    if (!voice || !volume) return DSERR_INVALIDCALL;
    std::lock_guard<std::mutex> guard(core->mutex);
    *volume = voice->volume;
    return DS_OK;
}

int32_t SoundBuffer::setPan(int32_t pan) {
    if (!voice) return DSERR_INVALIDCALL;
    if (pan < DSBPAN_LEFT || pan > DSBPAN_RIGHT) return DSERR_INVALIDPARAM;
    std::lock_guard<std::mutex> guard(core->mutex);
    voice->pan = pan;
    voice->updateGains();
    return DS_OK;
}

int32_t SoundBuffer::getPan(int32_t* pan) {
    if (!voice || !pan) return DSERR_INVALIDCALL;
    std::lock_guard<std::mutex> guard(core->mutex);
    *pan = voice->pan;
    return DS_OK;
}

int32_t SoundBuffer::getStatus(uint32_t* status) {
    if (!status) return DSERR_INVALIDPARAM;
    *status = 0;
    if (!voice) return DS_OK;
    std::lock_guard<std::mutex> guard(core->mutex);
    if (voice->playing) *status = DSBSTATUS_PLAYING | (voice->looping ? DSBSTATUS_LOOPING : 0);
    return DS_OK;
}

int32_t SoundBuffer::setFormat(const WaveFormat* format) {
    if (voice) return DSERR_INVALIDCALL;
    // The mixed stream has one fixed format; the primary buffer accepts exactly that one.
    if (!isUsableFormat(format) || format->channels != 2 || format->bitsPerSample != 16 ||
        format->samplesPerSecond != uint32_t(kOutputRate))
        return DSERR_INVALIDPARAM;
    return DS_OK;
}

int32_t SoundBuffer::lock(uint32_t offset, uint32_t bytes, void** part1, uint32_t* bytes1, void** part2,
                          uint32_t* bytes2, uint32_t flags) {
    if (!voice || !part1 || !bytes1) return DSERR_INVALIDPARAM;
    if (locked) return DSERR_INVALIDCALL;
    std::lock_guard<std::mutex> guard(core->mutex);
    const std::vector<uint8_t>& memory = *voice->memory;
    const uint32_t size = uint32_t(memory.size());
    if (flags & DSBLOCK_ENTIREBUFFER) {
        offset = 0;
        bytes = size;
    }
    if (offset >= size || bytes == 0 || bytes > size) return DSERR_INVALIDPARAM;
    const uint32_t first = std::min(bytes, size - offset);
    const uint32_t second = bytes - first;
    if (second > 0 && (!part2 || !bytes2)) return DSERR_INVALIDPARAM;
    if (lockCopy.size() < bytes) lockCopy.resize(bytes);
    std::memcpy(lockCopy.data(), memory.data() + offset, first);
    if (second > 0) std::memcpy(lockCopy.data() + first, memory.data(), second);
    *part1 = lockCopy.data();
    *bytes1 = first;
    if (part2) *part2 = second > 0 ? lockCopy.data() + first : nullptr;
    if (bytes2) *bytes2 = second;
    lockedOffset = offset;
    lockedBytes = bytes;
    locked = true;
    return DS_OK;
}

int32_t SoundBuffer::unlock(void* part1, uint32_t bytes1, void*, uint32_t bytes2) {
    if (!locked || part1 != lockCopy.data() || uint64_t(bytes1) + bytes2 > lockedBytes) return DSERR_INVALIDPARAM;
    {
        std::lock_guard<std::mutex> guard(core->mutex);
        std::vector<uint8_t>& memory = *voice->memory;
        const uint32_t size = uint32_t(memory.size());
        const uint32_t first = std::min(lockedBytes, size - lockedOffset);
        std::memcpy(memory.data() + lockedOffset, lockCopy.data(), std::min(bytes1, first));
        if (bytes2 > 0) std::memcpy(memory.data(), lockCopy.data() + first, bytes2);
    }
    locked = false;
    // Streams lock one half again and again and keep their copy; a whole sample's copy is let go.
    constexpr size_t kKeptLockCopy = 65536;
    if (lockCopy.capacity() > kKeptLockCopy) std::vector<uint8_t>().swap(lockCopy);
    return DS_OK;
}

// ---- device ----

int32_t createSoundDevice(SoundDevice** device) {
    if (!device) return DSERR_INVALIDPARAM;
    *device = nullptr;
    if (chosenOutput == SoundOutput::none) return DSERR_NODRIVER;
    auto* created = new SoundDevice;
    created->core = std::make_shared<MixerCore>();
    if (chosenOutput == SoundOutput::audioDevice) {
        if (SDL_InitSubSystem(SDL_INIT_AUDIO) != 0) {
            delete created;
            return DSERR_NODRIVER;
        }
        SDL_AudioSpec wanted{};
        wanted.freq = kOutputRate;
        wanted.format = AUDIO_S16SYS;
        wanted.channels = 2;
        wanted.samples = kDeviceBlockFrames;
        wanted.callback = audioCallback;
        wanted.userdata = created->core.get();
        SDL_AudioSpec obtained{};
        SDL_AudioDeviceID id = SDL_OpenAudioDevice(nullptr, 0, &wanted, &obtained, 0);
        if (id == 0) {
            SDL_QuitSubSystem(SDL_INIT_AUDIO);
            delete created;
            return DSERR_NODRIVER;
        }
        created->audioDevice = id;
        SDL_PauseAudioDevice(id, 0);
    }
    *device = created;
    return DS_OK;
}

SoundDevice::~SoundDevice() {
    if (audioDevice != 0) {
        SDL_CloseAudioDevice(audioDevice); // waits for a running callback to return
        SDL_QuitSubSystem(SDL_INIT_AUDIO);
    }
}

uint32_t SoundDevice::release() {
    uint32_t left = --references;
    if (left == 0) delete this;
    return left;
}

int32_t SoundDevice::setCooperativeLevel(int) {
    return DS_OK;
}

int32_t SoundDevice::createSoundBuffer(const SoundBufferDesc& desc, SoundBuffer** buffer) {
    if (!buffer) return DSERR_INVALIDPARAM;
    *buffer = nullptr;
    if (desc.flags & DSBCAPS_PRIMARYBUFFER) {
        if (desc.bufferBytes != 0 || desc.format) return DSERR_INVALIDPARAM;
        *buffer = new SoundBuffer(core, nullptr);
        return DS_OK;
    }
    if (!isUsableFormat(desc.format)) return DSERR_INVALIDPARAM;
    if (desc.bufferBytes < kMinimumBufferBytes || desc.bufferBytes > kMaximumBufferBytes ||
        desc.bufferBytes < desc.format->blockAlign)
        return DSERR_INVALIDPARAM;
    auto voice = std::make_shared<BufferVoice>();
    voice->memory = std::make_shared<std::vector<uint8_t>>(desc.bufferBytes, uint8_t(0));
    if (desc.format->bitsPerSample == 8) std::fill(voice->memory->begin(), voice->memory->end(), uint8_t(128));
    voice->format = *desc.format;
    voice->format.averageBytesPerSecond = desc.format->samplesPerSecond * desc.format->blockAlign;
    voice->frames = desc.bufferBytes / desc.format->blockAlign;
    voice->increment = (uint64_t(desc.format->samplesPerSecond) << 32) / uint64_t(kOutputRate);
    voice->updateGains();
    *buffer = new SoundBuffer(core, std::move(voice));
    return DS_OK;
}

int32_t SoundDevice::duplicateSoundBuffer(SoundBuffer* original, SoundBuffer** duplicate) {
    if (!duplicate) return DSERR_INVALIDPARAM;
    *duplicate = nullptr;
    if (!original || !original->voice) return DSERR_INVALIDPARAM;
    auto voice = std::make_shared<BufferVoice>();
    {
        std::lock_guard<std::mutex> guard(core->mutex);
        const BufferVoice& source = *original->voice;
        voice->memory = source.memory;
        voice->format = source.format;
        voice->frames = source.frames;
        voice->increment = source.increment;
        voice->volume = source.volume;
        voice->pan = source.pan;
    }
    voice->updateGains();
    *duplicate = new SoundBuffer(core, std::move(voice));
    return DS_OK;
}

void SoundDevice::simulateLossOfEveryBuffer() {
    std::lock_guard<std::mutex> guard(core->mutex);
    for (BufferVoice* voice : core->voices) voice->lossPending = true;
}

void SoundDevice::step(uint32_t frames, int16_t* out) {
    std::lock_guard<std::mutex> guard(core->mutex);
    core->mix(out, frames);
}

} // namespace host
