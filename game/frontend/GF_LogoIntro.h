// The studio logo intro, the program's first screen: a two-piece logo fades in, the studio's howl starts as it
// is fully shown, it holds, fades out and hands over to the main menu. Any key or click skips it.
#pragma once

#include "GF_ProgramState.h"
#include "LogoFade.h"

#include <memory>

class KGraphic;
class KSound;

class GF_LogoIntro : public GF_ProgramState {
public:
    GF_LogoIntro();
    ~GF_LogoIntro() override;
    void enter() override;
    void leave() override;
    void update() override;
    void draw() override;

    const LogoFade& getFade() const { return fade; }
    KSound* getSound() const { return sound.get(); }

private:
    std::unique_ptr<KSound> sound;
    std::unique_ptr<KGraphic> leftPicture, rightPicture;
    LogoFade fade;
    bool skipped = false; // once skipped, the howl is not started any more
};
