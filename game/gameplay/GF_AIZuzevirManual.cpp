// The player's control: each frame the weapons, then the turn toward the mouse, then the thrust from the keys.
#include "GF_AIZuzevirManual.h"

#include "AngleTools.h"
#include "BehaviourTools.h"
#include "Camera.h"
#include "CheatList.h"
#include "EntityType.h"
#include "FrameClock.h"
#include "GF_AITorpedo1.h"
#include "GF_Entity.h"
#include "GameOptions.h"
#include "InputState.h"
#include "LevelEvents.h"
#include "ParticleEffects.h"
#include "SoundTable.h"
#include "SpatialGrid.h"
#include "TerrainCodes.h"
#include "TrickEvents.h"

#include <algorithm>
#include <cmath>

namespace {

constexpr int kVkSpace = 0x20, kVkLeft = 0x25, kVkUp = 0x26, kVkRight = 0x27, kVkDown = 0x28;
constexpr double kMuzzleSpread = 30;

// The direction the movement keys ask for; false with none held. Of several, the later of right, up, left,
// down, right+up, up+left, left+down, down+right wins.
bool keyDirection(double& direction) {
    const bool right = isGameKeyDown('D') || isGameKeyDown(kVkRight);
    const bool up = isGameKeyDown('W') || isGameKeyDown(kVkUp);
    const bool left = isGameKeyDown('A') || isGameKeyDown(kVkLeft);
    const bool down = isGameKeyDown('S') || isGameKeyDown(kVkDown);
    bool any = false;
    const auto take = [&](bool held, double a) {
        if (held) {
            direction = a;
            any = true;
        }
    };
    take(right, 0);
    take(up, 90);
    take(left, 180);
    take(down, 270);
    take(right && up, 45);
    take(up && left, 135);
    take(left && down, 225);
    take(down && right, 315);
    return any;
}

} // namespace

GF_AIZuzevirManual::GF_AIZuzevirManual(GF_Entity* owner) : GF_AI(owner) {
    barBlinkTimer.interval = 0.2;
    sparkleTimer.interval = 0.05;
    int32_t cheatMode = -1;
    if (isCheatOn(kCheatHomingTorpedo))
        cheatMode = kWeaponTorpedo;
    else if (isCheatOn(kCheat4xDamage))
        cheatMode = kWeapon4xDamage;
    else if (isCheatOn(kCheatMachineGun))
        cheatMode = kWeaponMachineGun;
    else if (isCheatOn(kCheatLaserSword))
        cheatMode = kWeaponSword;
    if (cheatMode >= 0) {
        weaponMode = cheatMode;
        weaponDuration = 1000000;
    }
}

GF_AIZuzevirManual* playerControl(GF_Entity* player) {
    return player ? dynamic_cast<GF_AIZuzevirManual*>(player->behaviour) : nullptr;
}

double GF_AIZuzevirManual::mouseX() const {
    return cameraX + MouseState.x;
}

double GF_AIZuzevirManual::mouseY() const {
    return cameraY + MouseState.y;
}

void GF_AIZuzevirManual::update() {
    runWeapons();
    turn();
    thrust();
}

bool GF_AIZuzevirManual::isCheatWeaponActive() {
    return isCheatOn(kCheatHomingTorpedo) || isCheatOn(kCheat4xDamage) || isCheatOn(kCheatMachineGun) ||
           isCheatOn(kCheatLaserSword);
}

void GF_AIZuzevirManual::endSword() {
    if (!sword) return;
    sword->vx = owner->vx;
    sword->vy = owner->vy;
    sword->hasLifetime = 1;
    sword->lifetime = 0.01;
    sword->age = 0.02; // expires in the next frame and then fades out
    sword = nullptr;
    weaponMode = kWeaponLaser;
}

void GF_AIZuzevirManual::giveWeapon(int32_t mode, double duration) {
    if (isCheatWeaponActive()) return;
    endSword();
    weaponClock = 0;
    weaponMode = mode;
    weaponDuration = duration;
}

