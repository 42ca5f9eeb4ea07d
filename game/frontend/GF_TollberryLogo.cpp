// The publisher logo screen.
#include "GF_TollberryLogo.h"

#include "FrameClock.h"
#include "GameWindow.h"
#include "InputState.h"
#include "KGraphic.h"
#include "KGraphicFactory.h"
#include "ProgramStates.h"
#include "SpriteSheet.h"

namespace {

constexpr int kQuarter = 256;
// The 512 x 512 logo sits 35 pixels right of and below the centred place.
constexpr int kOffsetFromCentre = 221;
constexpr const char* kQuarterFiles[4] = {"tollberrytl.jpg", "tollberrytr.jpg", "tollberrybl.jpg", "tollberrybr.jpg"};

} // namespace

GF_TollberryLogo::GF_TollberryLogo() = default;
GF_TollberryLogo::~GF_TollberryLogo() = default;

void GF_TollberryLogo::enter() {
    for (size_t i = 0; i < quarters.size(); i++) {
        quarters[i].reset(createGraphic());
        loadGraphicsPicture(quarters[i].get(), kQuarterFiles[i]);
    }
    fade.restart();
}

void GF_TollberryLogo::leave() {
    for (auto& quarter : quarters) quarter.reset();
}

void GF_TollberryLogo::update() {
    if (anyInputPressed()) requestProgramState(kStateMainMenu, kLeaveAndEnter);
    if (fade.step(frameTime) == LogoFade::kFinished) requestProgramState(kStateMainMenu, kLeaveAndEnter);
}

void GF_TollberryLogo::draw() {
    if (sharedGraphic) sharedGraphic->fillRect(0, 0, float(kGameWidth), float(kGameHeight), 0, 0, 0, 1);
    const int ox = kGameWidth / 2 - kOffsetFromCentre, oy = kGameHeight / 2 - kOffsetFromCentre;
    for (size_t i = 0; i < quarters.size(); i++)
        if (quarters[i])
            quarters[i]->blitAlphaRectFx(0, 0, kQuarter, kQuarter, short(ox + int(i % 2) * kQuarter),
                                         short(oy + int(i / 2) * kQuarter), 0, 1, float(fade.alpha), false, false, 0,
                                         0);
}
