// KSound over the hand-stepped mixer: the level tables, voices, gains on the mixed output, streams
// refilled in halves (ending, looping, short), pause, global volumes, and damaged WAV and Ogg input.
#include "KSound.h"

#include "KLog.h"
#include "KRandom.h"
#include "KSoundWave.h"
#include "SoundFixtures.h"
#include "TempFolder.h"

#include <cmath>
#include <cstdio>
#include <filesystem>
#include <gtest/gtest.h>
#include <string>
#include <vector>

namespace {

class KSoundTest : public ::testing::Test {
protected:
    void SetUp() override {
        KSound::shutDown();
        host::setSoundOutput(host::SoundOutput::handStepped);
        KSound::setGlobalVolumes(100, 100);
    }
    void TearDown() override {
        KSound::shutDown();
        host::setSoundOutput(host::SoundOutput::audioDevice);
    }

    // Mixes frames in short slices with a streaming pass after each, as the streaming thread runs
    // every 20 ms while the device plays.
    static std::vector<int16_t> step(uint32_t frames) {
        constexpr uint32_t kSlice = 100;
        std::vector<int16_t> out(size_t(frames) * 2);
        for (uint32_t done = 0; done < frames; done += kSlice) {
            KSound::getDevice()->step(std::min(kSlice, frames - done), out.data() + size_t(done) * 2);
            KSound::refillStreams();
        }
        return out;
    }

    static bool loadWave(KSound& sound, const WaveSpec& spec, int voices = 1, bool loop = false) {
        std::string bytes = waveBytes(spec);
        return sound.loadSampleFromMemory(KSound::kTypeWave, newBytes(bytes), bytes.size(), 100, loop, voices);
    }

    static std::string logText() { return std::string(KLog::memoryBuffer(), KLog::memoryBufferUsed()); }
};

WaveSpec constantMono(int16_t value, int frames) {
    WaveSpec spec;
    spec.pcm = pcm16(std::vector<int16_t>(size_t(frames), value));
    return spec;
}

double gainOf(int level) {
    return level <= -10000 ? 0.0 : std::pow(10.0, level / 2000.0);
}

// A 16-bit mono user stream that counts frames 0, 1, 2 ... up to its length, then ends; a restart
// (the start callback) counts from 0 again.
struct CountingStream {
    int length = 0;
    int next = 0;
    int starts = 0;
    static void start(void* self) {
        auto* s = static_cast<CountingStream*>(self);
        s->next = 0;
        s->starts++;
    }
    static int fill(void* self, void* buffer, int bytes) {
        auto* s = static_cast<CountingStream*>(self);
        auto* out = static_cast<int16_t*>(buffer);
        int frames = std::min(bytes / 2, s->length - s->next);
        for (int i = 0; i < frames; i++) out[i] = int16_t(s->next++);
        return frames * 2;
    }
};

constexpr int kHalfFrames = 500; // user streams below use halves of 1000 bytes

bool openCounting(KSound& sound, CountingStream& source, int length) {
    source.length = length;
    return sound.openUserStream(1, 16, 44100, CountingStream::start, CountingStream::fill, &source, 2 * kHalfFrames);
}

void expectCounting(const std::vector<int16_t>& out, int from, int count, const char* what) {
    for (int i = 0; i < count; i++) {
        if (out[size_t(i) * 2] != int16_t(from + i)) {
            ADD_FAILURE() << what << ": frame " << i << " is " << out[size_t(i) * 2] << ", not " << from + i;
            return;
        }
    }
}

} // namespace

TEST_F(KSoundTest, VolumeAndPanTables) {
    struct Case {
        int in, level;
    };
    for (Case c : {Case{0, -10000}, {1, -5523}, {50, -831}, {99, -12}, {100, 0}, {150, 0}, {-5, -10000}})
        EXPECT_EQ(KSound::volumeLevel(c.in), c.level) << "volume " << c.in;
    for (Case c : {Case{0, 0}, {50, 1505}, {-50, -1505}, {99, 10000}, {-99, -10000}, {100, 10000}, {-100, -10000}})
        EXPECT_EQ(KSound::panLevel(c.in), c.level) << "pan " << c.in;
}

