// The particle records' two lists, their start, step and draw, and the game's one pool. Records only move
// between the lists, so nothing is allocated after start-up.
#include "ParticlePool.h"

#include "BehaviourTools.h"
#include "Camera.h"
#include "FrameClock.h"
#include "GameWindow.h"
#include "SpriteSheet.h"
#include "SpriteSheetTable.h"
#include "TerrainCodes.h"
#include "TileMap.h"

#include <algorithm>

ParticlePool* particlePool = nullptr;

namespace {

// Particles this far outside the screen are not drawn: their picture (at most 19 x 19 at scale 3) cannot
// reach it, and the picture position must fit the drawing call's 16-bit coordinates.
constexpr double kDrawMargin = 100;

} // namespace

void ParticlePool::Chain::append(Particle* p) {
    p->previous = tail;
    p->next = nullptr;
    if (tail)
        tail->next = p;
    else
        head = p;
    tail = p;
    count++;
}

void ParticlePool::Chain::unlink(Particle* p) {
    if (p->previous)
        p->previous->next = p->next;
    else
        head = p->next;
    if (p->next)
        p->next->previous = p->previous;
    else
        tail = p->previous;
    p->previous = p->next = nullptr;
    count--;
}

ParticlePool::ParticlePool() {
    for (Particle& record : records) freeList.append(&record);
}

Particle* ParticlePool::acquire() {
    Particle* p = freeList.head;
    if (!p) return nullptr;
    freeList.unlink(p);
    liveList.append(p);
    return p;
}

Particle* ParticlePool::spawn(double x, double y, double vx, double vy, const ParticlePreset& preset) {
    Particle* p = acquire();
    if (!p) return nullptr;
    p->preset = &preset;
    p->age = 0;
    p->x = x - preset.width / 2;
    p->y = y - preset.height / 2;
    p->vx = vx;
    p->vy = vy;
    p->lifetime = randomBetween(preset.lifeMin, preset.lifeMax);
    p->fadeStart = randomBetween(preset.fadeStartMin, preset.fadeStartMax);
    p->scale = randomBetween(preset.scaleMin, preset.scaleMax);
    p->dead = 0;
    return p;
}

void ParticlePool::update(double dt) {
    Particle* p = liveList.head;
    while (p) {
        Particle* following = p->next;
        const ParticlePreset& preset = *p->preset;
        p->vx = std::clamp(p->vx + dt * preset.accelX, -preset.maxAbsVx, preset.maxAbsVx);
        p->vy = std::clamp(p->vy + dt * preset.accelY, -preset.maxAbsVy, preset.maxAbsVy);
        p->x += dt * p->vx;
        p->y += dt * p->vy;
        p->age += dt;
        if (p->age > p->lifetime) p->dead = 1;
        if (preset.diesEnteringWater || preset.diesLeavingWater) {
            const bool inAir = getSubstanceAt(p->x, p->y) == kSubstanceAir;
            if (preset.diesEnteringWater && !inAir && p->vy >= 0) p->dead = 1;
            if (preset.diesLeavingWater && inAir && p->vy <= 0) p->dead = 1;
        }
        if (p->dead) {
            liveList.unlink(p);
            freeList.append(p);
        }
        p = following;
    }
}

double particleAlpha(const Particle& particle) {
    if (particle.age <= particle.fadeStart) return 1;
    return 1 - (particle.age - particle.fadeStart) / (particle.lifetime - particle.fadeStart);
}

void ParticlePool::draw(double cameraX, double cameraY) const {
    for (const Particle* p = liveList.head; p; p = p->next) {
        const double sx = p->x - cameraX, sy = p->y - cameraY;
        // Written so that a position that is not a number is skipped too.
        if (!(sx >= -kDrawMargin && sx <= kGameWidth + kDrawMargin && sy >= -kDrawMargin &&
              sy <= kGameHeight + kDrawMargin))
            continue;
        SpriteSheet* sheet = getSpriteSheet(p->preset->sheet);
        if (!sheet) continue;
        sheet->drawFrameTransformed(p->preset->frame, int(sx), int(sy), 0, p->scale, particleAlpha(*p), false, false);
    }
}

void ParticlePool::reset() {
    while (Particle* p = liveList.head) {
        liveList.unlink(p);
        freeList.append(p);
    }
}

void createParticlePool() {
    if (!particlePool) particlePool = new ParticlePool();
}

void destroyParticlePool() {
    delete particlePool;
    particlePool = nullptr;
}

Particle* acquireParticle() {
    return particlePool ? particlePool->acquire() : nullptr;
}

void spawnParticle(double x, double y, double vx, double vy, const ParticlePreset& preset) {
    if (particlePool) particlePool->spawn(x, y, vx, vy, preset);
}

void updateParticles() {
    if (particlePool) particlePool->update(frameTime);
}

void drawParticles() {
    if (particlePool) particlePool->draw(getCameraX(), getCameraY());
}

void resetParticles() {
    if (particlePool) particlePool->reset();
}
