// The race hoop: counts the living player's first pass through it, and draws as a ring of 18 segments in false
// perspective, its back half behind the player's body and its front half over it (both by itself once the
// dead player is drawn no more).
#include "BehaviourTools.h"
#include "CollisionCircle.h"
#include "GF_EntityKinds.h"
#include "GameWindow.h"
#include "LevelEvents.h"
#include "SoundTable.h"
#include "SpriteAnimation.h"
#include "TrickEvents.h"
#include "WholePixels.h"

#include <algorithm>
#include <cmath>

namespace {
constexpr int kBackHalf[] = {9, 8, 7, 6, 5, 10, 11, 12};
constexpr int kFrontHalf[] = {4, 3, 2, 1, 0, 13, 14, 15, 16, 17};
} // namespace

void GF_EntityHoop::update() {
    GF_Entity::update();
    // A dead dolphin drifting through a hoop passes nothing.
    if (passed || !playerEntity || playerEntity->dead) return;
    CollisionCircle probe(0, 0, 20);
    probe.place(playerEntity->x, playerEntity->y, 0, 1, false);
    if (!probe.overlaps(*boundingCircle)) return;
    const bool through = std::any_of(subCircles.begin(), subCircles.end(),
                                     [&](const CollisionCircle* circle) { return probe.overlaps(*circle); });
    if (!through) return;
    passed = 1;
    startSequence(1);
    playSoundAt(x, y, 0.8, kSoundHoop);
    countHoopPassed();
    countTrickHoop();
}

void GF_EntityHoop::draw(double cameraX, double cameraY) {
    auto* player = dynamic_cast<GF_EntityZuzevir*>(playerEntity);
    if (!player) return;
    // Once the dead player has left the grid it draws nothing more, so the hoop draws its own two halves.
    if (player->removed) {
        drawHalf(false, cameraX, cameraY);
        drawHalf(true, cameraX, cameraY);
        return;
    }
    // Listed once: a player that is not drawn any more never grows its list.
    if (std::find(player->hoopList.begin(), player->hoopList.end(), this) == player->hoopList.end())
        player->hoopList.push_back(this);
}

void GF_EntityHoop::drawHalf(bool front, double cameraX, double cameraY) {
    if (!animation) return;
    const int sequence = passed ? 1 : 0;
    if (animation->currentSequenceIndex() != sequence) animation->setSequence(sequence);
    const double h = angle / kDegreesPerRadian;
    const auto drawSegment = [&](int i) {
        const double e = i * 20.0 / kDegreesPerRadian;
        const double f = -0.12 * std::cos(e);
        const double px = x + 80 * std::sin(e) * std::sin(h) - cameraX;
        const double py = y + 80 * std::sin(e) * std::cos(h) - cameraY;
        const double sx = px + f * (kGameWidth / 2.0 - px), sy = py + f * (kGameHeight / 2.0 - py);
        animation->drawTransformed(wholePixels(sx - 16), wholePixels(sy - 16), 0, 1 - (f + 0.12), alpha, false, false);
    };
    if (front)
        for (int i : kFrontHalf) drawSegment(i);
    else
        for (int i : kBackHalf) drawSegment(i);
}
