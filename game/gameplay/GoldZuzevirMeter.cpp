// The Gold Radudod meter's slide, pulse and drawing, and the collection report of the Gold Radudod.
#include "GoldZuzevirMeter.h"

#include "FrameClock.h"
#include "GF_Entity.h"
#include "GameWindow.h"
#include "LevelGoals.h"
#include "SoundTable.h"
#include "SpriteSheet.h"
#include "SpriteSheetTable.h"
#include "TrickEvents.h"

#include <algorithm>

GoldZuzevirMeter goldZuzevirMeter;

namespace {

constexpr int kMeterSheet = 14;
constexpr int kMeterFrame = 6;
constexpr int kFullFigureFrame = 1;
constexpr int kCountFigureFrames[GoldZuzevirMeter::kFullCount] = {2, 3, 4, 5, 0};
constexpr int kSoundCollected = 5, kSoundAllCollected = 4;

} // namespace

void GoldZuzevirMeter::reset() {
    *this = GoldZuzevirMeter();
}

void GoldZuzevirMeter::collect(double soundX, double soundY) {
    // A level may place more than five: the count goes on (the progress record keeps it), the meter shows full.
    count++;
    showClock = 0;
    showing = 1;
    playSoundAt(soundX, soundY, 1, count == kFullCount ? kSoundAllCollected : kSoundCollected);
}

void GoldZuzevirMeter::update(double dt) {
    if (showing) {
        if (slide < kShownY) slide += kSlideSpeed * dt;
        showClock += dt;
        if (showClock >= kShowTime) showing = 0;
    } else if (slide > kHiddenY) {
        slide -= kSlideSpeed * dt;
    }
    drawnY += dt * (slide - drawnY) * kSmoothing;
    if (count >= kFullCount && slide > kHiddenY) {
        if (pulse < kPulseLow) pulseGrowing = 1;
        if (pulse > kPulseHigh) pulseGrowing = 0;
        pulse += (pulseGrowing ? kPulseRate : -kPulseRate) * dt;
        drawnScale += dt * (pulse - drawnScale) * kSmoothing;
    } else {
        drawnScale = 1;
    }
}

void GoldZuzevirMeter::draw() const {
    if (!(slide > kHiddenY)) return;
    SpriteSheet* sheet = getSpriteSheet(kMeterSheet);
    if (!sheet) return;
    const int drawX = int(x), drawY = int(drawnY);
    const bool full = count >= kFullCount;
    if (full)
        sheet->drawFrameTransformed(kMeterFrame, drawX, drawY, 0, drawnScale, 1, false, false);
    else
        sheet->drawFrame(kMeterFrame, drawX, drawY, false, false);
    if (full)
        sheet->drawFrameTransformed(kFullFigureFrame, drawX + 75, drawY + 5, 0, drawnScale, 1, false, false);
    else
        sheet->drawFrame(kCountFigureFrames[std::max(count, 0)], drawX + 75, drawY + 5, false, false);
}

void resetGoldZuzevirMeter() {
    goldZuzevirMeter.reset();
}

void drawGoldZuzevirMeter() {
    if (CurrentLevelGoals.gameMode != kGameModeAction) return;
    goldZuzevirMeter.update(frameTime);
    goldZuzevirMeter.draw();
}

void collectGoldZuzevir() {
    double x = 0, y = 0;
    if (playerEntity) {
        x = playerEntity->x;
        y = playerEntity->y;
    }
    goldZuzevirMeter.collect(x, y);
}
