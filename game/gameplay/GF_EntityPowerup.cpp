// The powerup in play: sparkles of its weapon's colour every 0.9 s, and a slow pulse of its size.
#include "FrameClock.h"
#include "GF_EntityKinds.h"
#include "ParticleEffects.h"

void GF_EntityPowerup::update() {
    GF_Entity::update();
    sparkleTimer.update();
    if (sparkleTimer.fired) {
        switch (weapon) {
        case 0:
            sparkle4(x, y, vx, vy, 0, 180);
            break;
        case 1:
            sparkle3(x, y, vx, vy, 0, 180);
            break;
        case 2:
            sparkle1(x, y, vx, vy, 0, 180);
            break;
        default:
            sparkle5(x, y, vx, vy, 0, 180);
            break;
        }
    }
    if (shrinking) {
        pulse -= 0.5 * frameTime;
        if (pulse <= 0.8) shrinking = 0;
    } else {
        pulse += 0.5 * frameTime;
        if (pulse >= 0.9) shrinking = 1;
    }
    scale = baseScale * pulse;
}
