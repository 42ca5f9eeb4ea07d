// The player bars' reader of the player entity and its control.
#include "PlayerBarReader.h"

#include "GF_AIZuzevirManual.h"
#include "GF_Entity.h"

const PlayerBarReader playerBarReader;

double PlayerBarReader::getHealth() const {
    return playerEntity ? playerEntity->health : 0;
}

double PlayerBarReader::getMaxHealth() const {
    return playerEntity ? playerEntity->maxHealth : 0;
}

double PlayerBarReader::getWeaponLevel() const {
    const GF_AIZuzevirManual* control = playerControl(playerEntity);
    return control ? control->getWeaponBarFraction() : 0;
}

int PlayerBarReader::getWeaponIcon() const {
    const GF_AIZuzevirManual* control = playerControl(playerEntity);
    int frame = -1;
    return control && control->getWeaponIcon(frame) ? frame : -1;
}

bool PlayerBarReader::getWeaponBarColor(float& r, float& g, float& b) const {
    GF_AIZuzevirManual* control = playerControl(playerEntity);
    if (!control) return false;
    double dr = 1, dg = 1, db = 1;
    control->getWeaponBarColor(dr, dg, db);
    r = float(dr), g = float(dg), b = float(db);
    return true;
}
