// The sound-device stand-in on its hand-stepped output: formats, resampling, gains, looping, cursors,
// duplicates, locks and status bits, checked on the mixed samples (the mixing cost is the sound benchmark's).
#include "HostSound.h"

#include <cmath>
#include <cstring>
#include <gtest/gtest.h>
#include <vector>

namespace {

class HostSoundTest : public ::testing::Test {
protected:
    void SetUp() override {
        host::setSoundOutput(host::SoundOutput::handStepped);
        ASSERT_EQ(host::createSoundDevice(&device), host::DS_OK);
        ASSERT_TRUE(device->isHandStepped());
    }
    void TearDown() override {
        for (host::SoundBuffer* buffer : buffers) buffer->release();
        device->release();
        host::setSoundOutput(host::SoundOutput::audioDevice);
    }

    host::SoundBuffer* make(int channels, int bits, int rate, const std::vector<uint8_t>& bytes) {
        host::WaveFormat format;
        format.channels = uint16_t(channels);
        format.bitsPerSample = uint16_t(bits);
        format.samplesPerSecond = uint32_t(rate);
        format.blockAlign = uint16_t(channels * bits / 8);
        format.averageBytesPerSecond = uint32_t(rate) * format.blockAlign;
        host::SoundBufferDesc desc;
        desc.flags = 0x180C8;
        desc.bufferBytes = uint32_t(bytes.size());
        desc.format = &format;
        host::SoundBuffer* buffer = nullptr;
        EXPECT_EQ(device->createSoundBuffer(desc, &buffer), host::DS_OK);
        if (!buffer) return nullptr;
        write(buffer, 0, bytes);
        buffers.push_back(buffer);
        return buffer;
    }

    static void write(host::SoundBuffer* buffer, uint32_t offset, const std::vector<uint8_t>& bytes) {
        void* p1 = nullptr;
        void* p2 = nullptr;
        uint32_t n1 = 0, n2 = 0;
        ASSERT_EQ(buffer->lock(offset, uint32_t(bytes.size()), &p1, &n1, &p2, &n2, 0), host::DS_OK);
        std::memcpy(p1, bytes.data(), n1);
        if (n2) std::memcpy(p2, bytes.data() + n1, n2);
        ASSERT_EQ(buffer->unlock(p1, n1, p2, n2), host::DS_OK);
    }

    std::vector<int16_t> step(uint32_t frames) {
        std::vector<int16_t> out(size_t(frames) * 2);
        device->step(frames, out.data());
        return out;
    }

    host::SoundDevice* device = nullptr;
    std::vector<host::SoundBuffer*> buffers;
};

std::vector<uint8_t> mono16(const std::vector<int16_t>& samples) {
    std::vector<uint8_t> out;
    for (int16_t s : samples) {
        out.push_back(uint8_t(uint16_t(s) & 0xFF));
        out.push_back(uint8_t(uint16_t(s) >> 8));
    }
    return out;
}

} // namespace

TEST_F(HostSoundTest, EachFormatPlaysAtItsOwnRateIntoStereo) {
    // 8-bit stereo at 22050 Hz: every source frame lasts two output frames.
    std::vector<uint8_t> eightBit;
    for (int i = 0; i < 100; i++) {
        eightBit.push_back(128 + 64);
        eightBit.push_back(128 - 64);
    }
    host::SoundBuffer* buffer = make(2, 8, 22050, eightBit);
    ASSERT_EQ(buffer->play(0, 0, 0), host::DS_OK);
    std::vector<int16_t> out = step(250);
    EXPECT_EQ(out[0], 16384);
    EXPECT_EQ(out[1], -16384);
    EXPECT_EQ(out[2 * 197], 16384);
    EXPECT_EQ(out[2 * 200], 0) << "the buffer stops at its end";
    uint32_t status = 99;
    buffer->getStatus(&status);
    EXPECT_EQ(status, 0u);

    // 16-bit mono at 22050 Hz is interpolated linearly between its frames and sent to both channels.
    host::SoundBuffer* ramp = make(1, 16, 22050, mono16({0, 1000, 2000, 3000}));
    ramp->play(0, 0, 0);
    out = step(4);
    EXPECT_EQ(out[0], 0);
    EXPECT_EQ(out[2], 500);
    EXPECT_EQ(out[3], 500);
    EXPECT_EQ(out[4], 1000);
    EXPECT_EQ(out[6], 1500);
}

