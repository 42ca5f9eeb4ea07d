// The player's health and weapon bars at the top left of the game screen, easing toward the real values and
// flashing light while the health bar catches up with a hit. The player is read through PlayerBarSource.
#pragma once

// What the bars read from the player.
class PlayerBarSource {
public:
    virtual ~PlayerBarSource() = default;
    virtual double getHealth() const = 0;
    virtual double getMaxHealth() const = 0;
    virtual bool isWeaponRecharging() const = 0;
    virtual double getRechargeTime() const = 0;
    virtual double getRechargeDuration() const = 0;
    virtual double getWeaponLevel() const = 0;
    virtual double getWeaponMaxLevel() const = 0;
    // The frame of sheet 34 for the weapon, or -1 for none.
    virtual int getWeaponIcon() const = 0;
    // The weapon bar's colour; false for none (the bar is then white).
    virtual bool getWeaponBarColor(float& r, float& g, float& b) const = 0;
};

struct PlayerBarState {
    double healthFraction = 1.0;
    double shownHealth = 1.0;
    bool damageFlash = false;
    double weaponFraction = 0.0;
    double shownWeapon = 0.0;
};
extern PlayerBarState PlayerBars;

// The player the bars follow; null (no player in the level) draws no bars.
void setPlayerBarSource(const PlayerBarSource* source);
void updatePlayerBars();
void drawPlayerBars();
