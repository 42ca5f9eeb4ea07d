// The publisher logo screen: the twin of the studio logo intro for a four-piece logo, without sound. No
// screen opens it; run, it hands over to the main menu the same way.
#pragma once

#include "GF_ProgramState.h"
#include "LogoFade.h"

#include <array>
#include <memory>

class KGraphic;

class GF_TollberryLogo : public GF_ProgramState {
public:
    GF_TollberryLogo();
    ~GF_TollberryLogo() override;
    void enter() override;
    void leave() override;
    void update() override;
    void draw() override;

    const LogoFade& getFade() const { return fade; }

private:
    std::array<std::unique_ptr<KGraphic>, 4> quarters; // top-left, top-right, bottom-left, bottom-right
    LogoFade fade;
};
