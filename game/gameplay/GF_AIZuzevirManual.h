// The player's behaviour: keyboard thrust and braking, steering toward the mouse, free aim or auto-aim, the
// laser with its charge and the four timed weapons (homing torpedo, laser sword, machine gun, 4x damage).
#pragma once

#include "GF_AI.h"
#include "IntervalTimer.h"

#include <cstdint>

enum PlayerWeaponMode : int32_t {
    kWeaponLaser = 0,
    kWeaponTorpedo = 1,
    kWeaponSword = 2,
    kWeaponMachineGun = 3,
    kWeapon4xDamage = 4,
};

class GF_AIZuzevirManual : public GF_AI {
public:
    explicit GF_AIZuzevirManual(GF_Entity* owner);
    void update() override;

    // The HUD's weapon bar: its fill, colour and icon frame of sprite sheet 34 (false in laser mode).
    double getWeaponBarFraction() const;
    void getWeaponBarColor(double& r, double& g, double& b);
    bool getWeaponIcon(int& frame) const;

    static bool isCheatWeaponActive();
    // Lets go of the sword, if it is out: it fades out in the next frames and the mode returns to the laser.
    void endSword();
    void giveWeapon(int32_t mode, double duration);

    // Places the held sword on the muzzle (the player's frame step, after the base step).
    void placeSword();

    // The aim the weapons use this frame, from the muzzle.
    double freeAimAngle(double muzzleX, double muzzleY) const;
    double autoAimAngle(double muzzleX, double muzzleY) const;

    double charge = 0;
    double maxCharge = 2.0;
    double minCharge = 0.5;
    double torpedoClock = 100;
    double gunClock = 100;
    double weaponClock = 0;
    double weaponDuration = 30;
    IntervalTimer barBlinkTimer;
    GF_Entity* sword = nullptr; // owned by the spatial grid
    uint8_t chargeSoundOn = 0;
    uint8_t fullyCharged = 0;
    int32_t weaponMode = kWeaponLaser;
    IntervalTimer sparkleTimer;
    uint8_t barBlinkOn = 1;

private:
    void runWeapons();
    void turn();
    void thrust();
    void chargeSounds();
    // A muzzle burst: (x, y, base vx, base vy, angle, spread).
    using MuzzleEffect = void (*)(double, double, double, double, double, double);
    // A laser, bullet or power laser: 1000 pixels per second along the aim, leaving the muzzle where the
    // player will be after this frame, with its sparks and sound.
    void fireStraightShot(int32_t type, MuzzleEffect sparks, int sound, double muzzleX, double muzzleY, double aim);
    void fireChargedLaser(double muzzleX, double muzzleY, double aim);
    void fireTorpedo(double muzzleX, double muzzleY, double aim);
    // The mouse in level coordinates.
    double mouseX() const;
    double mouseY() const;
};

// The player's behaviour, or null when the entity has another.
GF_AIZuzevirManual* playerControl(GF_Entity* player);