void GF_AIZuzevirManual::placeSword() {
    if (!sword) return;
    double muzzleX, muzzleY;
    owner->getHotspotPoint(0, muzzleX, muzzleY);
    sword->vx = sword->vy = 0;
    sword->angle = owner->angle;
    double gripX, gripY;
    sword->getHotspotPoint(0, gripX, gripY);
    sword->setPosition(muzzleX - (gripX - sword->x), muzzleY - (gripY - sword->y));
}

double GF_AIZuzevirManual::getWeaponBarFraction() const {
    if (weaponMode != kWeaponLaser) return std::clamp(1 - weaponClock / weaponDuration, 0.0, 1.0);
    return std::clamp(charge / maxCharge, 0.0, 1.0);
}

void GF_AIZuzevirManual::getWeaponBarColor(double& r, double& g, double& b) {
    switch (weaponMode) {
    case kWeaponTorpedo:
        r = 1, g = 0, b = 1;
        return;
    case kWeaponSword:
        r = 0.2, g = 0.4, b = 1;
        return;
    case kWeaponMachineGun:
        r = 0.8, g = 0.8, b = 0.8;
        return;
    case kWeapon4xDamage:
        r = 1, g = 0, b = 0.5;
        return;
    default:
        break;
    }
    if (charge < maxCharge) {
        barBlinkTimer.elapsed = 0;
        r = 0.8, g = 0, b = 0;
        return;
    }
    barBlinkTimer.update();
    if (barBlinkTimer.fired) barBlinkOn = !barBlinkOn;
    if (barBlinkOn)
        r = 1, g = 1, b = 1;
    else
        r = 1, g = 0.2, b = 0.2;
}

bool GF_AIZuzevirManual::getWeaponIcon(int& frame) const {
    switch (weaponMode) {
    case kWeaponTorpedo:
        frame = 2;
        return true;
    case kWeaponSword:
        frame = 1;
        return true;
    case kWeaponMachineGun:
        frame = 3;
        return true;
    case kWeapon4xDamage:
        frame = 0;
        return true;
    default:
        return false;
    }
}

double GF_AIZuzevirManual::freeAimAngle(double muzzleX, double muzzleY) const {
    const double toMouse = angleToPoint(muzzleX, muzzleY, mouseX(), mouseY());
    const double relative = std::clamp(angleDifference(toMouse, owner->angle), -20.0, 20.0);
    return wrapAngle(owner->angle + relative);
}

double GF_AIZuzevirManual::autoAimAngle(double muzzleX, double muzzleY) const {
    GF_Entity* target = spatialGrid ? spatialGrid->findNearestEntity(mouseX(), mouseY()) : nullptr;
    if (!target) return freeAimAngle(muzzleX, muzzleY);
    double emitX, emitY;
    target->getEmitPoint(emitX, emitY);
    const double mx = mouseX(), my = mouseY();
    if (distanceBetween(mx, my, emitX, emitY) >= 200) {
        // The mouse may point past the target: look for it along the line beyond the mouse.
        const double m = distanceBetween(owner->x, owner->y, mx, my);
        bool near = false;
        if (m > 0.01) {
            const double ux = (mx - owner->x) / m, uy = (my - owner->y) / m;
            for (int i = 1; i <= 8 && !near; i++) {
                const double reach = m + 100.0 * i;
                near = distanceBetween(mx + ux * reach, my + uy * reach, emitX, emitY) < 200;
            }
        }
        if (!near) return freeAimAngle(muzzleX, muzzleY);
    }
    const double d = distanceBetween(muzzleX, muzzleY, emitX, emitY);
    const double predictedX = emitX + target->vx * d / 1000, predictedY = emitY + target->vy * d / 1000;
    const double aim = angleToPoint(muzzleX, muzzleY, predictedX, predictedY);
    const double w = std::clamp((d - 20) / 380, 0.0, 1.0);
    const double limit = 30 + 30 * (1 - w);
    return wrapAngle(owner->angle + std::clamp(angleDifference(aim, owner->angle), -limit, limit));
}