TEST_F(KSoundTest, SamplePlaysOnSuccessiveVoicesAndStopsAtItsEnd) {
    KSound sound;
    ASSERT_TRUE(loadWave(sound, constantMono(4000, 1000), /*voices=*/4));
    EXPECT_DOUBLE_EQ(sound.getSeconds(), 1000.0 / 44100);
    EXPECT_FALSE(sound.isPlaying());
    for (int play = 0; play < 4; play++) {
        sound.playSample();
        step(100);
    }
    EXPECT_EQ(step(1)[0], 16000) << "four voices overlap";
    // The fifth play restarts voice 0, which then outlasts the three others.
    sound.playSample();
    EXPECT_EQ(step(1)[0], 16000);
    std::vector<int16_t> out = step(949);
    EXPECT_EQ(out[2 * 948], 4000);
    EXPECT_TRUE(sound.isPlaying());
    out = step(100);
    EXPECT_EQ(out[2 * 99], 0);
    EXPECT_FALSE(sound.isPlaying());
}

TEST_F(KSoundTest, LoopingSampleRepeatsUntilStopped) {
    KSound sound;
    std::vector<int16_t> ramp(100);
    for (int i = 0; i < 100; i++) ramp[size_t(i)] = int16_t(i * 10);
    WaveSpec spec;
    spec.pcm = pcm16(ramp);
    ASSERT_TRUE(loadWave(sound, spec, 1, /*loop=*/true));
    sound.playSample();
    std::vector<int16_t> out = step(250);
    EXPECT_EQ(out[2 * 99], 990);
    EXPECT_EQ(out[2 * 100], 0);
    EXPECT_EQ(out[2 * 237], 370);
    EXPECT_TRUE(sound.isPlaying());
    sound.stopSample();
    EXPECT_FALSE(sound.isPlaying());
    EXPECT_EQ(step(1)[0], 0);
}

TEST_F(KSoundTest, VolumePanAndGlobalVolumeGiveTheirGainsOnTheOutput) {
    KSound sound;
    ASSERT_TRUE(loadWave(sound, constantMono(20000, 4000)));
    struct Case {
        int volume, pan, globalSample;
    } cases[] = {{100, 0, 100}, {50, 0, 100}, {100, 50, 100},  {100, -50, 100}, {80, 25, 100},
                 {100, 0, 50},  {50, 0, 50},  {100, 100, 100}, {0, 0, 100}};
    for (const Case& c : cases) {
        SCOPED_TRACE(testing::Message() << "volume " << c.volume << " pan " << c.pan << " global " << c.globalSample);
        KSound::setGlobalVolumes(100, c.globalSample);
        sound.volume = c.volume;
        sound.pan = c.pan;
        sound.playSample();
        std::vector<int16_t> out = step(4);
        int level = KSound::volumeLevel(c.volume * c.globalSample / 100);
        int pan = KSound::panLevel(c.pan);
        EXPECT_NEAR(out[6], 20000 * gainOf(level) * gainOf(std::min(0, -pan)), 1.0);
        EXPECT_NEAR(out[7], 20000 * gainOf(level) * gainOf(std::min(0, pan)), 1.0);
    }
    // applyVolume changes a playing sample at once; the stream volume leaves samples alone.
    KSound::setGlobalVolumes(100, 100);
    sound.pan = 0;
    sound.volume = 100;
    sound.playSample();
    sound.volume = 50;
    sound.applyVolume();
    EXPECT_NEAR(step(1)[0], 20000 * gainOf(-831), 1.0);
    KSound::setGlobalVolumes(0, 100);
    EXPECT_NEAR(step(1)[0], 20000 * gainOf(-831), 1.0);
    KSound::setGlobalVolumes(100, 0);
    EXPECT_EQ(step(1)[0], 0) << "setGlobalVolumes applies to loaded samples";

    // Values far outside 0..100 (a damaged options file, a stray field write) clamp; they never overflow.
    struct Extreme {
        int volume, globalSample;
        double gain;
    } extremes[] = {{INT32_MAX, 100, 1.0}, {100, INT32_MAX, 1.0}, {INT32_MIN, 100, 0.0}, {INT32_MAX, INT32_MIN, 0.0}};
    for (const Extreme& e : extremes) {
        KSound::setGlobalVolumes(100, e.globalSample);
        sound.volume = e.volume;
        sound.applyVolume();
        EXPECT_NEAR(step(1)[0], 20000 * e.gain, 1.0) << e.volume << " x " << e.globalSample;
    }
}

