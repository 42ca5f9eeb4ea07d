// The timeline both logo screens run: the logo fades in over 1 s, holds for 2.5 s and fades out over 1 s.
#pragma once

#include <cstdint>

class LogoFade {
public:
    enum Phase : int32_t { kFadeIn = 0, kHold = 1, kFadeOut = 2 };
    enum Event { kNothing, kFullyShown, kFinished };

    void restart();
    // One pass of dt seconds. kFullyShown on the pass the fade-in ends; kFinished on every pass once the
    // fade-out has ended (the screen repeats its request until it is switched away).
    Event step(double dt);

    double alpha = 1.0;
    double phaseTime = 0.0;
    int32_t phase = kFadeIn;
};

constexpr double kLogoFadeSeconds = 1.0;
constexpr double kLogoHoldSeconds = 2.5;
