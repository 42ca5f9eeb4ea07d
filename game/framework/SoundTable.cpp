// The sound table: its rows, plays by id and position, and the global volumes.
#include "SoundTable.h"

#include "FolderPaths.h"
#include "GameOptions.h"
#include "GameWindow.h"
#include "KRandom.h"
#include "KSound.h"

#include <algorithm>
#include <cmath>

namespace {

std::vector<std::unique_ptr<SoundEntry>> soundTable;
CameraPositionSource cameraSource = nullptr;

struct SoundRow {
    const char* files[3]; // one file, copied; or three files, one copy each
    int copies;
    uint8_t mayInterrupt;
};

constexpr SoundRow kSoundRows[kSoundCount] = {
    {{"caw.wav"}, 1, 1},
    {{"smallexplosion1.ogg"}, 2, 1},
    {{"splashsmall.ogg"}, 2, 1},
    {{"splashbig.ogg"}, 1, 1},
    {{"laugh1.ogg"}, 1, 1},
    {{"laugh2.ogg"}, 1, 1},
    {{"laugh3.ogg"}, 1, 1},
    {{"clicks1.ogg"}, 1, 1},
    {{"laser1.wav"}, 2, 1},
    {{"laser2.ogg"}, 2, 1},
    {{"laser3.ogg"}, 1, 1},
    {{"missile.ogg"}, 1, 1},
    {{"squeal1.wav", "squeal2.ogg", "squeal3.ogg"}, 3, 1},
    {{"tinyexplosion1.wav", "tinyexplosion2.wav", "tinyexplosion3.wav"}, 3, 1},
    {{"largeexplosion1.ogg", "largeexplosion2.ogg", "largeexplosion3.ogg"}, 3, 1},
    {{"electricity.ogg"}, 1, 0},
    {{"chargeup.ogg"}, 1, 0},
    {{"throb.wav"}, 1, 0},
    {{"bite.wav"}, 1, 1},
    {{"gear.ogg"}, 1, 0},
    {{"torpedo.ogg"}, 2, 1},
    {{"laserswordhit.wav"}, 1, 0},
    {{"laserswordamb.wav"}, 1, 0},
    {{"bullet.wav"}, 1, 1},
    {{"hoop.wav"}, 1, 1},
};

constexpr double kHearingDistance = 1000.0;
constexpr double kPanHalfWidth = kGameWidth / 2.0;

// A volume or pan held to its range; not a number (a position or factor gone wrong) gives 0, since the
// engine's whole-number volume and pan cannot be made from it.
double heldTo(double value, double low, double high) {
    return std::isnan(value) ? 0.0 : std::clamp(value, low, high);
}

void viewCentre(double& cx, double& cy) {
    double x = 0, y = 0;
    if (cameraSource) cameraSource(x, y);
    cx = x + kGameWidth / 2.0;
    cy = y + kGameHeight / 2.0;
}

void startCopy(SoundCopy& copy, double volume, double pan) {
    copy.volume = volume;
    copy.pan = pan;
    copy.sound->volume = int(volume * 100);
    if (copy.sound->isLoaded()) copy.sound->applyVolume();
    copy.sound->pan = int(pan * 100);
    copy.sound->playSample();
}

} // namespace

SoundCopy::SoundCopy() : sound(std::make_unique<KSound>()) {}
SoundCopy::~SoundCopy() = default;

void SoundEntry::play(double volume, double pan) {
    if (copies.empty()) return;
    volume = heldTo(volume, 0.0, 1.0);
    pan = heldTo(pan, -1.0, 1.0);
    const size_t n = copies.size();
    const size_t first = size_t(kRand()) % n;
    for (size_t i = 0; i < n; i++) {
        SoundCopy& copy = *copies[(first + i) % n];
        if (!copy.sound->isPlaying()) {
            startCopy(copy, volume, pan);
            return;
        }
    }
    if (!mayInterrupt) return;
    SoundCopy* quietest = copies.front().get();
    for (const auto& copy : copies)
        if (copy->volume < quietest->volume) quietest = copy.get();
    if (volume >= quietest->volume) startCopy(*quietest, volume, pan);
}

void SoundEntry::stop() {
    for (auto& copy : copies) copy->sound->stopSample();
}

void setSoundCameraSource(CameraPositionSource source) {
    cameraSource = source;
}

void buildSoundTable() {
    freeSoundTable();
    const std::string folder = getSoundFolder();
    for (const SoundRow& row : kSoundRows) {
        auto entry = std::make_unique<SoundEntry>();
        entry->count = row.copies;
        entry->mayInterrupt = row.mayInterrupt;
        for (int i = 0; i < row.copies; i++) {
            auto copy = std::make_unique<SoundCopy>();
            const char* file = row.files[1] ? row.files[i] : row.files[0];
            copy->sound->loadSample(folder + file);
            entry->copies.push_back(std::move(copy));
        }
        soundTable.push_back(std::move(entry));
    }
}

void freeSoundTable() {
    soundTable.clear();
}

SoundEntry* getSoundEntry(int id) {
    if (id < 0 || id >= int(soundTable.size())) return nullptr;
    return soundTable[size_t(id)].get();
}

double soundVolumeAt(double x, double y, double factor) {
    double cx, cy;
    viewCentre(cx, cy);
    double distance = std::hypot(x - cx, y - cy);
    return heldTo((1.0 - distance / kHearingDistance) * factor, 0.0, 1.0);
}

double soundPanAt(double x) {
    double cx, cy;
    viewCentre(cx, cy);
    return heldTo((x - cx) / kPanHalfWidth, -1.0, 1.0);
}

void playSoundAt(double x, double y, double factor, int id) {
    if (SoundEntry* entry = getSoundEntry(id)) entry->play(soundVolumeAt(x, y, factor), soundPanAt(x));
}

void setSoundPosition(double x, double y, double factor, int id) {
    SoundEntry* entry = getSoundEntry(id);
    if (!entry) return;
    const double volume = soundVolumeAt(x, y, factor), pan = soundPanAt(x);
    for (auto& copy : entry->copies) {
        copy->volume = volume;
        copy->pan = pan;
        copy->sound->volume = int(volume * 100);
        if (copy->sound->isLoaded()) copy->sound->applyVolume();
    }
}

void playSplashSound(double x, double y, double verticalSpeed, double size) {
    constexpr int kSplashSmall = 2, kSplashBig = 3;
    const bool small = size < 33;
    double s = verticalSpeed;
    if (s < 0) s = -s / 2;
    s /= small ? 1000.0 : 500.0;
    if (s > 1) s = 1;
    if (s < 0.1) return;
    playSoundAt(x, y, s, small ? kSplashSmall : kSplashBig);
}

void applyVolumes() {
    KSound::setGlobalVolumes(int(GameOptions.musicVolume * 100), int(GameOptions.soundVolume * 100));
}
