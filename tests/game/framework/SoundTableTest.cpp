// The sound table over the generated sounds on the hand-stepped mixer: volume and pan from the position
// relative to the view, what the mixer then puts out on each side, the choice among busy copies, the entries
// that never interrupt themselves, the splash rule and the global volumes taken from the options.
#include "SoundTable.h"
#include "GameOptions.h"
#include "HandSteppedSound.h"
#include "KRandom.h"
#include "KSound.h"
#include "TempUserFolder.h"

#include <cmath>
#include <cstdlib>
#include <gtest/gtest.h>

namespace {

double cameraX = 0, cameraY = 0;
void testCamera(double& x, double& y) {
    x = cameraX;
    y = cameraY;
}

class SoundTableTest : public testing::Test {
protected:
    void SetUp() override {
        cameraX = 100;
        cameraY = 50; // the view centre is (500, 350)
        setSoundCameraSource(testCamera);
        kSrand(7);
        buildSoundTable();
    }
    void TearDown() override {
        freeSoundTable();
        setSoundCameraSource(nullptr);
    }

    // The loudest sample on the left and the right over the next frames.
    static void peaks(uint32_t frames, int& left, int& right) {
        std::vector<int16_t> out(size_t(frames) * 2);
        KSound::getDevice()->step(frames, out.data());
        left = right = 0;
        for (uint32_t i = 0; i < frames; i++) {
            left = std::max(left, std::abs(int(out[2 * i])));
            right = std::max(right, std::abs(int(out[2 * i + 1])));
        }
    }

    static SoundCopy& copy(int id, int n) { return *getSoundEntry(id)->copies.at(size_t(n)); }

    HandSteppedSound sound;
    TempUserFolder home;
};

} // namespace

TEST_F(SoundTableTest, EveryRowLoadsItsCopies) {
    const int copies[kSoundCount] = {1, 2, 2, 1, 1, 1, 1, 1, 2, 2, 1, 1, 3, 3, 3, 1, 1, 1, 1, 1, 2, 1, 1, 1, 1};
    int total = 0;
    for (int id = 0; id < kSoundCount; id++) {
        SoundEntry* entry = getSoundEntry(id);
        ASSERT_NE(entry, nullptr);
        EXPECT_EQ(entry->count, copies[id]) << id;
        ASSERT_EQ(int(entry->copies.size()), copies[id]) << id;
        for (const auto& c : entry->copies) {
            EXPECT_TRUE(c->sound->isLoaded()) << "sound " << id;
            EXPECT_EQ(c->volume, 1.0);
            EXPECT_EQ(c->pan, 0.0);
        }
        total += copies[id];
        const bool interrupts = !(id == 15 || id == 16 || id == 17 || id == 19 || id == 21 || id == 22);
        EXPECT_EQ(entry->mayInterrupt != 0, interrupts) << id;
    }
    EXPECT_EQ(total, 36);
    EXPECT_EQ(getSoundEntry(kSoundCount), nullptr);
}

TEST_F(SoundTableTest, VolumeAndPanComeFromTheDistanceToTheViewCentre) {
    const struct {
        double x, y, factor, volume, pan;
    } cases[] = {
        {500, 350, 1, 1, 0},        {1000, 350, 1, 0.5, 1}, {500, 850, 1, 0.5, 0}, {1500, 350, 1, 0, 1},
        {300, 350, 0.5, 0.4, -0.5}, {500, 350, 3, 1, 0},    {-500, 350, 1, 0, -1}, {800, 750, 1, 0.5, 0.75},
    };
    for (const auto& c : cases) {
        EXPECT_NEAR(soundVolumeAt(c.x, c.y, c.factor), c.volume, 1e-12) << c.x << ", " << c.y;
        EXPECT_NEAR(soundPanAt(c.x), c.pan, 1e-12) << c.x;
    }
    setSoundCameraSource(nullptr);
    EXPECT_EQ(soundVolumeAt(400, 300, 1), 1.0) << "without a camera the view is at (0, 0)";
}

TEST_F(SoundTableTest, APlayFromAPositionSoundsAtItsVolumeAndOnItsSide) {
    playSoundAt(1000, 350, 1, 0); // 500 pixels right of the view centre: half volume, fully right
    SoundCopy& caw = copy(0, 0);
    EXPECT_EQ(caw.volume, 0.5);
    EXPECT_EQ(caw.pan, 1.0);
    EXPECT_EQ(caw.sound->volume, 50);
    EXPECT_EQ(caw.sound->pan, 100);
    EXPECT_TRUE(caw.sound->isPlaying());
    int left, right;
    peaks(2000, left, right);
    EXPECT_GT(right, 100);
    EXPECT_EQ(left, 0);

    KSound::getDevice()->step(uint32_t(caw.sound->getSeconds() * 44100) + 100, nullptr);
    EXPECT_FALSE(caw.sound->isPlaying());
    playSoundAt(250, 350, 1, 0); // 250 left: 0.75, pan -0.625
    EXPECT_EQ(caw.sound->volume, 75);
    EXPECT_EQ(caw.sound->pan, -62);
    peaks(2000, left, right);
    EXPECT_GT(left, right);

    getSoundEntry(0)->stop();
    EXPECT_FALSE(caw.sound->isPlaying());
}