TEST_F(KSoundTest, StreamRefillsInHalvesAndEndsAfterItsLastPartialHalf) {
    KSound sound;
    CountingStream source;
    ASSERT_TRUE(openCounting(sound, source, 1200)); // two full halves and 200 frames of a third
    sound.playStream(false);
    EXPECT_TRUE(sound.isPlaying());
    EXPECT_EQ(source.next, 1000) << "both halves filled at the start";
    expectCounting(step(kHalfFrames), 0, kHalfFrames, "half 0");
    EXPECT_EQ(source.next, 1200) << "half 0 refilled once the cursor left it";
    expectCounting(step(kHalfFrames), 500, kHalfFrames, "half 1");
    EXPECT_TRUE(sound.isPlaying());
    std::vector<int16_t> out = step(300);
    expectCounting(out, 1000, 200, "the last partial half is heard");
    EXPECT_EQ(out[2 * 200], 0);
    EXPECT_TRUE(sound.isPlaying());
    step(200);
    EXPECT_FALSE(sound.isPlaying()) << "the stream ends by itself once its last half has played";
    EXPECT_EQ(step(10)[0], 0);
}

TEST_F(KSoundTest, StreamShorterThanOneHalfPlays) {
    KSound sound;
    CountingStream source;
    ASSERT_TRUE(openCounting(sound, source, 300));
    sound.playStream(false);
    ASSERT_TRUE(sound.isPlaying());
    expectCounting(step(300), 0, 300, "short stream");
    EXPECT_TRUE(sound.isPlaying());
    step(kHalfFrames);
    EXPECT_FALSE(sound.isPlaying());
}

TEST_F(KSoundTest, LoopingStreamStartsAgain) {
    KSound sound;
    CountingStream source;
    ASSERT_TRUE(openCounting(sound, source, 700));
    sound.playStream(true);
    EXPECT_TRUE(sound.hasWrapped()) << "the second half already holds the restart";
    std::vector<int16_t> out = step(1000);
    expectCounting(out, 0, 700, "first pass");
    expectCounting(std::vector<int16_t>(out.begin() + 1400, out.end()), 0, 300, "second pass");
    for (int i = 0; i < 20; i++) step(kHalfFrames);
    EXPECT_TRUE(sound.isPlaying());
    sound.stopStream();
    EXPECT_FALSE(sound.isPlaying());
    EXPECT_EQ(step(1)[0], 0);
}

TEST_F(KSoundTest, LoopingStreamWithNothingToPlayEndsInsteadOfSpinning) {
    KSound sound;
    CountingStream source;
    ASSERT_TRUE(openCounting(sound, source, 0));
    sound.playStream(true);
    EXPECT_FALSE(sound.isPlaying());
}

TEST_F(KSoundTest, PauseAndResume) {
    KSound stream;
    CountingStream source;
    ASSERT_TRUE(openCounting(stream, source, 100000));
    stream.playStream(false);
    step(250);
    stream.pause(true);
    EXPECT_FALSE(stream.isPlaying());
    EXPECT_EQ(step(kHalfFrames * 3)[2 * 700], 0) << "a paused stream is silent and does not move";
    stream.playStream(false);
    EXPECT_FALSE(stream.isPlaying()) << "playStream does nothing while paused";
    stream.pause(false);
    EXPECT_TRUE(stream.isPlaying());
    expectCounting(step(kHalfFrames * 2), 250, kHalfFrames * 2, "resumed stream");
    stream.stopStream();

    // A looping sample resumes only the voices that were sounding when it was paused.
    KSound sample;
    ASSERT_TRUE(loadWave(sample, constantMono(3000, 100), /*voices=*/2, /*loop=*/true));
    sample.playSample();
    step(10);
    sample.pause(true);
    EXPECT_FALSE(sample.isPlaying());
    EXPECT_EQ(step(5)[0], 0);
    sample.pause(false);
    EXPECT_TRUE(sample.isPlaying());
    EXPECT_EQ(step(1)[0], 3000);
    // A non-looping sample is simply stopped.
    KSound once;
    ASSERT_TRUE(loadWave(once, constantMono(3000, 100)));
    once.playSample();
    once.pause(true);
    EXPECT_FALSE(once.isPlaying());
    once.pause(false);
    EXPECT_FALSE(once.isPlaying());
}

