// The particle pool: 500 short-lived sprite records made once at start-up, each always on either the free or
// the live list, and the presets that fix a kind of particle's picture, motion limits, fade and lifetime.
#pragma once

#include <cstdint>

struct ParticlePreset {
    double width, height;      // pixels; a particle is started with its centre at the spawn point
    double accelX, accelY;     // pixels per second squared
    double maxAbsVx, maxAbsVy; // speed limit per axis
    double fadeStartMin, fadeStartMax;
    double lifeMin, lifeMax; // seconds
    double scaleMin, scaleMax;
    uint8_t diesEnteringWater, diesLeavingWater;
    int sheet, frame; // sprite-sheet table entry and frame
};

struct Particle {
    double x = 0, y = 0; // top-left drawing point
    double vx = 0, vy = 0;
    double scale = 1.0;
    double age = 0, fadeStart = 0, lifetime = 0;
    uint8_t dead = 0;
    const ParticlePreset* preset = nullptr;
    Particle* previous = nullptr; // neighbours on the list the record is on
    Particle* next = nullptr;
};

class ParticlePool {
public:
    static constexpr int kCapacity = 500;

    ParticlePool();
    ParticlePool(const ParticlePool&) = delete;
    ParticlePool& operator=(const ParticlePool&) = delete;

    // The first free record, moved to the end of the live list; null when every record is live.
    Particle* acquire();
    // Starts a particle centred on (x, y) with three draws: lifetime, fade start, scale. Dropped when full.
    Particle* spawn(double x, double y, double vx, double vy, const ParticlePreset& preset);
    // Steps every live particle by dt and returns the dead ones to the end of the free list.
    void update(double dt);
    // Draws every live particle in live-list order, seen from the camera.
    void draw(double cameraX, double cameraY) const;
    // Every live record back to the free list.
    void reset();

    int liveCount() const { return liveList.count; }
    int freeCount() const { return freeList.count; }
    const Particle* firstLive() const { return liveList.head; }
    const Particle* firstFree() const { return freeList.head; }

private:
    struct Chain {
        Particle* head = nullptr;
        Particle* tail = nullptr;
        int count = 0;
        void append(Particle* p);
        void unlink(Particle* p);
    };

    Particle records[kCapacity];
    Chain freeList, liveList;
};

// The transparency of a particle: opaque until its fade starts, then falling linearly to 0 at its lifetime.
double particleAlpha(const Particle& particle);

// The one pool of the game, made at start-up and released at shutdown; null outside that time.
extern ParticlePool* particlePool;
void createParticlePool();
void destroyParticlePool();
Particle* acquireParticle();
void spawnParticle(double x, double y, double vx, double vy, const ParticlePreset& preset);
// The game state's calls: the step by the frame time, and the draw from the camera.
void updateParticles();
void drawParticles();
void resetParticles();