TEST_F(SoundTableTest, BusyCopiesAreInterruptedOnlyByAPlayAsLoudAsTheQuietest) {
    SoundEntry& entry = *getSoundEntry(1); // two copies, may interrupt
    entry.play(0.3, 0);
    entry.play(0.3, 0);
    EXPECT_TRUE(copy(1, 0).sound->isPlaying() && copy(1, 1).sound->isPlaying());
    entry.play(0.2, 0);
    EXPECT_EQ(copy(1, 0).volume, 0.3) << "0.2 is quieter than both: dropped";
    EXPECT_EQ(copy(1, 1).volume, 0.3);
    entry.play(0.3, 0.5);
    EXPECT_EQ(copy(1, 0).volume, 0.3) << "ties restart the first quietest";
    EXPECT_EQ(copy(1, 0).pan, 0.5);
    entry.play(0.9, 0);
    EXPECT_EQ(copy(1, 0).volume, 0.9);
    entry.play(0.5, 0);
    EXPECT_EQ(copy(1, 1).volume, 0.5) << "the second copy was the quietest";
    entry.play(0.4, 0);
    EXPECT_EQ(copy(1, 0).volume, 0.9);
    EXPECT_EQ(copy(1, 1).volume, 0.5);

    SoundEntry& zap = *getSoundEntry(15); // may not interrupt
    zap.play(0.2, 0);
    zap.play(1.0, 0);
    EXPECT_EQ(copy(15, 0).volume, 0.2) << "a second play while it sounds is dropped";
    EXPECT_EQ(copy(15, 0).sound->volume, 20);
}

TEST_F(SoundTableTest, NotANumberPlaysSilentlyAtTheCentre) {
    const double nan = std::nan("");
    EXPECT_EQ(soundVolumeAt(nan, 350, 1), 0.0);
    EXPECT_EQ(soundVolumeAt(500, 350, nan), 0.0);
    EXPECT_EQ(soundPanAt(nan), 0.0);
    getSoundEntry(0)->play(nan, nan);
    EXPECT_EQ(copy(0, 0).volume, 0.0);
    EXPECT_EQ(copy(0, 0).pan, 0.0);
    EXPECT_EQ(copy(0, 0).sound->volume, 0);
    EXPECT_EQ(copy(0, 0).sound->pan, 0);
    setSoundPosition(nan, nan, 1, 0);
    EXPECT_EQ(copy(0, 0).sound->volume, 0);
    getSoundEntry(8)->play(1.5, -3); // beyond the ranges: held to them
    SoundCopy& laser = copy(8, 0).sound->isPlaying() ? copy(8, 0) : copy(8, 1);
    EXPECT_EQ(laser.sound->volume, 100);
    EXPECT_EQ(laser.sound->pan, -100);
}

TEST_F(SoundTableTest, AFollowingSoundTakesItsNewVolumeAtOnceAndItsPanAtTheNextPlay) {
    playSoundAt(500, 350, 1, 17);
    setSoundPosition(900, 350, 1, 17);
    EXPECT_NEAR(copy(17, 0).volume, 0.6, 1e-12);
    EXPECT_EQ(copy(17, 0).sound->volume, 60);
    EXPECT_NEAR(copy(17, 0).pan, 1.0, 1e-12);
    EXPECT_EQ(copy(17, 0).sound->pan, 0) << "the engine's pan waits for the next play";
}

TEST_F(SoundTableTest, SplashesBySpeedAndSize) {
    playSplashSound(500, 350, -300, 40); // moving up: 150 / 500
    EXPECT_TRUE(copy(3, 0).sound->isPlaying());
    EXPECT_NEAR(copy(3, 0).volume, 0.3, 1e-12);

    playSplashSound(500, 350, 50, 20); // 0.05: too soft to hear
    EXPECT_FALSE(copy(2, 0).sound->isPlaying() || copy(2, 1).sound->isPlaying());
    playSplashSound(500, 350, 3000, 20); // capped at 1
    EXPECT_TRUE(copy(2, 0).sound->isPlaying() || copy(2, 1).sound->isPlaying());
    EXPECT_EQ(std::max(copy(2, 0).volume, copy(2, 1).volume), 1.0);
}

TEST_F(SoundTableTest, GlobalVolumesComeFromTheOptionsTruncated) {
    GameOptions.soundVolume = 0.009; // 0.9 becomes 0: silent
    applyVolumes();
    playSoundAt(500, 350, 1, 23);
    int left, right;
    peaks(1000, left, right);
    EXPECT_EQ(left, 0);
    EXPECT_EQ(right, 0);

    GameOptions.soundVolume = 1.0;
    applyVolumes();
    getSoundEntry(23)->stop();
    playSoundAt(500, 350, 1, 23);
    peaks(1000, left, right);
    EXPECT_GT(left, 100);
}
