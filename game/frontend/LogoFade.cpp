// The logo timeline's phases.
#include "LogoFade.h"

#include <algorithm>

void LogoFade::restart() {
    alpha = 1.0;
    phaseTime = 0.0;
    phase = kFadeIn;
}

LogoFade::Event LogoFade::step(double dt) {
    Event event = kNothing;
    phaseTime += dt;
    if (phase == kFadeIn) {
        alpha = phaseTime / kLogoFadeSeconds;
        if (phaseTime >= kLogoFadeSeconds) {
            phaseTime = 0;
            phase = kHold;
            event = kFullyShown;
        }
    } else if (phase == kHold) {
        alpha = 1.0;
        if (phaseTime >= kLogoHoldSeconds) {
            phaseTime = 0;
            phase = kFadeOut;
        }
    } else {
        alpha = 1.0 - phaseTime / kLogoFadeSeconds;
        if (phaseTime >= kLogoFadeSeconds) event = kFinished;
    }
    alpha = std::clamp(alpha, 0.0, 1.0);
    return event;
}