void GF_AIZuzevirManual::runWeapons() {
    const double dt = frameTime;
    if (weaponClock > weaponDuration) {
        if (weaponMode == kWeaponSword) endSword();
        weaponMode = kWeaponLaser;
    }
    weaponClock += dt;

    double muzzleX, muzzleY;
    owner->getHotspotPoint(0, muzzleX, muzzleY);
    const double aim = GameOptions.autoAim ? autoAimAngle(muzzleX, muzzleY) : freeAimAngle(muzzleX, muzzleY);
    const bool down = MouseState.leftNow;
    const bool pressed = down && !MouseState.leftBefore;
    const bool released = !down && MouseState.leftBefore;

    switch (weaponMode) {
    case kWeaponLaser:
        if (pressed) {
            if (isCheatOn(kCheatSuperLaser)) {
                charge = maxCharge;
                fireChargedLaser(muzzleX, muzzleY, aim);
                charge = 0;
            } else {
                fireStraightShot(kEntityLaser1, laserSparks, kSoundLaser, muzzleX, muzzleY, aim);
                countTrickLaserShot();
            }
        }
        if (released && charge >= minCharge) fireChargedLaser(muzzleX, muzzleY, aim);
        charge = down ? charge + dt : 0;
        chargeSounds();
        if (charge >= maxCharge) {
            sparkleTimer.update();
            if (sparkleTimer.fired) risingPuffs(muzzleX, muzzleY, owner->vx, owner->vy);
        } else {
            sparkleTimer.elapsed = 0;
        }
        break;
    case kWeaponTorpedo:
        if (!down)
            torpedoClock = 100;
        else if (torpedoClock > 0.3) {
            fireTorpedo(muzzleX, muzzleY, aim);
            torpedoClock = 0;
        }
        torpedoClock += dt;
        charge = 0;
        chargeSounds();
        break;
    case kWeaponMachineGun:
    case kWeapon4xDamage: {
        const double interval = weaponMode == kWeaponMachineGun ? 0.1 : 0.25;
        if (!down)
            gunClock = 100;
        else if (gunClock > interval) {
            if (weaponMode == kWeaponMachineGun)
                fireStraightShot(kEntityBullet, bulletSparks, kSoundBullet, muzzleX, muzzleY, aim);
            else
                fireStraightShot(kEntityPowerLaser, powerLaserSparks, kSoundLaser, muzzleX, muzzleY, aim);
            gunClock = 0;
        }
        gunClock += dt;
        charge = 0;
        chargeSounds();
        break;
    }
    case kWeaponSword:
        if (!sword) sword = spawnEntity(kEntityLaserSword, muzzleX, muzzleY, owner->vx, owner->vy, owner->angle);
        resetGoalArrowIdleClock();
        // A weapon taken up while the laser was charging silences the charge.
        charge = 0;
        chargeSounds();
        break;
    default:
        break;
    }
}

void GF_AIZuzevirManual::chargeSounds() {
    if (charge >= 0.25) {
        if (!chargeSoundOn) {
            playSoundAt(owner->x, owner->y, 0.6, kSoundChargeUp);
            chargeSoundOn = 1;
        }
        setSoundPosition(owner->x, owner->y, 0.6, kSoundChargeUp);
    } else if (chargeSoundOn) {
        if (SoundEntry* entry = getSoundEntry(kSoundChargeUp)) entry->stop();
        chargeSoundOn = 0;
    }
    if (charge >= maxCharge) {
        // Played every frame: the throb cannot interrupt itself, so it starts again each time it has ended.
        playSoundAt(owner->x, owner->y, 1, kSoundFullCharge);
        setSoundPosition(owner->x, owner->y, 1, kSoundFullCharge);
        fullyCharged = 1;
    } else {
        fullyCharged = 0;
    }
}

