// Every sound the sound table and the logo name decodes (WAV with the even chunk sizes the game's parser
// needs, Ogg Vorbis) and is audible; re-triggered loops are short; the music folder holds at least six
// different stereo 44.1 kHz tracks of 90 seconds or more, each joining its own start without a click.
#include "AssetFiles.h"
#include "HostSound.h"
#include "KSound.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>

namespace {

struct SoundNeed {
    const char* file;
    double maxSeconds; // sounds re-triggered whenever they stop must be short
};

const SoundNeed kSounds[] = {
    {"caw.wav", 1.5},
    {"smallexplosion1.ogg", 2},
    {"splashsmall.ogg", 1.5},
    {"splashbig.ogg", 2},
    {"laugh1.ogg", 2},
    {"laugh2.ogg", 2},
    {"laugh3.ogg", 2},
    {"clicks1.ogg", 2},
    {"laser1.wav", 1},
    {"laser2.ogg", 1},
    {"laser3.ogg", 1},
    {"missile.ogg", 2},
    {"squeal1.wav", 1.5},
    {"squeal2.ogg", 1.5},
    {"squeal3.ogg", 1.5},
    {"tinyexplosion1.wav", 0.5},
    {"tinyexplosion2.wav", 0.5},
    {"tinyexplosion3.wav", 0.5},
    {"largeexplosion1.ogg", 3},
    {"largeexplosion2.ogg", 3},
    {"largeexplosion3.ogg", 3},
    {"electricity.ogg", 0.6},
    {"chargeup.ogg", 4},
    {"throb.wav", 0.6},
    {"bite.wav", 1},
    {"gear.ogg", 0.6},
    {"torpedo.ogg", 2},
    {"laserswordhit.wav", 1},
    {"laserswordamb.wav", 0.6},
    {"bullet.wav", 0.3},
    {"hoop.wav", 1.5},
    {"wexmoorhowl2.ogg", 5},
};

bool endsWith(const std::string& s, const std::string& suffix) {
    return s.size() > suffix.size() && s.compare(s.size() - suffix.size(), suffix.size(), suffix) == 0;
}

} // namespace

TEST(SoundAssets, EverySoundDecodesAndIsAudible) {
    EXPECT_EQ(std::size(kSounds), 32u); // the 31 files of the sound table and the logo's howl
    for (const SoundNeed& need : kSounds) {
        std::string path = dataFile(std::string("sound/") + need.file);
        Sound s = endsWith(need.file, ".wav") ? readWav(path) : readOgg(path);
        ASSERT_EQ(s.error, "") << need.file;
        EXPECT_EQ(s.rate, 44100) << need.file;
        EXPECT_GT(s.seconds(), 0.05) << need.file;
        EXPECT_LE(s.seconds(), need.maxSeconds) << need.file;
        EXPECT_GT(peakOf(s.samples), 0.2f) << need.file << " is nearly silent";
        EXPECT_LE(peakOf(s.samples), 1.0f) << need.file;
    }
}

TEST(SoundAssets, TheEngineLoadsEverySoundAndTrack) {
    // Through KSound as the game loads them: samples from the sound folder, streams from the music folder.
    KSound::shutDown();
    host::setSoundOutput(host::SoundOutput::handStepped);
    for (const SoundNeed& need : kSounds) {
        KSound sound;
        ASSERT_TRUE(sound.loadSample(dataFile(std::string("sound/") + need.file))) << need.file;
        EXPECT_GT(sound.getSeconds(), 0.05) << need.file;
        EXPECT_LE(sound.getSeconds(), need.maxSeconds) << need.file;
    }
    KMiscTools::enumerateFolder(
        [&](const std::string& name, bool isFolder) {
            if (!isFolder && endsWith(name, ".ogg")) {
                KSound stream;
                EXPECT_TRUE(stream.loadStream(dataFile("music/" + name))) << name;
            }
            return true;
        },
        dataFile("music"));
    KSound::shutDown();
    host::setSoundOutput(host::SoundOutput::audioDevice);
}

