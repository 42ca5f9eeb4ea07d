// The player bars' view of the level's player: health from the player entity, and the weapon's fill, colour
// and icon from the player's control (the laser's charge or the time left in a timed weapon).
#pragma once

#include "PlayerBars.h"

class PlayerBarReader : public PlayerBarSource {
public:
    double getHealth() const override;
    double getMaxHealth() const override;
    bool isWeaponRecharging() const override { return false; }
    double getRechargeTime() const override { return 0; }
    double getRechargeDuration() const override { return 0; }
    double getWeaponLevel() const override;
    double getWeaponMaxLevel() const override { return 1; }
    int getWeaponIcon() const override;
    // Every weapon has its colour, the laser's blinking at full charge; none only without a player.
    bool getWeaponBarColor(float& r, float& g, float& b) const override;
};

// The reader the game state hands to the bars.
extern const PlayerBarReader playerBarReader;
