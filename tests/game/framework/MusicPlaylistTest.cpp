// The music playlist over a folder of short generated tracks on the hand-stepped mixer: which files are
// tracks, the random order and the move to the next track when one ends, one track repeating, an empty
// folder, tracks that cannot be played (dropped, not retried every pass), and muting at the minimum volume.
#include "MusicPlaylist.h"
#include "FrameClock.h"
#include "GameOptions.h"
#include "HandSteppedSound.h"
#include "KRandom.h"
#include "KSound.h"
#include "SoundFixtures.h"
#include "TempFolder.h"

#include <gtest/gtest.h>
#include <set>

namespace {

class MusicPlaylistTest : public testing::Test {
protected:
    void SetUp() override {
        savedFrameTime = frameTime;
        frameTime = 1.0 / 64;
        kSrand(11);
    }
    void TearDown() override {
        freeMusicPlaylist();
        frameTime = savedFrameTime;
    }

    // A track of a tenth of a second.
    void addTrack(const std::string& name) {
        static const std::string ogg = encodeOgg(1, 44100, sineTone(1, 44100, 4410, 440, 0.5));
        folder.write(name, ogg);
    }
    std::string path() const { return folder.path() + "/"; }

    // Plays the mixer (with the streaming passes) until the music stream has ended.
    static void playToEnd() {
        for (int slice = 0; slice < 200 && MusicPlaylist.music->isPlaying(); slice++) {
            KSound::getDevice()->step(441, nullptr);
            KSound::refillStreams();
        }
        ASSERT_FALSE(MusicPlaylist.music->isPlaying());
    }

    // The track names in the order they are played over a number of track ends.
    static std::vector<std::string> playedOrder(int ends) {
        std::vector<std::string> order{MusicPlaylist.tracks.at(size_t(MusicPlaylist.current))};
        for (int i = 0; i < ends; i++) {
            playToEnd();
            updateMusic();
            EXPECT_TRUE(MusicPlaylist.music->isPlaying()) << "the next track starts at once";
            order.push_back(MusicPlaylist.tracks.at(size_t(MusicPlaylist.current)));
        }
        return order;
    }

    HandSteppedSound sound;
    TempFolder folder;
    double savedFrameTime = 0;
};

} // namespace

TEST_F(MusicPlaylistTest, OnlyLowerCaseOggFilesAreTracksAndMusicWaitsForItsStart) {
    for (const char* name : {"b.ogg", "a.ogg", "c.OGG", ".ogg"}) addTrack(name);
    folder.write("notes.txt", "not music");
    initMusicPlaylistFrom(path());
    EXPECT_EQ(MusicPlaylist.tracks, (std::vector<std::string>{"a.ogg", "b.ogg"}));
    ASSERT_GE(MusicPlaylist.current, 0);
    EXPECT_FALSE(MusicPlaylist.playing);
    updateMusic();
    EXPECT_FALSE(MusicPlaylist.music->isPlaying()) << "loaded, not started";

    startMusic();
    EXPECT_TRUE(MusicPlaylist.playing);
    EXPECT_TRUE(MusicPlaylist.music->isPlaying());
    const int32_t current = MusicPlaylist.current;
    startMusic();
    EXPECT_EQ(MusicPlaylist.current, current);
}

TEST_F(MusicPlaylistTest, TracksPlayInRandomOrderAndTheNextStartsWhenOneEnds) {
    for (const char* name : {"one.ogg", "two.ogg", "three.ogg"}) addTrack(name);
    initMusicPlaylistFrom(path());
    startMusic();
    const std::vector<std::string> order = playedOrder(12);
    std::set<std::string> heard(order.begin(), order.end());
    EXPECT_EQ(heard.size(), 3u);
    for (size_t i = 1; i < order.size(); i++) EXPECT_NE(order[i], order[i - 1]) << "a track follows itself at " << i;
    bool cycles = true; // a fixed rotation would repeat every third track
    for (size_t i = 3; i < order.size(); i++) cycles = cycles && order[i] == order[i - 3];
    EXPECT_FALSE(cycles) << "the order is drawn, not a fixed rotation";

    kSrand(11);
    initMusicPlaylistFrom(path());
    startMusic();
    EXPECT_EQ(playedOrder(12), order) << "the same seed gives the same order";
}

TEST_F(MusicPlaylistTest, OneTrackRepeatsAndTwoAlternate) {
    addTrack("only.ogg");
    initMusicPlaylistFrom(path());
    startMusic();
    EXPECT_EQ(playedOrder(2), (std::vector<std::string>(3, "only.ogg")));

    addTrack("second.ogg");
    initMusicPlaylistFrom(path());
    startMusic();
    const auto order = playedOrder(4);
    for (size_t i = 1; i < order.size(); i++) EXPECT_NE(order[i], order[i - 1]);
}

TEST_F(MusicPlaylistTest, AnEmptyFolderStaysSilent) {
    initMusicPlaylistFrom(path());
    EXPECT_EQ(MusicPlaylist.current, -1);
    startMusic();
    updateMusic();
    EXPECT_FALSE(MusicPlaylist.playing);
    EXPECT_FALSE(MusicPlaylist.music->isPlaying());
}

TEST_F(MusicPlaylistTest, ATrackThatCannotPlayIsDroppedInsteadOfRetriedEveryPass) {
    folder.write("broken.ogg", "OggS but not really a stream");
    initMusicPlaylistFrom(path());
    EXPECT_TRUE(MusicPlaylist.tracks.empty());
    EXPECT_EQ(MusicPlaylist.current, -1);

    addTrack("fine.ogg");
    initMusicPlaylistFrom(path());
    startMusic();
    for (int i = 0; i < 3; i++) {
        EXPECT_EQ(MusicPlaylist.tracks, (std::vector<std::string>{"fine.ogg"}));
        ASSERT_TRUE(MusicPlaylist.playing);
        playToEnd();
        updateMusic();
    }
    EXPECT_TRUE(MusicPlaylist.music->isPlaying());
}

TEST_F(MusicPlaylistTest, MusicMutesAfterFiveSilentSecondsAndStartsAgainWhenRaised) {
    addTrack("tune.ogg");
    GameOptions.musicVolume = 0.0;
    initMusicPlaylistFrom(path());
    startMusic();
    EXPECT_TRUE(MusicPlaylist.muted);
    EXPECT_FALSE(MusicPlaylist.playing);
    updateMusic();
    EXPECT_FALSE(MusicPlaylist.playing);

    GameOptions.musicVolume = 0.5;
    updateMusic();
    EXPECT_FALSE(MusicPlaylist.muted);
    EXPECT_TRUE(MusicPlaylist.playing);
    EXPECT_TRUE(MusicPlaylist.music->isPlaying());

    GameOptions.musicVolume = 0.01; // at the threshold counts as silent
    frameTime = 1.0;
    for (int i = 0; i < 5; i++) {
        updateMusic();
        EXPECT_TRUE(MusicPlaylist.playing) << "5 s is not more than 5 s";
    }
    updateMusic();
    EXPECT_FALSE(MusicPlaylist.playing);
    EXPECT_TRUE(MusicPlaylist.muted);
    playToEnd();
    updateMusic();
    EXPECT_FALSE(MusicPlaylist.music->isPlaying()) << "muted music runs out and no next track starts";

    GameOptions.musicVolume = 0.3;
    updateMusic();
    EXPECT_TRUE(MusicPlaylist.playing);
    EXPECT_TRUE(MusicPlaylist.music->isPlaying());
}
