// The slider's knob placement and track draw.
#include "Slider.h"

#include "SpriteAnimation.h"

#include <algorithm>
#include <cmath>

Slider::Slider(SpriteAnimation* track, SpriteAnimation* knobPicture, int sliderY)
    : trackAnimation(track), knobAnimation(knobPicture),
      knob(std::make_unique<GF_SpriteButton>(0, sliderY, knobPicture, 0, false, false, kButtonImage)), y(sliderY) {
    setValue(1.0);
}

void Slider::setValue(double f) {
    f = std::isnan(f) ? 0.0 : std::clamp(f, 0.0, 1.0);
    setKnobX(knobLeft() + int32_t(f * (knobRight() - knobLeft())));
}

void Slider::setKnobX(int x) {
    knobCentre = std::clamp(int32_t(x), knobLeft(), knobRight());
    knob->x = knobCentre - knobWidth / 2;
    knob->y = y;
}

double Slider::getValue() const {
    return double(knobCentre - knobLeft()) / double(knobRight() - knobLeft());
}

void Slider::draw() {
    const int trackY = y + trackHeight / 2 - pieceHeight / 4;
    if (trackAnimation) {
        const int pieces = length / pieceWidth; // 42: the caps and 41 middle pieces
        trackAnimation->setSequence(0);
        trackAnimation->draw(trackX, trackY, false, false);
        trackAnimation->setSequence(1);
        for (int i = 1; i < pieces; i++) trackAnimation->draw(trackX + i * pieceWidth, trackY, false, false);
        trackAnimation->setSequence(2);
        trackAnimation->draw(trackX + pieces * pieceWidth, trackY, false, false);
    }
    knob->draw();
}