TEST_F(KSoundTest, GlobalStreamVolumeReachesAPlayingStream) {
    KSound sound;
    struct Constant {
        static int fill(void*, void* buffer, int bytes) {
            auto* out = static_cast<int16_t*>(buffer);
            for (int i = 0; i < bytes / 2; i++) out[i] = 20000;
            return bytes;
        }
    };
    ASSERT_TRUE(sound.openUserStream(1, 16, 44100, nullptr, Constant::fill, nullptr, 1000));
    sound.playStream(true);
    EXPECT_EQ(step(1)[0], 20000);
    KSound::setGlobalVolumes(50, 100);
    EXPECT_NEAR(step(1)[0], 20000 * gainOf(-831), 1.0);
}

TEST_F(KSoundTest, OggSampleAndStream) {
    const int frames = 44100;
    std::string ogg = encodeOgg(2, 44100, sineTone(2, 44100, frames, 440.0, 0.5));
    KSound sample;
    ASSERT_TRUE(sample.loadSampleFromMemory(KSound::kTypeOgg, newBytes(ogg), ogg.size(), 100, false, 1));
    EXPECT_DOUBLE_EQ(sample.getSeconds(), 1.0);

    KSound stream;
    ASSERT_TRUE(stream.loadStreamFromMemory(newBytes(ogg), ogg.size()));
    stream.playStream(false);
    int stepped = 0;
    int lastSound = -1;
    while (stream.isPlaying() && stepped < 3 * frames) {
        std::vector<int16_t> out = step(1024);
        for (int i = 0; i < 1024; i++)
            if (std::abs(out[size_t(i) * 2]) > 300) lastSound = stepped + i;
        stepped += 1024;
    }
    EXPECT_FALSE(stream.isPlaying());
    EXPECT_GT(lastSound, frames - 200) << "the end of the stream is heard";
    EXPECT_LT(stepped, frames + 32768 / 4 + 2048) << "and it stops soon after";
    EXPECT_NEAR(stream.getSeconds(), 1.0, 1e-9);

    // Looping: 0.25 s of music goes on past its end and its position starts again.
    std::string shortOgg = encodeOgg(1, 22050, sineTone(1, 22050, 22050 / 4, 330.0, 0.5));
    ASSERT_TRUE(stream.loadStreamFromMemory(newBytes(shortOgg), shortOgg.size()));
    stream.playStream(true);
    for (int i = 0; i < 44; i++) step(1024);
    EXPECT_TRUE(stream.isPlaying());
    EXPECT_TRUE(stream.hasWrapped());
    EXPECT_LT(stream.getSeconds(), 0.5);
}

TEST_F(KSoundTest, WaveLayoutsThatLoad) {
    struct Case {
        const char* name;
        WaveSpec spec;
        double seconds;
    };
    auto with = [](auto change) {
        WaveSpec spec;
        spec.pcm = std::string(400, '\x10');
        change(spec);
        return spec;
    };
    Case cases[] = {
        {"16-bit mono", with([](WaveSpec&) {}), 200.0 / 44100},
        {"16-bit stereo", with([](WaveSpec& s) { s.channels = 2; }), 100.0 / 44100},
        {"8-bit mono 11025 Hz", with([](WaveSpec& s) {
             s.bits = 8;
             s.rate = 11025;
         }),
         400.0 / 11025},
        {"8-bit stereo", with([](WaveSpec& s) {
             s.bits = 8;
             s.channels = 2;
         }),
         200.0 / 44100},
        {"unknown chunk skipped", with([](WaveSpec& s) { s.chunksBeforeFormat = chunk("LIST", "abcdef"); }),
         200.0 / 44100},
        {"data longer than the file", with([](WaveSpec& s) { s.dataLengthOverride = 100000; }), 200.0 / 44100},
        {"RIFF length shorter than the file", with([](WaveSpec& s) { s.riffLengthOverride = 4 + 24 + 8 + 100; }),
         50.0 / 44100},
        {"longer format chunk", with([](WaveSpec& s) { s.formatChunkBytes = 18; }), 200.0 / 44100},
        {"odd bytes dropped", with([](WaveSpec& s) { s.pcm += "x"; }), 200.0 / 44100},
    };
    KSound sound;
    for (Case& c : cases) {
        SCOPED_TRACE(c.name);
        EXPECT_TRUE(loadWave(sound, c.spec));
        EXPECT_DOUBLE_EQ(sound.getSeconds(), c.seconds);
    }
    // The extensible layout with a PCM sub-format.
    WaveSpec extensible = with([](WaveSpec& s) {
        s.formatTag = 0xFFFE;
        s.formatChunkBytes = 40;
    });
    std::string bytes = waveBytes(extensible);
    const unsigned char pcmGuid[16] = {1, 0, 0, 0, 0, 0, 0x10, 0, 0x80, 0, 0, 0xAA, 0, 0x38, 0x9B, 0x71};
    size_t format = bytes.find("fmt ") + 8;
    bytes.replace(format + 24, 16, reinterpret_cast<const char*>(pcmGuid), 16);
    EXPECT_TRUE(sound.loadSampleFromMemory(KSound::kTypeWave, newBytes(bytes), bytes.size(), 100, false, 1));
}

