// A horizontal slider: a track of 7-pixel pieces and a knob button. The owner updates the knob, moves it with
// setKnobX while it is pressed, and reads the knob centre back as a fraction.
#pragma once

#include "GF_SpriteButton.h"

#include <memory>

class Slider {
public:
    Slider(SpriteAnimation* trackAnimation, SpriteAnimation* knobAnimation, int y);
    // f clamped to 0..1 along the knob's range (not a number: 0).
    void setValue(double f);
    // The knob centre at x, kept within the range.
    void setKnobX(int x);
    // The knob position as a fraction of its range.
    double getValue() const;
    void draw();

    int32_t knobLeft() const { return trackX + leftMargin; }
    int32_t knobRight() const { return trackX + length - rightMargin; }

    SpriteAnimation* trackAnimation = nullptr;
    SpriteAnimation* knobAnimation = nullptr;
    std::unique_ptr<GF_SpriteButton> knob;
    int32_t trackX = 250;
    int32_t y = 0;
    int32_t length = 300;
    int32_t pieceHeight = 7;
    int32_t pieceWidth = 7;
    int32_t trackHeight = 52;
    int32_t knobWidth = 32;
    int32_t leftMargin = 5;
    int32_t rightMargin = 8;
    int32_t knobCentre = 0;
};
