// KSound on the real SDL audio device (the dummy driver in tests): a short stream ends by itself in
// real time, and the streaming thread starts with the first sound and is joined at shutdown and at exit.
#include "KSound.h"

#include "HostSystem.h"
#include "KLog.h"
#include "SoundFixtures.h"

#include <chrono>
#include <cstdlib>
#include <gtest/gtest.h>
#include <string>

namespace {

class KSoundDeviceTest : public ::testing::Test {
protected:
    void SetUp() override {
        KSound::shutDown();
        host::setSoundOutput(host::SoundOutput::audioDevice);
    }
    void TearDown() override { KSound::shutDown(); }
};

} // namespace

TEST_F(KSoundDeviceTest, ShortStreamEndsByItself) {
    KSound sound;
    ASSERT_NE(KSound::getDevice(), nullptr);
    EXPECT_FALSE(KSound::getDevice()->isHandStepped());
    std::string ogg = encodeOgg(2, 44100, sineTone(2, 44100, 22050, 440.0, 0.5));
    ASSERT_TRUE(sound.loadStreamFromMemory(newBytes(ogg), ogg.size()));
    sound.playStream(false);
    auto start = std::chrono::steady_clock::now();
    auto elapsed = [&] { return std::chrono::steady_clock::now() - start; };
    while (sound.isPlaying() && elapsed() < std::chrono::seconds(5)) host::sleepMilliseconds(5);
    EXPECT_FALSE(sound.isPlaying());
    EXPECT_GE(elapsed(), std::chrono::milliseconds(400)) << "the half second of music is played out";
    EXPECT_LT(elapsed(), std::chrono::milliseconds(2500));
}

TEST_F(KSoundDeviceTest, StreamingThreadRunsFromTheFirstSoundUntilShutdown) {
    EXPECT_FALSE(KSound::isStreamingThreadRunning());
    auto* sound = new KSound;
    EXPECT_TRUE(KSound::isStreamingThreadRunning());
    std::string ogg = encodeOgg(1, 22050, sineTone(1, 22050, 22050, 440.0, 0.5));
    ASSERT_TRUE(sound->loadStreamFromMemory(newBytes(ogg), ogg.size()));
    sound->playStream(true);
    host::sleepMilliseconds(100);
    EXPECT_TRUE(sound->isPlaying());
    KSound::shutDown();
    EXPECT_FALSE(KSound::isStreamingThreadRunning());
    EXPECT_FALSE(sound->isPlaying()) << "shutdown stops the streams";
    delete sound; // a sound outliving the shutdown still goes away cleanly

    // A process that ends while a stream plays stops and joins the thread before its statics go.
    GTEST_FLAG_SET(death_test_style, "threadsafe");
    EXPECT_EXIT(
        {
            static KSound* playing = new KSound;
            static std::string music = encodeOgg(1, 22050, sineTone(1, 22050, 22050, 440.0, 0.5));
            playing->loadStreamFromMemory(newBytes(music), music.size());
            playing->playStream(true);
            host::sleepMilliseconds(60);
            std::exit(KSound::isStreamingThreadRunning() && playing->isPlaying() ? 7 : 1);
        },
        testing::ExitedWithCode(7), "");
}

TEST_F(KSoundDeviceTest, AMachineWithoutAudioCarriesOnSilent) {
    std::string driver = getenv("SDL_AUDIODRIVER") ? getenv("SDL_AUDIODRIVER") : "";
    setenv("SDL_AUDIODRIVER", "no-such-driver", 1);
    KLog::clearMemoryBuffer();
    {
        KSound sound;
        std::string log(KLog::memoryBuffer(), KLog::memoryBufferUsed());
        EXPECT_NE(log.find("Sound: DirectSoundCreate returned 0x88780078, ERROR"), std::string::npos) << log;
        EXPECT_EQ(KSound::getDevice(), nullptr);
        std::string ogg = encodeOgg(1, 22050, sineTone(1, 22050, 2205, 440.0, 0.5));
        EXPECT_FALSE(sound.loadStreamFromMemory(newBytes(ogg), ogg.size()));
        sound.playStream(false);
        EXPECT_FALSE(sound.isPlaying());
    }
    setenv("SDL_AUDIODRIVER", driver.c_str(), 1);
}