void GF_AIZuzevirManual::fireStraightShot(int32_t type, MuzzleEffect sparks, int sound, double muzzleX, double muzzleY,
                                          double aim) {
    const double dt = frameTime;
    spawnEntity(type, muzzleX + owner->vx * dt, muzzleY + owner->vy * dt, directionX(aim) * 1000,
                directionY(aim) * 1000, aim);
    sparks(muzzleX, muzzleY, owner->vx, owner->vy, aim, kMuzzleSpread);
    playSoundAt(owner->x, owner->y, 1, sound);
    resetGoalArrowIdleClock();
}

void GF_AIZuzevirManual::fireChargedLaser(double muzzleX, double muzzleY, double aim) {
    const double dt = frameTime;
    const double f = std::clamp((charge - 0.5) / 1.5, 0.0, 1.0);
    EntityVars vars{};
    vars[0] = int32_t(f * 100);
    spawnEntity(kEntityLaser2, muzzleX + owner->vx * dt, muzzleY + owner->vy * dt, directionX(aim) * 700,
                directionY(aim) * 700, aim, vars);
    if (f > 0.5)
        explosion(muzzleX, muzzleY, owner->vx, owner->vy, aim, kMuzzleSpread);
    else
        laserSparks(muzzleX, muzzleY, owner->vx, owner->vy, aim, kMuzzleSpread);
    playSoundAt(owner->x, owner->y, 0.5 + f / 2, kSoundChargedLaser);
    resetGoalArrowIdleClock();
}

void GF_AIZuzevirManual::fireTorpedo(double muzzleX, double muzzleY, double aim) {
    GF_Entity* torpedo = spawnEntity(kEntityTorpedo1, muzzleX, muzzleY, owner->vx + directionX(aim) * 500,
                                     owner->vy + directionY(aim) * 500, aim);
    playSoundAt(owner->x, owner->y, 1, kSoundTorpedoLaunch);
    resetGoalArrowIdleClock();
    if (!torpedo) return;
    GF_Entity* target = spatialGrid->findNearestEntity(mouseX(), mouseY());
    auto* homing = dynamic_cast<GF_AITorpedo1*>(torpedo->behaviour);
    if (target && homing) {
        homing->target = target;
        addTargetLock(torpedo, target);
    }
}

void GF_AIZuzevirManual::turn() {
    double target = angleToPoint(owner->x, owner->y, mouseX(), mouseY());
    if (isCheatOn(kCheatRudderControl)) target = wrapAngle(target + 180);
    const bool swordMode = weaponMode == kWeaponSword;
    owner->reverseThreshold = swordMode ? 180 : 130;
    owner->turnToward(target, swordMode ? 4000 : 2000);
}

void GF_AIZuzevirManual::thrust() {
    double c = 1000;
    if (isCheatOn(kCheatFastRadudod)) c = 2000;
    if (isCheatOn(kCheatSlowRadudod)) c /= 2;
    if (owner->medium == kSubstanceAir && !isCheatOn(kCheatFlyingRadudod)) return;

    const int sequence = currentSequence(*owner);
    const bool onBase = sequence == owner->baseSequence;
    double direction = 0;
    if (keyDirection(direction)) {
        const double h = std::fabs(angleDifference(direction, owner->angle));
        if (h < 60 && (onBase || sequence == 2))
            owner->startSequence(0);
        else if (h >= 60 && onBase)
            owner->startSequence(2);
        const double force = h < 90 ? c : c * (1 - 0.25 * (h - 90) / 90);
        owner->applyForceAtAngle(direction, force);
    } else if (MouseState.rightNow || isGameKeyDown(kVkSpace)) {
        owner->applyForceAtAngle(pushAngleAway(owner->angle, owner->getVelocityAngle()), c);
        if (onBase || sequence == 2) owner->startSequence(0);
    } else if (std::hypot(owner->vx, owner->vy) > 25) {
        owner->applyForceAtAngle(wrapAngle(owner->getVelocityAngle() + 180), 500);
    }
}
