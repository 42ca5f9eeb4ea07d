// The sound table: the game's 25 numbered effects. A caller names the sound by its id and gives the world
// point where it happens; the view position gives its volume and pan. Also the engine's global volumes.
#pragma once

#include <cstdint>
#include <memory>
#include <vector>

class KSound;

constexpr int kSoundCount = 25;

// One loaded sample with the volume (0..1) and pan (-1 left .. 1 right) of its last play.
struct SoundCopy {
    SoundCopy();
    ~SoundCopy();
    std::unique_ptr<KSound> sound;
    double volume = 1.0;
    double pan = 0.0;
};

class SoundEntry {
public:
    // Plays on a free copy, searched from a random one; when every copy sounds and the entry may interrupt,
    // the quietest copy restarts if the new play is at least as loud; otherwise the play is dropped.
    void play(double volume, double pan);
    void stop();

    std::vector<std::unique_ptr<SoundCopy>> copies;
    int32_t count = 0;
    uint8_t mayInterrupt = 1;
};

// The camera position the sounds are heard from; (0, 0) until the game installs its camera.
using CameraPositionSource = void (*)(double& x, double& y);
void setSoundCameraSource(CameraPositionSource source);

void buildSoundTable();
void freeSoundTable();
// Entry id, or null outside the table.
SoundEntry* getSoundEntry(int id);

// 1 at the view centre falling to 0 at 1000 pixels, times the factor, within 0..1.
double soundVolumeAt(double x, double y, double factor);
// -1 at the left screen edge to 1 at the right.
double soundPanAt(double x);
void playSoundAt(double x, double y, double factor, int id);
// For a sound that follows an entity: every copy takes the new volume at once and the pan at its next play.
void setSoundPosition(double x, double y, double factor, int id);
// The splash of an entity crossing the water surface, by its vertical speed and size.
void playSplashSound(double x, double y, double verticalSpeed, double size);

// The music and sound volumes of the options given to the engine (0..100 each).
void applyVolumes();
