// The picture button, base of every clickable picture: polled once per pass after the mouse poll, it reports
// hover, press and one-pass clicks, shows a hint tooltip after a short hover and crossfades its pictures.
#pragma once

#include <cstdint>
#include <string>

class SpriteAnimation;

enum ButtonDrawMode : int32_t {
    kButtonBoxed = 0, // frame 0 on a blue box with a shade and an outline
    kButtonImage = 1, // sequence 1 at rest, sequence 0 fading in on hover (2 and 3 while selected)
    kButtonImage2 = 2,
};

class GF_SpriteButton {
public:
    GF_SpriteButton(int x, int y, SpriteAnimation* animation, int angle, bool flipX, bool flipY, int drawMode);
    virtual bool containsPoint(int px, int py);
    // The hit box grown by the hold margin on every side.
    virtual bool containsPointWithMargin(int px, int py);
    virtual ~GF_SpriteButton() = default;
    // One pass; reset clears every press, hover and fade (a screen being entered).
    virtual void update(bool reset);
    virtual void draw();

    void setHint(const std::string& text);

    SpriteAnimation* animation = nullptr; // not owned
    int32_t angle = 0;
    uint8_t flipX = 0, flipY = 0;
    int32_t x = 0, y = 0;
    int32_t offsetX = 0, offsetY = 0;
    int32_t width = 0, height = 0;
    int32_t drawMode = kButtonBoxed;
    uint8_t pressed = 0, pressStarted = 0, clicked = 0, hovered = 0, disabled = 0;
    int32_t hitWidth = 0, hitHeight = 0;
    int32_t explicitHitBox = 0;
    int32_t hitLeft = 0, hitTop = 0, hitRight = 0, hitBottom = 0; // from the centre, with explicitHitBox
    int32_t holdMargin = 0;
    double hoverTime = 0;
    uint8_t hintDue = 0, hintOn = 0;
    std::string hintText;
    int32_t hintX = 0, hintY = 0;
    double fadeSpeed = 10.0;
    double hoverFade = 0.0;
    double baseAlpha = 1.0;
    uint8_t selected = 0;

protected:
    bool containsPointGrown(int px, int py, int margin) const;
};