TEST_F(HostSoundTest, VolumeAndPanGiveTheirDecibelGains) {
    host::SoundBuffer* buffer = make(1, 16, 44100, mono16(std::vector<int16_t>(64, 20000)));
    struct Case {
        int32_t volume, pan;
    } cases[] = {{0, 0},       {-831, 0},  {-2000, 0},  {0, 1505},  {0, -1505},
                 {-600, 3000}, {0, 10000}, {0, -10000}, {-10000, 0}};
    for (const Case& c : cases) {
        SCOPED_TRACE(testing::Message() << "volume " << c.volume << " pan " << c.pan);
        ASSERT_EQ(buffer->setVolume(c.volume), host::DS_OK);
        ASSERT_EQ(buffer->setPan(c.pan), host::DS_OK);
        buffer->setCurrentPosition(0);
        buffer->play(0, 0, 0);
        std::vector<int16_t> out = step(8);
        buffer->stop();
        auto gain = [](int32_t level) { return level <= -10000 ? 0.0 : std::pow(10.0, level / 2000.0); };
        double left = 20000 * gain(c.volume) * gain(std::min(0, -c.pan));
        double right = 20000 * gain(c.volume) * gain(std::min(0, c.pan));
        EXPECT_NEAR(out[4], left, 1.0);
        EXPECT_NEAR(out[5], right, 1.0);
    }
    EXPECT_EQ(buffer->setVolume(100), host::DSERR_INVALIDPARAM);
    EXPECT_EQ(buffer->setVolume(-10001), host::DSERR_INVALIDPARAM);
    EXPECT_EQ(buffer->setPan(10001), host::DSERR_INVALIDPARAM);
}

TEST_F(HostSoundTest, BuffersSumAndClip) {
    host::SoundBuffer* a = make(1, 16, 44100, mono16(std::vector<int16_t>(16, 20000)));
    host::SoundBuffer* b = make(1, 16, 44100, mono16(std::vector<int16_t>(16, 20000)));
    host::SoundBuffer* c = make(1, 16, 44100, mono16(std::vector<int16_t>(16, -5000)));
    a->play(0, 0, 0);
    c->play(0, 0, 0);
    EXPECT_EQ(step(1)[0], 15000);
    b->play(0, 0, 0);
    EXPECT_EQ(step(1)[0], 32767);
}

TEST_F(HostSoundTest, LoopingCursorStatusAndPositions) {
    // 16-bit mono at 22050 Hz, 100 frames = 200 bytes.
    std::vector<int16_t> samples(100);
    for (int i = 0; i < 100; i++) samples[i] = int16_t(i * 100);
    host::SoundBuffer* buffer = make(1, 16, 22050, mono16(samples));
    uint32_t status = 0;
    ASSERT_EQ(buffer->play(0, 0, host::DSBPLAY_LOOPING), host::DS_OK);
    buffer->getStatus(&status);
    EXPECT_EQ(status, host::DSBSTATUS_PLAYING | host::DSBSTATUS_LOOPING) << "no location bits";
    step(90); // 45 source frames
    uint32_t play = 0, write = 0;
    buffer->getCurrentPosition(&play, &write);
    EXPECT_EQ(play, 90u);
    step(200); // 145 frames in: wrapped to 45
    buffer->getCurrentPosition(&play, &write);
    EXPECT_EQ(play, 90u);
    buffer->getStatus(&status);
    EXPECT_EQ(status & 0x18, 0u) << "never the location bits";
    EXPECT_EQ(buffer->setCurrentPosition(20), host::DS_OK);
    EXPECT_EQ(step(1)[0], 1000);
    EXPECT_EQ(buffer->setCurrentPosition(200), host::DSERR_INVALIDPARAM);
    buffer->stop();
    buffer->getStatus(&status);
    EXPECT_EQ(status, 0u);
}

