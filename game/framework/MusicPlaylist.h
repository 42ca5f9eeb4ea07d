// The music: one engine stream playing the ".ogg" files of the music folder one after another in random
// order. It falls silent by itself (muted) after the music volume has stayed at its minimum for 5 seconds.
#pragma once

#include <cstdint>
#include <memory>
#include <string>
#include <vector>

class KSound;

struct MusicPlaylistState {
    std::vector<std::string> tracks; // in folder order; a track that fails to load is dropped
    std::unique_ptr<KSound> music;
    int32_t current = -1; // -1: none
    bool playing = false;
    bool muted = false;
    double silentTime = 0.0; // seconds at or below the silence threshold
    std::string folder;      // where the tracks are read from
};
extern MusicPlaylistState MusicPlaylist;

constexpr double kMusicSilenceThreshold = 0.01;
constexpr double kMusicMuteDelay = 5.0;

// Lists the tracks, picks the first at random and loads it; it starts with startMusic.
void initMusicPlaylist();
// The same over another folder (ending in '/').
void initMusicPlaylistFrom(const std::string& folder);
// Starts the current track unless it plays already; at the minimum volume only marks the music muted.
void startMusic();
// Once per main-loop pass: un-mutes, mutes, and moves on to the next track when one ends.
void updateMusic();
// Another track (up to 10 random draws to differ from the current one), loaded and started.
void pickNextTrack();
// Loads the current track; a track that fails is dropped and another picked. False when none is left.
bool playTrack();
void freeMusicPlaylist();