TEST_F(KSoundTest, DamagedWaveFailsWithALogLine) {
    auto with = [](auto change) {
        WaveSpec spec;
        spec.pcm = std::string(400, '\x10');
        change(spec);
        return waveBytes(spec);
    };
    struct Case {
        const char* name;
        std::string bytes;
    };
    std::string good = with([](WaveSpec&) {});
    std::string hugeChunk = "RIFF" + std::string("\xF0\xFF\xFF\x7F", 4) + "WAVE" + "JUNK" +
                            std::string("\xF0\xFF\xFF\xFF", 4) + good.substr(12);
    Case cases[] = {
        {"too short", good.substr(0, 10)},
        {"not RIFF", "RIFX" + good.substr(4)},
        {"cut inside the format chunk", good.substr(0, 12 + 8 + 10)},
        {"format chunk too small", with([](WaveSpec& s) { s.formatChunkBytes = 8; })},
        {"zero channels", with([](WaveSpec& s) { s.channels = 0; })},
        {"three channels", with([](WaveSpec& s) { s.channels = 3; })},
        {"24 bits", with([](WaveSpec& s) { s.bits = 24; })},
        {"zero bits", with([](WaveSpec& s) { s.bits = 0; })},
        {"zero rate", with([](WaveSpec& s) { s.rate = 0; })},
        {"float samples", with([](WaveSpec& s) { s.formatTag = 3; })},
        {"ADPCM", with([](WaveSpec& s) { s.formatTag = 2; })},
        {"extensible, not PCM", with([](WaveSpec& s) {
             s.formatTag = 0xFFFE;
             s.formatChunkBytes = 40;
         })},
        {"huge chunk size before the format", hugeChunk},
        {"no format chunk", "RIFF" + std::string("\x0C\0\0\0", 4) + "WAVE" + chunk("data", "abcd")},
        {"no data", with([](WaveSpec& s) { s.withData = false; })},
        {"empty data", with([](WaveSpec& s) { s.pcm.clear(); })},
    };
    KSound sound;
    for (Case& c : cases) {
        SCOPED_TRACE(c.name);
        KLog::clearMemoryBuffer();
        EXPECT_FALSE(sound.loadSampleFromMemory(KSound::kTypeWave, newBytes(c.bytes), c.bytes.size(), 100, false, 1));
        EXPECT_FALSE(sound.isLoaded());
        EXPECT_NE(logText().find("Sound: WAV data cannot be played"), std::string::npos) << logText();
        sound.playSample();
        EXPECT_FALSE(sound.isPlaying());
    }
}