TEST(SoundAssets, LoopsJoinWithoutAClick) {
    // The hum, throb, gear and zap loops restart as soon as they end: the jump from the last sample to the
    // first is no larger than the sound's own steps.
    for (const char* file : {"laserswordamb.wav", "throb.wav"}) {
        Sound s = readWav(dataFile(std::string("sound/") + file));
        ASSERT_EQ(s.error, "") << file;
        float largestStep = 0;
        for (size_t i = 1; i < s.samples.size(); i++)
            largestStep = std::max(largestStep, std::fabs(s.samples[i] - s.samples[i - 1]));
        EXPECT_LE(std::fabs(s.samples.front() - s.samples.back()), largestStep * 1.5f + 0.01f) << file;
    }
}

namespace {

std::vector<std::string> musicTracks() {
    std::vector<std::string> tracks;
    KMiscTools::enumerateFolder(
        [&](const std::string& name, bool isFolder) {
            if (!isFolder && endsWith(name, ".ogg")) tracks.push_back(name);
            return true;
        },
        dataFile("music"));
    return tracks;
}

} // namespace

TEST(SoundAssets, MusicFolderHoldsSixLongStereoTracks) {
    // The playlist plays whatever the folder holds, in random order, through an evening's play: a track for
    // the menus and one for each world, each long enough not to wear thin.
    std::vector<std::string> tracks = musicTracks();
    EXPECT_GE(tracks.size(), 6u);
    std::vector<size_t> lengths;
    for (const std::string& name : tracks) {
        Sound s = readOgg(dataFile("music/" + name));
        ASSERT_EQ(s.error, "") << name;
        EXPECT_EQ(s.channels, 2) << name;
        EXPECT_EQ(s.rate, 44100) << name;
        EXPECT_GE(s.seconds(), 90.0) << name;
        EXPECT_LE(s.seconds(), 240.0) << name;
        EXPECT_GT(peakOf(s.samples), 0.3f) << name;
        lengths.push_back(s.samples.size());
    }
    std::sort(lengths.begin(), lengths.end());
    EXPECT_EQ(std::adjacent_find(lengths.begin(), lengths.end()), lengths.end()) << "two tracks are one";
}

TEST(SoundAssets, EveryTrackLoopsWithoutAClick) {
    // Decoded by the engine and played on a loop through its mixer, as the game plays a sample: across the
    // point where a track starts again the output steps no more than the music itself does next to it.
    KSound::shutDown();
    host::setSoundOutput(host::SoundOutput::handStepped);
    KSound::setGlobalVolumes(100, 100);
    for (const std::string& name : musicTracks()) {
        std::vector<uint8_t> file = readBytes(dataFile("music/" + name));
        auto* bytes = new unsigned char[file.size()];
        std::memcpy(bytes, file.data(), file.size());
        KSound track;
        ASSERT_TRUE(track.loadSampleFromMemory(KSound::kTypeOgg, bytes, file.size(), 100, true, 1)) << name;
        const uint32_t frames = static_cast<uint32_t>(std::lround(track.getSeconds() * 44100));
        const uint32_t window = 441; // 10 ms either side of the seam
        track.playSample();
        KSound::getDevice()->step(frames - window, nullptr);
        std::vector<int16_t> out(size_t(window) * 2 * 2);
        KSound::getDevice()->step(window * 2, out.data());
        for (int channel = 0; channel < 2; channel++) {
            auto at = [&](uint32_t i) { return out[size_t(i) * 2 + channel]; };
            int largestNearby = 0;
            for (uint32_t i = 1; i < window * 2; i++)
                if (i != window) largestNearby = std::max(largestNearby, std::abs(at(i) - at(i - 1)));
            EXPECT_LE(std::abs(at(window) - at(window - 1)), largestNearby + 64)
                << name << " channel " << channel << " steps at its loop point";
        }
        track.stopSample();
    }
    KSound::shutDown();
    host::setSoundOutput(host::SoundOutput::audioDevice);
}
