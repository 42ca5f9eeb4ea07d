// The music playlist and its states: stopped, playing, muted.
#include "MusicPlaylist.h"

#include "FolderPaths.h"
#include "FrameClock.h"
#include "GameOptions.h"
#include "KMiscTools.h"
#include "KRandom.h"
#include "KSound.h"
#include "TextTools.h"

MusicPlaylistState MusicPlaylist;

namespace {

int32_t randomTrack() {
    return int32_t(size_t(kRand()) % MusicPlaylist.tracks.size());
}

} // namespace

void initMusicPlaylist() {
    initMusicPlaylistFrom(getMusicFolder());
}

void initMusicPlaylistFrom(const std::string& folder) {
    MusicPlaylist = MusicPlaylistState();
    MusicPlaylist.folder = folder;
    KMiscTools::enumerateFolder(
        [](const std::string& name, bool) {
            if (endsWith(name, ".ogg")) MusicPlaylist.tracks.push_back(name);
            return true;
        },
        folder);
    MusicPlaylist.music = std::make_unique<KSound>();
    MusicPlaylist.current = MusicPlaylist.tracks.empty() ? -1 : randomTrack();
    playTrack();
}

bool playTrack() {
    MusicPlaylistState& m = MusicPlaylist;
    while (m.current >= 0 && m.music) {
        const std::string& name = m.tracks[size_t(m.current)];
        if (m.music->loadStream(m.folder + name)) return true;
        // Left out: trying it again would read and fail on the whole file every pass.
        m.tracks.erase(m.tracks.begin() + m.current);
        if (m.tracks.empty()) {
            m.current = -1;
            m.playing = false;
            return false;
        }
        m.current = randomTrack();
    }
    return false;
}

void startMusic() {
    MusicPlaylistState& m = MusicPlaylist;
    if (GameOptions.musicVolume <= kMusicSilenceThreshold) {
        m.muted = true;
        return;
    }
    if (m.current >= 0 && !m.playing && m.music) {
        m.playing = true;
        m.music->playStream(false);
    }
}

void pickNextTrack() {
    MusicPlaylistState& m = MusicPlaylist;
    const size_t count = m.tracks.size();
    if (count == 0) {
        m.current = -1;
    } else if (count == 1) {
        m.current = 0;
    } else {
        int32_t draw = m.current;
        for (int i = 0; i < 10; i++) {
            draw = randomTrack();
            if (draw != m.current) break;
        }
        m.current = draw;
    }
    if (playTrack() && m.current >= 0) m.music->playStream(false);
}

void updateMusic() {
    MusicPlaylistState& m = MusicPlaylist;
    if (m.muted && GameOptions.musicVolume > kMusicSilenceThreshold) {
        startMusic();
        m.muted = false;
    }
    if (!m.playing) return;
    if (GameOptions.musicVolume <= kMusicSilenceThreshold) {
        m.silentTime += frameTime;
        if (m.silentTime > kMusicMuteDelay) {
            if (m.current >= 0) m.playing = false;
            m.muted = true;
        }
    } else {
        m.silentTime = 0;
    }
    if (m.playing && m.music && !m.music->isPlaying()) pickNextTrack();
}

void freeMusicPlaylist() {
    MusicPlaylist.music.reset();
    MusicPlaylist.tracks.clear();
    MusicPlaylist.current = -1;
    MusicPlaylist.playing = false;
}