// Every byte array is an exact-size heap copy, so the sanitizer sees any read past the end.
TEST_F(KSoundTest, RandomlyDamagedInputNeverReadsPastItsBytes) {
    WaveSpec spec;
    spec.channels = 2;
    spec.pcm = std::string(64, '\x20');
    spec.chunksBeforeFormat = chunk("LIST", "info");
    const std::string wave = waveBytes(spec);
    kSrand(1234);
    for (int round = 0; round < 3000; round++) {
        std::string damaged = wave.substr(0, size_t(kRand()) % (wave.size() + 1));
        for (int flips = kRand() % 4; flips >= 0 && !damaged.empty(); flips--)
            damaged[size_t(kRand()) % damaged.size()] = char(kRand() & 0xFF);
        std::vector<unsigned char> bytes(damaged.begin(), damaged.end());
        KSoundWave parsed;
        if (!parseWave(bytes.data(), bytes.size(), parsed)) {
            ASSERT_GE(parsed.pcm, bytes.data());
            ASSERT_LE(parsed.pcm + parsed.pcmBytes, bytes.data() + bytes.size());
        }
    }
    // Ogg cut at many places, loaded as a sample and as a stream that is then played out.
    const std::string ogg = encodeOgg(1, 22050, sineTone(1, 22050, 4410, 440.0, 0.5));
    KSound sound;
    for (size_t cut = 0; cut < ogg.size(); cut += ogg.size() / 23 + 1) {
        std::string part = ogg.substr(0, cut);
        sound.loadSampleFromMemory(KSound::kTypeOgg, newBytes(part), part.size(), 100, false, 1);
        if (sound.loadStreamFromMemory(newBytes(part), part.size())) {
            sound.playStream(false);
            for (int i = 0; i < 20 && sound.isPlaying(); i++) step(2048);
            EXPECT_FALSE(sound.isPlaying()) << "cut at " << cut;
        }
    }
}

TEST_F(KSoundTest, DamagedOggFailsCleanly) {
    std::string ogg = encodeOgg(1, 22050, sineTone(1, 22050, 11025, 440.0, 0.5));
    std::string threeChannels = encodeOgg(3, 22050, sineTone(3, 22050, 4000, 440.0, 0.5));
    struct Case {
        const char* name;
        std::string bytes;
        const char* log;
    } cases[] = {
        {"empty", "", "Sound: Ogg Vorbis data cannot be read"},
        {"truncated header", ogg.substr(0, 40), "Sound: Ogg Vorbis data cannot be read"},
        {"not Ogg", std::string(5000, 'x'), "Sound: Ogg Vorbis data cannot be read"},
        {"zero channels", withOggChannelCount(ogg, 0), "Sound: Ogg Vorbis data cannot be read"},
        {"three channels", threeChannels, "Sound: Ogg Vorbis format not supported (3 channels"},
    };
    KSound sound;
    for (Case& c : cases) {
        SCOPED_TRACE(c.name);
        KLog::clearMemoryBuffer();
        EXPECT_FALSE(sound.loadSampleFromMemory(KSound::kTypeOgg, newBytes(c.bytes), c.bytes.size(), 100, false, 1));
        EXPECT_NE(logText().find(c.log), std::string::npos) << logText();
        EXPECT_FALSE(sound.loadStreamFromMemory(newBytes(c.bytes), c.bytes.size()));
        EXPECT_FALSE(sound.isLoaded());
        sound.playStream(false);
        EXPECT_FALSE(sound.isPlaying());
    }
    // Cut short inside the audio: whatever decodes plays, and nothing reads past the bytes.
    std::string cut = ogg.substr(0, ogg.size() * 2 / 3);
    if (sound.loadStreamFromMemory(newBytes(cut), cut.size())) {
        sound.playStream(false);
        for (int i = 0; i < 40 && sound.isPlaying(); i++) step(1024);
        EXPECT_FALSE(sound.isPlaying());
    }
    sound.loadSampleFromMemory(KSound::kTypeOgg, newBytes(cut), cut.size(), 100, false, 1);
}

TEST_F(KSoundTest, DamagedStreamsThatBrokeTheVorbisLibraryPlayStopAndPlayAgainSafely) {
    // Files the fuzzing found. In the first a codebook reads in the headers but cannot be built, so decoding
    // cannot be set up; the Vorbis library's next try decoded with the half-built tables and divided by zero.
    // In the second the library's seek back to the start left its state broken, and its next read moved memory
    // by a negative length. Neither is decoded further once a call failed, and nothing ever seeks.
    const std::filesystem::path found =
        std::filesystem::path(__FILE__).parent_path() / "../../../fuzz/regression/ogg_sound";
    for (const char* name :
         {"crash-17320516b1ce0f0c75f6a866a48b53a240181efe", "crash-b1e1fc2bea164a2a819196eca6d78078cd93d54b"}) {
        SCOPED_TRACE(name);
        const std::string path = (found / name).string();
        KSound sample;
        sample.loadSample(path);
        KSound stream;
        ASSERT_TRUE(stream.loadStream(path)) << "the headers read";
        for (int attempt = 0; attempt < 2; attempt++) {
            stream.playStream(/*loop=*/true);
            for (int i = 0; i < 4; i++) {
                step(8192);
                KSound::refillStreams();
            }
            stream.stopStream();
        }
    }
}