TEST_F(HostSoundTest, DuplicatesShareMemoryButNotCursorsOrVolumes) {
    host::SoundBuffer* original = make(1, 16, 44100, mono16(std::vector<int16_t>(100, 1000)));
    host::SoundBuffer* duplicate = nullptr;
    ASSERT_EQ(device->duplicateSoundBuffer(original, &duplicate), host::DS_OK);
    buffers.push_back(duplicate);
    write(original, 0, mono16(std::vector<int16_t>(100, 3000)));
    duplicate->setVolume(-10000);
    original->play(0, 0, 0);
    duplicate->play(0, 0, 0);
    EXPECT_EQ(step(10)[0], 3000);
    duplicate->setVolume(0);
    EXPECT_EQ(step(1)[0], 6000) << "the duplicate plays the memory written through the original";
    duplicate->setCurrentPosition(0);
    uint32_t a = 0, b = 0;
    original->getCurrentPosition(&a, nullptr);
    duplicate->getCurrentPosition(&b, nullptr);
    EXPECT_EQ(a, 22u);
    EXPECT_EQ(b, 0u);
}

TEST_F(HostSoundTest, LocksWrapAndRejectBadRanges) {
    host::SoundBuffer* buffer = make(1, 16, 44100, std::vector<uint8_t>(16, 0));
    void* p1 = nullptr;
    void* p2 = nullptr;
    uint32_t n1 = 0, n2 = 0;
    ASSERT_EQ(buffer->lock(12, 8, &p1, &n1, &p2, &n2, 0), host::DS_OK);
    EXPECT_EQ(n1, 4u);
    EXPECT_EQ(n2, 4u);
    std::memset(p1, 0x11, n1);
    std::memset(p2, 0x22, n2);
    EXPECT_EQ(buffer->lock(0, 2, &p1, &n1, &p2, &n2, 0), host::DSERR_INVALIDCALL) << "already locked";
    ASSERT_EQ(buffer->unlock(p1, n1, p2, n2), host::DS_OK);
    buffer->play(0, 0, 0);
    std::vector<int16_t> out = step(8);
    EXPECT_EQ(out[0], 0x2222);
    EXPECT_EQ(out[2 * 2], 0);
    EXPECT_EQ(out[2 * 6], 0x1111);
    EXPECT_EQ(buffer->lock(16, 1, &p1, &n1, &p2, &n2, 0), host::DSERR_INVALIDPARAM);
    EXPECT_EQ(buffer->lock(0, 17, &p1, &n1, &p2, &n2, 0), host::DSERR_INVALIDPARAM);

    host::WaveFormat format;
    format.channels = 1;
    format.bitsPerSample = 16;
    format.samplesPerSecond = 44100;
    format.blockAlign = 2;
    host::SoundBufferDesc desc;
    desc.bufferBytes = 0;
    desc.format = &format;
    host::SoundBuffer* none = nullptr;
    EXPECT_NE(device->createSoundBuffer(desc, &none), host::DS_OK) << "a buffer needs at least 4 bytes";
    desc.bufferBytes = 64;
    format.channels = 3;
    format.blockAlign = 6;
    EXPECT_NE(device->createSoundBuffer(desc, &none), host::DS_OK);
    EXPECT_EQ(none, nullptr);
}

TEST_F(HostSoundTest, NoOutputMeansNoDevice) {
    host::setSoundOutput(host::SoundOutput::none);
    host::SoundDevice* missing = nullptr;
    EXPECT_EQ(host::createSoundDevice(&missing), host::DSERR_NODRIVER);
    EXPECT_EQ(missing, nullptr);
}
