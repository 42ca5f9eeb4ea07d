// The laser sword in play: its hum, louder while it touches something, the touch sound on the first frame
// of a touch, and sparks at most every 0.1 s against walls and against entities.
#include "BehaviourTools.h"
#include "FrameClock.h"
#include "GF_EntityKinds.h"
#include "ParticleEffects.h"
#include "SoundTable.h"

void GF_EntityLaserSword::update() {
    double humX, humY;
    getHotspotPoint(0, humX, humY);
    playSoundAt(humX, humY, touchedLastFrame ? 1.0 : 0.5, kSoundSwordHum);
    firstTouch = touchingNow ? 0 : 1;
    touchingNow = touchedLastFrame = 0;
    wallSparkClock += frameTime;
    entitySparkClock += frameTime;
    GF_Entity::update();
}

void GF_EntityLaserSword::draw(double cameraX, double cameraY) {
    if (dead) GF_Entity::draw(cameraX, cameraY);
}

void GF_EntityLaserSword::onTerrainContact(double x, double y) {
    if (firstTouch) {
        playSoundAt(x, y, 1, kSoundSwordTouch);
        firstTouch = 0; // one touch sound however many contacts this frame
    }
    touchingNow = touchedLastFrame = 1;
    if (wallSparkClock > wallSparkInterval) {
        sparksFrame1(x, y, 0, 0, 0, 180);
        wallSparkClock = 0;
    }
}

void GF_EntityLaserSword::onEntityContact(double x, double y) {
    if (firstTouch) {
        playSoundAt(x, y, 1, kSoundSwordTouch);
        firstTouch = 0;
    } else {
        touchedLastFrame = 1;
    }
    touchingNow = 1;
    if (entitySparkClock > entitySparkInterval) {
        sparksFrame1(x, y, 0, 0, 0, 180);
        entitySparkClock = 0;
    }
}