TEST_F(KSoundTest, FileTypeComesFromTheExtension) {
    TempFolder folder;
    std::string wave = waveBytes(constantMono(1000, 100));
    std::string ogg = encodeOgg(1, 22050, sineTone(1, 22050, 2000, 440.0, 0.5));
    struct Case {
        const char* name;
        const std::string& bytes;
        bool loads;
    } cases[] = {{"a.wav", wave, true}, {"b.WAV", wave, true},        {"c.ogg", ogg, true},  {"d.OGG", ogg, true},
                 {"e.mp3", ogg, false}, {"noextension", wave, false}, {"f.ogg", wave, false}};
    KSound sound;
    for (const Case& c : cases) {
        EXPECT_EQ(sound.loadSample(folder.write(c.name, c.bytes)), c.loads) << c.name;
    }
    // A file that cannot be read fails with a line that names it.
    KLog::clearMemoryBuffer();
    EXPECT_FALSE(sound.loadSample(folder.file("missing.wav")));
    EXPECT_FALSE(sound.loadStream(folder.file("missing.ogg")));
    EXPECT_NE(logText().find("Sound: '" + folder.file("missing.wav") + "' cannot be read"), std::string::npos);
    EXPECT_NE(logText().find("Sound: '" + folder.file("missing.ogg") + "' cannot be read"), std::string::npos);
    EXPECT_TRUE(sound.loadStream(folder.file("c.ogg")));
}

TEST_F(KSoundTest, LostBuffersAreRebuiltBeforePlaying) {
    KSound sample;
    ASSERT_TRUE(loadWave(sample, constantMono(5000, 200)));
    KLog::clearMemoryBuffer();
    KSound::getDevice()->simulateLossOfEveryBuffer();
    sample.playSample();
    EXPECT_NE(logText().find("Sound: buffer lost, reloading sample before playing"), std::string::npos);
    EXPECT_TRUE(sample.isPlaying());
    EXPECT_EQ(step(1)[0], 5000);
    sample.stopSample();

    KSound stream;
    CountingStream source;
    ASSERT_TRUE(openCounting(stream, source, 5000));
    KSound::getDevice()->simulateLossOfEveryBuffer();
    stream.playStream(false);
    EXPECT_NE(logText().find("Sound: buffer lost, re-creating for stream"), std::string::npos);
    EXPECT_TRUE(stream.isPlaying());
    expectCounting(step(kHalfFrames * 2), 0, kHalfFrames * 2, "re-created stream");
}

TEST_F(KSoundTest, SoundsLeftAfterShutDownStaySilentEvenWithLostBuffers) {
    KSound sample, stream;
    ASSERT_TRUE(loadWave(sample, constantMono(5000, 200)));
    CountingStream source;
    ASSERT_TRUE(openCounting(stream, source, 5000));
    KSound::getDevice()->simulateLossOfEveryBuffer();
    KSound::shutDown(); // the device goes; the sounds keep their buffers
    sample.playSample();
    stream.playStream(false);
    EXPECT_FALSE(sample.isPlaying());
    EXPECT_FALSE(stream.isPlaying());
}

TEST_F(KSoundTest, WithoutASoundDeviceEverythingStaysSilent) {
    KSound::shutDown();
    host::setSoundOutput(host::SoundOutput::none);
    KLog::clearMemoryBuffer();
    KSound sound;
    EXPECT_NE(logText().find("Sound: DirectSoundCreate returned 0x88780078, ERROR"), std::string::npos) << logText();
    EXPECT_EQ(KSound::getDevice(), nullptr);
    EXPECT_FALSE(loadWave(sound, constantMono(1000, 100)));
    CountingStream source;
    source.length = 100;
    EXPECT_FALSE(sound.openUserStream(1, 16, 44100, nullptr, CountingStream::fill, &source, 1000));
    sound.playSample();
    sound.playStream(false);
    sound.pause(true);
    EXPECT_FALSE(sound.isPlaying());
    KSound::setGlobalVolumes(50, 50);
}
