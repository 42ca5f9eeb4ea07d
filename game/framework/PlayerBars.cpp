// The player bars: easing, the damage flash and the draw.
#include "PlayerBars.h"

#include "DrawTools.h"
#include "FrameClock.h"
#include "GameWindow.h"
#include "KGraphic.h"
#include "SpriteSheet.h"
#include "SpriteSheetTable.h"

#include <algorithm>

PlayerBarState PlayerBars;

namespace {

const PlayerBarSource* barSource = nullptr;

constexpr int kHeadSheet = 12, kWeaponIconSheet = 34;
constexpr float kBarLeft = 10, kHealthRight = 260, kHealthTop = 15, kHealthBottom = 30;
constexpr float kWeaponRight = 110, kWeaponTop = 33, kWeaponBottom = 40;

struct Band {
    float top, bottom;
    float normal[3], flash[3];
};
constexpr Band kHealthBands[3] = {
    {15, 18, {0.5f, 0.5f, 1}, {0.9f, 0.9f, 1}},
    {18, 27, {0.3f, 0.3f, 1}, {0.8f, 0.8f, 1}},
    {27, 30, {0.1f, 0.1f, 0.7f}, {0.7f, 0.7f, 1}},
};

double ratio(double part, double whole) {
    return whole > 0 ? part / whole : 0.0;
}

} // namespace

void setPlayerBarSource(const PlayerBarSource* source) {
    barSource = source;
}

void updatePlayerBars() {
    if (!barSource) return;
    PlayerBarState& s = PlayerBars;
    const double previous = s.healthFraction;
    s.healthFraction = std::max(0.0, ratio(barSource->getHealth(), barSource->getMaxHealth()));
    s.shownHealth += (s.healthFraction - s.shownHealth) * frameTime * 10;
    s.damageFlash = (s.shownHealth - s.healthFraction > 0.01) || (s.healthFraction != previous);
    double weapon;
    if (barSource->isWeaponRecharging())
        weapon = barSource->getRechargeDuration() > 0
                     ? 1 - barSource->getRechargeTime() / barSource->getRechargeDuration()
                     : 1.0;
    else
        weapon = ratio(barSource->getWeaponLevel(), barSource->getWeaponMaxLevel());
    s.weaponFraction = std::clamp(weapon, 0.0, 1.0);
    s.shownWeapon += (s.weaponFraction - s.shownWeapon) * frameTime * 15;
}

void drawPlayerBars() {
    if (!barSource) return;
    updatePlayerBars();
    const PlayerBarState& s = PlayerBars;
    if (SpriteSheet* head = getSpriteSheet(kHeadSheet)) head->drawFrame(0, 10, 23, false, false);
    const int icon = barSource->getWeaponIcon();
    if (icon >= 0)
        if (SpriteSheet* icons = getSpriteSheet(kWeaponIconSheet)) icons->drawFrame(icon, 80, 43, false, false);
    if (!sharedGraphic) return;

    const float healthEnd = kBarLeft + (kHealthRight - kBarLeft) * float(std::clamp(s.shownHealth, 0.0, 1.0));
    for (const Band& band : kHealthBands) {
        const float* c = s.damageFlash ? band.flash : band.normal;
        sharedGraphic->fillRect(kBarLeft, band.top, healthEnd, band.bottom, c[0], c[1], c[2], 1);
    }
    sharedGraphic->fillRect(healthEnd, kHealthTop, kHealthRight, kHealthBottom, 0, 0, 0, 0.5f);
    drawRectOutline(kBarLeft, kHealthTop, kHealthRight, kHealthBottom, 0, 0, 0, 1);

    float r = 1, g = 1, b = 1;
    if (!barSource->getWeaponBarColor(r, g, b)) r = g = b = 1;
    const float weaponEnd = kBarLeft + (kWeaponRight - kBarLeft) * float(std::clamp(s.shownWeapon, 0.0, 1.0));
    sharedGraphic->fillRect(kBarLeft, kWeaponTop, weaponEnd, kWeaponBottom, r, g, b, 1);
    sharedGraphic->fillRect(weaponEnd, kWeaponTop, kWeaponRight, kWeaponBottom, 0, 0, 0, 0.5f);
    drawRectOutline(kBarLeft, kWeaponTop, kWeaponRight, kWeaponBottom, 0, 0, 0, 1);
}
