// The studio logo intro.
#include "GF_LogoIntro.h"

#include "FolderPaths.h"
#include "FrameClock.h"
#include "GameWindow.h"
#include "InputState.h"
#include "KGraphic.h"
#include "KGraphicFactory.h"
#include "KSound.h"
#include "ProgramStates.h"
#include "SpriteSheet.h"

namespace {
constexpr int kHalfWidth = 256; // each half of the logo is a 256 x 256 picture
}

GF_LogoIntro::GF_LogoIntro() = default;
GF_LogoIntro::~GF_LogoIntro() = default;

void GF_LogoIntro::enter() {
    sound = std::make_unique<KSound>();
    sound->loadSample(getSoundFolder() + "wexmoorhowl2.ogg");
    leftPicture.reset(createGraphic());
    loadGraphicsPicture(leftPicture.get(), "logoleft.jpg");
    rightPicture.reset(createGraphic());
    loadGraphicsPicture(rightPicture.get(), "logoright.jpg");
    fade.restart();
    skipped = false;
}

void GF_LogoIntro::leave() {
    rightPicture.reset();
    leftPicture.reset();
    sound.reset();
}

void GF_LogoIntro::update() {
    if (anyInputPressed()) {
        if (sound) sound->stopSample();
        skipped = true;
        requestProgramState(kStateMainMenu, kLeaveAndEnter);
    }
    const LogoFade::Event event = fade.step(frameTime);
    if (event == LogoFade::kFullyShown && !skipped && sound) sound->playSample();
    if (event == LogoFade::kFinished) {
        if (sound) sound->stopSample();
        requestProgramState(kStateMainMenu, kLeaveAndEnter);
    }
}

void GF_LogoIntro::draw() {
    if (sharedGraphic) sharedGraphic->fillRect(0, 0, float(kGameWidth), float(kGameHeight), 0, 0, 0, 1);
    const int cx = kGameWidth / 2, cy = kGameHeight / 2;
    const float alpha = float(fade.alpha);
    if (leftPicture)
        leftPicture->blitAlphaRectFx(0, 0, kHalfWidth, kHalfWidth, short(cx - kHalfWidth), short(cy - kHalfWidth / 2),
                                     0, 1, alpha, false, false, 0, 0);
    if (rightPicture)
        rightPicture->blitAlphaRectFx(0, 0, kHalfWidth, kHalfWidth, short(cx), short(cy - kHalfWidth / 2), 0, 1, alpha,
                                      false, false, 0, 0);
}
