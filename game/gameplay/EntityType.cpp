// The editor names of the entity kinds and the captions of their Var fields.
#include "EntityType.h"

namespace {

constexpr const char* kInvalid = "invalid";
constexpr const char* kNotUsed = "Not Used";

// Null for the kinds made only during play.
const char* const kNames[kEntityTypeCount] = {
    "Glimmerfin", nullptr, nullptr, "Missile Fish", nullptr,      "Gold Radudod", "Turret", nullptr,      "Mine",
    "Auto Gun",   "Bird",  nullptr, "Electric Eel", "TNT Turtle", "Evil Radudod", nullptr,  "Robo Shark", "Drone",
    "Ornament",   nullptr, nullptr, nullptr,        "Powerup",    nullptr,        "Hoop",
};

} // namespace

const char* entityTypeName(int type) {
    if (!isValidEntityType(type) || !kNames[type]) return kInvalid;
    return kNames[type];
}

const char* entityVarLabel(int type, int n) {
    if (!isValidEntityType(type) || !kNames[type] || n < 1 || n > kEntityVarCount) return kInvalid;
    static const char* const kPath[4] = {"Path1 X", "Path1 Y", "Path2 X", "Path2 Y"};
    switch (type) {
    case kEntityLaserFish:
    case kEntityTntTurtle:
    case kEntityEvilZuzevir:
        return n <= 4 ? kPath[n - 1] : kNotUsed;
    case kEntityMine:
        return n == 1 ? "Armored Mine" : kNotUsed;
    case kEntityBird:
        return n == 1 ? "Path X2" : kNotUsed;
    case kEntityRoboShark:
        return n == 1 ? "Pass Frequency" : n == 2 ? "Start On Left" : kNotUsed;
    case kEntityDrone:
        return n == 1 ? "Travel Distance" : n == 2 ? "Rate of Fire" : kNotUsed;
    case kEntityOrnament:
        return n == 1 ? "Plant: 0-1  Rock: 2-3" : kNotUsed;
    case kEntityPowerup:
        return n == 1 ? "0:Tor 1:Rap 2:Swo 3:4x" : n == 2 ? "Length" : kNotUsed;
    default:
        return kNotUsed;
    }
}
